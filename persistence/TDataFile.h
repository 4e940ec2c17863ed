#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "persistence/TFile.h"
#include "persistence/TFileFlag.h"
#include "persistence/TFileHeader.h"

namespace vesko {

// A sectioned container file: an ordered list of named sections, each an ordered list of
// name/value flags with text values. Every count and string length is an unsigned
// numberByteSize-byte big-endian integer; strings are one byte per character (ISO-8859-1).
// Names need not be unique; lookups find the last entry of a name.
class TDataFile : public std::enable_shared_from_this<TDataFile> {
public:
    // A data file with an empty byte file for path.
    static std::shared_ptr<TDataFile> Create(const std::string& path);
    // A data file whose byte file was read from path (the caller then runs ReadIn), or none.
    static std::shared_ptr<TDataFile> Load(const std::string& path);

    int32_t getSize() const { return File ? File->getSize() : 0; }
    std::string GetFilename() const { return File ? File->GetFilename() : std::string(); }
    void setFilename(const std::string& path);

    // A new section appended and selected.
    std::shared_ptr<TFileHeader> addHeader(const std::string& name);
    // A new flag appended to the selected section; none without a selected section.
    std::shared_ptr<TFileFlag> addFlag(const std::string& name, const std::string& value);
    void regHeader(const std::shared_ptr<TFileHeader>& header, int32_t select);
    void remHeader(const std::shared_ptr<TFileHeader>& header);
    int32_t countHeaders() const { return static_cast<int32_t>(Headers.size()); }
    std::shared_ptr<TFileHeader> getHeader(int32_t index) const;
    // The last section of that name (selected when select != 0), or none.
    std::shared_ptr<TFileHeader> findHeader(const std::string& name, int32_t select);
    // The last flag of that name in the selected section (selected when select != 0), or none.
    std::shared_ptr<TFileFlag> findFlag(const std::string& name, int32_t select);
    void selectHeader(const std::shared_ptr<TFileHeader>& header) { currentHeader = header; }
    void selectFlag(const std::shared_ptr<TFileFlag>& flag) { currentFlag = flag; }
    std::shared_ptr<TFileHeader> getCurrentHeader() const { return currentHeader; }
    std::shared_ptr<TFileFlag> getCurrentFlag() const { return currentFlag; }

    // The selected flag's value, or the default without a selected flag.
    std::string getFlagValue(const std::string& def) const;
    int32_t getFlagValueInt(int32_t def) const;
    float getFlagValueFloat(float def) const;
    double getFlagValueDouble(double def) const;
    // The value modulo 256 (its low 8 bits).
    uint8_t getFlagValueByte(uint8_t def) const;

    // Parses the byte file into sections; 1 on success, 0 on a malformed or truncated file
    // (the sections read before the fault stay in Headers).
    int32_t ReadIn();
    // Lays the sections out as bytes in the byte file (in memory); 0 without a byte file.
    int32_t WriteOut();
    // Writes the byte file to disk; 0 on failure (the old file on disk then stays as it was).
    int32_t Save() { return File ? File->Save() : 0; }
    // Empties Headers and headerMap and drops the selection.
    void Clear();

    // Byte level.
    void _seekFile(int32_t pos) { filepos = pos < 0 ? 0 : pos; }
    void _WriteByte(int32_t v);
    // 0 ... 255, or -1 at or after the end or on an empty slot.
    int32_t _ReadByte();
    int32_t _endOfFile() const { return filepos >= getSize() ? 1 : 0; }
    // n-byte big-endian unsigned integer, most significant byte first (negative values write zeros).
    void _writeBigShort(int32_t v);
    // The n-byte big-endian integer, or -1 when a byte is missing or the value does not fit in 31 bits.
    int32_t _readBigShort();
    void _writeString(const std::string& s);
    // error is set to 1 on a missing byte or a length beyond the end of the file.
    std::string _readString(int32_t& error);
    std::string _readOnlyString(int32_t length, int32_t& error);
    // Bytes WriteOut will produce.
    int64_t _getbytesize() const;
    // Length in characters of a string, i.e. the bytes it takes in the file.
    static int64_t _stringLength(const std::string& s);

    // Scrambling: permutations of the file's N = 8 * getSize() bits (bit j of byte i is bit 8i + j).
    // A permutation drawn from a TFastRandom seeded with seed.
    std::vector<int32_t> generateKeyAllocation(int32_t seed) const;
    // Entry i = (shift + i) mod N: a rotation.
    std::vector<int32_t> generateMovementAllocation(int32_t shift) const;
    // Entry i = ((i div b) * b + key[i mod b]) mod N with b = key length: each block of b bits permuted by key.
    std::vector<int32_t> generateMovementKeyAllocation(const std::vector<int32_t>& key) const;
    // Moves bit i to bit p[i]; 1 when applied, 0 (file unchanged) when p is not a permutation of 0 ... N-1.
    int32_t crypt(const std::vector<int32_t>& p);
    // Undoes crypt(p).
    int32_t decrypt(const std::vector<int32_t>& p);
    // 1 when p holds every bit number 0 ... N-1 exactly once.
    int32_t _checkAlloc(const std::vector<int32_t>& p) const;

    int32_t numberByteSize = 4;
    std::shared_ptr<TFile> File;
    std::vector<std::shared_ptr<TFileHeader>> Headers;
    std::map<std::string, std::shared_ptr<TFileHeader>> headerMap;
    int32_t filepos = 0;
    int32_t mustrege = 1;
    std::shared_ptr<TFileHeader> currentHeader;
    std::shared_ptr<TFileFlag> currentFlag;

private:
    int32_t _countWidth() const;
    int64_t _bitCount() const { return int64_t(getSize()) * 8; }
};

}  // namespace vesko
