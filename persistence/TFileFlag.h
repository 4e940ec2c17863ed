#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace vesko {

class TFileHeader;

// One name/value pair of a section of a data file.
class TFileFlag {
public:
    // reg != 0 appends the flag to the section.
    static std::shared_ptr<TFileFlag> Create(const std::string& name, const std::string& value,
                                             const std::shared_ptr<TFileHeader>& header, int32_t reg);

    std::string getName() const { return Name; }
    // Renaming marks the owning section's lookup map stale.
    void setName(const std::string& name);
    std::string getValue() const { return value; }
    void setValue(const std::string& v) { value = v; }

    // The owning section; held weakly so a flag kept by a caller never points at a freed section.
    std::weak_ptr<TFileHeader> header;
    std::string Name;
    std::string value;
};

}  // namespace vesko
