#include <gtest/gtest.h>

#include "platform/TPixmap.h"

namespace {

// Each pixel holds its own coordinates, so a misplaced copy shows.
std::shared_ptr<TPixmap> Numbered(int32_t w, int32_t h, uint32_t tag) {
    auto p = TPixmap::Create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) p->WritePixel(x, y, tag | uint32_t(y << 8) | uint32_t(x));
    }
    return p;
}

TEST(Pixmap, CreateRefusesEmptyAndOversizedPixmaps) {
    auto p = TPixmap::Create(3, 2);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pitch, 12);
    EXPECT_EQ(p->capacity, 24);
    EXPECT_EQ(p->ReadPixel(2, 1), 0u);
    EXPECT_FALSE(TPixmap::Create(0, 5));
    EXPECT_FALSE(TPixmap::Create(5, -1));
    EXPECT_FALSE(TPixmap::Create(TPixmap::MaxSide + 1, 1));
    EXPECT_FALSE(TPixmap::Create(TPixmap::MaxSide, TPixmap::MaxSide));  // too many pixels in all
}

TEST(Pixmap, PixelsOutsideReadZeroAndIgnoreWrites) {
    auto p = TPixmap::Create(4, 3);
    p->ClearPixels(0x11223344u);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}, {-100000, 100000}}) {
        EXPECT_EQ(p->ReadPixel(x, y), 0u) << x << "," << y;
        p->WritePixel(x, y, 0xDEADBEEFu);
    }
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(p->ReadPixel(x, y), 0x11223344u);
    }
    p->WritePixel(3, 2, 0xFF000001u);
    EXPECT_EQ(p->ReadPixel(3, 2), 0xFF000001u);
}

TEST(Pixmap, WindowSharesPixelsWithItsParent) {
    auto parent = Numbered(8, 6, 0xFF000000u);
    auto w = parent->Window(2, 1, 3, 4);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->width, 3);
    EXPECT_EQ(w->height, 4);
    EXPECT_EQ(w->capacity, -1);
    EXPECT_EQ(w->ReadPixel(0, 0), parent->ReadPixel(2, 1));
    EXPECT_EQ(w->ReadPixel(2, 3), parent->ReadPixel(4, 4));
    w->WritePixel(1, 1, 0xABCDEF01u);
    EXPECT_EQ(parent->ReadPixel(3, 2), 0xABCDEF01u);
    // Writes stay inside the window.
    w->WritePixel(3, 0, 0x1u);
    EXPECT_NE(parent->ReadPixel(5, 1), 0x1u);
    w->ClearPixels(0);
    EXPECT_EQ(parent->ReadPixel(1, 1), 0xFF000101u);
    EXPECT_EQ(parent->ReadPixel(5, 1), 0xFF000105u);
    EXPECT_EQ(parent->ReadPixel(2, 5), 0xFF000502u);

    // The window keeps the pixels alive after the parent is gone.
    parent.reset();
    EXPECT_EQ(w->ReadPixel(0, 0), 0u);
    w->WritePixel(0, 0, 7);
    EXPECT_EQ(w->ReadPixel(0, 0), 7u);
}

TEST(Pixmap, WindowIsClippedAndNullWhenNothingRemains) {
    auto p = Numbered(8, 6, 0);
    auto w = p->Window(-2, -3, 5, 5);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->width, 3);
    EXPECT_EQ(w->height, 2);
    EXPECT_EQ(w->ReadPixel(0, 0), p->ReadPixel(0, 0));
    auto edge = p->Window(6, 4, 10, 10);
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->width, 2);
    EXPECT_EQ(edge->height, 2);
    EXPECT_FALSE(p->Window(8, 0, 1, 1));
    EXPECT_FALSE(p->Window(0, 0, 0, 1));
    EXPECT_FALSE(p->Window(-5, 0, 5, 1));
}

TEST(Pixmap, CopyIsIndependent) {
    auto p = Numbered(4, 4, 0xFF000000u);
    p->sourceHasAlpha = false;
    auto c = p->Window(1, 1, 2, 2)->Copy();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->capacity, 16);
    EXPECT_FALSE(c->sourceHasAlpha);
    EXPECT_EQ(c->ReadPixel(1, 1), p->ReadPixel(2, 2));
    c->WritePixel(0, 0, 0);
    EXPECT_EQ(p->ReadPixel(1, 1), 0xFF000101u);
    auto converted = p->Convert(TPixmap::PF_ARGB8888);
    converted->ClearPixels(0);
    EXPECT_EQ(p->ReadPixel(3, 3), 0xFF000303u);
}

// Pastes a 3x3 numbered source into a 5x5 target at every offset that overlaps partly or
// not at all and compares with a pixel-by-pixel reference.
TEST(Pixmap, PasteClipsAtEveryEdge) {
    auto src = Numbered(3, 3, 0xAA000000u);
    for (int32_t oy = -4; oy <= 6; ++oy) {
        for (int32_t ox = -4; ox <= 6; ++ox) {
            auto dst = TPixmap::Create(5, 5);
            dst->ClearPixels(0x55555555u);
            dst->Paste(*src, ox, oy);
            for (int32_t y = 0; y < 5; ++y) {
                for (int32_t x = 0; x < 5; ++x) {
                    const bool inside = x - ox >= 0 && x - ox < 3 && y - oy >= 0 && y - oy < 3;
                    const uint32_t want = inside ? src->ReadPixel(x - ox, y - oy) : 0x55555555u;
                    ASSERT_EQ(dst->ReadPixel(x, y), want) << "offset " << ox << "," << oy << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST(Pixmap, PasteIntoAWindowStaysInsideTheWindow) {
    auto parent = TPixmap::Create(6, 6);
    auto w = parent->Window(2, 2, 2, 2);
    auto src = TPixmap::Create(4, 4);
    src->ClearPixels(0xFFFFFFFFu);
    w->Paste(*src, -1, -1);
    int32_t set = 0;
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 6; ++x) set += parent->ReadPixel(x, y) != 0;
    }
    EXPECT_EQ(set, 4);
    EXPECT_EQ(parent->ReadPixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(parent->ReadPixel(3, 3), 0xFFFFFFFFu);
}

}  // namespace
