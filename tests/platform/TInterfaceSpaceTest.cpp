// Drawing in interface units: every vertex and the viewport reach the device multiplied by the
// factor, the map's drawing outside the space is untouched, and a font rasterised for the
// factor puts one glyph pixel on one back-buffer pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImageFont.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TRecordingBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"

namespace {

class InterfaceSpaceTest : public testing::Test {
protected:
    void SetUp() override { backend = TGraphics::HeadlessGraphics(1001, 751); }
    void TearDown() override {
        TInterfaceSpace::SetFactor(1.0f);
        TGraphics::EndGraphics();
    }
    // The box (left, top, right, bottom) of the vertices drawn since the log was cleared.
    std::array<float, 4> Drawn() {
        TSpriteBatch::Instance().Flush();
        std::array<float, 4> box{1e9f, 1e9f, -1e9f, -1e9f};
        for (const TVertex& v : backend->vertices) {
            box = {std::min(box[0], v.x), std::min(box[1], v.y), std::max(box[2], v.x), std::max(box[3], v.y)};
        }
        backend->ClearLog();
        return box;
    }
    std::shared_ptr<TRecordingBackend> backend;
};

TEST_F(InterfaceSpaceTest, UnitsBecomePixelsOnlyInsideTheSpace) {
    // Factor, the back buffer in units, and where a viewport of units (5, 5, 50, 50) lies in pixels.
    const struct {
        float factor;
        int32_t width, height;
        std::array<int32_t, 4> viewport;
    } cases[] = {{1.0f, 1001, 751, {5, 5, 50, 50}},
                 {1.5f, 667, 500, {7, 7, 76, 76}},  // rounded outwards to whole pixels
                 {2.0f, 500, 375, {10, 10, 100, 100}},
                 {3.0f, 333, 250, {15, 15, 150, 150}}};
    for (const auto& c : cases) {
        TInterfaceSpace::SetFactor(c.factor);
        EXPECT_EQ(TInterfaceSpace::Width(), c.width) << c.factor;
        EXPECT_EQ(TInterfaceSpace::Height(), c.height) << c.factor;
        {
            TInterfaceSpace units;
            SetOrigin(1, 2);  // the screen space starts without origin and puts it back at the end
            DrawRect(10, 20, 30, 40);
            const auto box = Drawn();
            const float k = c.factor;
            EXPECT_EQ(box, (std::array<float, 4>{11 * k, 22 * k, 41 * k, 62 * k})) << k;

            int32_t x, y, w, h;
            GetViewport(x, y, w, h);
            // The whole buffer, read in units, covers every pixel of it.
            EXPECT_GE(float(w) * k, 1001.0f);
            EXPECT_GE(float(h) * k, 751.0f);
            SetViewport(5, 5, 50, 50);
            DrawRect(0, 0, 1, 1);
            ASSERT_FALSE(backend->calls.empty());
            const TDrawCall& call = backend->calls.back();
            EXPECT_EQ((std::array<int32_t, 4>{call.viewportX, call.viewportY, call.viewportW, call.viewportH}),
                      c.viewport)
                << k;
            // Read back, it covers at least what was set (exactly, where units end on whole pixels).
            GetViewport(x, y, w, h);
            EXPECT_TRUE(x <= 5 && y <= 5 && x + w >= 55 && y + h >= 55 && w <= 52) << k;
            if (k != 1.5f) {
                EXPECT_EQ((std::array<int32_t, 4>{x, y, w, h}), (std::array<int32_t, 4>{5, 5, 50, 50})) << k;
            }
            SetViewport(0, 0, 1001, 751);
            backend->ClearLog();
        }
        // The map draws in pixels again.
        DrawRect(10, 20, 30, 40);
        EXPECT_EQ(Drawn(), (std::array<float, 4>{10, 20, 40, 60})) << c.factor;
        EXPECT_EQ(GetInterfaceScale(), 1.0f);
    }
}

TEST_F(InterfaceSpaceTest, AWindowTooSmallForTheWantedFactorGetsASmallerOne) {
    // Wanted, window, the factor used: never fewer than 320 × 240 units on screen.
    const std::tuple<float, int32_t, int32_t, float> cases[] = {
        {2.0f, 2560, 1440, 2.0f}, {2.0f, 800, 600, 2.0f},   {2.0f, 640, 600, 2.0f},  {2.0f, 480, 480, 1.5f},
        {3.0f, 320, 240, 1.0f},   {0.75f, 320, 240, 0.75f}, {9.0f, 7680, 4320, 3.0f}, {2.0f, 100, 100, 0.75f}};
    for (const auto& [wanted, w, h, used] : cases) {
        EXPECT_EQ(TInterfaceSpace::FactorFor(wanted, w, h), used) << wanted << " " << w << "×" << h;
    }
}

TEST_F(InterfaceSpaceTest, FactorsOutsideTheRangeAreTakenIntoIt) {
    const std::pair<float, float> cases[] = {{0.1f, 0.75f}, {0.0f, 0.75f}, {-2.0f, 0.75f}, {2.5f, 2.5f},
                                             {99.0f, 3.0f}, {std::numeric_limits<float>::quiet_NaN(), 1.0f},
                                             {std::numeric_limits<float>::infinity(), 1.0f}};
    for (const auto& [given, taken] : cases) {
        TInterfaceSpace::SetFactor(given);
        EXPECT_EQ(TInterfaceSpace::Factor(), taken) << given;
    }
}

TEST_F(InterfaceSpaceTest, AFontForTheFactorIsMeasuredInUnitsAndDrawnPixelForPixel) {
    const std::string path = "data/gfx/gui/font.ttf";
    ASSERT_EQ(FileType(path), FILETYPE_FILE) << "run from the repository root";
    auto plain = TImageFont::Load(path, 14, SMOOTHFONT);
    ASSERT_TRUE(plain);
    const std::string text = "Einwohner: 1.234";
    for (const float k : {1.5f, 2.0f, 3.0f}) {
        auto font = TImageFont::Load(path, 14, SMOOTHFONT, k);
        ASSERT_TRUE(font) << k;
        // Measured like the plain font (hinting at the larger size moves a little).
        EXPECT_NEAR(font->Height(), plain->Height(), 1) << k;
        EXPECT_NEAR(font->TextWidth(text), plain->TextWidth(text), 0.06f * plain->TextWidth(text)) << k;
        // Every Latin-1 glyph has room in the atlas, also at three times the size.
        for (uint32_t cp = 33; cp < 256; ++cp) {
            if (cp < 127 || cp > 160) {
                EXPECT_TRUE(font->Glyph(cp)) << k << " " << cp;
            }
        }

        TInterfaceSpace::SetFactor(k);
        TInterfaceSpace units;
        SetImageFont(font);
        backend->ClearLog();
        DrawText("H", 10.3f, 20.0f);
        TSpriteBatch::Instance().Flush();
        ASSERT_EQ(backend->vertices.size(), 6u) << k;
        const TVertex* q = backend->vertices.data();
        const TImageFont::TGlyph* g = font->Glyph('H');
        // The glyph's bitmap lands on whole pixels at its own size: sharp, not stretched.
        EXPECT_FLOAT_EQ(q[1].x - q[0].x, float(g->width)) << k;
        EXPECT_FLOAT_EQ(q[2].y - q[1].y, float(g->height)) << k;
        EXPECT_FLOAT_EQ(q[0].x, std::round(q[0].x)) << k;
        EXPECT_FLOAT_EQ(q[0].y, std::round(q[0].y)) << k;
        // Within a pixel of where the unit position puts it.
        EXPECT_NEAR(q[0].x, (10.3f * k) + float(g->left), 1.0f) << k;
        SetImageFont(nullptr);
    }
    // Rasterised again in place (the window changed the factor): the same measures, new glyphs.
    const int32_t height = plain->Height(), glyphHeight = plain->Glyph('H')->height;
    ASSERT_TRUE(plain->SetRasterScale(2.0f));
    EXPECT_NEAR(plain->Glyph('H')->height, 2 * glyphHeight, 2);
    EXPECT_NEAR(plain->Height(), height, 1);
    EXPECT_FALSE(plain->SetRasterScale(100.0f));  // 1400-pixel glyphs are refused
    EXPECT_EQ(plain->RasterScale(), 2.0f);
    EXPECT_NEAR(plain->Glyph('H')->height, 2 * glyphHeight, 2);
}

}  // namespace
