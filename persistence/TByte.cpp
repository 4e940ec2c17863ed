#include "persistence/TByte.h"

#include <vector>

#include "platform/TCharset.h"

namespace vesko {

const std::array<const char*, 16> TByte::charHexContainer = {"0", "1", "2", "3", "4", "5", "6", "7",
                                                             "8", "9", "A", "B", "C", "D", "E", "F"};

namespace {
int32_t BitIndex(int32_t i) { return ((i % 8) + 8) % 8; }

int32_t HexDigit(uint32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int32_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int32_t>(c - 'A' + 10);
    return 0;
}
}  // namespace

TByte TByte::Create(int32_t value) {
    TByte b;
    b.SetValue(value);
    return b;
}

TByte TByte::fromBinary(const std::string& text) {
    TByte b;
    b.setBinary(text);
    return b;
}

TByte TByte::fromHex(const std::string& text) {
    TByte b;
    b.setHex(text);
    return b;
}

void TByte::SetValue(int32_t v) {
    const int32_t r = v % 256;
    bits = r < 0 ? 0 : static_cast<uint8_t>(r);
}

TBit TByte::getBit(int32_t i) const { return TBit::Create((bits >> BitIndex(i)) & 1); }

void TByte::SetBit(int32_t i, const TBit& bit) {
    const uint8_t mask = static_cast<uint8_t>(1u << BitIndex(i));
    bits = bit.GetValue() ? static_cast<uint8_t>(bits | mask) : static_cast<uint8_t>(bits & ~mask);
}

std::string TByte::getBinary() const {
    std::string out(8, '0');
    for (int k = 0; k < 8; ++k)
        if ((bits >> (7 - k)) & 1) out[static_cast<size_t>(k)] = '1';
    return out;
}

void TByte::setBinary(const std::string& text) {
    std::vector<uint32_t> chars = TCharset::Decode(text);
    if (chars.size() < 8) chars.insert(chars.begin(), 8 - chars.size(), '0');
    uint8_t v = 0;
    // A character counts when its number is not 0: the digits 1 to 9.
    for (int k = 0; k < 8; ++k)
        if (chars[static_cast<size_t>(k)] >= '1' && chars[static_cast<size_t>(k)] <= '9') v |= uint8_t(1u << (7 - k));
    bits = v;
}

std::string TByte::getHex() const { return std::string(charHexContainer[bits >> 4]) + charHexContainer[bits & 15]; }

void TByte::setHex(const std::string& text) {
    std::vector<uint32_t> chars = TCharset::Decode(text);
    if (chars.size() < 2) chars.insert(chars.begin(), '0');
    if (chars.size() < 2) chars.push_back('0');
    bits = static_cast<uint8_t>(HexDigit(chars[0]) << 4 | HexDigit(chars[1]));
}

}  // namespace vesko
