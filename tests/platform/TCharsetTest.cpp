#include <gtest/gtest.h>

#include "platform/TCharset.h"

namespace {

TEST(Charset, Latin1RoundTripOfAllBytes) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    const std::string utf8 = TCharset::Latin1ToUtf8(bytes);
    EXPECT_EQ(utf8.size(), 128u + 2u * 128u);
    EXPECT_EQ(TCharset::Length(utf8), 256u);
    const std::vector<uint32_t> cps = TCharset::Decode(utf8);
    for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(cps[i], i);
    EXPECT_EQ(TCharset::Utf8ToLatin1(utf8), bytes);
    EXPECT_EQ(TCharset::Latin1ToUtf8("\xE4\xF6\xFC\xDF"), "äöüß");
}

TEST(Charset, CharactersOutsideLatin1KeepTheirLowByte) {
    // The euro sign is U+20AC: one character, one byte 0xAC.
    EXPECT_EQ(TCharset::Utf8ToLatin1("1€"), "1\xAC");
}

TEST(Charset, MalformedBytesCountAsOneCharacterEach) {
    // A lone lead byte, a lone continuation byte, a cut-off three-byte sequence, bytes no UTF-8 uses.
    const std::string bad =
        "a\xC3"
        "b\x80\xE2\x82\xFF\xFE";
    const std::vector<uint32_t> cps = TCharset::Decode(bad);
    EXPECT_EQ(cps, (std::vector<uint32_t>{'a', 0xC3, 'b', 0x80, 0xE2, 0x82, 0xFF, 0xFE}));
    EXPECT_EQ(TCharset::Length(bad), 8u);
    // Truncated at the very end.
    EXPECT_EQ(TCharset::Decode("x\xF0\x9F\x98"), (std::vector<uint32_t>{'x', 0xF0, 0x9F, 0x98}));
    // Interpreted the same way when writing, so a broken line survives a read-write cycle.
    EXPECT_EQ(TCharset::Utf8ToLatin1("\xC3"), "\xC3");
}

TEST(Charset, EncodeDecodeAllLengths) {
    for (uint32_t cp : {0x41u, 0xE4u, 0x7FFu, 0x800u, 0x20ACu, 0xFFFFu, 0x10000u, 0x1F600u, 0x10FFFFu}) {
        const std::string s = TCharset::Encode(cp);
        EXPECT_EQ(TCharset::Decode(s), std::vector<uint32_t>{cp}) << std::hex << cp;
    }
    EXPECT_EQ(TCharset::Encode(0x20AC), "€");
    EXPECT_EQ(TCharset::Encode(std::vector<uint32_t>{'H', 0xE4, 'u'}), "Häu");
}

TEST(Charset, ToLowerOfLatin1Letters) {
    EXPECT_EQ(TCharset::ToLower("ÄÖÜ ABC xyz"), "äöü abc xyz");
    EXPECT_EQ(TCharset::ToLower(0xD7u), 0xD7u);  // the multiplication sign has no case
    EXPECT_EQ(TCharset::ToLower("×"), "×");
    EXPECT_EQ(TCharset::ToLower(0xDFu), 0xDFu);  // ß stays
    EXPECT_EQ(TCharset::ToLower(0xC0u), 0xE0u);
    EXPECT_EQ(TCharset::ToLower(0xDEu), 0xFEu);
    EXPECT_EQ(TCharset::ToLower('@'), uint32_t('@'));
    EXPECT_EQ(TCharset::ToLower('['), uint32_t('['));
    EXPECT_EQ(TCharset::ToLower(0x20ACu), 0x20ACu);
}

TEST(Charset, MidAndLengthCountCharacters) {
    const std::string s = "Größe€x";
    EXPECT_EQ(TCharset::Length(s), 7u);
    EXPECT_EQ(TCharset::Length(""), 0u);
    EXPECT_EQ(TCharset::Mid(s, 2, 2), "öß");
    EXPECT_EQ(TCharset::Mid(s, 5), "€x");
    EXPECT_EQ(TCharset::Mid(s, 5, 100), "€x");
    EXPECT_EQ(TCharset::Mid(s, 0, 0), "");
    EXPECT_EQ(TCharset::Mid(s, 7), "");
    EXPECT_EQ(TCharset::Mid(s, 100, 3), "");
    EXPECT_EQ(TCharset::Mid(s, 1, std::string::npos - 1), "röße€x");
}

}  // namespace
