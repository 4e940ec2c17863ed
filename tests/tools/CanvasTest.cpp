#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/TCanvas.h"

namespace {

float TotalAlpha(const TCanvas& c) {
    double sum = 0;
    for (int32_t y = 0; y < c.Height(); ++y)
        for (int32_t x = 0; x < c.Width(); ++x) sum += c.PixelAt(x, y)[3];
    return static_cast<float>(sum);
}

const TColor Red = TColor::Rgb(255, 0, 0);
const TColor Blue = TColor::Rgb(0, 0, 255);

TEST(CanvasTest, AntiAliasedCircleCoversItsArea) {
    TCanvas c(64, 64);
    c.Fill(TShape::Circle(32, 32, 20), Red);
    EXPECT_NEAR(TotalAlpha(c), std::numbers::pi * 20 * 20, 0.005 * std::numbers::pi * 400);
    EXPECT_FLOAT_EQ(c.PixelAt(32, 32)[3], 1.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(2, 2)[3], 0.0f);
}

TEST(CanvasTest, EdgeThroughPixelCentreCoversHalf) {
    TCanvas c(8, 8);
    c.Fill(TShape::Rect(0, 0, 4.5f, 8), Red);
    EXPECT_FLOAT_EQ(c.PixelAt(3, 4)[3], 1.0f);
    EXPECT_NEAR(c.PixelAt(4, 4)[3], 0.5f, 1e-5);
    EXPECT_FLOAT_EQ(c.PixelAt(5, 4)[3], 0.0f);
}

TEST(CanvasTest, DesignUnitsScaleToPixels) {
    TCanvas c(40, 40);
    c.SetDesignSize(100);  // 100 units over 40 pixels
    c.Fill(TShape::Rect(0, 0, 50, 100), Red);
    EXPECT_FLOAT_EQ(c.PixelAt(19, 10)[3], 1.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(20, 10)[3], 0.0f);
    EXPECT_NEAR(TotalAlpha(c), 800.0f, 1.0f);
}

TEST(CanvasTest, SourceOverBlendsPremultiplied) {
    TCanvas c(2, 2);
    c.Fill(TShape::Rect(0, 0, 2, 2), Blue);
    c.Fill(TShape::Rect(0, 0, 2, 2), Red.WithAlpha(0.5f));
    const float* p = c.PixelAt(0, 0);
    EXPECT_NEAR(p[0], 0.5f, 1e-6);
    EXPECT_NEAR(p[2], 0.5f, 1e-6);
    EXPECT_NEAR(p[3], 1.0f, 1e-6);
    // Half red over nothing stays half transparent but keeps its full colour when unpremultiplied.
    TCanvas empty(1, 1);
    empty.Fill(TShape::Rect(0, 0, 1, 1), Red.WithAlpha(0.5f));
    const uint32_t argb = empty.ToPixmap()->ReadPixel(0, 0);
    EXPECT_EQ(argb >> 24, 128u);
    EXPECT_EQ((argb >> 16) & 255, 255u);
}

TEST(CanvasTest, EraseAndSubtractCutHoles) {
    TCanvas c(40, 40);
    c.Fill(TShape::Circle(20, 20, 18).Subtract(TShape::Circle(20, 20, 8)), Red);
    EXPECT_FLOAT_EQ(c.PixelAt(20, 20)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(20, 6)[3], 1.0f);
    c.Erase(TShape::Rect(0, 0, 20, 40));
    EXPECT_FLOAT_EQ(c.PixelAt(5, 20)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(34, 20)[3], 1.0f);
}

TEST(CanvasTest, ConcavePolygonLeavesItsNotchEmpty) {
    // An L shape: the upper right square is outside.
    TCanvas c(20, 20);
    c.Fill(TShape::Polygon({{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {0, 20}}), Red);
    EXPECT_FLOAT_EQ(c.PixelAt(15, 5)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(5, 5)[3], 1.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(15, 15)[3], 1.0f);
    EXPECT_NEAR(TotalAlpha(c), 300.0f, 1.0f);
}

TEST(CanvasTest, RotationTurnsClockwiseAboutTheGivenCentre) {
    TCanvas c(21, 21);
    // A bar pointing right from the centre, turned by 90 degrees, points down.
    c.Fill(TShape::Rect(10.5f, 9.5f, 9, 2).Rotate(90, 10.5f, 10.5f), Red);
    EXPECT_GT(c.PixelAt(10, 17)[3], 0.9f);
    EXPECT_FLOAT_EQ(c.PixelAt(17, 10)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(10, 3)[3], 0.0f);
}

TEST(CanvasTest, ArcCoversOnlyItsSweep) {
    TCanvas c(41, 41);
    // Clockwise from 0 (right) to 90 (down): the lower right quarter.
    c.Fill(TShape::Sector(20.5f, 20.5f, 18, 10, 0, 90), Red);
    EXPECT_GT(c.PixelAt(30, 30)[3], 0.9f);
    EXPECT_FLOAT_EQ(c.PixelAt(10, 10)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(30, 10)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(10, 30)[3], 0.0f);
}

TEST(CanvasTest, GradientsRunThroughTheirStops) {
    const TPaint linear = TPaint::Linear(0, 0, 10, 0, Red, Blue);
    EXPECT_FLOAT_EQ(linear.At(-5, 3).r, 1.0f);  // clamped before the start
    EXPECT_NEAR(linear.At(5, 3).r, 0.5f, 1e-6);
    EXPECT_NEAR(linear.At(5, 3).b, 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(linear.At(20, 0).b, 1.0f);
    TPaint radial = TPaint::Radial(0, 0, 10, Red, Blue);
    radial.Stop(0.0f, Red).Stop(0.5f, TColor::Rgb(0, 255, 0)).Stop(1.0f, Blue);
    EXPECT_NEAR(radial.At(0, 5).g, 1.0f, 1e-6);
    EXPECT_NEAR(radial.At(3, 4).g, 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(radial.At(0, 20).b, 1.0f);
}

TEST(CanvasTest, BlurSpreadsWithoutLosingCoverage) {
    TCanvas c(60, 60);
    c.Fill(TShape::Rect(25, 25, 10, 10), Red);
    const float before = TotalAlpha(c);
    c.Blur(6);
    EXPECT_NEAR(TotalAlpha(c), before, before * 0.001f);
    EXPECT_LT(c.PixelAt(30, 30)[3], 1.0f);
    EXPECT_GT(c.PixelAt(22, 30)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(2, 2)[3], 0.0f);
}

TEST(CanvasTest, ScaledCompositeAveragesDownAndPlacesExactly) {
    TCanvas checker(2, 2);
    checker.Fill(TShape::Rect(0, 0, 1, 1), Red);
    checker.Fill(TShape::Rect(1, 1, 1, 1), Red);
    TCanvas target(3, 3);
    target.CompositeScaled(checker, 1, 1, 1, 1);
    EXPECT_NEAR(target.PixelAt(1, 1)[3], 0.5f, 1e-5);
    EXPECT_FLOAT_EQ(target.PixelAt(0, 0)[3], 0.0f);
    EXPECT_FLOAT_EQ(target.PixelAt(2, 2)[3], 0.0f);
}

TEST(CanvasTest, PixmapRoundTripKeepsColours) {
    TCanvas c(4, 1);
    c.Fill(TShape::Rect(0, 0, 1, 1), TColor::Rgb(10, 200, 30));
    c.Fill(TShape::Rect(1, 0, 1, 1), TColor::Rgb(250, 128, 3, 0.5f));
    std::shared_ptr<TPixmap> pixmap = c.ToPixmap();
    EXPECT_EQ(pixmap->ReadPixel(0, 0), 0xFF0AC81Eu);
    EXPECT_EQ(pixmap->ReadPixel(2, 0), 0u);
    const TCanvas back = TCanvas::FromPixmap(*pixmap);
    EXPECT_EQ(back.ToPixmap()->ReadPixel(1, 0), pixmap->ReadPixel(1, 0));
}

}  // namespace
