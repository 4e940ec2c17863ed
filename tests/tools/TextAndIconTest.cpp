#include <gtest/gtest.h>

#include <filesystem>

#include "tools/TIconKit.h"
#include "tools/TTextRenderer.h"

namespace {

const TColor Black = TColor::Rgb(0, 0, 0);

// Horizontal extent of everything painted: first and last column with coverage.
std::pair<int32_t, int32_t> InkColumns(const TCanvas& c) {
    int32_t first = -1, last = -1;
    for (int32_t x = 0; x < c.Width(); ++x) {
        for (int32_t y = 0; y < c.Height(); ++y) {
            if (c.PixelAt(x, y)[3] > 0.25f) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

std::string Font() { return (std::filesystem::current_path() / "data/gfx/gui/font.ttf").string(); }

TEST(TextRendererTest, AlignmentPlacesTheTextAroundTheAnchor) {
    const TTextRenderer text(Font());
    ASSERT_TRUE(text.IsLoaded());
    TCanvas left(200, 40), centred(200, 40), right(200, 40);
    text.Draw(left, "Vallmora", 20, 30, 20, Black, 0.0f, 0.0f);
    text.Draw(centred, "Vallmora", 100, 30, 20, Black, 0.0f, 0.5f);
    text.Draw(right, "Vallmora", 180, 30, 20, Black, 0.0f, 1.0f);
    const auto l = InkColumns(left), c = InkColumns(centred), r = InkColumns(right);
    EXPECT_NEAR(l.first, 20, 3);
    EXPECT_NEAR(r.second, 180, 3);
    EXPECT_NEAR((c.first + c.second) / 2.0, 100, 2);
    // The same text has the same width wherever it is anchored.
    EXPECT_NEAR(l.second - l.first, r.second - r.first, 1);
}

TEST(TextRendererTest, BoldWidensAndSizeScales) {
    const TTextRenderer text(Font());
    TCanvas canvas(10, 10);
    const float regular = text.Measure(canvas, "Straßen", 14);
    EXPECT_GT(text.Measure(canvas, "Straßen", 14, 1.0f), regular);
    EXPECT_NEAR(text.Measure(canvas, "Straßen", 28), 2 * regular, 0.05f * regular);
    // Measured in design units: a canvas drawn at twice the scale reports the same width.
    TCanvas doubled(10, 10);
    doubled.SetView(2.0f, 0, 0);
    EXPECT_NEAR(text.Measure(doubled, "Straßen", 14), regular, 0.05f * regular);
    // A non-ASCII letter is drawn, not skipped.
    EXPECT_GT(text.Measure(canvas, "ß", 14), 3.0f);
}

TEST(IconKitTest, IconKeepsTheMarginFreeExceptForTheShadowBelow) {
    const TCanvas icon = TIconKit::Icon(40, 6.0f, [](TCanvas& c) { c.Fill(TShape::Rect(0, 0, 100, 100), Black); });
    EXPECT_NEAR(icon.PixelAt(20, 20)[3], 1.0f, 1e-5);
    EXPECT_NEAR(icon.PixelAt(6, 6)[3], 1.0f, 1e-5);
    EXPECT_NEAR(icon.PixelAt(33, 33)[3], 1.0f, 1e-5);
    EXPECT_LT(icon.PixelAt(1, 20)[3], 0.1f);
    EXPECT_LT(icon.PixelAt(20, 1)[3], icon.PixelAt(20, 35)[3]);  // the shadow falls downwards
    EXPECT_LT(icon.PixelAt(20, 35)[3], 0.5f);
    EXPECT_FLOAT_EQ(icon.PixelAt(0, 0)[3], 0.0f);
}

TEST(IconKitTest, InBoxDrawsTheDesignSquareIntoTheBoxAndRestoresTheView) {
    TCanvas c(100, 100);
    c.SetDesignSize(100);
    TIconKit::InBox(c, 50, 50, 25, [](TCanvas& p) { p.Fill(TShape::Rect(0, 0, 100, 100), Black); });
    EXPECT_FLOAT_EQ(c.PixelAt(60, 60)[3], 1.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(76, 60)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(45, 60)[3], 0.0f);
    EXPECT_FLOAT_EQ(c.Scale(), 1.0f);
    EXPECT_FLOAT_EQ(c.OffsetX(), 0.0f);
}

TEST(IconKitTest, PartDrawsADarkRimAroundALitBody) {
    TCanvas c(40, 40);
    TIconKit::Part(c, TShape::Rect(10, 10, 20, 20), TColor::Rgb(200, 200, 200), 4.0f);
    EXPECT_FLOAT_EQ(c.PixelAt(7, 20)[3], 1.0f);             // rim outside the shape
    EXPECT_LT(c.PixelAt(7, 20)[0], c.PixelAt(20, 20)[0]);   // darker than the body
    EXPECT_GT(c.PixelAt(20, 11)[0], c.PixelAt(20, 28)[0]);  // lit from the top
    EXPECT_FLOAT_EQ(c.PixelAt(3, 20)[3], 0.0f);
}

TEST(ShapeTest, GrowOutlineAndMirrorBehaveGeometrically) {
    const TShape square = TShape::Rect(10, 10, 20, 20);
    EXPECT_NEAR(square.Grow(3).DistanceAt(5, 20), 2.0f, 1e-5);
    EXPECT_NEAR(square.Outline(2).DistanceAt(20, 20), 9.0f, 1e-5);  // centre is 10 inside the edge
    EXPECT_LT(square.Outline(2).DistanceAt(10, 20), 0.0f);
    const TShape mirrored = TShape::Circle(10, 50, 5).MirrorX(50);
    EXPECT_LT(mirrored.DistanceAt(90, 50), 0.0f);
    EXPECT_GT(mirrored.DistanceAt(10, 50), 0.0f);
    EXPECT_FLOAT_EQ(mirrored.MinX(), 85.0f);
    const TShape scaled = TShape::Circle(50, 50, 10).Scale(2.0f, 50, 50);
    EXPECT_NEAR(scaled.DistanceAt(80, 50), 10.0f, 1e-4);
    // The ellipse is exact on its axes.
    const TShape ellipse = TShape::Ellipse(50, 50, 30, 10);
    EXPECT_NEAR(ellipse.DistanceAt(85, 50), 5.0f, 0.01f);
    EXPECT_NEAR(ellipse.DistanceAt(50, 65), 5.0f, 0.01f);
    EXPECT_LT(ellipse.DistanceAt(75, 50), 0.0f);
}

}  // namespace
