#include <gtest/gtest.h>

#include <cmath>

#include "world/TISO.h"

namespace {

TEST(TISOTest, CreateAndCopy) {
    auto iso = TISO::Create(32, 16);
    EXPECT_EQ(iso->width, 32);
    EXPECT_EQ(iso->Height, 16);
    EXPECT_EQ(iso->ScaleX, 1);
    EXPECT_EQ(iso->ScaleY, 1);
    EXPECT_EQ(iso->moveX, 0);
    EXPECT_EQ(iso->moveY, 0);

    iso->ScaleX = 2;
    iso->ScaleY = 0.5f;
    iso->moveX = -300;
    iso->moveY = 40;
    auto copy = iso->Copy();
    EXPECT_NE(copy, iso);
    EXPECT_EQ(copy->width, 32);
    EXPECT_EQ(copy->Height, 16);
    EXPECT_EQ(copy->ScaleX, 2);
    EXPECT_EQ(copy->ScaleY, 0.5f);
    EXPECT_EQ(copy->moveX, -300);
    EXPECT_EQ(copy->moveY, 40);
    // The copy is independent of its original.
    copy->moveX = 5;
    EXPECT_EQ(iso->moveX, -300);
}

TEST(TISOTest, AxesPointWhereTheMapExpectsThem) {
    auto iso = TISO::Create(32, 16);
    iso->moveX = 100;
    iso->moveY = 200;
    float sx, sy;
    EXPECT_EQ(iso->ToIso(0, 0, sx, sy), 0);
    EXPECT_FLOAT_EQ(sx, 100);
    EXPECT_FLOAT_EQ(sy, 200);
    // Map x runs toward the lower right, map y toward the upper right.
    iso->ToIso(1, 0, sx, sy);
    EXPECT_FLOAT_EQ(sx, 116);
    EXPECT_FLOAT_EQ(sy, 208);
    iso->ToIso(0, 1, sx, sy);
    EXPECT_FLOAT_EQ(sx, 116);
    EXPECT_FLOAT_EQ(sy, 192);
}

TEST(TISOTest, NoMoveGivesScreenDistances) {
    auto iso = TISO::Create(32, 16);
    iso->ScaleX = 1.5f;
    iso->ScaleY = 3;
    iso->moveX = -77;
    iso->moveY = 1234;
    float sx, sy;
    iso->ToIso(1, 0, sx, sy, 1);
    EXPECT_FLOAT_EQ(sx, 0.5f * 32 * 1.5f);
    EXPECT_FLOAT_EQ(sy, 0.5f * 16 * 3);
    // A distance is the difference of two positions.
    float ax, ay, bx, by, dx, dy;
    iso->ToIso(2.5f, -4, ax, ay);
    iso->ToIso(7, 3.25f, bx, by);
    iso->ToIso(7 - 2.5f, 3.25f + 4, dx, dy, 1);
    EXPECT_NEAR(bx - ax, dx, 1e-3f);
    EXPECT_NEAR(by - ay, dy, 1e-3f);
}

TEST(TISOTest, ToIsoMinIgnoresScaleAndPan) {
    auto iso = TISO::Create(32, 16);
    iso->ScaleX = iso->ScaleY = 4;
    iso->moveX = 500;
    iso->moveY = -500;
    float sx, sy;
    iso->ToIsoMin(3, 1, sx, sy);
    EXPECT_FLOAT_EQ(sx, 64);
    EXPECT_FLOAT_EQ(sy, 16);
}

TEST(TISOTest, ScreenToMapUndoesMapToScreenAtAnyScaleAndPan) {
    const float scales[][2] = {{1, 1}, {0.5f, 0.5f}, {4, 4}, {1.41421356f, 1.41421356f}, {2, 0.75f}, {0.1f, 3}};
    const float pans[][2] = {{0, 0}, {640, 360}, {-12345.5f, 987.25f}, {100000, -100000}};
    const float points[][2] = {{0, 0}, {1, 0}, {0, 1}, {63.5f, 64.25f}, {127.99f, 0.01f}, {-3, 511}, {400.5f, -7}};
    for (const auto& tile : {std::pair<float, float>{32, 16}, std::pair<float, float>{64, 31}}) {
        auto iso = TISO::Create(tile.first, tile.second);
        for (const auto& s : scales) {
            for (const auto& p : pans) {
                iso->ScaleX = s[0];
                iso->ScaleY = s[1];
                iso->moveX = p[0];
                iso->moveY = p[1];
                for (const auto& pt : points) {
                    float sx, sy, x, y;
                    iso->ToIso(pt[0], pt[1], sx, sy);
                    iso->FromIso(sx, sy, x, y);
                    // Tolerance from float rounding of the large pans.
                    const float tol = 1e-3f + 2e-7f * (std::fabs(p[0]) + std::fabs(p[1])) / (s[0] * s[1]);
                    EXPECT_NEAR(x, pt[0], tol) << "scale " << s[0] << "/" << s[1] << " pan " << p[0] << "," << p[1];
                    EXPECT_NEAR(y, pt[1], tol) << "scale " << s[0] << "/" << s[1] << " pan " << p[0] << "," << p[1];
                }
            }
        }
    }
}

TEST(TISOTest, ProjectionWithoutSizeGivesFinitePositions) {
    auto iso = TISO::Create(32, 16);
    iso->ScaleX = 0;
    iso->ScaleY = 0;
    float x = -1, y = -1;
    iso->FromIso(100, 50, x, y);
    EXPECT_TRUE(std::isfinite(x));
    EXPECT_TRUE(std::isfinite(y));
    auto flat = TISO::Create(0, 0);
    flat->FromIso(100, 50, x, y);
    EXPECT_TRUE(std::isfinite(x));
    EXPECT_TRUE(std::isfinite(y));
}

}  // namespace
