#include <gtest/gtest.h>

#include <cmath>

#include "platform/TDrawState.h"

namespace {

class DrawStateTest : public testing::Test {
protected:
    void SetUp() override { ResetDrawState(640, 480); }
    void TearDown() override { ResetDrawState(0, 0); }
};

void ExpectMatrix(float ix, float iy, float jx, float jy) {
    const TDrawState& s = DrawState();
    EXPECT_NEAR(s.tform_ix, ix, 1e-5f);
    EXPECT_NEAR(s.tform_iy, iy, 1e-5f);
    EXPECT_NEAR(s.tform_jx, jx, 1e-5f);
    EXPECT_NEAR(s.tform_jy, jy, 1e-5f);
}

TEST_F(DrawStateTest, DefaultsCoverTheWholeBuffer) {
    const TDrawState& s = DrawState();
    EXPECT_EQ(s.viewport_x, 0);
    EXPECT_EQ(s.viewport_y, 0);
    EXPECT_EQ(s.viewport_w, 640);
    EXPECT_EQ(s.viewport_h, 480);
    EXPECT_EQ(s.g_width, 640);
    EXPECT_EQ(s.g_height, 480);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    ExpectMatrix(1, 0, 0, 1);
    // A reset brings back the defaults for the new buffer size.
    SetTransform(45, 2, 2);
    SetOrigin(3, 4);
    SetViewport(5, 6, 7, 8);
    ResetDrawState(100, 50);
    ExpectMatrix(1, 0, 0, 1);
    EXPECT_FLOAT_EQ(DrawState().origin_x, 0);
    EXPECT_EQ(DrawState().viewport_x, 0);
    EXPECT_EQ(DrawState().viewport_w, 100);
    EXPECT_EQ(DrawState().viewport_h, 50);
}

TEST_F(DrawStateTest, MatrixFollowsRotationAndScaleSetSeparately) {
    SetScale(2, 3);
    ExpectMatrix(2, 0, 0, 3);
    SetRotation(90);
    ExpectMatrix(0, -3, 2, 0);
    SetRotation(180);
    ExpectMatrix(-2, 0, 0, -3);
    SetScale(1, 1);
    ExpectMatrix(-1, 0, 0, -1);
    float sx = 0, sy = 0;
    GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 1);
    EXPECT_FLOAT_EQ(sy, 1);
    EXPECT_FLOAT_EQ(GetRotation(), 180);
}

TEST_F(DrawStateTest, SetTransformSetsAllThreeAtOnce) {
    SetTransform(90, 2, 3);
    ExpectMatrix(0, -3, 2, 0);
    // 30 degrees: the columns are the scaled, turned unit vectors.
    SetTransform(30, 1, 2);
    const float c = std::cos(30.0f * float(M_PI) / 180.0f), s = std::sin(30.0f * float(M_PI) / 180.0f);
    ExpectMatrix(c, -2 * s, s, 2 * c);
    SetTransform(0, 1, 1);
    ExpectMatrix(1, 0, 0, 1);
}

TEST_F(DrawStateTest, BlendModesOutsideTheSixAreIgnored) {
    for (int32_t mode : {MASKBLEND, SOLIDBLEND, ALPHABLEND, LIGHTBLEND, SHADEBLEND, DIMBLEND}) {
        SetBlend(mode);
        EXPECT_EQ(GetBlend(), mode);
    }
    SetBlend(LIGHTBLEND);
    for (int32_t bad : {0, 7, -1, 100}) {
        SetBlend(bad);
        EXPECT_EQ(GetBlend(), LIGHTBLEND) << bad;
    }
}

TEST_F(DrawStateTest, PackedColorHoldsRgbaBytesAndClamps) {
    SetColor(10, 20, 30);
    SetAlpha(1.0f);
    EXPECT_EQ(DrawState().PackedColor(), 0xFF1E140Au);
    SetAlpha(0.5f);
    EXPECT_EQ(DrawState().PackedColor() >> 24, 128u);  // 127.5 rounds up
    SetAlpha(0.0f);
    EXPECT_EQ(DrawState().PackedColor(), 0x001E140Au);
    SetAlpha(2.5f);
    EXPECT_EQ(DrawState().PackedColor() >> 24, 255u);
    SetAlpha(-1.0f);
    EXPECT_EQ(DrawState().PackedColor() >> 24, 0u);
    // Out-of-range channels clamp instead of spilling into their neighbours.
    SetColor(300, -5, 256);
    SetAlpha(1.0f);
    EXPECT_EQ(DrawState().PackedColor(), 0xFFFF00FFu);
    int32_t r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    EXPECT_EQ(r, 300);
    EXPECT_EQ(g, -5);
    EXPECT_EQ(b, 256);
}

}  // namespace
