#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "persistence/TByte.h"

namespace vesko {

// An in-memory byte file bound to a path.
// The bytes are one contiguous vector; TByte values are made on access. Slots made by setSize
// stay "empty" until SetByte fills them (GetByte gives none for them); the emptiness is kept in
// a bit mask that exists only while some slot is empty.
class TFile {
public:
    static std::shared_ptr<TFile> Create(const std::string& path);
    // Create + ReadIn; none when the file cannot be read.
    static std::shared_ptr<TFile> Load(const std::string& path);

    // Reads the whole file at filename; 0 when it cannot be read (or is 2 GB or larger).
    int32_t ReadIn();
    // Writes every byte (empty slots as 0) through a temporary file renamed over the target; 0 on failure.
    int32_t Save();

    int32_t getSize() const { return static_cast<int32_t>(data.size()); }
    // Replaces the contents by n empty slots.
    void setSize(int32_t n);
    void Clear();
    void addByteAtLast(const TByte& b);
    void addByteAtFirst(const TByte& b);
    // Inserts before pos (pos = size appends); 0 when pos is out of range.
    int32_t addByteAtPos(const TByte& b, int32_t pos);
    int32_t removeByte(int32_t pos);
    // None when pos is out of range or the slot is empty.
    std::optional<TByte> GetByte(int32_t pos) const;
    // 0 when pos is out of range.
    int32_t SetByte(const TByte& b, int32_t pos);
    int32_t containsByte(const TByte& b) const { return findByte(b) >= 0 ? 1 : 0; }
    // Position of the first filled byte of that value, or -1.
    int32_t findByte(const TByte& b) const;
    std::vector<uint8_t> getByteArray() const { return data; }
    void setByteArray(const std::vector<uint8_t>& bytes);
    std::vector<TByte> toArrayList() const;
    void fromArrayList(const std::vector<TByte>& bytes);
    void setFilename(const std::string& path) { filename = path; }
    std::string GetFilename() const { return filename; }

    bool isEmptySlot(int32_t pos) const;
    // True when no slot is empty.
    bool isComplete() const { return emptyCount == 0; }
    // Writes count bytes at pos, growing the file (with empty slots in a gap) when needed.
    void _writeBytes(int64_t pos, const uint8_t* src, size_t count);
    // Marks every slot as filled.
    void _fillAll();

    std::vector<uint8_t> data;
    std::string filename;

private:
    void _markFilled(size_t pos);
    std::vector<bool> emptyMask;  // empty unless some slot is empty
    size_t emptyCount = 0;
};

}  // namespace vesko
