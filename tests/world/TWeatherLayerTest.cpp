// The weather: choosing and blending values, and what values 0, 2.5 and 6 draw.
#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "platform/TDrawState.h"
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

TEST_F(WeatherTest, TintCoversTheWholeViewAtEveryZoomAndLeavesTheZoomSet) {
    for (const float zoom : {0.5f, 1.0f, 4.0f}) {
        Set(6, 6, 0, 0, 5, 0);
        SetTransform(0, zoom, zoom);
        SetOrigin(3, 7);
        backend->ClearLog();
        weather->Draw();
        for (const auto& r : Calls(TDrawCall::Rect)) {
            EXPECT_FLOAT_EQ(r.scaleX, 1.0f) << zoom;
            EXPECT_FLOAT_EQ(r.scaleY, 1.0f) << zoom;
            EXPECT_FLOAT_EQ(r.originX, 0.0f) << zoom;
            EXPECT_FLOAT_EQ(r.w, float(viewW)) << zoom;
            EXPECT_FLOAT_EQ(r.h, float(viewH)) << zoom;
        }
        float sx = 0, sy = 0, ox = 0, oy = 0;
        GetScale(sx, sy);
        GetOrigin(ox, oy);
        EXPECT_FLOAT_EQ(sx, zoom);
        EXPECT_FLOAT_EQ(ox, 3.0f);
    }
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
    // The shade to 172 / 255 (255 + 55 * -1.5) and the light (82, 82, 97) in one dim fill.
    ASSERT_GE(rects.size(), 1u);
    EXPECT_EQ(rects[0].blend, DIMBLEND);
    EXPECT_NEAR(rects[0].alpha * 255.0f, 172.0f, 1e-3f);
    EXPECT_EQ(rects[0].r, 82);
    EXPECT_EQ(rects[0].b, 97);
    auto rain = Calls(TDrawCall::TileImage);
    ASSERT_EQ(rain.size(), 2u);
    EXPECT_FLOAT_EQ(rain[0].alpha, 1.0f);
    EXPECT_EQ(rain[0].source, TWeatherLayer::rainImg.get());
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);

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
