// The game's pacing of the city: real time between frames becomes whole steps of 20 ms, the rest
// carried to the next frame, at most a cap a frame, across the wrap of the millisecond counter.
#include <gtest/gtest.h>

#include <vector>

#include "app/TFixedStep.h"

namespace {

TEST(TFixedStepTest, FramesOfAnyLengthGiveTheStepsOfTheirTimeAndSlowFramesAreCapped) {
    struct Row {
        const char* what;
        uint32_t start;
        std::vector<uint32_t> frameMs;
        std::vector<int32_t> steps;
    } rows[] = {
        {"60 frames a second", 0, {17, 17, 17, 17, 17, 17}, {0, 1, 1, 1, 1, 1}},
        {"5 frames a second", 0, {200, 200, 200}, {10, 10, 10}},
        {"the rest is carried", 0, {12, 12, 12, 12}, {0, 1, 0, 1}},
        {"a stall of 2 s runs 25 steps and drops the rest", 0, {2000, 20}, {25, 1}},
        {"across the wrap of the counter", 0xFFFFFFF0u, {40, 40}, {2, 2}},
    };
    for (const auto& row : rows) {
        TFixedStep stepper(20, 25);
        uint32_t now = row.start;
        EXPECT_EQ(stepper.StepsFor(now), 0) << row.what;  // the first frame only starts the count
        std::vector<int32_t> got;
        for (uint32_t ms : row.frameMs) got.push_back(stepper.StepsFor(now += ms));
        EXPECT_EQ(got, row.steps) << row.what;
    }
}

TEST(TFixedStepTest, RestartForgetsTheTimeSummedSoFar) {
    TFixedStep stepper(20, 25);
    stepper.StepsFor(0);
    EXPECT_EQ(stepper.StepsFor(30), 1);
    stepper.Restart();
    EXPECT_EQ(stepper.StepsFor(5000), 0);
    EXPECT_EQ(stepper.StepsFor(5010), 0);  // the 10 ms of the earlier count are gone
    EXPECT_EQ(stepper.StepsFor(5020), 1);
}

}  // namespace
