#include "tools/TInfluenceIconArt.h"

#include <cmath>
#include <numbers>

#include "tools/TArtPalette.h"

using namespace TArtPalette;
using K = TIconKit;

namespace {

constexpr float Rad = std::numbers::pi_v<float> / 180.0f;

TShape DropShape() {
    // A circle with a pointed top: the tangents from the tip meet the circle smoothly.
    const float cx = 50, cy = 62, r = 28, tipY = 6;
    const float d = cy - tipY;
    const float alpha = std::asin(r / d);
    const float tx = r * std::cos(alpha), ty = cy - r * std::sin(alpha);
    return TShape::Circle(cx, cy, r).Union(TShape::Polygon({{cx, tipY}, {cx + tx, ty}, {cx, cy}, {cx - tx, ty}}));
}

TShape CloudShape() {
    return TShape::Circle(30, 58, 16)
        .Union(TShape::Circle(48, 44, 20))
        .Union(TShape::Circle(68, 50, 17))
        .Union(TShape::RoundRect(14, 54, 72, 22, 11));
}

std::vector<TPoint> StarPoints(float cx, float cy, float outer, float inner) {
    std::vector<TPoint> star;
    for (int i = 0; i < 10; ++i) {
        const float a = (-90.0f + i * 36.0f) * Rad;
        const float r = (i % 2 == 0) ? outer : inner;
        star.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return star;
}

void Mask(TCanvas& c, float cx, float cy, float angle, const TColor& color, bool happy) {
    const TShape face =
        TShape::Ellipse(cx, cy, 21, 26).Intersect(TShape::Rect(cx - 30, cy - 18, 60, 60)).Rotate(angle, cx, cy);
    K::Part(c, face, color, 3.5f);
    const TShape eyes = TShape::Ellipse(cx - 9, cy - 5, 5, 3.5f).Union(TShape::Ellipse(cx + 9, cy - 5, 5, 3.5f));
    const TShape mouth =
        happy ? TShape::Arc(cx, cy + 2, 11, 4.5f, 20, 160) : TShape::Arc(cx, cy + 18, 10, 4.5f, 200, 340);
    c.Fill(eyes.Union(mouth).Rotate(angle, cx, cy), Ink);
}

}  // namespace

void TInfluenceIconArt::Water(TCanvas& c) {
    K::Part(c, DropShape(), Sky);
    c.Fill(TShape::Arc(50, 62, 18, 6, 110, 170), Paper.WithAlpha(0.75f));
}

void TInfluenceIconArt::Energy(TCanvas& c) {
    K::Part(c, TShape::Polygon({{60, 6}, {20, 56}, {46, 56}, {36, 94}, {80, 40}, {54, 40}, {66, 6}}), Sun);
}

void TInfluenceIconArt::Sport(TCanvas& c) {
    const TShape ball = TShape::Circle(50, 50, 40);
    K::Part(c, ball, Paper);
    std::vector<TPoint> pentagon;
    TShape seams = TShape::Circle(50, 50, 0.1f);
    TShape patches = TShape::Circle(50, 50, 0.1f);
    for (int i = 0; i < 5; ++i) {
        const float a = (-90.0f + i * 72.0f) * Rad;
        pentagon.push_back({50 + 14 * std::cos(a), 50 + 14 * std::sin(a)});
        seams = seams.Union(TShape::Line(50 + 14 * std::cos(a), 50 + 14 * std::sin(a), 50 + 34 * std::cos(a),
                                         50 + 34 * std::sin(a), 3.5f));
        patches = patches.Union(TShape::Circle(50 + 44 * std::cos(a), 50 + 44 * std::sin(a), 12));
    }
    c.Fill(TShape::Polygon(pentagon).Grow(1.5f).Union(seams).Union(patches.Intersect(ball)), Ink);
}

void TInfluenceIconArt::Medic(TCanvas& c) {
    K::Part(c, TShape::Circle(50, 50, 42), Paper);
    K::Part(c, TShape::RoundRect(38, 16, 24, 68, 4).Union(TShape::RoundRect(16, 38, 68, 24, 4)), Tomato, 3.0f);
}

void TInfluenceIconArt::Religion(TCanvas& c) {
    const TColor wall = TColor::Hex(0xF1E6D2);
    K::Part(c, TShape::Rect(10, 54, 50, 36), wall);
    K::Part(c, TShape::Polygon({{6, 56}, {35, 36}, {64, 56}}), Violet);
    K::Part(c, TShape::Rect(60, 36, 26, 54), wall);
    K::Part(c, TShape::Polygon({{56, 38}, {73, 10}, {90, 38}}), Violet);
    K::Part(c, TShape::RoundRect(66, 62, 14, 28, 7), Trunk, 2.5f);
    c.Fill(TShape::Circle(73, 48, 5), Sun.Darker(0.1f));
    c.Fill(TShape::Line(73, 0, 73, 12, 3.5f).Union(TShape::Line(68, 4, 78, 4, 3.5f)), Gold.Darker(0.2f));
    c.Fill(TShape::RoundRect(22, 64, 10, 14, 5).Union(TShape::RoundRect(38, 64, 10, 14, 5)), Sky.Lighter(0.3f));
}

void TInfluenceIconArt::Police(TCanvas& c) {
    const TShape shield = TShape::Polygon({{50, 6}, {88, 20}, {84, 58}, {50, 94}, {16, 58}, {12, 20}}).Grow(2);
    K::Part(c, shield, DeepBlue);
    c.Fill(TShape::Polygon({{50, 14}, {80, 25}, {77, 56}, {50, 85}, {23, 56}, {20, 25}}).Outline(2.5f),
           Paper.WithAlpha(0.5f));
    K::Part(c, TShape::Polygon(StarPoints(50, 48, 22, 9)), Gold, 2.5f);
}

void TInfluenceIconArt::FireDepartment(TCanvas& c) {
    const TShape outer =
        TShape::Circle(50, 64, 28).Union(TShape::Polygon({{24, 58}, {42, 4}, {58, 30}, {70, 18}, {78, 58}}).Grow(2));
    K::Part(c, outer, Tomato.Mix(Orange, 0.35f));
    const TShape inner = TShape::Circle(50, 72, 15).Union(TShape::Polygon({{36, 70}, {48, 38}, {64, 70}}));
    K::Flat(c, inner, Sun);
}

void TInfluenceIconArt::Culture(TCanvas& c) {
    Mask(c, 36, 40, -14, Violet.Lighter(0.15f), false);
    Mask(c, 62, 58, 12, Gold, true);
}

void TInfluenceIconArt::FreeTime(TCanvas& c) {
    K::Part(c, TShape::Line(50, 42, 26, 92, 7).Union(TShape::Line(50, 42, 74, 92, 7)), Slate, 2.5f);
    TShape wheel = TShape::Ring(50, 42, 36, 30);
    for (int i = 0; i < 4; ++i) {
        const float a = i * 45.0f * Rad;
        wheel = wheel.Union(TShape::Line(50 - 32 * std::cos(a), 42 - 32 * std::sin(a), 50 + 32 * std::cos(a),
                                         42 + 32 * std::sin(a), 3.5f));
    }
    K::Part(c, wheel, Teal, 2.5f);
    const TColor cabins[4] = {Tomato, Sun, Leaf, Sky};
    for (int i = 0; i < 8; ++i) {
        const float a = (i * 45.0f + 22.5f) * Rad;
        K::Part(c, TShape::Circle(50 + 33 * std::cos(a), 42 + 33 * std::sin(a), 6.5f), cabins[i % 4], 2.0f);
    }
    c.Fill(TShape::Circle(50, 42, 6), Ink);
}

void TInfluenceIconArt::Learn(TCanvas& c) {
    K::Part(c, TShape::Polygon({{28, 46}, {72, 46}, {72, 70}}).Union(TShape::Ellipse(50, 66, 22, 12)), Slate);
    K::Part(c, TShape::Polygon({{50, 18}, {94, 38}, {50, 58}, {6, 38}}).Grow(1.5f), Ink.Lighter(0.15f), 3.0f);
    c.Fill(TShape::Polyline({{50, 38}, {80, 46}, {80, 70}}, 3.5f), Gold);
    K::Part(c, TShape::RoundRect(75, 68, 10, 16, 3), Gold, 2.0f);
    c.Fill(TShape::Circle(50, 38, 4), Gold);
}

void TInfluenceIconArt::Radio(TCanvas& c) {
    K::Part(c, TShape::Line(66, 36, 84, 8, 4), Steel, 2.5f);
    K::Part(c, TShape::RoundRect(8, 34, 84, 54, 10), Teal);
    c.Fill(TShape::Circle(34, 61, 17), Ink.Lighter(0.1f));
    c.Fill(TShape::Ring(34, 61, 12, 9).Union(TShape::Ring(34, 61, 6, 3)), Steel);
    K::Part(c, TShape::RoundRect(58, 46, 26, 12, 2), Paper, 2.0f);
    c.Fill(TShape::Line(66, 47, 66, 57, 2.5f), Tomato);
    c.Fill(TShape::Circle(64, 72, 5).Union(TShape::Circle(78, 72, 5)), Ink.Lighter(0.1f));
}

void TInfluenceIconArt::TV(TCanvas& c) {
    K::Part(c, TShape::Line(50, 26, 32, 6, 4).Union(TShape::Line(50, 26, 68, 6, 4)), Steel, 2.5f);
    K::Part(c, TShape::RoundRect(36, 76, 28, 12, 3), Slate);
    K::Part(c, TShape::RoundRect(6, 24, 88, 58, 10), Slate);
    c.Fill(TShape::RoundRect(14, 31, 72, 44, 6), TPaint::Linear(14, 31, 86, 75, Sky.Lighter(0.45f), DeepBlue));
    c.Fill(TShape::Polygon({{20, 36}, {44, 36}, {26, 60}}).Grow(2), Paper.WithAlpha(0.35f));
}

void TInfluenceIconArt::AirPollution(TCanvas& c) {
    K::Part(c, CloudShape().Translate(0, -10), Smog);
    c.Fill(TShape::Circle(36, 46, 6).Union(TShape::Circle(58, 36, 7)), Smog.Darker(0.3f));
    for (int i = 0; i < 3; ++i)
        K::Part(c, TShape::Circle(30 + i * 20.0f, 84 - (i % 2) * 6.0f, 5), Smog.Darker(0.2f), 2.0f);
}

void TInfluenceIconArt::WaterPollution(TCanvas& c) {
    K::Part(c, DropShape(), Mud);
    c.Fill(TShape::Circle(40, 64, 7).Union(TShape::Circle(60, 72, 5)).Union(TShape::Circle(56, 52, 4)),
           Mud.Darker(0.45f));
    c.Fill(TShape::Arc(50, 62, 18, 6, 110, 170), Paper.WithAlpha(0.45f));
}

void TInfluenceIconArt::Noise(TCanvas& c) {
    K::Part(c, TShape::Polygon({{10, 36}, {28, 36}, {50, 16}, {50, 84}, {28, 64}, {10, 64}}).Grow(2), Slate);
    K::Part(c, TShape::Arc(50, 50, 20, 7, -45, 45), Tomato, 2.5f);
    K::Part(c, TShape::Arc(50, 50, 36, 7, -45, 45), Tomato, 2.5f);
}

const char* TInfluenceIconArt::FileName(int kind) {
    static const char* names[Count] = {"infWater.png",          "infEnergy.png",         "infSport.png",
                                       "infMedic.png",          "infReligion.png",       "infPolice.png",
                                       "infFireDepartment.png", "infCulture.png",        "infFreeTime.png",
                                       "infLearn.png",          "infRadio.png",          "infTV.png",
                                       "infAirPollution.png",   "infWaterPollution.png", "infNoise.png"};
    return (kind >= 0 && kind < Count) ? names[kind] : "";
}

TIconKit::Painter TInfluenceIconArt::PainterOf(int kind) {
    static const TIconKit::Painter painters[Count] = {Water,          Energy,         Sport,    Medic, Religion, Police,
                                                      FireDepartment, Culture,        FreeTime, Learn, Radio,    TV,
                                                      AirPollution,   WaterPollution, Noise};
    if (kind < 0 || kind >= Count) return [](TCanvas&) {};
    return painters[kind];
}
