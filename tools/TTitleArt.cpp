#include "tools/TTitleArt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/TArtPalette.h"
#include "tools/TIconKit.h"
#include "tools/TSymbols.h"

using namespace TArtPalette;
using K = TIconKit;

namespace {

// A fixed hash of a tile position: the town's variety without any random state.
float TileNoise(int32_t i, int32_t j, uint32_t salt) {
    uint32_t h = static_cast<uint32_t>(i) * 73856093u ^ static_cast<uint32_t>(j) * 19349663u ^ salt * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFFu) / 65535.0f;
}

// The isometric projection of the title's island: 2:1 tiles around an origin.
struct TIsoView {
    float originX, originY, halfW, halfH;
    TPoint At(float u, float v, float z = 0.0f) const {
        return {originX + (u - v) * halfW, originY + (u + v) * halfH - z};
    }
};

// A point on a wall from a to b at fraction t and height z.
TPoint OnWall(const TPoint& a, const TPoint& b, float t, float z) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t - z};
}

void Windows(TCanvas& c, const TPoint& a, const TPoint& b, float height, int columns, int rows, float seed,
             const TColor& lit) {
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            const float t0 = (col + 0.25f) / columns, t1 = (col + 0.75f) / columns;
            const float z0 = height * (row + 0.3f) / rows, z1 = height * (row + 0.75f) / rows;
            const bool on = std::fmod(seed * 7.3f + row * 3.7f + col * 5.1f, 3.0f) > 0.9f;
            const TColor color = on ? lit : Ink.Lighter(0.2f).WithAlpha(0.55f);
            c.Fill(TShape::Polygon(
                       {OnWall(a, b, t0, z0), OnWall(a, b, t1, z0), OnWall(a, b, t1, z1), OnWall(a, b, t0, z1)}),
                   color);
        }
    }
}

// A block on the footprint (u0, v0)-(u1, v1), with lit windows and an optional hip roof.
void Block(TCanvas& c, const TIsoView& iso, float u0, float v0, float u1, float v1, float height, const TColor& wall,
           const TColor& roof, float roofHeight, int floors, float seed) {
    const TPoint n = iso.At(u0, v0), e = iso.At(u1, v0), s = iso.At(u1, v1), w = iso.At(u0, v1);
    auto up = [height](TPoint p, float extra = 0.0f) { return TPoint{p.x, p.y - height - extra}; };
    const TColor dusk = TColor::Hex(0x4B3E6E);
    c.Fill(TShape::Polygon({w, s, up(s), up(w)}), wall.Mix(dusk, 0.25f));
    c.Fill(TShape::Polygon({s, e, up(e), up(s)}), wall.Mix(dusk, 0.5f));
    const TColor lit = TColor::Hex(0xFFD98A);
    const int columnsLeft = std::max(1, static_cast<int>((v1 - v0) * 3.0f));
    const int columnsRight = std::max(1, static_cast<int>((u1 - u0) * 3.0f));
    Windows(c, w, s, height, columnsLeft, floors, seed, lit);
    Windows(c, s, e, height, columnsRight, floors, seed + 1.0f, lit.Darker(0.1f));
    if (roofHeight <= 0.0f) {
        c.Fill(TShape::Polygon({up(n), up(e), up(s), up(w)}), roof);
        return;
    }
    const TPoint apex = iso.At((u0 + u1) / 2, (v0 + v1) / 2, height + roofHeight);
    c.Fill(TShape::Polygon({up(w), up(n), apex}), roof.Lighter(0.15f));
    c.Fill(TShape::Polygon({up(n), up(e), apex}), roof.Lighter(0.05f));
    c.Fill(TShape::Polygon({up(w), up(s), apex}), roof.Mix(dusk, 0.2f));
    c.Fill(TShape::Polygon({up(s), up(e), apex}), roof.Mix(dusk, 0.45f));
}

void IsoTree(TCanvas& c, const TIsoView& iso, float u, float v, float size) {
    const TPoint base = iso.At(u, v);
    c.Fill(TShape::Ellipse(base.x, base.y, size * 0.55f, size * 0.25f), Ink.WithAlpha(0.3f));
    c.Fill(TShape::Rect(base.x - size * 0.08f, base.y - size * 0.7f, size * 0.16f, size * 0.7f), Trunk.Darker(0.3f));
    const TShape crown = TShape::Circle(base.x, base.y - size * 0.95f, size * 0.5f)
                             .Union(TShape::Circle(base.x - size * 0.25f, base.y - size * 0.7f, size * 0.35f))
                             .Union(TShape::Circle(base.x + size * 0.25f, base.y - size * 0.72f, size * 0.35f));
    c.Fill(crown, TPaint::Linear(base.x - size * 0.5f, base.y - size * 1.4f, base.x + size * 0.5f, base.y - size * 0.3f,
                                 Leaf.Mix(Sun, 0.2f), Pine.Darker(0.35f)));
}

void EveningSky(TCanvas& c, int32_t w, float horizon) {
    c.Fill(TShape::Rect(0, 0, w, horizon + 2),
           TPaint::Vertical(0, horizon, TColor::Hex(0x1C2A55), TColor::Hex(0xF7B273))
               .Stop(0.0f, TColor::Hex(0x1C2A55))
               .Stop(0.45f, TColor::Hex(0x5B5D9C))
               .Stop(0.8f, TColor::Hex(0xE58E78))
               .Stop(1.0f, TColor::Hex(0xFFC98A)));
    // A few stars in the dark upper sky.
    for (int i = 0; i < 60; ++i) {
        const float x = TileNoise(i, 1, 7) * w, y = TileNoise(i, 2, 7) * horizon * 0.45f;
        c.Fill(TShape::Circle(x, y, 0.6f + TileNoise(i, 3, 7) * 0.9f),
               Paper.WithAlpha(0.3f + 0.5f * TileNoise(i, 4, 7)));
    }
    c.Fill(TShape::Circle(730, horizon - 40, 260),
           TPaint::Radial(730, horizon - 40, 260, TColor::Hex(0xFFE3A8, 0.7f), TColor::Hex(0xFFE3A8, 0.0f)));
    c.Fill(TShape::Circle(730, horizon - 40, 58),
           TPaint::Vertical(horizon - 98, horizon + 18, TColor::Hex(0xFFF4D6), TColor::Hex(0xFFC776)));
}

void Hills(TCanvas& c, int32_t w, float horizon) {
    const struct {
        float height, frequency, phase;
        TColor color;
    } layers[] = {{70, 0.011f, 1.3f, TColor::Hex(0x8A6F9E, 0.85f)}, {45, 0.017f, 4.1f, TColor::Hex(0x6A5688, 0.9f)}};
    for (const auto& layer : layers) {
        std::vector<TPoint> ridge = {{0, horizon + 1}};
        for (int x = 0; x <= w; x += 16) {
            const float y = horizon - layer.height * (0.55f + 0.3f * std::sin(x * layer.frequency + layer.phase) +
                                                      0.15f * std::sin(x * layer.frequency * 2.7f + layer.phase));
            ridge.push_back({static_cast<float>(x), y});
        }
        ridge.push_back({static_cast<float>(w), horizon + 1});
        c.Fill(TShape::Polygon(ridge), layer.color);
    }
}

void Lake(TCanvas& c, int32_t w, int32_t h, float horizon) {
    c.Fill(TShape::Rect(0, horizon, w, h - horizon),
           TPaint::Vertical(horizon, h, TColor::Hex(0xC98A86), TColor::Hex(0x243F73))
               .Stop(0.0f, TColor::Hex(0xC98A86))
               .Stop(0.25f, TColor::Hex(0x4F5E96))
               .Stop(1.0f, TColor::Hex(0x1D3262)));
    // Glitter of the sun on the water.
    for (int i = 0; i < 16; ++i) {
        const float y = horizon + 6 + i * i * 0.45f;
        const float half = 10 + i * 3.0f + TileNoise(i, 5, 3) * 30;
        const float x = 730 + (TileNoise(i, 6, 3) - 0.5f) * 40;
        c.Fill(TShape::Line(x - half, y, x + half, y, 1.2f + i * 0.08f), TColor::Hex(0xFFE0A0, 0.45f - i * 0.012f));
    }
}

constexpr float SkylineTop = 250.0f;

enum class Lot { Road, Park, House, Tower, Shop, Factory };

Lot LotAt(int32_t i, int32_t j) {
    if (i == 3 || j == 4) return Lot::Road;
    if (i < 3 && j < 4) return TileNoise(i, j, 11) < 0.2f ? Lot::Shop : Lot::Tower;
    if (i > 3 && j < 4) return (i + j) % 3 == 0 ? Lot::Park : Lot::Factory;
    if (i < 3) return TileNoise(i, j, 12) < 0.25f ? Lot::Park : Lot::House;
    return TileNoise(i, j, 13) < 0.3f ? Lot::Park : Lot::House;
}

void Town(TCanvas& c, const TIsoView& iso, int32_t tiles) {
    const float n = static_cast<float>(tiles);
    const float depth = 26;
    // The island: grass top and two earth sides.
    c.Fill(TShape::Ellipse(iso.At(n / 2, n / 2).x, iso.At(n, n).y + 4, iso.halfW * n * 1.05f, 26),
           TColor::Hex(0x0E1A3A, 0.35f));
    c.Fill(TShape::Polygon({iso.At(0, n), iso.At(n, n), iso.At(n, n, -depth), iso.At(0, n, -depth)}),
           TColor::Hex(0x7A4E36));
    c.Fill(TShape::Polygon({iso.At(n, n), iso.At(n, 0), iso.At(n, 0, -depth), iso.At(n, n, -depth)}),
           TColor::Hex(0x5A3A2C));
    c.Fill(TShape::Polygon({iso.At(0, 0), iso.At(n, 0), iso.At(n, n), iso.At(0, n)}),
           TPaint::Vertical(iso.At(0, 0).y, iso.At(n, n).y, TColor::Hex(0x7FBF6A), TColor::Hex(0x3F7F4A)));
    // Roads first, flat on the ground.
    for (int32_t i = 0; i < tiles; ++i) {
        for (int32_t j = 0; j < tiles; ++j) {
            if (LotAt(i, j) != Lot::Road) continue;
            c.Fill(TShape::Polygon({iso.At(i, j), iso.At(i + 1, j), iso.At(i + 1, j + 1), iso.At(i, j + 1)}),
                   TColor::Hex(0x565A66));
        }
    }
    c.Fill(TShape::Polyline({iso.At(3.5f, 0), iso.At(3.5f, n)}, 1.5f), Sun.WithAlpha(0.6f));
    c.Fill(TShape::Polyline({iso.At(0, 4.5f), iso.At(n, 4.5f)}, 1.5f), Sun.WithAlpha(0.6f));
    // Then everything standing, back to front.
    for (int32_t sum = 0; sum <= 2 * (tiles - 1); ++sum) {
        for (int32_t i = 0; i < tiles; ++i) {
            const int32_t j = sum - i;
            if (j < 0 || j >= tiles) continue;
            const float r = TileNoise(i, j, 21);
            const float seed = TileNoise(i, j, 22) * 10.0f;
            switch (LotAt(i, j)) {
                case Lot::Road: break;
                case Lot::Park:
                    IsoTree(c, iso, i + 0.35f, j + 0.4f, 20 + 8 * r);
                    IsoTree(c, iso, i + 0.7f, j + 0.7f, 24 + 6 * r);
                    break;
                case Lot::House:
                    Block(c, iso, i + 0.15f, j + 0.2f, i + 0.85f, j + 0.8f, 22 + 10 * r, TColor::Hex(0xF2E4CC),
                          r < 0.5f ? Brick : Leaf.Darker(0.2f), 18, 1, seed);
                    break;
                case Lot::Tower: {
                    // The skyline stays below the title lettering.
                    const float height = std::min(90 + 150 * r, iso.At(i + 0.9f, j + 0.1f).y - SkylineTop);
                    Block(c, iso, i + 0.1f, j + 0.1f, i + 0.9f, j + 0.9f, height, TColor::Hex(0x9EC3E8),
                          TColor::Hex(0xC9DCEF), 0, 6 + static_cast<int>(8 * r * height / (90 + 150 * r)), seed);
                    break;
                }
                case Lot::Shop:
                    Block(c, iso, i + 0.1f, j + 0.1f, i + 0.9f, j + 0.9f, 40 + 20 * r, TColor::Hex(0x6FA8E0),
                          TColor::Hex(0xB8D0EA), 0, 2, seed);
                    break;
                case Lot::Factory: {
                    Block(c, iso, i + 0.08f, j + 0.15f, i + 0.92f, j + 0.85f, 34 + 10 * r, TColor::Hex(0xC9C1A8),
                          Sun.Darker(0.15f), 10, 1, seed);
                    const TPoint top = iso.At(i + 0.75f, j + 0.3f, 95 + 20 * r);
                    const TPoint foot = iso.At(i + 0.75f, j + 0.3f, 40);
                    c.Fill(TShape::Rect(top.x - 4, top.y, 8, foot.y - top.y), TColor::Hex(0x8C8A90));
                    c.Fill(TShape::Rect(top.x - 4, top.y + 6, 8, 5), Tomato);
                    for (int p = 0; p < 4; ++p) {
                        c.Fill(TShape::Circle(top.x + 6 + p * 9.0f, top.y - 8 - p * 10.0f, 6 + p * 3.0f),
                               TColor::Hex(0xD9D2E4, 0.55f - p * 0.1f));
                    }
                    break;
                }
            }
        }
    }
}

// Fits text to a width by reducing its size.
float FitSize(const TTextRenderer& text, const TCanvas& c, const std::string& line, float size, float bold,
              float maxWidth) {
    const float width = text.Measure(c, line, size, bold);
    return width > maxWidth ? size * maxWidth / width : size;
}

void Title(TCanvas& c, const TTextRenderer& text, int32_t w) {
    const float cx = w / 2.0f;
    TCanvas glow(c.Width(), c.Height());
    text.Draw(glow, "Vallmora", cx, 170, 150, Paper, 8.0f, 0.5f);
    c.Composite(glow.ShadowOf(TColor::Hex(0x1C2A55, 0.9f), 10.0f), 0, 6);
    text.Draw(c, "Vallmora", cx, 170, 150, TPaint::Vertical(60, 170, Paper, TColor::Hex(0xFFE2B0)), 8.0f, 0.5f);
    TCanvas sub(c.Width(), c.Height());
    text.Draw(sub, "The 2D Iso Cityprojekt", cx, 222, 32, Paper, 1.0f, 0.5f);
    c.Composite(sub.ShadowOf(TColor::Hex(0x1C2A55, 0.9f), 4.0f), 0, 2);
    c.Composite(sub, 0, 0, 0.92f);
}

}  // namespace

TCanvas TTitleArt::StartLogo(const TTextRenderer& text) {
    TCanvas c(LogoWidth, LogoHeight);
    const float horizon = 470;
    EveningSky(c, LogoWidth, horizon);
    Hills(c, LogoWidth, horizon);
    Lake(c, LogoWidth, LogoHeight, horizon);
    const TIsoView iso{LogoWidth / 2.0f, 395, 40, 20};
    Town(c, iso, 8);
    Title(c, text, LogoWidth);
    return c;
}

TCanvas TTitleArt::Tutorial(const TTextRenderer& text) {
    const float w = TutorialWidth, h = TutorialHeight;
    TCanvas layer(TutorialWidth, TutorialHeight);
    const TShape panel = TShape::RoundRect(3, 2, w - 6, h - 8, 16);
    layer.Fill(panel, TPaint::Vertical(0, h, Paper, TColor::Hex(0xE6ECF2)));
    const TShape header = panel.Intersect(TShape::Rect(0, 0, w, 58));
    layer.Fill(header, TPaint::Vertical(2, 58, Sky.Lighter(0.15f), DeepBlue));
    layer.Fill(panel.Grow(-0.75f).Outline(1.5f), TColor::Hex(0xAEB8C5));
    const std::string title = "Willkommen in Vallmora!";
    text.Draw(layer, title, 24, 39, FitSize(text, layer, title, 23, 1.0f, w - 90), Paper, 1.0f);

    const struct {
        K::Painter icon;
        const char* line;
    } hints[] = {
        {TSymbols::Road, "Taste 1: Straßen bauen"},
        {TSymbols::House, "Tasten 2–4: Wohnen, Gewerbe, Industrie"},
        {[](TCanvas& p) { TSymbols::MoveArrows(p, Slate); }, "Rechte Maustaste: Karte verschieben"},
        {[](TCanvas& p) { TSymbols::Magnifier(p, 1); }, "Mausrad: hinein- und herauszoomen"},
        {[](TCanvas& p) { TSymbols::Pin(p); }, "Gebäude anklicken: Infos anzeigen"},
    };
    float y = 76;
    for (const auto& hint : hints) {
        K::InBox(layer, 24, y, 30, hint.icon);
        text.Draw(layer, hint.line, 66, y + 21, FitSize(text, layer, hint.line, 15, 0.0f, w - 90), Ink);
        y += 38;
    }
    text.Draw(layer, "Viel Spaß beim Bauen!", w / 2, h - 20, 17, DeepBlue, 0.8f, 0.5f);
    return K::WithShadow(layer, 0.0f, 2.0f, 3.0f, 0.3f);
}

void TTitleArt::AddTo(std::vector<TArtPicture>& out, const TTextRenderer& text) {
    out.push_back({"startlogo.jpg", [&text] { return StartLogo(text); }});
    out.push_back({"tut.png", [&text] { return Tutorial(text); }});
}
