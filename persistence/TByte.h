#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "persistence/TBit.h"

namespace vesko {

// One byte of a byte file with bit, base-2 and hexadecimal access.
// The eight bits live in one machine byte (bit i has weight 2^i); TByte is a value type, so a
// file of n bytes costs n bytes of memory instead of one object per bit.
class TByte {
public:
    static const std::array<const char*, 16> charHexContainer;

    static TByte Create(int32_t value);
    static TByte fromBinary(const std::string& text);
    static TByte fromHex(const std::string& text);

    int32_t GetValue() const { return bits; }
    // v modulo 256; a negative remainder clears every bit.
    void SetValue(int32_t v);
    // The index is taken modulo 8 (negative indices wrap as well).
    TBit getBit(int32_t i) const;
    void SetBit(int32_t i, const TBit& bit);
    // Eight characters "0"/"1", most significant bit first.
    std::string getBinary() const;
    // Left-padded with "0" to eight characters, the first eight used; a character whose number is not 0 sets its bit.
    void setBinary(const std::string& text);
    // Two upper-case hexadecimal digits, high nibble first.
    std::string getHex() const;
    // The first two characters; a shorter text is padded with "0". Only "0"-"9" and upper-case "A"-"F" count.
    void setHex(const std::string& text);
    TByte clone() const { return *this; }

    bool operator==(const TByte& other) const { return bits == other.bits; }

    uint8_t bits = 0;
};

}  // namespace vesko
