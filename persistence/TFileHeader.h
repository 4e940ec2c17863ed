#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "persistence/TFileFlag.h"

namespace vesko {

class TDataFile;

// A named section of a data file: an ordered list of flags with a lazily rebuilt name index.
class TFileHeader : public std::enable_shared_from_this<TFileHeader> {
public:
    // reg != 0 appends the section to the data file and selects it.
    static std::shared_ptr<TFileHeader> Create(const std::string& name, const std::shared_ptr<TDataFile>& datafile,
                                               int32_t reg);

    std::string GetName() const { return Name; }
    // Renaming marks the data file's lookup map stale.
    void setName(const std::string& name);
    int32_t countFlags() const { return static_cast<int32_t>(Flags.size()); }
    // None when the index is out of range.
    std::shared_ptr<TFileFlag> getFlag(int32_t index) const;
    void regFlag(const std::shared_ptr<TFileFlag>& flag);
    void remFlag(const std::shared_ptr<TFileFlag>& flag);
    // The last flag of that name, or none.
    std::shared_ptr<TFileFlag> findFlag(const std::string& name);
    void Clear();
    // Reads the flag count and the flags at the owning data file's position; 1 on success, 0 on failure.
    int32_t ReadIn();
    // Writes the flag count and the flags at the owning data file's position; 0 without an owner.
    int32_t WriteOut();

    // The same, with an explicit data file to read from or write to.
    int32_t _readFrom(TDataFile& datafile);
    void _writeTo(TDataFile& datafile) const;
    // Bytes this section takes in a file, name included, with counts n bytes wide.
    int64_t _getbytesize(int32_t n) const;

    std::weak_ptr<TDataFile> File;
    std::string Name;
    std::vector<std::shared_ptr<TFileFlag>> Flags;
    std::map<std::string, std::shared_ptr<TFileFlag>> flagMap;
    int32_t mustrege = 1;
};

}  // namespace vesko
