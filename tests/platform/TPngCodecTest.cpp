// Picture files: PNG save and load, JPEG and BMP load, and every kind of broken file.
#include <gtest/gtest.h>

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "tests/support/TempDir.h"

namespace {

uint32_t Crc32(const std::string& bytes, size_t from, size_t count) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + count; ++i) {
        crc ^= static_cast<uint8_t>(bytes[i]);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t Be32(const std::string& b, size_t at) {
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
           (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}

void PutBe32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = static_cast<char>(v >> (24 - 8 * i));
}

// Offset of the chunk's length field, or npos.
size_t FindChunk(const std::string& png, const char* type) {
    size_t at = 8;
    while (at + 12 <= png.size()) {
        if (png.compare(at + 4, 4, type) == 0) return at;
        at += 12 + Be32(png, at);
    }
    return std::string::npos;
}

// Recomputes a chunk's CRC after its contents were changed.
void FixCrc(std::string& png, size_t chunk) {
    const uint32_t length = Be32(png, chunk);
    PutBe32(png, chunk + 8 + length, Crc32(png, chunk + 4, 4 + length));
}

std::string ReadAllBytes(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(LoadBytes(path, bytes));
    return bytes;
}

void WriteAllBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class PictureFileTest : public testing::Test {
protected:
    // A small PNG with distinct colours and alphas, saved by the layer itself.
    std::string SmallPng() {
        auto p = TPixmap::Create(7, 5);
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 7; ++x) {
                p->WritePixel(x, y, (uint32_t(x * 40) << 24) | (uint32_t(y * 50) << 16) | uint32_t(x * 30 + y));
            }
        }
        const std::string path = dir.File("small.png");
        EXPECT_TRUE(SavePixmapPNG(*p, path));
        return ReadAllBytes(path);
    }
    TempDir dir;
};

TEST_F(PictureFileTest, PngRoundTripKeepsEveryPixelAndAlphaExactly) {
    auto p = TPixmap::Create(6, 4);
    const uint32_t alphas[] = {0xFF, 0xFE, 0x80, 0x7F, 0x01, 0x00};
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            p->WritePixel(x, y,
                          (alphas[x] << 24) | uint32_t((x * 41 + y * 13) & 255) << 16 |
                              uint32_t((x * 7 + y * 91) & 255) << 8 | uint32_t((x * 200 + y) & 255));
        }
    }
    const std::string path = dir.File("round.png");
    ASSERT_TRUE(SavePixmapPNG(*p, path));
    EXPECT_EQ(FileType(path + ".tmp"), FILETYPE_NONE);
    auto back = LoadPixmap(path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width, 6);
    ASSERT_EQ(back->height, 4);
    EXPECT_TRUE(back->sourceHasAlpha);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            // Colours are stored unpremultiplied: even fully transparent pixels keep theirs.
            EXPECT_EQ(back->ReadPixel(x, y), p->ReadPixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(PictureFileTest, PixmapWithoutAlphaIsSavedAsRgbSoMaskingStillApplies) {
    auto p = TPixmap::Create(3, 1);
    p->WritePixel(0, 0, 0xFFFF00FFu);  // magenta: the mask colour of content pictures
    p->WritePixel(1, 0, 0xFF102030u);
    p->WritePixel(2, 0, 0x80405060u);  // alpha is dropped, the colour kept
    p->sourceHasAlpha = false;
    const std::string path = dir.File("rgb.png");
    ASSERT_TRUE(SavePixmapPNG(*p, path, 9));
    std::string bytes;
    ASSERT_TRUE(LoadBytes(path, bytes));
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[25]), 2u);  // IHDR colour type 2: RGB
    auto back = LoadPixmap(path);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->sourceHasAlpha);
    EXPECT_EQ(back->ReadPixel(0, 0), 0xFFFF00FFu);
    EXPECT_EQ(back->ReadPixel(1, 0), 0xFF102030u);
    EXPECT_EQ(back->ReadPixel(2, 0), 0xFF405060u);
}

TEST_F(PictureFileTest, PngSaveOfAWindowWritesOnlyTheWindow) {
    auto p = TPixmap::Create(10, 10);
    p->ClearPixels(0xFF000000u);
    auto w = p->Window(3, 4, 2, 3);
    w->ClearPixels(0xFF12AB34u);
    const std::string path = dir.File("window.png");
    ASSERT_TRUE(SavePixmapPNG(*w, path));
    auto back = LoadPixmap(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 2);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->ReadPixel(1, 2), 0xFF12AB34u);
}

TEST_F(PictureFileTest, PngSaveIntoAMissingFolderFailsCleanly) {
    auto p = TPixmap::Create(2, 2);
    EXPECT_FALSE(SavePixmapPNG(*p, dir.File("missing/folder/x.png")));
    EXPECT_EQ(FileType(dir.File("missing")), FILETYPE_NONE);
}

TEST_F(PictureFileTest, EveryTruncationOfAPngIsRefusedOrDecodedWithoutCrash) {
    const std::string png = SmallPng();
    ASSERT_GT(png.size(), 60u);
    int32_t refused = 0;
    for (size_t n = 0; n < png.size(); ++n) {
        auto p = DecodePixmap(png.substr(0, n));
        if (!p) {
            ++refused;
            continue;
        }
        EXPECT_EQ(p->width, 7) << n;
        EXPECT_EQ(p->height, 5) << n;
    }
    // Without its image data a PNG cannot be decoded.
    EXPECT_GE(refused, static_cast<int32_t>(FindChunk(png, "IDAT")) + 8);
    auto whole = DecodePixmap(png);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->ReadPixel(6, 4), (240u << 24) | (200u << 16) | 184u);
}

TEST_F(PictureFileTest, WrongCrcInImageDataIsRefused) {
    std::string png = SmallPng();
    const size_t idat = FindChunk(png, "IDAT");
    ASSERT_NE(idat, std::string::npos);
    const size_t crcAt = idat + 8 + Be32(png, idat);
    png[crcAt] = static_cast<char>(png[crcAt] ^ 0x5A);
    WriteAllBytes(dir.File("crc.png"), png);
    EXPECT_FALSE(LoadPixmap(dir.File("crc.png")));
}

TEST_F(PictureFileTest, ZeroAndHugeDeclaredSizesAreRefused) {
    const std::string png = SmallPng();
    const size_t ihdr = FindChunk(png, "IHDR");
    ASSERT_EQ(ihdr, 8u);
    struct Size {
        uint32_t w, h;
    };
    for (Size s : {Size{0, 5}, Size{7, 0}, Size{0, 0}, Size{100000, 100000}, Size{TPixmap::MaxSide + 1, 1},
                   Size{0x7FFFFFFF, 0x7FFFFFFF}, Size{0xFFFFFFFF, 1}}) {
        std::string bad = png;
        PutBe32(bad, ihdr + 8, s.w);
        PutBe32(bad, ihdr + 12, s.h);
        FixCrc(bad, ihdr);
        EXPECT_FALSE(DecodePixmap(bad)) << s.w << " x " << s.h;
    }
}

TEST_F(PictureFileTest, JunkEmptyAndMissingFilesAreRefused) {
    EXPECT_FALSE(LoadPixmap(dir.File("absent.png")));
    EXPECT_FALSE(LoadPixmap(dir.path));  // a folder
    WriteAllBytes(dir.File("empty.png"), "");
    EXPECT_FALSE(LoadPixmap(dir.File("empty.png")));
    WriteAllBytes(dir.File("text.png"), "[Plugin]\r\nName=Haus\r\n");
    EXPECT_FALSE(LoadPixmap(dir.File("text.png")));
    // Right signatures, garbage behind them.
    std::string noise;
    srand(7);
    for (int i = 0; i < 300; ++i) noise.push_back(static_cast<char>(rand() & 255));
    for (const std::string& head :
         {std::string("\x89PNG\r\n\x1a\n", 8), std::string("\xff\xd8\xff"), std::string("BM")}) {
        EXPECT_FALSE(DecodePixmap(head)) << head.size();
        EXPECT_FALSE(DecodePixmap(head + noise)) << head.size();
    }
}

// A JPEG of one flat colour, written with libjpeg.
std::string FlatJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b, bool progressive = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[size_t(x) * 3] = r;
        row[size_t(x) * 3 + 1] = g;
        row[size_t(x) * 3 + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

TEST_F(PictureFileTest, JpegDecodesToItsSizeAndColour) {
    WriteAllBytes(dir.File("flat.jpg"), FlatJpeg(19, 11, 200, 100, 50));
    auto p = LoadPixmap(dir.File("flat.jpg"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 19);
    EXPECT_EQ(p->height, 11);
    EXPECT_FALSE(p->sourceHasAlpha);
    for (auto [x, y] : {std::pair{0, 0}, {18, 10}, {9, 5}}) {
        const uint32_t c = p->ReadPixel(x, y);
        EXPECT_EQ(c >> 24, 255u);
        EXPECT_NEAR(int((c >> 16) & 255), 200, 6);
        EXPECT_NEAR(int((c >> 8) & 255), 100, 6);
        EXPECT_NEAR(int(c & 255), 50, 6);
    }
}

TEST_F(PictureFileTest, BrokenJpegsAreRefusedOrDecodedWithoutCrash) {
    const std::string jpg = FlatJpeg(16, 16, 10, 20, 30);
    for (size_t n = 0; n < jpg.size(); ++n) {
        auto p = DecodePixmap(jpg.substr(0, n));
        if (p) {
            EXPECT_EQ(p->width, 16) << n;
            EXPECT_EQ(p->height, 16) << n;
        }
    }
}

// Frame headers declaring more than the layer accepts, up to the largest size JPEG allows.
TEST_F(PictureFileTest, HugeDeclaredJpegsAreRefused) {
    for (bool progressive : {false, true}) {
        const std::string jpg = FlatJpeg(16, 16, 10, 20, 30, progressive);
        ASSERT_TRUE(DecodePixmap(jpg));
        const size_t sof = jpg.find(progressive ? "\xff\xc2" : "\xff\xc0", 2);
        ASSERT_NE(sof, std::string::npos);
        for (uint16_t side : {uint16_t(20000), uint16_t(0xFFFF)}) {
            std::string huge = jpg;
            huge[sof + 5] = huge[sof + 7] = static_cast<char>(side >> 8);
            huge[sof + 6] = huge[sof + 8] = static_cast<char>(side & 255);
            EXPECT_FALSE(DecodePixmap(huge)) << side << (progressive ? " progressive" : "");
        }
    }
}

// An uncompressed 24-bit BMP, bottom row first, rows padded to four bytes.
std::string Bmp24(int32_t width, int32_t height, const std::vector<uint32_t>& rgbTopFirst) {
    const int32_t rowBytes = (width * 3 + 3) & ~3;
    const int32_t dataSize = rowBytes * height;
    std::string b(54 + size_t(dataSize), '\0');
    auto le32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    le32(2, uint32_t(b.size()));
    le32(10, 54);
    le32(14, 40);
    le32(18, uint32_t(width));
    le32(22, uint32_t(height));
    b[26] = 1;
    b[28] = 24;
    le32(34, uint32_t(dataSize));
    for (int32_t y = 0; y < height; ++y) {
        const size_t row = 54 + size_t(height - 1 - y) * size_t(rowBytes);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = rgbTopFirst[size_t(y * width + x)];
            b[row + size_t(x) * 3] = static_cast<char>(c);
            b[row + size_t(x) * 3 + 1] = static_cast<char>(c >> 8);
            b[row + size_t(x) * 3 + 2] = static_cast<char>(c >> 16);
        }
    }
    return b;
}

TEST_F(PictureFileTest, BmpDecodesExactly) {
    const std::vector<uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFF00FF, 0xFFFFFF};
    WriteAllBytes(dir.File("p.bmp"), Bmp24(3, 2, colours));
    auto p = LoadPixmap(dir.File("p.bmp"));
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 3);
    ASSERT_EQ(p->height, 2);
    EXPECT_FALSE(p->sourceHasAlpha);
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(p->ReadPixel(i % 3, i / 3), 0xFF000000u | colours[size_t(i)]) << i;
}

TEST_F(PictureFileTest, BrokenBmpsAreRefusedOrDecodedWithoutCrash) {
    const std::string bmp = Bmp24(5, 4, std::vector<uint32_t>(20, 0x336699));
    for (size_t n = 0; n < bmp.size(); ++n) {
        auto p = DecodePixmap(bmp.substr(0, n));
        if (p) {
            EXPECT_EQ(p->width, 5) << n;
            EXPECT_EQ(p->height, 4) << n;
        }
    }
    std::string huge = bmp;
    for (size_t at : {size_t(18), size_t(22)}) {
        huge[at] = static_cast<char>(0xA0);
        huge[at + 1] = static_cast<char>(0x86);
        huge[at + 2] = 0x01;  // 100000
        huge[at + 3] = 0;
    }
    EXPECT_FALSE(DecodePixmap(huge));
}

}  // namespace
