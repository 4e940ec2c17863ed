#include "tools/TAppIconArt.h"

#include "tools/TArtPalette.h"
#include "tools/TIconKit.h"

using namespace TArtPalette;
using K = TIconKit;

namespace {

// An isometric block standing on the ground point (x, y): half width w, height h; its top, lit
// left and shaded right faces.
void Block(TCanvas& c, float x, float y, float w, float h, const TColor& color) {
    const float d = w * 0.5f;
    const TShape left = TShape::Polygon({{x - w, y - h}, {x, y + d - h}, {x, y + d}, {x - w, y}});
    const TShape right = TShape::Polygon({{x, y + d - h}, {x + w, y - h}, {x + w, y}, {x, y + d}});
    const TShape top = TShape::Polygon({{x, y - d - h}, {x + w, y - h}, {x, y + d - h}, {x - w, y - h}});
    c.Fill(left.Union(right).Union(top).Grow(1.2f), K::RimOf(color));
    c.Fill(left, color);
    c.Fill(right, color.Darker(0.22f));
    c.Fill(top, color.Lighter(0.3f));
}

// Windows on the block's two walls: rows of lit panes along each wall.
void Windows(TCanvas& c, float x, float y, float w, float h, int rows) {
    const float d = w * 0.5f, step = h / float(rows + 1);
    for (int row = 1; row <= rows; ++row) {
        const float up = step * float(row);
        c.Fill(TShape::Line(x - 0.8f * w, y + 0.2f * d - up, x - 0.2f * w, y + 0.8f * d - up, 1.6f), Sun.Lighter(0.4f));
        c.Fill(TShape::Line(x + 0.2f * w, y + 0.8f * d - up, x + 0.8f * w, y + 0.2f * d - up, 1.6f), Sun.Darker(0.1f));
    }
}

// A house: a low block under a brick roof rising to its ridge.
void House(TCanvas& c, float x, float y, float w, float h) {
    Block(c, x, y, w, h, TColor::Hex(0xF6EEDF));
    const float d = w * 0.5f, ridge = h + w * 0.9f;
    const TShape left = TShape::Polygon({{x - w, y - h}, {x, y + d - h}, {x, y - ridge}});
    const TShape right = TShape::Polygon({{x, y + d - h}, {x + w, y - h}, {x, y - ridge}});
    c.Fill(left.Union(right).Grow(1.2f), K::RimOf(Brick));
    c.Fill(left, Brick.Lighter(0.1f));
    c.Fill(right, Brick.Darker(0.15f));
}

void Tree(TCanvas& c, float x, float y, float r) {
    c.Fill(TShape::Line(x, y, x, y - r, r * 0.45f), Trunk);
    K::Part(c, TShape::Circle(x, y - r * 1.6f, r), Pine, 1.2f);
    c.Fill(TShape::Circle(x - r * 0.35f, y - r * 1.95f, r * 0.35f), Leaf.Lighter(0.3f).WithAlpha(0.8f));
}

void Town(TCanvas& c) {
    // The tile and its sky.
    const TShape tile = TShape::RoundRect(3, 3, 94, 94, 20);
    c.Fill(tile.Grow(2.0f), K::RimOf(Sky));
    c.Fill(tile, TPaint::Vertical(3, 97, Sky.Lighter(0.45f), Sky.Darker(0.05f)));
    K::Part(c, TShape::Circle(25, 24, 9), Sun, 1.5f);
    // The island: a grass diamond on a slab of earth.
    const TPoint north{50, 38}, east{92, 59}, south{50, 80}, west{8, 59};
    const float slab = 9;
    c.Fill(TShape::Polygon({west, south, {south.x, south.y + slab}, {west.x, west.y + slab}}), Trunk);
    c.Fill(TShape::Polygon({south, east, {east.x, east.y + slab}, {south.x, south.y + slab}}), Trunk.Darker(0.25f));
    c.Fill(TShape::Polygon({north, east, south, west}), TPaint::Vertical(north.y, south.y, Leaf.Lighter(0.2f), Leaf));
    // The road from the north-west edge to the south-east one, with its middle line.
    c.Fill(TShape::Polygon({{33, 46}, {75, 67}, {67, 72}, {25, 51}}), Asphalt);
    c.Fill(TShape::Line(31, 49, 69, 68, 0.9f), Paper.WithAlpha(0.7f));
    // Back to front.
    Block(c, 56, 50, 9, 36, Cloud);
    Windows(c, 56, 50, 9, 36, 4);
    Tree(c, 22, 60, 4.5f);
    Block(c, 75, 58, 7, 13, Sky.Lighter(0.2f));
    House(c, 40, 68, 8, 9);
    Tree(c, 58, 75, 4.0f);
}

}  // namespace

TCanvas TAppIconArt::Paint(int32_t size) {
    // The margin leaves room for the shadow under the tile.
    return K::Icon(size, float(size) / 32.0f, Town);
}

std::string TAppIconArt::FileOf(int32_t size) {
    const std::string n = std::to_string(size);
    return n + "x" + n + "/vallmora.png";
}
