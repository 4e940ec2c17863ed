// Smoke emitters: which ids can be created, emission of puffs and their life.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "../support/TempDir.h"
#include "framework/TFastRandom.h"
#include "platform/TClock.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "settings/TConfig.h"
#include "world/TSmoke.h"
#include "world/TSmokeCloud.h"

namespace {

class SmokeTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(1000);
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(320, 200);
        TConfig::SetDefaults();
        auto strip = TPixmap::Create(32 * 8, 32);
        strip->ClearPixels(0xFF808080u);
        ASSERT_TRUE(SavePixmapPNG(*strip, dir.File("smoke_00.png")));
        ASSERT_TRUE(SavePixmapPNG(*strip, dir.File("smoke_42.png")));
        // Too short for 8 frames: reported and left out.
        ASSERT_TRUE(SavePixmapPNG(*TPixmap::Create(64, 32), dir.File("smoke_07.png")));
        testing::internal::CaptureStdout();
        TSmoke::Init(dir.File("smoke_"));
        out = testing::internal::GetCapturedStdout();
        random = vesko::TFastRandom::Create(7);
    }
    void TearDown() override {
        TSmoke::images = {};
        TGraphics::EndGraphics();
        TClock::SetSource(nullptr);
    }
    std::vector<TDrawCall> Puffs() const {
        std::vector<TDrawCall> v;
        for (const auto& c : backend->calls) {
            if (c.kind == TDrawCall::Image) v.push_back(c);
        }
        return v;
    }
    TempDir dir;
    std::string out;
    std::shared_ptr<TManualClock> clock;
    std::shared_ptr<TRecordingBackend> backend;
    std::shared_ptr<vesko::TFastRandom> random;
};

TEST_F(SmokeTest, OnlyLoadedKindsMakeEmitters) {
    EXPECT_TRUE(TSmoke::Create(0, 0, 0, 1000, random));
    auto s = TSmoke::Create(3, 4, 42, 500, random);
    ASSERT_TRUE(s);
    EXPECT_EQ(TSmoke::images[42]->FrameCount(), 8);
    EXPECT_FLOAT_EQ(TSmoke::images[42]->handle_x, 16.0f);
    EXPECT_FALSE(TSmoke::Create(0, 0, 1, 1000, random));
    EXPECT_FALSE(TSmoke::Create(0, 0, 7, 1000, random));
    EXPECT_FALSE(TSmoke::Create(0, 0, 100, 1000, random));
    EXPECT_FALSE(TSmoke::Create(0, 0, -1, 1000, random));
    EXPECT_NE(out.find("smoke_07.png"), std::string::npos);
    EXPECT_EQ(out.find("smoke_01.png"), std::string::npos);  // simply absent: no report
}

TEST_F(SmokeTest, OnePuffPerFrameHoweverManyEmissionTicksPassed) {
    auto s = TSmoke::Create(0, 0, 0, 1000, random);
    s->Draw(100, 100, 1, 1, 1, 0);
    EXPECT_TRUE(s->sm.empty());
    clock->Advance(500);
    s->Draw(100, 100, 1, 1, 1, 0);
    ASSERT_EQ(s->sm.size(), 1u);
    const float x = s->sm[0]->X;
    EXPECT_GE(std::fabs(x), 2.0f);
    EXPECT_LE(std::fabs(x), 4.0f);
    EXPECT_EQ(s->sm[0]->Y, 0.0f);
    clock->Advance(1000);  // two emission ticks
    s->Draw(100, 100, 1, 1, 1, 0);
    EXPECT_EQ(s->sm.size(), 2u);
}

TEST_F(SmokeTest, PuffsRiseFadeAndDieAtTheLastFrame) {
    auto s = TSmoke::Create(5, 10, 0, 1000, random);
    auto young = s->AddCloud(1, 0, 0);
    auto old = s->AddCloud(0, 0, 7);
    old->nf = 0.99f;
    clock->Advance(100);  // 6 sixtieths: the old puff passes frame 7
    backend->ClearLog();
    s->Draw(100, 100, 2, 2, 0.8f, 0);
    auto puffs = Puffs();
    ASSERT_EQ(puffs.size(), 2u);
    // Frame 0 at 0.75 of the alpha, the last frame fully transparent.
    EXPECT_NEAR(puffs[0].alpha, 0.8f * 0.75f, 1e-5);
    EXPECT_EQ(puffs[1].frame, 7);
    EXPECT_NEAR(puffs[1].alpha, 0.0f, 1e-6);
    // Emitter offset and puff offset scale with the view; Y of the emitter grows upward.
    EXPECT_FLOAT_EQ(puffs[0].x, 100 + 5 * 2 + 2 * 1);
    EXPECT_FLOAT_EQ(puffs[0].y, 100 - 10 * 2);
    ASSERT_EQ(s->sm.size(), 1u);
    EXPECT_EQ(s->sm[0], young);
    EXPECT_LT(young->Y, 0.0f);  // risen
    EXPECT_FLOAT_EQ(GetAlpha(), 0.8f);

    // Left alone the young puff lives a few seconds, then it is gone too.
    for (int i = 0; i < 600 && std::find(s->sm.begin(), s->sm.end(), young) != s->sm.end(); ++i) {
        clock->Advance(16);
        s->Draw(100, 100, 1, 1, 1, 0);
    }
    EXPECT_EQ(std::find(s->sm.begin(), s->sm.end(), young), s->sm.end());
    EXPECT_LT(s->sm.size(), 20u);
}

TEST_F(SmokeTest, WindDriftsOlderPuffsMore) {
    auto s = TSmoke::Create(0, 0, 0, 1000, random);
    auto a = s->AddCloud(0, 0, 0);
    auto b = s->AddCloud(0, 0, 6);
    clock->Advance(17);
    s->Draw(0, 0, 1, 1, 1, 50);
    EXPECT_GT(b->X, a->X + 10);
}

TEST_F(SmokeTest, ASingleFrameStripDoesNotDivideByZero) {
    TConfig::smokeMaxFrames = 1;
    auto s = TSmoke::Create(0, 0, 0, 1000, random);
    s->AddCloud(0, 0, 0);
    clock->Advance(17);
    backend->ClearLog();
    s->Draw(0, 0, 1, 1, 1, 1);
    auto puffs = Puffs();
    ASSERT_EQ(puffs.size(), 1u);
    EXPECT_FALSE(std::isnan(puffs[0].alpha));
    EXPECT_FALSE(std::isnan(s->sm.empty() ? 0.0f : s->sm[0]->X));
}

}  // namespace
