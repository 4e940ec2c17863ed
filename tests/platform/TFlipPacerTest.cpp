#include <gtest/gtest.h>

#include <vector>

#include "platform/TFlipPacer.h"

namespace {

// Steps of the target over `frames` frames when every frame is on time (now = old target).
std::vector<uint32_t> Steps(TFlipPacer& pacer, int frames) {
    std::vector<uint32_t> steps;
    for (int i = 0; i < frames; ++i) {
        const uint32_t before = pacer.Target();
        const int32_t delay = pacer.NextDelay(before);
        steps.push_back(pacer.Target() - before);
        EXPECT_EQ(delay, static_cast<int32_t>(steps.back()));
    }
    return steps;
}

TEST(FlipPacer, SixtyHertzAdvancesOneSecondPerSixtyFramesIn16And17) {
    TFlipPacer pacer;
    pacer.Start(60, 0);
    const std::vector<uint32_t> steps = Steps(pacer, 60);
    EXPECT_EQ(pacer.Target(), 1000u);
    for (size_t i = 0; i < steps.size(); ++i) {
        const uint32_t want = (i % 3 == 0) ? 16u : 17u;
        EXPECT_EQ(steps[i], want) << "frame " << i;
    }
    // And it keeps going without drift.
    Steps(pacer, 600);
    EXPECT_EQ(pacer.Target(), 11000u);
}

TEST(FlipPacer, FiftyHertzStepsExactlyTwenty) {
    TFlipPacer pacer;
    pacer.Start(50, 500);
    for (uint32_t step : Steps(pacer, 100)) EXPECT_EQ(step, 20u);
    EXPECT_EQ(pacer.Target(), 2500u);
}

TEST(FlipPacer, DelayIsMeasuredFromNow) {
    TFlipPacer pacer;
    pacer.Start(60, 100);
    EXPECT_EQ(pacer.NextDelay(105), 11);  // target 116
    EXPECT_EQ(pacer.NextDelay(116), 17);  // target 133
    EXPECT_EQ(pacer.NextDelay(149), 1);   // target 150
}

TEST(FlipPacer, LateFrameMovesTheTargetToNow) {
    TFlipPacer pacer;
    pacer.Start(60, 0);
    EXPECT_EQ(pacer.NextDelay(500), 0);
    EXPECT_EQ(pacer.Target(), 500u);
    // Exactly on the target counts as due, not late by a frame.
    const uint32_t next = pacer.Target();
    const int32_t d = pacer.NextDelay(next);
    EXPECT_TRUE(d == 16 || d == 17) << d;
    EXPECT_EQ(pacer.NextDelay(pacer.Target() + 16 + 17), 0);
}

TEST(FlipPacer, WrapOfTheClockKeepsDelaysRight) {
    TFlipPacer pacer;
    const uint32_t start = 0xFFFFFFF0u;
    pacer.Start(60, start);
    std::vector<uint32_t> targets;
    uint32_t now = start;
    for (int i = 0; i < 6; ++i) {
        const int32_t delay = pacer.NextDelay(now + 2);
        EXPECT_GE(delay, 14) << i;
        EXPECT_LE(delay, 15) << i;
        now = pacer.Target();
    }
    EXPECT_EQ(pacer.Target(), start + 100u);  // 16 + 17 + 17 + 16 + 17 + 17, past the wrap
    // Late across the wrap as well.
    pacer.Start(60, 0xFFFFFFFAu);
    EXPECT_EQ(pacer.NextDelay(0x00000020u), 0);
    EXPECT_EQ(pacer.Target(), 0x20u);
}

TEST(FlipPacer, NonPositiveRateFallsBackToSixty) {
    TFlipPacer pacer;
    pacer.Start(0, 0);
    Steps(pacer, 60);
    EXPECT_EQ(pacer.Target(), 1000u);
}

}  // namespace
