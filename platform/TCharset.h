#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text in memory is UTF-8; text and data files are 8-bit (ISO-8859-1).
// Every conversion between the two, and every count in characters, goes through here.
namespace TCharset {
// Each byte becomes the character with that code (ISO-8859-1 to UTF-8).
std::string Latin1ToUtf8(std::string_view bytes);
// Each character becomes one byte: the low 8 bits of its code point.
std::string Utf8ToLatin1(std::string_view text);
// Decodes UTF-8 into code points; a malformed byte counts as one character of that byte's value.
std::vector<uint32_t> Decode(std::string_view text);
std::string Encode(uint32_t codePoint);
std::string Encode(const std::vector<uint32_t>& codePoints);
// Number of characters (code points) in a UTF-8 string.
size_t Length(std::string_view text);
// Characters [start, start + count) of a UTF-8 string, clamped to its length.
std::string Mid(std::string_view text, size_t start, size_t count = std::string::npos);
// Lower case of A-Z and of the upper-case letters of the ISO-8859-1 range (U+00C0..U+00DE except U+00D7).
uint32_t ToLower(uint32_t codePoint);
std::string ToLower(std::string_view text);
}  // namespace TCharset
