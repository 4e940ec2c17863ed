#include "tools/TSymbols.h"

#include <cmath>
#include <numbers>

#include "tools/TArtPalette.h"
#include "tools/TIconKit.h"

using namespace TArtPalette;
using K = TIconKit;

namespace {

// A polygon with its corners rounded by r (it grows by r, so points lie r inside the result).
TShape Rounded(const std::vector<TPoint>& points, float r) { return TShape::Polygon(points).Grow(r); }

TShape Triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    return TShape::Polygon({{x0, y0}, {x1, y1}, {x2, y2}});
}

// A glossy highlight across the upper part of a round body.
void Gloss(TCanvas& c, float cx, float cy, float r) {
    const TShape glossy = TShape::Circle(cx, cy, r * 0.86f).Intersect(TShape::Circle(cx, cy - r * 0.55f, r * 0.8f));
    c.Fill(glossy, TPaint::Vertical(cy - r, cy, Paper.WithAlpha(0.55f), Paper.WithAlpha(0.0f)));
}

}  // namespace

void TSymbols::House(TCanvas& c) {
    const TColor wall = TColor::Hex(0xF6EEDF);
    K::Part(c, TShape::Rect(22, 46, 56, 42), wall);
    K::Part(c, TShape::Rect(62, 18, 11, 24), Brick);  // chimney
    K::Part(c, Rounded({{12, 54}, {50, 18}, {88, 54}}, 2.5f), Leaf);
    K::Part(c, TShape::RoundRect(30, 60, 16, 28, 2), Pine, 2.5f);  // door
    K::Part(c, TShape::RoundRect(54, 60, 16, 14, 2), Sky.Lighter(0.35f), 2.5f);
    c.Fill(TShape::Circle(42, 75, 1.8f), Gold);
}

void TSymbols::Shop(TCanvas& c) {
    K::Part(c, TShape::Rect(16, 34, 68, 54), TColor::Hex(0xEAF2FB));
    K::Part(c, TShape::RoundRect(14, 12, 72, 20, 4), Sky);  // sign board
    c.Fill(TShape::RoundRect(28, 19, 44, 6, 3), Paper.WithAlpha(0.9f));
    // Striped awning with a scalloped edge.
    const float top = 34, bottom = 46;
    for (int i = 0; i < 5; ++i) {
        const float x = 14 + i * 14.4f;
        const TColor stripe = (i % 2 == 0) ? Sky : Paper;
        const TShape band = TShape::Rect(x, top, 14.4f, bottom - top).Union(TShape::Circle(x + 7.2f, bottom, 7.2f));
        K::Part(c, band, stripe, 2.5f);
    }
    K::Part(c, TShape::RoundRect(24, 62, 16, 26, 2), DeepBlue, 2.5f);
    K::Part(c, TShape::RoundRect(48, 62, 28, 16, 2), Sky.Lighter(0.45f), 2.5f);
}

void TSymbols::Factory(TCanvas& c) {
    K::Part(c, TShape::RoundRect(64, 10, 14, 44, 2), Steel);  // chimney
    c.Fill(TShape::Rect(64, 18, 14, 6), Sun);
    // Saw-tooth roof over the hall.
    std::vector<TPoint> hall = {{10, 88}, {10, 52}};
    for (int i = 0; i < 3; ++i) {
        const float x = 10 + i * 20.0f;
        hall.push_back({x + 20, 36});
        hall.push_back({x + 20, 52});
    }
    hall.push_back({90, 52});
    hall.push_back({90, 88});
    K::Part(c, TShape::Polygon(hall), TColor::Hex(0xB4BCC7));
    for (int i = 0; i < 3; ++i) {
        const float x = 10 + i * 20.0f;
        c.Fill(Triangle(x + 4, 52, x + 18, 40, x + 18, 52), Sun.Darker(0.05f));
    }
    K::Part(c, TShape::Rect(10, 62, 80, 8), Sun, 2.0f);
    for (int i = 0; i < 3; ++i) K::Part(c, TShape::Rect(18 + i * 22.0f, 74, 12, 9), Sun.Lighter(0.3f), 2.0f);
}

void TSymbols::Tree(TCanvas& c) {
    K::Part(c, TShape::RoundRect(44, 56, 12, 34, 3), Trunk);
    const TShape crown = TShape::Circle(50, 36, 24)
                             .Union(TShape::Circle(31, 50, 16))
                             .Union(TShape::Circle(69, 50, 16))
                             .Union(TShape::Circle(50, 56, 14));
    K::Part(c, crown, Leaf.Mix(Pine, 0.45f));
    c.Fill(TShape::Circle(42, 30, 8), Paper.WithAlpha(0.25f));
}

void TSymbols::Forest(TCanvas& c) {
    K::InBox(c, 30, 2, 70, Tree);
    K::InBox(c, 0, 24, 72, Tree);
}

void TSymbols::PublicBuilding(TCanvas& c) {
    const TColor stone = TColor::Hex(0xDDE2E8);
    K::Part(c, TShape::Rect(10, 80, 80, 9), Steel);
    K::Part(c, TShape::Rect(14, 74, 72, 7), stone.Darker(0.08f));
    for (int i = 0; i < 4; ++i) K::Part(c, TShape::Rect(20 + i * 17.0f, 44, 9, 30), stone, 3.0f);
    K::Part(c, TShape::Rect(14, 38, 72, 8), stone.Darker(0.08f));
    K::Part(c, Rounded({{12, 36}, {50, 12}, {88, 36}}, 2), Steel);
    c.Fill(TShape::Circle(50, 28, 4), stone);
}

void TSymbols::Trophy(TCanvas& c) {
    const TShape handles =
        TShape::Ring(26, 36, 15, 9).Union(TShape::Ring(74, 36, 15, 9)).Subtract(TShape::Rect(26, 20, 48, 40));
    K::Part(c, handles, Gold, 3.0f);
    const TShape bowl =
        TShape::Rect(26, 14, 48, 24).Union(TShape::Ellipse(50, 38, 24, 26)).Intersect(TShape::Rect(20, 14, 60, 50));
    K::Part(c, TShape::RoundRect(42, 58, 16, 16, 2), Gold.Darker(0.1f));
    K::Part(c, TShape::RoundRect(28, 74, 44, 14, 4), Trunk);
    K::Part(c, bowl, Gold);
    // A small star on the cup.
    std::vector<TPoint> star;
    for (int i = 0; i < 10; ++i) {
        const float a = (-90.0f + i * 36.0f) * std::numbers::pi_v<float> / 180.0f;
        const float r = (i % 2 == 0) ? 11.0f : 4.6f;
        star.push_back({50 + r * std::cos(a), 36 + r * std::sin(a)});
    }
    c.Fill(TShape::Polygon(star), Paper.WithAlpha(0.9f));
    c.Fill(TShape::RoundRect(30, 77, 40, 3, 1.5f), Gold.WithAlpha(0.8f));
}

void TSymbols::Road(TCanvas& c) {
    K::Part(c, TShape::Polygon({{36, 10}, {64, 10}, {92, 90}, {8, 90}}), Asphalt, 3.0f);
    // Edge lines and a dashed centre line narrowing towards the horizon.
    c.Fill(TShape::Line(38.5f, 12, 15, 87, 2.5f), Paper.WithAlpha(0.85f));
    c.Fill(TShape::Line(61.5f, 12, 85, 87, 2.5f), Paper.WithAlpha(0.85f));
    const float dashes[][2] = {{12, 22}, {32, 46}, {58, 78}};
    for (const auto& d : dashes) {
        const float w0 = 2.5f + d[0] * 0.06f, w1 = 2.5f + d[1] * 0.06f;
        c.Fill(TShape::Polygon({{50 - w0, d[0]}, {50 + w0, d[0]}, {50 + w1, d[1]}, {50 - w1, d[1]}}), Sun);
    }
}

void TSymbols::Car(TCanvas& c) {
    const TShape body = TShape::RoundRect(8, 46, 84, 28, 10);
    const TShape cabin = Rounded({{28, 48}, {36, 28}, {64, 28}, {76, 48}}, 3);
    K::Part(c, cabin.Union(body), Tomato);
    c.Fill(TShape::Polygon({{33, 47}, {39, 33}, {49, 33}, {49, 47}}), Sky.Lighter(0.5f));
    c.Fill(TShape::Polygon({{53, 47}, {53, 33}, {62, 33}, {70, 47}}), Sky.Lighter(0.5f));
    c.Fill(TShape::RoundRect(84, 54, 6, 6, 2), Sun);
    for (float x : {28.0f, 72.0f}) {
        K::Part(c, TShape::Circle(x, 75, 11), Ink, 0.0f);
        c.Fill(TShape::Circle(x, 75, 4.5f), Steel.Lighter(0.3f));
    }
}

void TSymbols::Smoke(TCanvas& c) {
    const TColor puff = TColor::Hex(0xC9CED6);
    const TShape cloud = TShape::Circle(36, 50, 12)
                             .Union(TShape::Circle(52, 38, 15))
                             .Union(TShape::Circle(70, 26, 17))
                             .Union(TShape::Circle(80, 44, 11));
    K::Part(c, cloud, puff);
    K::Part(c, TShape::Rect(18, 58, 20, 32), Steel);
    c.Fill(TShape::Rect(18, 64, 20, 6), Tomato);
}

void TSymbols::DemandBars(TCanvas& c) {
    const TColor colors[3] = {Leaf, Sky, Sun};
    const float heights[3] = {58, 38, 48};
    for (int i = 0; i < 3; ++i) {
        const float x = 14 + i * 26.0f;
        K::Part(c, TShape::RoundRect(x, 86 - heights[i], 20, heights[i], 3), colors[i]);
    }
    c.Fill(TShape::RoundRect(8, 86, 84, 5, 2), Slate);
}

void TSymbols::Bulldozer(TCanvas& c) {
    K::Part(c, TShape::RoundRect(70, 18, 6, 22, 2), Slate, 2.5f);  // exhaust
    K::Part(c, TShape::RoundRect(40, 22, 28, 30, 3), Sun);         // cab
    c.Fill(TShape::RoundRect(45, 27, 18, 14, 2), Sky.Lighter(0.5f));
    K::Part(c, TShape::RoundRect(28, 46, 58, 20, 4), Sun);
    K::Part(c, TShape::Line(30, 58, 18, 66, 6), Slate, 2.5f);      // blade arm
    K::Part(c, TShape::RoundRect(28, 64, 60, 24, 12), Ink, 0.0f);  // tracks
    for (int i = 0; i < 4; ++i) c.Fill(TShape::Circle(38 + i * 13.3f, 76, 5), Steel);
    K::Part(c, Rounded({{6, 46}, {18, 46}, {22, 66}, {18, 88}, {4, 88}, {10, 66}}, 2), Steel.Lighter(0.15f));
}

void TSymbols::MapDiamond(TCanvas& c) {
    const TShape land = Rounded({{50, 12}, {90, 50}, {50, 88}, {10, 50}}, 3);
    K::Part(c, land, Leaf);
    // A river and a road across the map, clipped to it.
    c.Fill(TShape::Polyline({{22, 36}, {40, 48}, {44, 66}, {60, 80}}, 7).Intersect(land), Sky);
    c.Fill(TShape::Line(50, 14, 76, 62, 4).Intersect(land), Paper.WithAlpha(0.9f));
    c.Fill(TShape::Rect(56, 38, 9, 9).Rotate(45, 60, 42), Brick);
    c.Fill(TShape::Rect(64, 50, 7, 7).Rotate(45, 67, 53), Brick);
}

void TSymbols::Hammer(TCanvas& c) {
    const TShape handle = TShape::RoundRect(43, 34, 14, 60, 6).Rotate(40, 50, 50);
    const TShape head = Rounded({{18, 12}, {70, 12}, {84, 22}, {84, 34}, {70, 42}, {18, 42}}, 3).Rotate(40, 50, 50);
    K::Part(c, handle, Trunk);
    K::Part(c, head, Steel);
    c.Fill(TShape::Rect(18, 12, 64, 7).Rotate(40, 50, 50).Intersect(head), Paper.WithAlpha(0.35f));
}

void TSymbols::Eye(TCanvas& c) {
    const TShape almond = TShape::Circle(50, 71, 47).Intersect(TShape::Circle(50, 29, 47));
    K::Part(c, almond, Paper, 5.0f);
    const TShape iris = TShape::Circle(50, 50, 17).Intersect(almond);
    c.Fill(iris, TPaint::Radial(50, 50, 17, Sky.Lighter(0.2f), DeepBlue));
    c.Fill(TShape::Circle(50, 50, 8), Ink);
    c.Fill(TShape::Circle(44, 44, 4), Paper);
}

void TSymbols::Gear(TCanvas& c) {
    TShape gear = TShape::Circle(50, 50, 28);
    for (int i = 0; i < 8; ++i) gear = gear.Union(TShape::RoundRect(43, 10, 14, 22, 3).Rotate(i * 45.0f, 50, 50));
    K::Part(c, gear.Subtract(TShape::Circle(50, 50, 12)), Steel.Darker(0.1f));
    c.Fill(TShape::Ring(50, 50, 22, 18), Paper.WithAlpha(0.3f));
}

void TSymbols::Cross(TCanvas& c) {
    K::Part(c, TShape::Line(24, 24, 76, 76, 16).Union(TShape::Line(76, 24, 24, 76, 16)), Tomato);
}

void TSymbols::Check(TCanvas& c) { K::Part(c, TShape::Polyline({{18, 52}, {40, 74}, {82, 28}}, 16), Leaf); }

void TSymbols::Power(TCanvas& c) {
    K::Part(c, TShape::Arc(50, 54, 30, 12, -55, 235).Union(TShape::Line(50, 14, 50, 50, 12)), Tomato);
}

void TSymbols::Arrow(TCanvas& c, float degrees, const TColor& color) {
    const TShape arrow = Rounded({{14, 40}, {50, 40}, {50, 18}, {86, 50}, {50, 82}, {50, 60}, {14, 60}}, 3);
    K::Part(c, arrow.Rotate(degrees, 50, 50), color);
}

void TSymbols::UndoArrow(TCanvas& c, const TColor& color) {
    const TShape bend = TShape::Arc(54, 60, 26, 12, -160, 40);
    const TShape head = Rounded({{10, 42}, {50, 42}, {30, 70}}, 3);
    K::Part(c, bend.Union(head), color);
}

void TSymbols::Magnifier(TCanvas& c, int sign) {
    K::Part(c, TShape::Line(62, 62, 84, 84, 15), Slate);
    c.Fill(TShape::Circle(42, 42, 24), TPaint::Radial(36, 36, 26, Paper, Sky.Lighter(0.55f)));
    K::Part(c, TShape::Ring(42, 42, 31, 23), Steel.Darker(0.05f), 3.5f);
    if (sign != 0) {
        TShape mark = TShape::Line(30, 42, 54, 42, 7);
        if (sign > 0) mark = mark.Union(TShape::Line(42, 30, 42, 54, 7));
        c.Fill(mark, sign > 0 ? Leaf.Darker(0.25f) : Tomato.Darker(0.1f));
    }
}

void TSymbols::Camera(TCanvas& c) {
    K::Part(c, TShape::RoundRect(32, 18, 28, 16, 4), Slate);
    K::Part(c, TShape::RoundRect(10, 28, 80, 56, 10), Slate);
    c.Fill(TShape::Rect(10, 44, 80, 4), Ink.WithAlpha(0.35f));
    c.Fill(TShape::Circle(50, 56, 22), Paper);
    c.Fill(TShape::Circle(50, 56, 17), TPaint::Radial(44, 50, 20, Sky.Lighter(0.3f), Ink));
    c.Fill(TShape::Circle(44, 50, 4), Paper.WithAlpha(0.8f));
    c.Fill(TShape::RoundRect(70, 34, 12, 7, 2), Sun);
}

void TSymbols::Folder(TCanvas& c) {
    K::Part(c, Rounded({{12, 22}, {40, 22}, {48, 30}, {88, 30}, {88, 80}, {12, 80}}, 3), Gold.Darker(0.12f));
    K::Part(c, Rounded({{20, 42}, {94, 42}, {84, 82}, {10, 82}}, 3), Gold.Lighter(0.15f));
}

void TSymbols::Disk(TCanvas& c) {
    K::Part(c, Rounded({{14, 14}, {74, 14}, {86, 26}, {86, 86}, {14, 86}}, 3), DeepBlue);
    K::Part(c, TShape::RoundRect(30, 14, 38, 24, 2), Steel.Lighter(0.3f), 2.5f);
    c.Fill(TShape::Rect(56, 18, 7, 16), DeepBlue);
    K::Part(c, TShape::RoundRect(24, 52, 52, 34, 3), Paper, 2.5f);
    for (int i = 0; i < 3; ++i) c.Fill(TShape::Rect(30, 60 + i * 8.0f, 40, 2.5f), Steel);
}

void TSymbols::Person(TCanvas& c, const TColor& color) {
    const TShape body = TShape::Ellipse(50, 92, 32, 40).Intersect(TShape::Rect(10, 40, 80, 50));
    K::Part(c, body.Union(TShape::Circle(50, 32, 17)), color);
}

void TSymbols::People(TCanvas& c) {
    K::InBox(c, 30, 0, 70, [](TCanvas& p) { Person(p, Steel); });
    K::InBox(c, 4, 16, 80, [](TCanvas& p) { Person(p, Sky); });
}

void TSymbols::Crosshair(TCanvas& c) {
    TShape cross = TShape::Ring(50, 50, 30, 22);
    cross = cross.Union(TShape::Line(50, 8, 50, 28, 8)).Union(TShape::Line(50, 72, 50, 92, 8));
    cross = cross.Union(TShape::Line(8, 50, 28, 50, 8)).Union(TShape::Line(72, 50, 92, 50, 8));
    K::Part(c, cross, Slate);
    K::Part(c, TShape::Circle(50, 50, 8), Tomato, 3.0f);
}

void TSymbols::Pin(TCanvas& c) {
    const TShape pin = TShape::Circle(50, 38, 26).Union(TShape::Polygon({{28, 52}, {72, 52}, {50, 90}}));
    K::Part(c, pin.Subtract(TShape::Circle(50, 38, 10)), Tomato);
    c.Fill(TShape::Ellipse(50, 92, 14, 3.5f), Ink.WithAlpha(0.35f));
}

void TSymbols::Keyboard(TCanvas& c) {
    K::Part(c, TShape::RoundRect(6, 26, 88, 52, 8), Slate);
    for (int row = 0; row < 3; ++row) {
        const int keys = (row == 2) ? 2 : 7;
        for (int k = 0; k < keys; ++k) {
            float x = 14 + k * 10.6f + (row == 1 ? 4.0f : 0.0f);
            float w = 8;
            if (row == 2) {  // shift key and space bar
                x = k == 0 ? 14.0f : 30.0f;
                w = k == 0 ? 12.0f : 56.0f;
            }
            if (row == 1 && k == 6) continue;
            c.Fill(TShape::RoundRect(x, 34 + row * 13.0f, w, 9, 2), Paper.WithAlpha(0.92f));
        }
    }
}

void TSymbols::Coins(TCanvas& c) {
    for (int i = 0; i < 3; ++i) {
        const float y = 76 - i * 14.0f;
        K::Part(c, TShape::RoundRect(10, y - 8, 56, 16, 8), Gold.Darker(0.1f), 3.0f);
        c.Fill(TShape::Ellipse(38, y - 4, 24, 5), Gold.Lighter(0.25f));
    }
}

void TSymbols::MoveArrows(TCanvas& c, const TColor& color) {
    TShape shape = TShape::Line(50, 18, 50, 82, 9).Union(TShape::Line(18, 50, 82, 50, 9));
    for (int i = 0; i < 4; ++i)
        shape = shape.Union(Rounded({{50, 6}, {64, 22}, {36, 22}}, 2).Rotate(i * 90.0f, 50, 50));
    K::Part(c, shape, color);
}

void TSymbols::ScaleArrows(TCanvas& c) {
    TShape shape = TShape::Line(26, 74, 74, 26, 9);
    shape = shape.Union(Rounded({{88, 12}, {88, 40}, {60, 12}}, 2)).Union(Rounded({{12, 88}, {12, 60}, {40, 88}}, 2));
    K::Part(c, shape, Slate);
}

void TSymbols::PointerArrow(TCanvas& c, const TColor& fill, const TColor& rim) {
    // Tip at (0, 0) of the design square, body pointing down and right.
    const TShape arrow = TShape::Polygon({{0, 0}, {0, 70}, {17, 55}, {29, 82}, {42, 76}, {30, 50}, {52, 50}});
    c.Fill(arrow.Grow(5), rim);
    c.Fill(arrow, fill);
}

void TSymbols::PlayTriangles(TCanvas& c, int count, float narrow, const TColor& color) {
    const float width = 60.0f * narrow / (0.6f + 0.4f * count);
    const float step = width * 0.62f;
    const float total = width + step * (count - 1);
    const float x0 = 50 - total / 2;
    TShape shape = Rounded({{x0, 24}, {x0 + width, 50}, {x0, 76}}, 3);
    for (int i = 1; i < count; ++i) shape = shape.Union(shape.Translate(step, 0));
    K::Part(c, shape, color);
}

void TSymbols::PauseBars(TCanvas& c, const TColor& color) {
    K::Part(c, TShape::RoundRect(26, 20, 16, 60, 4).Union(TShape::RoundRect(58, 20, 16, 60, 4)), color);
}

void TSymbols::Badge(TCanvas& c, const TColor& color) {
    K::Part(c, TShape::Circle(50, 50, 40), color, 5.0f);
    Gloss(c, 50, 50, 40);
}

void TSymbols::HiddenBadge(TCanvas& c) {
    K::Part(c, TShape::Circle(50, 50, 42), Paper, 6.0f);
    const TShape almond = TShape::Circle(50, 72, 42).Intersect(TShape::Circle(50, 28, 42));
    c.Fill(almond.Subtract(TShape::Circle(50, 50, 12)).Subtract(almond.Grow(-7)), Slate);
    c.Fill(TShape::Circle(50, 50, 7), Slate);
    c.Fill(TShape::Line(24, 76, 76, 24, 14), Paper);
    c.Fill(TShape::Line(24, 76, 76, 24, 8), Tomato);
}
