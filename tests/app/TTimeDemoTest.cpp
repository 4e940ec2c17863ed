// The time demo: the warm-up frames are not counted, the percentiles are nearest ranks, and the
// report is the one line a player or a script reads.
#include <gtest/gtest.h>

#include "app/TTimeDemo.h"

namespace {

TEST(TimeDemo, PercentilesAreNearestRanks) {
    struct TCase {
        std::vector<double> values;
        double q, want;
    } cases[] = {
        {{}, 0.5, 0},
        {{7}, 0.95, 7},
        {{4, 1, 3, 2}, 0.5, 2},
        {{4, 1, 3, 2}, 0.95, 4},
        {{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200}, 0.95, 190},
        {{5, 6}, 0.0, 5},
    };
    for (const TCase& c : cases) EXPECT_DOUBLE_EQ(TTimeDemo::Percentile(c.values, c.q), c.want) << c.q;
}

TEST(TimeDemo, CountsTheFramesAfterTheWarmUpAndReportsThemInOneLine) {
    TTimeDemo demo(4);
    for (int32_t i = 0; i < TTimeDemo::warmUpFrames; ++i) EXPECT_FALSE(demo.Frame(1000.0, 999));
    EXPECT_FALSE(demo.Frame(10.0, 30));
    EXPECT_FALSE(demo.Frame(20.0, 34));
    EXPECT_FALSE(demo.Frame(12.5, 30));
    EXPECT_TRUE(demo.Frame(40.0, 30));
    EXPECT_TRUE(demo.Done());
    EXPECT_EQ(demo.Report(1280, 720),
              "Time demo: 4 frames at 1280 x 720, median 12.50 ms (80.0 fps), 95th percentile 40.00 ms, 31 device "
              "calls per frame");
}

}  // namespace
