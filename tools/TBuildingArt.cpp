#include "tools/TBuildingArt.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "framework/TNoise.h"
#include "platform/TStream.h"
#include "tools/TIsoKit.h"
#include "tools/TTerrainArt.h"

namespace {
using O = TIsoKit::TOrigin;

struct TCtx {
    TCanvas& c;
    O o;
    float n;  // footprint edge in tiles
    int32_t level;
    int32_t frame;
    int32_t seed;
    float h;  // picture height
};

const TColor Stone = TColor::Hex(0xB4B2AA);
const TColor Glass = TColor::Hex(0x3F78B8);
const TColor Cream = TColor::Hex(0xE9DFC4);
const TColor Brick = TColor::Hex(0xB5523B);
const TColor RoofRed = TColor::Hex(0xB8442E);
const TColor RoofGreen = TColor::Hex(0x4E8A46);
const TColor Steel = TColor::Hex(0x8E959E);
const TColor Ochre = TColor::Hex(0xD8B84A);
const TColor Gold = TColor::Hex(0xE9B527);

float Rnd(const TCtx& x, int32_t i) { return vesko::TNoise::Hash(i, x.seed, 4242); }

void Ground(TCtx& x, const TColor& tone, float m = 0.04f) {
    TIsoKit::ShadeFlat(x.c, x.o, m, m, x.n - m, x.n - m, 0, [&](float a, float b) {
        return tone.Mix(tone.Lighter(0.15f), vesko::TNoise::Noise(a * 5, b * 5, 7 + x.seed, 0));
    });
}
void Lawn(TCtx& x, float m = 0.04f) {
    TIsoKit::ShadeFlat(x.c, x.o, m, m, x.n - m, x.n - m, 0,
                       [&](float a, float b) { return TTerrainArt::Grass(0, a, b, 33 + x.seed).Lighter(0.05f); });
}
void Path(TCtx& x, float a0, float b0, float a1, float b1, const TColor& tone) {
    x.c.Fill(TIsoKit::Flat(x.o, a0, b0, a1, b1, 0.2f), tone);
}
void TreeAt(TCtx& x, float a, float b, int32_t kind) {
    const TPoint p = x.o.At(a, b);
    TTerrainArt::Tree(x.c, p.x, p.y, kind);
}
void Door(TCtx& x, float a0, float a1, float b, float z1, const TColor& tone) {
    x.c.Fill(TIsoKit::WallB(x.o, b, a0, a1, 0, z1), tone);
}
// A block with walls, windows and a flat roof with a light parapet.
void Block(TCtx& x, float a0, float b0, float a1, float b1, float z0, float z1, const TColor& wall, const TColor& roof,
           int32_t floors, const TColor& glass, float spacing = 0.22f) {
    TIsoKit::Box(x.c, x.o, a0, b0, a1, b1, z0, z1, wall, roof);
    TIsoKit::Windows(x.c, x.o, a0, b0, a1, b1, z0, z1, floors, spacing, glass, x.level >= 3);
    x.c.Fill(TIsoKit::Flat(x.o, a0 + 0.05f, b0 + 0.05f, a1 - 0.05f, b1 - 0.05f, z1), roof.Darker(0.08f));
}
void Chimney(TCtx& x, float a, float b, float z0, float z1, const TColor& tone) {
    TIsoKit::Box(x.c, x.o, a - 0.07f, b - 0.07f, a + 0.07f, b + 0.07f, z0, z1, tone, tone.Darker(0.5f));
    x.c.Fill(TIsoKit::Flat(x.o, a - 0.07f, b - 0.07f, a + 0.07f, b + 0.07f, z1 - 2).Grow(0.2f), TColor::Hex(0xC23B2E));
}
void Sign(TCtx& x, float a0, float a1, float b, float z0, float z1, const TColor& tone) {
    x.c.Fill(TIsoKit::WallB(x.o, b - 0.01f, a0, a1, z0, z1), tone);
    x.c.Fill(TIsoKit::WallB(x.o, b - 0.01f, a0 + 0.04f, a1 - 0.04f, z0 + 1, z1 - 1), tone.Lighter(0.45f));
}
void Flag(TCtx& x, float a, float b, float z, const TColor& tone, int32_t frame) {
    const TPoint p = x.o.At(a, b, z);
    x.c.Fill(TShape::Rect(p.x - 0.4f, p.y - 10, 0.9f, 10), TColor::Hex(0x55585E));
    const float wave = frame % 2 == 0 ? 1.0f : -1.0f;
    x.c.Fill(TShape::Polygon(
                 {{p.x + 0.5f, p.y - 10}, {p.x + 6, p.y - 9 + wave}, {p.x + 6, p.y - 6 + wave}, {p.x + 0.5f, p.y - 7}}),
             tone);
}

using TPainter = std::function<void(TCtx&)>;

const std::map<std::string, TPainter>& Painters() {
    static const std::map<std::string, TPainter> painters = {
        // Residential: green and red roofs, richer and taller with the level.
        {"cottage",
         [](TCtx& x) {
             Lawn(x);
             const TColor roof = Rnd(x, 1) > 0.5f ? RoofRed : RoofGreen;
             TIsoKit::Box(x.c, x.o, 0.2f, 0.22f, 0.8f, 0.78f, 0, 8, Cream, Cream);
             TIsoKit::Windows(x.c, x.o, 0.2f, 0.22f, 0.8f, 0.78f, 0, 8, 1, 0.25f, Glass);
             Door(x, 0.42f, 0.52f, 0.22f, 5, TColor::Hex(0x6B4A2E));
             TIsoKit::GableRoof(x.c, x.o, 0.2f, 0.22f, 0.8f, 0.78f, 8, 7, Rnd(x, 2) > 0.5f, roof, Cream);
             Chimney(x, 0.35f, 0.62f, 10, 16, Brick);
         }},
        {"house",
         [](TCtx& x) {
             Lawn(x);
             const TColor wall = Rnd(x, 3) > 0.5f ? TColor::Hex(0xEAD9B8) : TColor::Hex(0xD9C7A6);
             Path(x, 0.45f, 0.0f, 0.55f, 0.2f, TColor::Hex(0xC8BFA8));
             TIsoKit::Box(x.c, x.o, 0.15f, 0.2f, 0.85f, 0.8f, 0, 14, wall, wall);
             TIsoKit::Windows(x.c, x.o, 0.15f, 0.2f, 0.85f, 0.8f, 0, 14, 2, 0.22f, Glass);
             Door(x, 0.45f, 0.55f, 0.2f, 5, TColor::Hex(0x5B3A26));
             TIsoKit::HipRoof(x.c, x.o, 0.15f, 0.2f, 0.85f, 0.8f, 14, 8, Rnd(x, 4) > 0.4f ? RoofRed : RoofGreen);
         }},
        {"terrace",
         [](TCtx& x) {
             Lawn(x);
             TreeAt(x, 0.12f, x.n - 0.12f, 3);
             const float step = (x.n - 0.4f) / 3;
             for (int32_t i = 2; i >= 0; --i) {
                 const float b0 = 0.2f + i * step, b1 = b0 + step;
                 const TColor wall = TColor::Hex(i == 1 ? 0xE5D3AE : (i == 0 ? 0xDCC9A0 : 0xEFE3C8));
                 TIsoKit::Box(x.c, x.o, 0.35f, b0, x.n - 0.35f, b1, 0, 18, wall, wall);
                 TIsoKit::Windows(x.c, x.o, 0.35f, b0, x.n - 0.35f, b1, 0, 18, 2, 0.3f, Glass);
                 TIsoKit::GableRoof(x.c, x.o, 0.35f, b0, x.n - 0.35f, b1, 18, 9, false, i == 1 ? RoofGreen : RoofRed,
                                    wall);
             }
         }},
        {"apartment",
         [](TCtx& x) {
             Lawn(x);
             const float z = 10.0f + 8.0f * x.level;
             Block(x, 0.25f, 0.25f, x.n - 0.25f, x.n - 0.25f, 0, z, TColor::Hex(0xE4D6BC), RoofGreen.Darker(0.1f),
                   x.level + 1, Glass, 0.2f);
             // Balconies: a light band every storey on the left face.
             for (int32_t f = 1; f <= x.level + 1; ++f) {
                 const float zb = f * z / (x.level + 1) - 1.5f;
                 x.c.Fill(TIsoKit::WallB(x.o, 0.23f, 0.4f, x.n - 0.4f, zb - 1, zb), TColor::Hex(0xF5F1E8));
             }
             Door(x, x.n / 2 - 0.08f, x.n / 2 + 0.08f, 0.25f, 5, TColor::Hex(0x3E5E3A));
             TreeAt(x, 0.15f, x.n - 0.3f, 5);
         }},
        {"tower",
         [](TCtx& x) {
             Lawn(x);
             const float z = x.h - x.n * 8 - 6;
             Block(x, 0.3f, 0.3f, x.n - 0.3f, x.n - 0.3f, 0, z, TColor::Hex(0xEEE7DA), TColor::Hex(0x5C8F52),
                   static_cast<int32_t>(z / 7), Glass.Lighter(0.1f), 0.16f);
             TIsoKit::Box(x.c, x.o, x.n / 2 - 0.2f, x.n / 2 - 0.2f, x.n / 2 + 0.2f, x.n / 2 + 0.2f, z, z + 4,
                          TColor::Hex(0xB9C4B0), RoofGreen);
             TreeAt(x, 0.15f, 0.6f, 1);
             TreeAt(x, x.n - 0.5f, 0.12f, 6);
         }},
        // Commercial: blue glass, awnings and signs.
        {"shop",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xB7BCC4));
             TIsoKit::Box(x.c, x.o, 0.2f, 0.2f, 0.8f, 0.8f, 0, 11, TColor::Hex(0xE3E6EA), TColor::Hex(0x8FA5BF));
             x.c.Fill(TIsoKit::WallB(x.o, 0.2f, 0.25f, 0.75f, 1, 6), TIsoKit::LeftFace(Glass));
             x.c.Fill(TIsoKit::WallA(x.o, 0.8f, 0.25f, 0.75f, 1, 6), TIsoKit::RightFace(Glass));
             // A striped awning over the shop window.
             for (int32_t i = 0; i < 5; ++i)
                 x.c.Fill(TIsoKit::Quad(x.o.At(0.2f + i * 0.12f, 0.2f, 7.5f), x.o.At(0.32f + i * 0.12f, 0.2f, 7.5f),
                                        x.o.At(0.32f + i * 0.12f, 0.08f, 5.5f), x.o.At(0.2f + i * 0.12f, 0.08f, 5.5f)),
                          i % 2 ? TColor::Hex(0xF2F4F7) : TColor::Hex(0x2F6FD0));
             Sign(x, 0.3f, 0.7f, 0.2f, 8, 10.5f, TColor::Hex(0x2F6FD0));
         }},
        {"market",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0x8C9096));
             for (int32_t i = 0; i < 4; ++i)
                 Path(x, 0.1f + i * 0.25f, 0.1f, 0.14f + i * 0.25f, 0.6f, TColor::Hex(0xECECE6));
             Block(x, 0.9f, 0.2f, x.n - 0.15f, x.n - 0.15f, 0, 13, TColor::Hex(0xDCE3EC), TColor::Hex(0x6F8FB8), 1,
                   Glass, 0.3f);
             Sign(x, 1.0f, x.n - 0.3f, 0.2f, 9, 12.5f, TColor::Hex(0x2F6FD0));
             TIsoKit::Box(x.c, x.o, 0.3f, 0.3f, 0.62f, 0.46f, 0, 3, TColor::Hex(0xC8452F), TColor::Hex(0xD85A40));
         }},
        {"office",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xA9B1BC));
             const float z = x.h - x.n * 8 - 4;
             Block(x, 0.2f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, z, Glass.Lighter(0.15f), TColor::Hex(0x8A9AAE),
                   static_cast<int32_t>(z / 6), TColor::Hex(0x9BC4EC), 0.14f);
             Sign(x, x.n / 2 - 0.3f, x.n / 2 + 0.3f, 0.2f, 2, 5, TColor::Hex(0x1F4F9A));
         }},
        {"mall",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0x9097A0));
             Block(x, 0.2f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, 16, TColor::Hex(0xE4E8EE), TColor::Hex(0x7D95B5), 2, Glass,
                   0.3f);
             TIsoKit::HipRoof(x.c, x.o, x.n / 2 - 0.5f, x.n / 2 - 0.5f, x.n / 2 + 0.5f, x.n / 2 + 0.5f, 16, 8,
                              TColor::Hex(0x8EC3EE));
             Sign(x, 0.5f, x.n - 0.5f, 0.2f, 11, 15, TColor::Hex(0x2F6FD0));
         }},
        {"skyscraper",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xA5AEBB));
             const float z = x.h - x.n * 8 - 14;
             Block(x, 0.25f, 0.25f, x.n - 0.25f, x.n - 0.25f, 0, z * 0.7f, TColor::Hex(0x2F64A8), TColor::Hex(0x6A86AC),
                   static_cast<int32_t>(z * 0.7f / 5), TColor::Hex(0x8CC0F0), 0.12f);
             Block(x, 0.45f, 0.45f, x.n - 0.45f, x.n - 0.45f, z * 0.7f, z, TColor::Hex(0x3A74BC), TColor::Hex(0x7A96BC),
                   static_cast<int32_t>(z * 0.3f / 5), TColor::Hex(0x9DCCF5), 0.12f);
             const TPoint top = x.o.At(x.n / 2, x.n / 2, z);
             x.c.Fill(TShape::Rect(top.x - 0.6f, top.y - 12, 1.2f, 12), TColor::Hex(0xC9CED6));
             x.c.Fill(TShape::Circle(top.x, top.y - 12, 1.2f), TColor::Hex(0xE8402E));
         }},
        // Industry: yellow-grey halls, chimneys, tanks.
        {"workshop",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xA39E8C));
             const float b1 = x.n - 0.2f;
             TIsoKit::Box(x.c, x.o, 0.2f, 0.2f, x.n - 0.2f, b1, 0, 10, Ochre, Ochre);
             // Saw-tooth roof: one gable per bay.
             const int32_t bays = static_cast<int32_t>(x.n * 2);
             const float step = (b1 - 0.2f) / bays;
             for (int32_t i = bays - 1; i >= 0; --i)
                 TIsoKit::GableRoof(x.c, x.o, 0.2f, 0.2f + i * step, x.n - 0.2f, 0.2f + (i + 1) * step, 10, 4, true,
                                    TColor::Hex(0x8C8F93), Ochre);
             x.c.Fill(TIsoKit::WallB(x.o, 0.2f, 0.35f, 0.65f, 0, 7), TColor::Hex(0x6A6A62));
         }},
        {"factory",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0x9C9684));
             TIsoKit::Box(x.c, x.o, 0.2f, 0.7f, x.n - 0.2f, x.n - 0.2f, 0, 18, Steel, Steel.Darker(0.1f));
             Chimney(x, 0.55f, x.n - 0.5f, 18, x.h - x.n * 8 - 4, TColor::Hex(0x9A5A42));
             TIsoKit::Box(x.c, x.o, 0.2f, 0.2f, x.n - 0.2f, 0.8f, 0, 12, Ochre, Ochre.Darker(0.1f));
             TIsoKit::Windows(x.c, x.o, 0.2f, 0.2f, x.n - 0.2f, 0.8f, 0, 12, 1, 0.3f, TColor::Hex(0x6F8AA0));
             const int32_t bays = static_cast<int32_t>(x.n * 2);
             for (int32_t i = bays - 1; i >= 0; --i) {
                 const float a0 = 0.2f + i * (x.n - 0.4f) / bays, a1 = a0 + (x.n - 0.4f) / bays;
                 TIsoKit::GableRoof(x.c, x.o, a0, 0.2f, a1, 0.8f, 12, 3, false, TColor::Hex(0x8C8F93), Ochre);
             }
             x.c.Fill(TIsoKit::WallB(x.o, 0.2f, 0.3f, 0.6f, 0, 8), TColor::Hex(0x5E5E58));
             // Warning stripes at the gate.
             for (int32_t i = 0; i < 3; ++i)
                 x.c.Fill(TIsoKit::WallB(x.o, 0.19f, 0.3f + i * 0.1f, 0.35f + i * 0.1f, 8, 9.5f),
                          TColor::Hex(0x2B2B2B));
         }},
        {"chemical",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0x99937F));
             for (int32_t i = 0; i < 2; ++i) {
                 const TPoint p = x.o.At(0.8f + i * 0.9f, x.n - 0.8f);
                 const float r = 10.0f, z = 22.0f;
                 x.c.Fill(TShape::Rect(p.x - r, p.y - z, 2 * r, z)
                              .Union(TShape::Ellipse(p.x, p.y, r, r / 2))
                              .Union(TShape::Ellipse(p.x, p.y - z, r, r / 2))
                              .Grow(0.6f),
                          TColor::Hex(0x4A4A44));
                 x.c.Fill(TShape::Rect(p.x - r, p.y - z, 2 * r, z).Union(TShape::Ellipse(p.x, p.y, r, r / 2)),
                          TPaint::Linear(p.x - r, 0, p.x + r, 0, TColor::Hex(0xECE9DC), TColor::Hex(0x9D9A8E)));
                 x.c.Fill(TShape::Ellipse(p.x, p.y - z, r, r / 2), TColor::Hex(0xF4F1E6));
                 x.c.Fill(TShape::Rect(p.x - r, p.y - z * 0.5f, 2 * r, 2), Ochre);
             }
             Chimney(x, x.n - 0.6f, x.n - 0.6f, 0, x.h - x.n * 8 - 4, TColor::Hex(0xC8C2B0));
             Block(x, 0.3f, 0.2f, x.n - 0.3f, 1.0f, 0, 12, Ochre, TColor::Hex(0x8C8F93), 1, TColor::Hex(0x6F8AA0));
             for (int32_t i = 0; i < 3; ++i) {
                 const TPoint p0 = x.o.At(0.5f + i * 0.6f, 1.0f, 10), p1 = x.o.At(0.5f + i * 0.6f, x.n - 0.9f, 14);
                 x.c.Fill(TShape::Line(p0.x, p0.y, p1.x, p1.y, 1.4f), TColor::Hex(0x7A7F87));
             }
         }},
        {"hightech",
         [](TCtx& x) {
             Lawn(x);
             Path(x, 0.1f, 0.1f, x.n - 0.1f, 0.5f, TColor::Hex(0xC9CCD0));
             Block(x, 0.7f, 0.7f, x.n - 0.3f, x.n - 0.3f, 0, 26, TColor::Hex(0xE6E2D2), TColor::Hex(0xC9C29E), 4,
                   TColor::Hex(0x6FA0C8), 0.18f);
             TIsoKit::HipRoof(x.c, x.o, 1.2f, 1.2f, x.n - 0.8f, x.n - 0.8f, 26, 10, TColor::Hex(0x9FC7E0));
             TIsoKit::Box(x.c, x.o, 0.3f, 0.7f, 0.7f, x.n - 0.3f, 0, 10, Ochre.Lighter(0.3f), Ochre);
             TreeAt(x, 0.3f, 0.3f, 12);
         }},
        // Public: grey stone with the colour of the service.
        {"police",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xB3B6BA));
             Block(x, 0.2f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, 18, Stone, TColor::Hex(0x7D8187), 2, Glass);
             Sign(x, 0.4f, x.n - 0.4f, 0.2f, 13, 16, TColor::Hex(0x2D5DB3));
             Door(x, x.n / 2 - 0.1f, x.n / 2 + 0.1f, 0.2f, 7, TColor::Hex(0x2D5DB3));
             Flag(x, x.n - 0.3f, x.n - 0.3f, 18, TColor::Hex(0x2D5DB3), x.frame);
         }},
        {"fire",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xB3B6BA));
             Block(x, 0.2f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, 16, TColor::Hex(0xC9BBAA), TColor::Hex(0x7D8187), 1,
                   Glass);
             for (int32_t i = 0; i < 2; ++i)
                 x.c.Fill(TIsoKit::WallB(x.o, 0.2f, 0.35f + i * 0.6f, 0.8f + i * 0.6f, 0, 10), TColor::Hex(0xD23A2A));
             TIsoKit::Box(x.c, x.o, x.n - 0.6f, x.n - 0.6f, x.n - 0.25f, x.n - 0.25f, 16, 30, TColor::Hex(0xC9BBAA),
                          TColor::Hex(0xD23A2A));
         }},
        {"hospital",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xBFC3C6));
             Block(x, 0.2f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, 24, TColor::Hex(0xF1F2F0), TColor::Hex(0x9FA6AD), 3,
                   TColor::Hex(0x6C9CC4), 0.18f);
             const TPoint c = x.o.At(x.n / 2, 0.2f, 17);
             x.c.Fill(TShape::Rect(c.x - 4.5f, c.y - 1.5f, 9, 3).Union(TShape::Rect(c.x - 1.5f, c.y - 4.5f, 3, 9)),
                      TColor::Hex(0xE0392E));
             TreeAt(x, x.n - 0.15f, 0.4f, 2);
         }},
        {"school",
         [](TCtx& x) {
             Lawn(x);
             Path(x, 0.1f, 0.1f, x.n - 0.1f, 0.35f, TColor::Hex(0xC8C4B6));
             TIsoKit::Box(x.c, x.o, 0.4f, 0.4f, x.n - 0.2f, x.n - 0.2f, 0, 16, TColor::Hex(0xD7C59A), Stone);
             TIsoKit::Windows(x.c, x.o, 0.4f, 0.4f, x.n - 0.2f, x.n - 0.2f, 0, 16, 2, 0.2f, Glass);
             TIsoKit::GableRoof(x.c, x.o, 0.4f, 0.4f, x.n - 0.2f, x.n - 0.2f, 16, 8, true, RoofRed,
                                TColor::Hex(0xD7C59A));
             const TPoint p = x.o.At(x.n - 0.6f, 0.6f, 24);
             x.c.Fill(TShape::Circle(p.x, p.y - 2, 2.2f), TColor::Hex(0xF4F4F0));
         }},
        {"church",
         [](TCtx& x) {
             Lawn(x);
             TIsoKit::Box(x.c, x.o, 0.25f, 0.45f, x.n - 0.2f, x.n - 0.35f, 0, 16, Stone, Stone);
             TIsoKit::GableRoof(x.c, x.o, 0.25f, 0.45f, x.n - 0.2f, x.n - 0.35f, 16, 10, true, TColor::Hex(0x5E6670),
                                Stone);
             TIsoKit::Box(x.c, x.o, 0.15f, 0.15f, 0.65f, 0.65f, 0, 34, Stone.Lighter(0.05f), Stone);
             x.c.Fill(TIsoKit::WallB(x.o, 0.15f, 0.32f, 0.48f, 20, 27), TColor::Hex(0x3A3F48));
             const TPoint apex = x.o.At(0.4f, 0.4f, 52);
             const TPoint l = x.o.At(0.15f, 0.15f, 34), r = x.o.At(0.65f, 0.65f, 34), btm = x.o.At(0.65f, 0.15f, 34);
             x.c.Fill(TShape::Polygon({l, apex, btm}), TColor::Hex(0x4F8F7A));
             x.c.Fill(TShape::Polygon({btm, apex, r}), TColor::Hex(0x3A6E5D));
             x.c.Fill(TShape::Rect(apex.x - 0.5f, apex.y - 5, 1, 5).Union(TShape::Rect(apex.x - 2, apex.y - 4, 4, 1)),
                      Gold);
         }},
        {"watertower",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xAEB2AE));
             const TPoint p = x.o.At(x.n / 2, x.n / 2);
             for (int32_t i = -1; i <= 1; i += 2)
                 x.c.Fill(TShape::Line(p.x + i * 6, p.y, p.x + i * 3, p.y - 26, 1.6f), TColor::Hex(0x6C737C));
             x.c.Fill(TShape::Rect(p.x - 1, p.y - 26, 2, 26), TColor::Hex(0x6C737C));
             const TShape tank = TShape::Rect(p.x - 10, p.y - 40, 20, 14).Union(TShape::Ellipse(p.x, p.y - 26, 10, 4));
             x.c.Fill(tank.Union(TShape::Ellipse(p.x, p.y - 40, 10, 4)).Grow(0.6f), TColor::Hex(0x28405A));
             x.c.Fill(tank, TPaint::Linear(p.x - 10, 0, p.x + 10, 0, TColor::Hex(0x7FB6E0), TColor::Hex(0x3C6E9E)));
             x.c.Fill(TShape::Ellipse(p.x, p.y - 40, 10, 4), TColor::Hex(0xA9D1EE));
         }},
        {"power",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0x9F9D92));
             // A cooling tower with its waisted shape, then the turbine hall.
             const TPoint p = x.o.At(x.n - 1.0f, x.n - 0.9f);
             const float z = 40;
             const TShape tower = TShape::Polygon({{p.x - 14, p.y},
                                                   {p.x - 9, p.y - z * 0.7f},
                                                   {p.x - 10, p.y - z},
                                                   {p.x + 10, p.y - z},
                                                   {p.x + 9, p.y - z * 0.7f},
                                                   {p.x + 14, p.y}});
             x.c.Fill(tower.Grow(0.6f), TColor::Hex(0x5A5A55));
             x.c.Fill(tower, TPaint::Linear(p.x - 14, 0, p.x + 14, 0, TColor::Hex(0xE2DFD6), TColor::Hex(0x98958C)));
             x.c.Fill(TShape::Ellipse(p.x, p.y - z, 10, 3.5f), TColor::Hex(0x6E6B64));
             Block(x, 0.2f, 0.2f, x.n - 0.3f, 1.1f, 0, 18, Steel.Lighter(0.2f), TColor::Hex(0x7B7F86), 2,
                   TColor::Hex(0x6F8AA0));
             Sign(x, 0.4f, 1.0f, 0.2f, 14, 17, TColor::Hex(0xF6C333));
         }},
        {"radio",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xB0B3B0));
             Block(x, 0.15f, 0.15f, 0.7f, 0.6f, 0, 10, Stone, TColor::Hex(0x7D8187), 1, Glass);
             const TPoint p = x.o.At(0.65f, 0.7f);
             x.c.Fill(TShape::Polygon({{p.x - 3, p.y}, {p.x, p.y - (x.h - 18)}, {p.x + 3, p.y}}).Outline(1.0f),
                      TColor::Hex(0xC8453A));
             for (int32_t i = 1; i < 5; ++i)
                 x.c.Fill(TShape::Line(p.x - 3 + i * 0.6f, p.y - i * (x.h - 18) / 5, p.x + 3 - i * 0.6f,
                                       p.y - i * (x.h - 18) / 5, 0.8f),
                          TColor::Hex(0xEDEDED));
             x.c.Fill(TShape::Circle(p.x, p.y - (x.h - 18), 1.5f),
                      x.frame % 2 == 0 ? TColor::Hex(0xFF5A3C) : TColor::Hex(0x7A2A20));
         }},
        {"tv",
         [](TCtx& x) {
             Lawn(x);
             const TPoint p = x.o.At(x.n / 2, x.n / 2);
             const float top = x.h - x.n * 8 - 4;
             x.c.Fill(TShape::Polygon(
                          {{p.x - 5, p.y}, {p.x - 2, p.y - top * 0.75f}, {p.x + 2, p.y - top * 0.75f}, {p.x + 5, p.y}}),
                      TPaint::Linear(p.x - 5, 0, p.x + 5, 0, TColor::Hex(0xE8E6E0), TColor::Hex(0x9C9A94)));
             x.c.Fill(TShape::Ellipse(p.x, p.y - top * 0.75f, 8, 5).Grow(0.6f), TColor::Hex(0x44484F));
             x.c.Fill(TShape::Ellipse(p.x, p.y - top * 0.75f, 8, 5), TColor::Hex(0x4F7FB8));
             x.c.Fill(TShape::Rect(p.x - 8, p.y - top * 0.75f - 1, 16, 2), TColor::Hex(0x9DCCF5));
             x.c.Fill(TShape::Rect(p.x - 0.8f, p.y - top, 1.6f, top * 0.25f), TColor::Hex(0xD04030));
             x.c.Fill(TShape::Circle(p.x, p.y - top, 1.3f),
                      x.frame % 2 == 0 ? TColor::Hex(0xFF5A3C) : TColor::Hex(0x7A2A20));
         }},
        {"theatre",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xC4BFB2));
             TIsoKit::Box(x.c, x.o, 0.5f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, 20, TColor::Hex(0xE6DCC6), Stone);
             TIsoKit::GableRoof(x.c, x.o, 0.5f, 0.2f, x.n - 0.2f, x.n - 0.2f, 20, 8, false, TColor::Hex(0x6C7A8C),
                                TColor::Hex(0xE6DCC6));
             // A portico of columns facing the lower left.
             for (int32_t i = 0; i < 5; ++i) {
                 const TPoint q = x.o.At(0.35f, 0.35f + i * (x.n - 0.7f) / 4);
                 x.c.Fill(TShape::Rect(q.x - 1, q.y - 16, 2, 16), TColor::Hex(0xF4EFE2));
             }
             x.c.Fill(TIsoKit::Flat(x.o, 0.25f, 0.25f, 0.5f, x.n - 0.25f, 16).Grow(0.5f), TColor::Hex(0xDCD3BD));
             Flag(x, x.n - 0.5f, x.n - 0.5f, 28, TColor::Hex(0x8E5CC7), x.frame);
         }},
        {"university",
         [](TCtx& x) {
             Lawn(x);
             Block(x, 0.2f, 0.2f, x.n - 0.2f, 1.2f, 0, 20, TColor::Hex(0xC9A77E), Stone, 3, Glass);
             Block(x, 0.2f, 1.4f, 1.2f, x.n - 0.2f, 0, 20, TColor::Hex(0xC9A77E), Stone, 3, Glass);
             TIsoKit::HipRoof(x.c, x.o, 0.4f, 0.4f, 1.0f, 1.0f, 20, 14, TColor::Hex(0x4F8F7A));
             TreeAt(x, x.n - 0.6f, x.n - 0.7f, 0);
             TreeAt(x, x.n - 1.3f, x.n - 1.2f, 4);
         }},
        // Parks: green, water and trees.
        {"park",
         [](TCtx& x) {
             Lawn(x, 0.0f);
             Path(x, x.n / 2 - 0.08f, 0.0f, x.n / 2 + 0.08f, x.n, TColor::Hex(0xD8CDA8));
             Path(x, 0.0f, x.n / 2 - 0.08f, x.n, x.n / 2 + 0.08f, TColor::Hex(0xD8CDA8));
             const int32_t trees = static_cast<int32_t>(x.n * x.n * 2);
             for (int32_t i = trees - 1; i >= 0; --i) {
                 float a = 0.15f + Rnd(x, i * 2) * (x.n - 0.3f), b = 0.15f + Rnd(x, i * 2 + 1) * (x.n - 0.3f);
                 if (std::fabs(a - x.n / 2) < 0.2f || std::fabs(b - x.n / 2) < 0.2f) continue;
                 TreeAt(x, a, b, static_cast<int32_t>(Rnd(x, 90 + i) * 9));
             }
             const TPoint bench = x.o.At(x.n / 2 + 0.2f, x.n / 2 - 0.2f, 1);
             x.c.Fill(TShape::Rect(bench.x - 3, bench.y - 1.5f, 6, 1.5f), TColor::Hex(0x8A5A34));
         }},
        {"playground",
         [](TCtx& x) {
             Lawn(x, 0.0f);
             x.c.Fill(TIsoKit::Flat(x.o, 0.2f, 0.2f, 0.6f, 0.6f, 0.2f), TColor::Hex(0xE6D29A));
             TIsoKit::Box(x.c, x.o, 0.6f, 0.55f, 0.8f, 0.75f, 0, 9, TColor::Hex(0xE04B3C), TColor::Hex(0xF6C333));
             const TPoint s0 = x.o.At(0.8f, 0.65f, 9), s1 = x.o.At(0.95f, 0.3f, 0);
             x.c.Fill(TShape::Line(s0.x, s0.y, s1.x, s1.y, 1.6f), TColor::Hex(0x3E8EDE));
             const TPoint w0 = x.o.At(0.25f, 0.75f, 0), w1 = x.o.At(0.25f, 0.95f, 0);
             x.c.Fill(TShape::Polyline({w0, {w0.x + 2, w0.y - 8}, {w1.x - 2, w1.y - 8}, w1}, 1.0f),
                      TColor::Hex(0x5A5F66));
             TreeAt(x, 0.15f, 0.15f, 7);
         }},
        {"sportsfield",
         [](TCtx& x) {
             Lawn(x, 0.0f);
             const float m = 0.25f;
             x.c.Fill(TIsoKit::Flat(x.o, m, m, x.n - m, x.n - m, 0.2f), TColor::Hex(0xC9603E));  // running track
             x.c.Fill(TIsoKit::Flat(x.o, m + 0.15f, m + 0.15f, x.n - m - 0.15f, x.n - m - 0.15f, 0.3f),
                      TColor::Hex(0x4FA04A));
             const TShape lines =
                 TIsoKit::Flat(x.o, m + 0.2f, m + 0.2f, x.n - m - 0.2f, x.n - m - 0.2f, 0.4f)
                     .Outline(0.6f)
                     .Union(TIsoKit::Flat(x.o, x.n / 2 - 0.01f, m + 0.2f, x.n / 2 + 0.01f, x.n - m - 0.2f, 0.4f)
                                .Grow(0.3f));
             x.c.Fill(lines, TColor::Hex(0xF4F4F0));
             // A small stand on the far side.
             TIsoKit::Box(x.c, x.o, m, x.n - 0.2f, x.n - m, x.n - 0.05f, 0, 8, TColor::Hex(0xB4B2AA),
                          TColor::Hex(0x3E8EDE));
         }},
        {"pond",
         [](TCtx& x) {
             Lawn(x, 0.0f);
             const TPoint c = x.o.At(x.n / 2, x.n / 2);
             const TShape water = TShape::Ellipse(c.x, c.y, x.n * 9.0f, x.n * 4.5f);
             x.c.Fill(water.Grow(1.5f), TColor::Hex(0xD8C48F));
             x.c.Fill(water, TColor::Hex(0x3F86B0));
             x.c.Fill(TShape::Ellipse(c.x - x.n * 3, c.y - 1, x.n * 2, 1.0f), TColor::Hex(0x8CC2E0));
             for (int32_t i = 0; i < 6; ++i)
                 TreeAt(x, i % 2 ? 0.2f : x.n - 0.3f, 0.2f + i * (x.n - 0.4f) / 5, 12 + i % 2);
         }},
        // Awards: gold.
        {"statue",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xCFC9B8));
             TIsoKit::Box(x.c, x.o, 0.3f, 0.3f, 0.7f, 0.7f, 0, 6, TColor::Hex(0xE4DED0), TColor::Hex(0xEDE8DC));
             const TPoint p = x.o.At(0.5f, 0.5f, 6);
             const TShape figure = TShape::Ellipse(p.x, p.y - 6, 2.6f, 6)
                                       .Union(TShape::Circle(p.x, p.y - 14, 2.4f))
                                       .Union(TShape::Line(p.x + 1, p.y - 9, p.x + 5, p.y - 17, 1.4f));
             x.c.Fill(figure.Grow(0.6f), TColor::Hex(0x7A5A10));
             x.c.Fill(figure, TPaint::Linear(p.x - 3, 0, p.x + 4, 0, TColor::Hex(0xFBE08A), Gold.Darker(0.2f)));
         }},
        {"fountain",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xD2CCBC));
             const TPoint c = x.o.At(x.n / 2, x.n / 2);
             const TShape basin = TShape::Ellipse(c.x, c.y, x.n * 11.0f, x.n * 5.5f);
             x.c.Fill(basin.Grow(1.6f), Gold.Darker(0.15f));
             x.c.Fill(basin, TColor::Hex(0x4A92C0));
             x.c.Fill(TShape::Rect(c.x - 1.5f, c.y - 10, 3, 10), Gold);
             // The jet rises and falls over the animation frames.
             const float jet = 8.0f + 4.0f * std::sin(x.frame * 1.5708f);
             for (int32_t i = -1; i <= 1; ++i)
                 x.c.Fill(TShape::Arc(c.x + i * 4.0f, c.y - 10, 4.0f + std::abs(i) * 1.0f, 1.0f, 180 + (i < 0 ? 0 : 90),
                                      270 + (i < 0 ? 0 : 90))
                              .Translate(0, -jet + 8),
                          TColor::Hex(0xCFEAF8));
             x.c.Fill(TShape::Line(c.x, c.y - 10, c.x, c.y - 10 - jet, 1.4f), TColor::Hex(0xE8F6FF));
         }},
        {"obelisk",
         [](TCtx& x) {
             Ground(x, TColor::Hex(0xCFC9B8));
             TIsoKit::Box(x.c, x.o, 0.25f, 0.25f, x.n - 0.25f, x.n - 0.25f, 0, 5, TColor::Hex(0xE4DED0),
                          TColor::Hex(0xEDE8DC));
             const float top = x.h - x.n * 8 - 4;
             const TPoint l = x.o.At(x.n / 2 - 0.15f, x.n / 2 - 0.15f, 5),
                          r = x.o.At(x.n / 2 + 0.15f, x.n / 2 + 0.15f, 5),
                          btm = x.o.At(x.n / 2 + 0.15f, x.n / 2 - 0.15f, 5);
             const TPoint apex = x.o.At(x.n / 2, x.n / 2, top);
             x.c.Fill(TShape::Polygon({l, apex, btm}), Gold.Lighter(0.2f));
             x.c.Fill(TShape::Polygon({btm, apex, r}), Gold.Darker(0.25f));
         }},
    };
    return painters;
}

// Decorations laid over a finished building: garden details and parked cars.
void PaintDeco(TCtx& x) {
    const int32_t kind = x.frame % 3;
    const TPoint p = x.o.At(x.n - 0.12f, 0.14f);
    if (kind == 0) {
        for (int32_t i = 0; i < 3; ++i)
            x.c.Fill(TShape::Circle(p.x - 3 + i * 2.5f, p.y - 1.5f, 1.3f), TColor::Hex(i == 1 ? 0xF2D046 : 0xE0584A));
    } else if (kind == 1) {
        x.c.Fill(TShape::RoundRect(p.x - 5, p.y - 4, 7, 3.5f, 1), TColor::Hex(0x3E8EDE));
        x.c.Fill(TShape::RoundRect(p.x - 4, p.y - 5.5f, 4, 2, 0.8f), TColor::Hex(0x2E3E52));
    } else {
        const TPoint q = x.o.At(0.1f, 0.1f);
        TTerrainArt::Tree(x.c, q.x + 2, q.y, 14);
    }
}
}  // namespace

bool TBuildingArt::Knows(const std::string& style) { return Painters().count(style) != 0; }

TCanvas TBuildingArt::Paint(const TRequest& r) {
    const int32_t w = TIsoKit::TileW * r.size;
    TCanvas strip(w * std::max(r.frames, 1), r.height);
    const auto it = Painters().find(r.style);
    if (it == Painters().end() && r.layer.empty()) Print("Unknown building style: " + r.style);
    for (int32_t f = 0; f < std::max(r.frames, 1); ++f) {
        TCanvas frame(w, r.height);
        TCtx x{frame,  TIsoKit::Footprint(r.size, r.height), static_cast<float>(r.size), r.level, f,
               r.seed, static_cast<float>(r.height)};
        if (r.layer == "deco") {
            PaintDeco(x);
        } else if (r.layer == "decoanim") {
            Flag(x, 0.2f, 0.2f, 2, TColor::Hex(0xE9B527), f);
        } else if (it != Painters().end()) {
            it->second(x);
        } else {
            TIsoKit::Box(frame, x.o, 0.2f, 0.2f, x.n - 0.2f, x.n - 0.2f, 0, 16, Stone, Stone);
        }
        strip.Composite(frame, f * w, 0);
    }
    return strip;
}
