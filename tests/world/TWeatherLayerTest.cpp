// The weather: choosing and blending values, what values 0, 2.5 and 6 draw, and the storm tile
// that dims and rains in one fill.
#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "platform/TDrawState.h"
#include "platform/TSpriteBatch.h"
#include "world/TWeatherLayer.h"

namespace {

class WeatherTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        auto rain = TPixmap::Create(64, 64);
        rain->ClearPixels(0x80FFFFFFu);
        TWeatherLayer::rainImg = TImage::FromPixmap(rain);
        world = TLayer::Create(4, 4, random);
        weather = world->WeatherLayer;
        ResetDrawState(viewW, viewH);
    }
    void Set(int32_t last, int32_t current, int32_t lastDay, int32_t until, int32_t day, float part) {
        weather->lastMode = last;
        weather->currentMode = current;
        weather->lastDay = lastDay;
        weather->untilChangeDay = until;
        world->currentDay = day;
        world->currentDayPart = part;
    }
    std::vector<TDrawCall> Calls(TDrawCall::Kind kind) const {
        std::vector<TDrawCall> out;
        for (const auto& c : backend->calls) {
            if (c.kind == kind) out.push_back(c);
        }
        return out;
    }
    std::shared_ptr<TLayer> world;
    std::shared_ptr<TWeatherLayer> weather;
};

TEST_F(WeatherTest, ValueBlendsSmoothlyFromTheOldToTheNewValue) {
    Set(2, 3, 0, 2, 1, 0.0f);
    EXPECT_FLOAT_EQ(weather->GetValue(), 2.5f);
    Set(0, 6, 10, 13, 10, 0.0f);
    EXPECT_FLOAT_EQ(weather->GetValue(), 0.0f);
    Set(0, 6, 10, 13, 13, 0.0f);
    EXPECT_FLOAT_EQ(weather->GetValue(), 6.0f);
}

TEST_F(WeatherTest, ValueZeroAddsTheBrightestTint) {
    Set(0, 0, 0, 0, 5, 0);
    backend->ClearLog();
    weather->Draw();
    auto rects = Calls(TDrawCall::Rect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].blend, LIGHTBLEND);
    EXPECT_EQ(rects[0].r, 60);
    EXPECT_EQ(rects[0].g, 40);
    EXPECT_EQ(rects[0].b, 20);
    EXPECT_FLOAT_EQ(rects[0].w, float(viewW));
    EXPECT_FLOAT_EQ(rects[0].h, float(viewH));
    EXPECT_TRUE(Calls(TDrawCall::TileImage).empty());
    EXPECT_EQ(GetBlend(), ALPHABLEND);
}

TEST_F(WeatherTest, ShadeAndRainCoverTheViewOnceAtEveryZoomAndLeaveTheZoomSet) {
    world = TLayer::Create(64, 64, random);
    weather = world->WeatherLayer;
    world->midPosition(0);
    for (const float zoom : {0.5f, 1.0f, 4.0f}) {
        Set(6, 6, 0, 0, 5, 0);
        world->SetMapScale(zoom, zoom, 0);
        SetTransform(0, zoom, zoom);
        SetOrigin(3, 7);
        backend->ClearLog();
        weather->Draw();
        // The dry parts are dimmed by rects, the wet parts by the storm tile: together the view.
        float dry = 0, area = 0;
        for (const auto& r : Calls(TDrawCall::Rect)) {
            if (r.blend != DIMBLEND) continue;
            EXPECT_FLOAT_EQ(r.scaleX, 1.0f) << zoom;
            EXPECT_FLOAT_EQ(r.originX, 0.0f) << zoom;
            dry += r.w * r.h;
        }
        area = dry;
        const auto wet = weather->_MapOnScreen(float(viewW), float(viewH));
        float y = 0;
        for (const auto& r : wet) {
            EXPECT_FLOAT_EQ(r.y0, y) << zoom;  // bands follow each other down the view
            EXPECT_TRUE(r.x0 >= 0 && r.x0 <= r.x1 && r.x1 <= float(viewW)) << zoom;
            area += (r.x1 - r.x0) * (r.y1 - r.y0);
            y = r.y1;
        }
        EXPECT_FLOAT_EQ(y, float(viewH)) << zoom;
        EXPECT_FLOAT_EQ(area, float(viewW) * float(viewH)) << zoom;
        // Zoomed out the black ring beyond the map is in view, and stays dry.
        EXPECT_EQ(dry > 0, zoom == 0.5f) << zoom;
        float sx = 0, sy = 0, ox = 0, oy = 0;
        GetScale(sx, sy);
        GetOrigin(ox, oy);
        EXPECT_FLOAT_EQ(sx, zoom);
        EXPECT_FLOAT_EQ(ox, 3.0f);
    }
}

TEST(WeatherStorm, OneTileDimsAndRainsAsTheFillAndTwoLayersDid) {
    // Two rain pixels side by side; shifts by whole pixels, so no sampling between them.
    auto rain = TPixmap::Create(2, 1);
    rain->WritePixel(0, 0, 0x80FFFFFFu);
    rain->WritePixel(1, 0, 0xFF204060u);
    auto out = TPixmap::Create(2, 1);
    const float alpha = 0.75f, shade = 172.0f / 255.0f;
    const uint32_t light = 0x525261u;
    TWeatherLayer::_ComposeStorm(*out, *rain, alpha, shade, light, 0, 0, 1, 0);
    auto channel = [](uint32_t p, int ch) { return float((p >> (16 - 8 * ch)) & 0xFFu) / 255.0f; };
    for (const uint32_t target : {0xFF000000u, 0xFFFFFFFFu, 0xFF6496C8u}) {
        for (int32_t x = 0; x < 2; ++x) {
            const uint32_t first = rain->ReadPixel(x, 0), second = rain->ReadPixel((x + 1) % 2, 0);
            const float a1 = alpha * float(first >> 24) / 255.0f, a2 = alpha * float(second >> 24) / 255.0f;
            const uint32_t tile = out->ReadPixel(x, 0);
            for (int ch = 0; ch < 3; ++ch) {
                // The old way: the dim fill, then each layer blended over it.
                float v = channel(target, ch) * shade + channel(light, ch);
                v = a1 * channel(first, ch) + (1 - a1) * v;
                v = a2 * channel(second, ch) + (1 - a2) * v;
                const float oneFill = channel(tile, ch) + channel(target, ch) * float(tile >> 24) / 255.0f;
                EXPECT_NEAR(oneFill, v, 1.5f / 255.0f) << std::hex << target << " x " << x << " channel " << ch;
            }
        }
    }
    // Where neither layer has a drop only the dim and the light remain, bit for bit.
    auto sparse = TPixmap::Create(8, 4);
    for (int32_t i = 0; i < 32; ++i) sparse->WritePixel(i % 8, i / 8, 0x00FFFFFFu);
    sparse->WritePixel(1, 0, 0xFF204060u);
    auto tile = TPixmap::Create(8, 4);
    // The first layer's drop lands at (1, 0), the second's at (3, 1).
    TWeatherLayer::_ComposeStorm(*tile, *sparse, alpha, shade, light, 0, 0, 2, 1);
    for (int32_t i = 0; i < 32; ++i) {
        const int32_t x = i % 8, y = i / 8;
        const bool wet = (x == 1 && y == 0) || (x == 3 && y == 1);
        EXPECT_EQ(tile->ReadPixel(x, y) == (0xAC000000u | light), !wet) << x << ", " << y;
    }
    // Half a pixel's shift samples both pixels equally.
    TWeatherLayer::_ComposeStorm(*out, *rain, 1, 1, 0, 0, 0, 0, 0);
    EXPECT_NE(out->ReadPixel(0, 0), out->ReadPixel(1, 0));
    TWeatherLayer::_ComposeStorm(*out, *rain, 1, 1, 0, 0.5, 0, -1.5, 0);
    EXPECT_EQ(out->ReadPixel(0, 0), out->ReadPixel(1, 0));
}

TEST_F(WeatherTest, ValueTwoAndAHalfDrawsNothing) {
    Set(2, 3, 0, 2, 1, 0.0f);
    backend->ClearLog();
    for (int i = 0; i < 50; ++i) weather->Draw();
    EXPECT_TRUE(backend->calls.empty());
}

TEST_F(WeatherTest, ValueSixDarkensRainsFullyAndFlashesAboutOnceIn41Frames) {
    Set(6, 6, 0, 0, 5, 0);
    backend->ClearLog();
    weather->Draw();
    auto rects = Calls(TDrawCall::Rect);
    // The shade to 172 / 255 (255 + 55 * -1.5) and the light (82, 82, 97) beside the map.
    ASSERT_GE(rects.size(), 1u);
    EXPECT_EQ(rects[0].blend, DIMBLEND);
    EXPECT_NEAR(rects[0].alpha * 255.0f, 172.0f, 1e-3f);
    EXPECT_EQ(rects[0].r, 82);
    EXPECT_EQ(rects[0].b, 97);
    // Over a whole view of rain only the storm tile.
    backend->ClearLog();
    weather->DrawValue(6, float(viewW), float(viewH), 0, 0);
    EXPECT_TRUE(Calls(TDrawCall::Rect).empty() || Calls(TDrawCall::Rect)[0].blend == LIGHTBLEND);
    auto tiles = Calls(TDrawCall::Image);
    ASSERT_FALSE(tiles.empty());
    for (const auto& c : tiles) {
        EXPECT_EQ(c.source, weather->stormTile.get());
        EXPECT_EQ(c.blend, DIMBLEND);
    }
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
    // Each frame's tile goes up into a texture of its own: none waits for the device to let go of
    // the last frame's.
    std::vector<uint32_t> textures;
    for (int frame = 0; frame < 2; ++frame) {
        TSpriteBatch::Instance().Flush();
        backend->ClearLog();
        weather->DrawValue(6, float(viewW), float(viewH), 0, 0);
        TSpriteBatch::Instance().Flush();
        for (const auto& b : backend->batches) {
            if (b.blend == DIMBLEND) textures.push_back(b.texture);
        }
    }
    ASSERT_EQ(textures.size(), 2u);
    EXPECT_NE(textures[0], textures[1]);

    int flashes = 0;
    const int frames = 41 * 100;
    for (int i = 0; i < frames; ++i) {
        backend->ClearLog();
        weather->Draw();
        for (const auto& r : Calls(TDrawCall::Rect)) flashes += r.r == 100 && r.blend == LIGHTBLEND;
    }
    EXPECT_GT(flashes, 60);
    EXPECT_LT(flashes, 150);
}

TEST_F(WeatherTest, NextDayDrawsAChangeOnlyOnceTheWaitIsOver) {
    EXPECT_EQ(weather->currentMode, 3);
    world->currentDay = 0;
    weather->nextDay();
    EXPECT_EQ(weather->lastMode, 3);
    EXPECT_EQ(weather->lastDay, 0);
    EXPECT_GE(weather->untilChangeDay, 1);
    EXPECT_LE(weather->untilChangeDay, 3);
    EXPECT_GE(weather->nextUpdateDay, weather->untilChangeDay + 1);
    EXPECT_LE(weather->nextUpdateDay, weather->untilChangeDay + 4);
    EXPECT_GE(weather->currentMode, 0);
    EXPECT_LE(weather->currentMode, 6);
    const int32_t mode = weather->currentMode, next = weather->nextUpdateDay;
    world->currentDay = next - 1;
    weather->nextDay();
    EXPECT_EQ(weather->currentMode, mode);
    EXPECT_EQ(weather->lastDay, 0);
    world->currentDay = next;
    weather->nextDay();
    EXPECT_EQ(weather->lastMode, mode);
    EXPECT_EQ(weather->lastDay, next);
}

}  // namespace
