#include "tools/TTerrainArt.h"

#include <algorithm>
#include <cmath>

#include "framework/TNoise.h"
#include "tools/TArtPalette.h"

namespace {
using O = TIsoKit::TOrigin;
constexpr O TileOrigin{0.0f, 8.0f};

const TColor Soil = TColor::Hex(0x7A5634);
const TColor Sand = TColor::Hex(0xD9C48F);
const TColor WetSand = TColor::Hex(0xA89468);
const TColor Foam = TColor::Hex(0xE8F2F0);
const TColor DeepWater = TColor::Hex(0x2A5F8F);
const TColor ShallowWater = TColor::Hex(0x3F86B0);

// Shore frame of each combination of water sides (bit d = neighbour in direction d is water);
// the table of the ground layer, read backwards.
constexpr int32_t ShoreFrameOfSides[16] = {-1, 2, 1, 8, 0, 13, 5, 9, 3, 6, 14, 12, 7, 10, 11, 4};

TCanvas Strip(int32_t frames, int32_t w, int32_t h, const std::function<void(TCanvas&, int32_t, float)>& paint) {
    TCanvas strip(frames * w, h);
    for (int32_t f = 0; f < frames; ++f) paint(strip, f, static_cast<float>(f * w));
    return strip;
}
}  // namespace

int32_t TTerrainArt::ShoreSides(int32_t frame) {
    for (int32_t sides = 1; sides < 16; ++sides)
        if (ShoreFrameOfSides[sides] == frame % 15) return sides;
    return 0;
}

TColor TTerrainArt::Grass(int32_t variant, float a, float b, int32_t seed) {
    // Close tones, so neighbouring tiles of different variants do not form a chequerboard.
    static const TColor bases[4] = {TColor::Hex(0x6E9F3E), TColor::Hex(0x76A141), TColor::Hex(0x6A9C42),
                                    TColor::Hex(0x72A23F)};
    const TColor base = bases[((variant % 4) + 4) % 4];
    // Fine blades and soft patches; the light falls from the upper left (small a, large b).
    const float patch = vesko::TNoise::Fbm(a * 3.0f, b * 3.0f, seed, 2, 3);
    const float blade = vesko::TNoise::Hash(static_cast<int32_t>(a * 22), static_cast<int32_t>(b * 22), seed + 7);
    TColor c = base.Mix(base.Lighter(0.18f), patch * 0.5f);
    if (blade > 0.88f) c = c.Lighter(0.1f);
    if (blade < 0.10f) c = c.Darker(0.12f);
    if (variant == 2 && vesko::TNoise::Hash(static_cast<int32_t>(a * 9), static_cast<int32_t>(b * 9), seed) > 0.97f)
        c = c.Mix(TColor::Hex(0xE8E4C8), 0.6f);  // a few clover flowers
    return c;
}

TCanvas TTerrainArt::GroundTile(int32_t variant) {
    TCanvas c(TIsoKit::TileW, TIsoKit::TileH);
    TIsoKit::ShadeFlat(c, TileOrigin, 0, 0, 1, 1, 0,
                       [&](float a, float b) { return Grass(variant, a, b, 11 + variant); });
    return c;
}

TCanvas TTerrainArt::GroundSide(bool right, int32_t variant) {
    TCanvas c(TIsoKit::TileW, SideHeight);
    const float d = SideDepth;
    const TShape face = right ? TIsoKit::WallA(TileOrigin, 1, 0, 1, -d, 0) : TIsoKit::WallB(TileOrigin, 0, 0, 1, -d, 0);
    c.Fill(face, right ? TIsoKit::RightFace(Soil) : TIsoKit::LeftFace(Soil));
    // Darker strata and a few stones, then the grass lip along the top edge.
    for (int32_t layer = 1; layer < 4; ++layer) {
        const float z = -d * layer / 4.0f;
        const TShape band =
            right ? TIsoKit::WallA(TileOrigin, 1, 0, 1, z - 1.5f, z) : TIsoKit::WallB(TileOrigin, 0, 0, 1, z - 1.5f, z);
        c.Fill(band, Soil.Darker(0.35f + 0.05f * layer), 0.6f);
    }
    for (int32_t i = 0; i < 2; ++i) {
        const float t = vesko::TNoise::Hash(i, variant, 5) * 0.8f + 0.1f,
                    z = -6 - vesko::TNoise::Hash(i, variant, 6) * (d - 10);
        const TPoint p = right ? TileOrigin.At(1, t, z) : TileOrigin.At(t, 0, z);
        c.Fill(TShape::Ellipse(p.x, p.y, 1.2f, 0.9f), TColor::Hex(0x8A7A66));
    }
    const TShape lip =
        right ? TIsoKit::WallA(TileOrigin, 1, 0, 1, -2.5f, 0) : TIsoKit::WallB(TileOrigin, 0, 0, 1, -2.5f, 0);
    c.Fill(lip, Grass(variant, 0.5f, 0.5f, 3).Darker(right ? 0.3f : 0.15f));
    return c;
}

TCanvas TTerrainArt::WaterTile(int32_t variant) {
    TCanvas c(TIsoKit::TileW, TIsoKit::TileH);
    TIsoKit::ShadeFlat(c, TileOrigin, 0, 0, 1, 1, 0, [&](float a, float b) {
        // Ripples run diagonally in screen space; their phase shifts per variant so that
        // swapping water pictures reads as moving water.
        const float ripple = std::sin((a * 2.0f + b * 1.0f) * 6.2831f * 2.0f + variant * 1.7f +
                                      vesko::TNoise::Noise(a * 4, b * 4, 40 + variant, 4) * 3.0f);
        TColor col = DeepWater.Mix(ShallowWater, 0.35f + 0.25f * vesko::TNoise::Noise(a * 2, b * 2, 50, 2));
        if (ripple > 0.82f) col = col.Lighter(0.28f);
        return col.WithAlpha(0.80f);
    });
    return c;
}

TCanvas TTerrainArt::WaterSide(bool right) {
    TCanvas c(TIsoKit::TileW, SideHeight);
    const float d = SideDepth;
    const TShape face = right ? TIsoKit::WallA(TileOrigin, 1, 0, 1, -d, 0) : TIsoKit::WallB(TileOrigin, 0, 0, 1, -d, 0);
    const TColor tone = right ? TIsoKit::RightFace(DeepWater) : TIsoKit::LeftFace(DeepWater);
    c.Fill(face, TPaint::Vertical(6, 8 + 16 + d, tone.Lighter(0.1f), tone.Darker(0.45f)));
    const TShape surface =
        right ? TIsoKit::WallA(TileOrigin, 1, 0, 1, -1.5f, 0) : TIsoKit::WallB(TileOrigin, 0, 0, 1, -1.5f, 0);
    c.Fill(surface, ShallowWater.Lighter(0.3f));
    return c;
}

TCanvas TTerrainArt::Shore() {
    return Strip(30, TIsoKit::TileW, TIsoKit::TileH, [](TCanvas& c, int32_t f, float x) {
        const int32_t sides = ShoreSides(f);
        const int32_t seed = 200 + f;
        const O o{x, 8.0f};
        TIsoKit::ShadeFlat(c, o, 0, 0, 1, 1, 0, [&](float a, float b) {
            // Distance to the nearest edge that borders water (edge d: b = 0, a = 1, b = 1, a = 0).
            float dist = 9.0f;
            if (sides & 1) dist = std::min(dist, b);
            if (sides & 2) dist = std::min(dist, 1.0f - a);
            if (sides & 4) dist = std::min(dist, 1.0f - b);
            if (sides & 8) dist = std::min(dist, a);
            const float wobble = (vesko::TNoise::Noise(a * 6, b * 6, seed, 6) - 0.5f) * 0.12f;
            const float beach = (f < 15 ? 0.30f : 0.24f) + wobble;
            if (dist > beach) return TColor{};
            if (dist > beach - 0.05f) return Sand.Mix(TColor::Hex(0x7FA046), 0.35f);  // grass fringe
            if (dist < 0.05f) return Foam.Mix(ShallowWater, 0.25f);
            if (dist < 0.11f) return WetSand;
            const float grain = vesko::TNoise::Hash(static_cast<int32_t>(a * 30), static_cast<int32_t>(b * 30), seed);
            return grain > 0.8f ? Sand.Lighter(0.12f) : (grain < 0.15f ? Sand.Darker(0.08f) : Sand);
        });
    });
}

TCanvas TTerrainArt::ShoreEarth() {
    const float w = TIsoKit::TileW / 2.0f;
    return Strip(60, static_cast<int32_t>(w), SideHeight, [&](TCanvas& c, int32_t f, float x) {
        const bool right = (f % 2) == 1;
        // The right face lies under the tile's right half; its picture starts half a tile in.
        const O o{right ? x - w : x, 8.0f};
        const float d = SideDepth;
        const TShape face = right ? TIsoKit::WallA(o, 1, 0, 1, -d, 0) : TIsoKit::WallB(o, 0, 0, 1, -d, 0);
        c.Fill(face, right ? TIsoKit::RightFace(Soil) : TIsoKit::LeftFace(Soil));
        const TShape sand = right ? TIsoKit::WallA(o, 1, 0, 1, -5, 0) : TIsoKit::WallB(o, 0, 0, 1, -5, 0);
        c.Fill(sand, right ? TIsoKit::RightFace(Sand) : TIsoKit::LeftFace(Sand));
        const TShape wet = right ? TIsoKit::WallA(o, 1, 0, 1, -6.5f, -5) : TIsoKit::WallB(o, 0, 0, 1, -6.5f, -5);
        c.Fill(wet, WetSand.Darker(0.2f));
    });
}

TCanvas TTerrainArt::Caustics(bool sparse) {
    const int32_t size = 256;
    TCanvas c(size, size);
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            const float u = x / 32.0f, v = y / 32.0f;
            const int32_t seed = sparse ? 71 : 33;
            const float n = vesko::TNoise::Fbm(u, v, seed, 3, 8);
            float ridge = 1.0f - std::fabs(2.0f * n - 1.0f);
            ridge = std::pow(ridge, sparse ? 14.0f : 6.0f);
            if (sparse) {
                // Black is this layer's transparent colour: only the brightest lines remain.
                c.Plot(x, y, ridge > 0.35f ? TColor::Hex(0x9FD8EE).Mix(TColor::Hex(0xE6FAFF), ridge) : TColor::Hex(0));
            } else {
                c.Plot(x, y, TColor::Hex(0x1D4A73).Mix(TColor::Hex(0x5DA6CF), ridge * 0.8f));
            }
        }
    }
    return c;
}

void TTerrainArt::Tree(TCanvas& c, float cx, float baseY, int32_t kind) {
    const int32_t seed = 300 + kind * 13;
    auto rnd = [&](int32_t i) { return vesko::TNoise::Hash(i, kind, seed); };
    // A soft ground shadow towards the lower right keeps the tree standing on the tile.
    c.Fill(TShape::Ellipse(cx + 2.5f, baseY, 7.0f, 3.0f), TColor::Hex(0x3B5A22));
    if (kind >= 9 && kind <= 11) {  // conifers: stacked tiers
        const float h = 20.0f + kind - 9 + rnd(1) * 3;
        c.Fill(TShape::Rect(cx - 1, baseY - 4, 2, 4), TArtPalette::Trunk.Darker(0.2f));
        const TColor needle = TColor::Hex(kind == 10 ? 0x2F6B3F : 0x285E3A);
        for (int32_t tier = 0; tier < 3; ++tier) {
            const float top = baseY - h + tier * 5.0f, bottom = baseY - 3 - (2 - tier) * 4.0f,
                        half = 4.5f + tier * 1.6f;
            const TShape tri = TShape::Polygon({{cx, top}, {cx + half, bottom}, {cx - half, bottom}});
            c.Fill(tri.Grow(0.6f), needle.Darker(0.55f));
            c.Fill(tri, needle);
            c.Fill(TShape::Polygon({{cx, top}, {cx - half, bottom}, {cx - half * 0.2f, bottom}}),
                   needle.Lighter(0.18f));
        }
        return;
    }
    if (kind == 12 || kind == 13) {  // birches: white trunk, light airy crown
        const float h = 19.0f + (kind - 12) * 3;
        c.Fill(TShape::Rect(cx - 1, baseY - h + 6, 2, h - 6), TColor::Hex(0xEDEBE4));
        for (int32_t i = 0; i < 3; ++i) c.Fill(TShape::Rect(cx - 1, baseY - 5 - i * 4.0f, 2, 1), TColor::Hex(0x2B2B2B));
        const TColor leaf = TColor::Hex(kind == 12 ? 0x8DBE4E : 0xA7C25A);
        for (int32_t i = 0; i < 4; ++i) {
            const float x = cx + (rnd(10 + i) - 0.5f) * 7, y = baseY - h + 2 + rnd(20 + i) * 8;
            c.Fill(TShape::Ellipse(x, y, 4.2f, 3.4f).Grow(0.6f), leaf.Darker(0.5f));
        }
        for (int32_t i = 0; i < 4; ++i) {
            const float x = cx + (rnd(10 + i) - 0.5f) * 7, y = baseY - h + 2 + rnd(20 + i) * 8;
            c.Fill(TShape::Ellipse(x, y, 4.2f, 3.4f), leaf);
            c.Fill(TShape::Ellipse(x - 1.2f, y - 1.0f, 2.0f, 1.5f), leaf.Lighter(0.25f));
        }
        return;
    }
    if (kind == 14) {  // a cluster of bushes
        const TColor leaf = TColor::Hex(0x4F8A34);
        for (int32_t i = 0; i < 3; ++i) {
            const float x = cx - 5 + i * 5.0f, y = baseY - 3 - (i == 1 ? 2 : 0);
            c.Fill(TShape::Ellipse(x, y, 4.5f, 3.6f).Grow(0.6f), leaf.Darker(0.55f));
            c.Fill(TShape::Ellipse(x, y, 4.5f, 3.6f), leaf);
            c.Fill(TShape::Ellipse(x - 1.3f, y - 1.2f, 2.0f, 1.4f), leaf.Lighter(0.22f));
        }
        return;
    }
    // Broad-leaved trees (0 … 8) and the autumn tree (15): a trunk and a crown of lit blobs.
    static const uint32_t leaves[10] = {0x4E8B2E, 0x5A9A36, 0x3F7D2C, 0x679E3B, 0x4A8740,
                                        0x57913A, 0x6C9A30, 0x3E7431, 0x5C8F2B, 0xC9822F};
    const TColor leaf = TColor::Hex(leaves[kind == 15 ? 9 : kind % 9]);
    const float size = 6.0f + (kind % 3) * 1.2f + rnd(2) * 1.0f;
    const float top = baseY - 10 - size * 1.3f;
    c.Fill(TShape::Rect(cx - 1.2f, top + size, 2.4f, baseY - top - size), TArtPalette::Trunk);
    c.Fill(TShape::Rect(cx + 0.2f, top + size, 1.0f, baseY - top - size), TArtPalette::Trunk.Darker(0.3f));
    TShape crown = TShape::Ellipse(cx, top + size * 0.6f, size, size * 0.85f);
    for (int32_t i = 0; i < 3; ++i)
        crown = crown.Union(TShape::Ellipse(cx + (rnd(30 + i) - 0.5f) * size, top + size * (0.4f + rnd(40 + i) * 0.6f),
                                            size * 0.62f, size * 0.55f));
    c.Fill(crown.Grow(0.7f), leaf.Darker(0.6f));
    c.Fill(crown, TPaint::Linear(cx - size, top, cx + size, top + 2 * size, leaf.Lighter(0.18f), leaf.Darker(0.22f)));
    for (int32_t i = 0; i < 4; ++i)
        c.Fill(TShape::Ellipse(cx - size * 0.35f + rnd(50 + i) * 2, top + size * 0.35f + rnd(60 + i) * 3, 1.6f, 1.2f),
               leaf.Lighter(0.32f));
}

TCanvas TTerrainArt::Trees() {
    return Strip(16, TIsoKit::TileW, 2 * TIsoKit::TileH,
                 [](TCanvas& c, int32_t f, float x) { Tree(c, x + 16.0f, 24.0f, f); });
}

TCanvas TTerrainArt::Worker(int32_t size, const TColor& clothes, const TColor& helmet) {
    TCanvas c(size, size);
    c.SetDesignSize(24.0f);
    c.Fill(TShape::RoundRect(7, 10, 10, 11, 3).Grow(0.8f), clothes.Darker(0.6f));
    c.Fill(TShape::RoundRect(7, 10, 10, 11, 3), TPaint::Vertical(10, 21, clothes.Lighter(0.2f), clothes.Darker(0.1f)));
    c.Fill(TShape::Circle(12, 7, 3.6f).Grow(0.8f), TColor::Hex(0x5A3A24));
    c.Fill(TShape::Circle(12, 7, 3.6f), TColor::Hex(0xF0C8A0));
    c.Fill(TShape::Rect(7.5f, 2.5f, 9, 3).Intersect(TShape::Circle(12, 6, 4.6f)), helmet);
    c.Fill(TShape::Rect(6.5f, 5.2f, 11, 1.2f), helmet.Darker(0.2f));
    return c;
}

TCanvas TTerrainArt::Smoke(int32_t kind) {
    static const uint32_t tones[4] = {0x9A9A9A, 0x4A4642, 0xF2F4F6, 0xC9C27A};
    const TColor tone = TColor::Hex(tones[kind % 4]);
    return Strip(8, 32, 32, [&](TCanvas& c, int32_t f, float x) {
        const float t = f / 7.0f;
        const float r = 4.0f + t * 9.0f, alpha = 0.9f * (1.0f - t * 0.85f);
        for (int32_t py = 0; py < 32; ++py) {
            for (int32_t px = 0; px < 32; ++px) {
                const float dx = px + 0.5f - 16, dy = py + 0.5f - 16;
                const float n = vesko::TNoise::Fbm((px + 0.5f) / 5.0f, (py + 0.5f) / 5.0f, 500 + kind * 7 + f, 3);
                const float d = std::sqrt(dx * dx + dy * dy) / r - (n - 0.5f) * 0.7f;
                if (d >= 1.0f) continue;
                const float a = alpha * std::min(1.0f, (1.0f - d) * 2.5f);
                const TColor shade = tone.Mix(tone.Darker(0.3f), std::clamp((dx + dy) / (2 * r) + 0.5f, 0.0f, 1.0f));
                c.Plot(static_cast<int32_t>(x) + px, py, shade.WithAlpha(a));
            }
        }
    });
}

void TTerrainArt::AddTo(std::vector<TArtPicture>& p) {
    p.push_back({"gfx/natur/flussufer.png", Shore, 30, true});
    p.push_back({"gfx/natur/flussufer_earth.png", ShoreEarth, 60, true});
    p.push_back({"gfx/natur/tex_caustics_001.png", [] { return Caustics(false); }, 1, true});
    p.push_back({"gfx/natur/tex_caustics_002.png", [] { return Caustics(true); }, 1, true});
    p.push_back({"gfx/natur/trees.png", Trees, 16, true});
    p.push_back({"gfx/felder/black.png",
                 [] {
                     TCanvas c(TIsoKit::TileW, TIsoKit::TileH);
                     c.Fill(TIsoKit::Flat(TileOrigin, 0, 0, 1, 1), TColor::Hex(0x000000));
                     return c;
                 },
                 1, true});
    p.push_back(
        {"gfx/felder/delete.png",
         [] {
             TCanvas c(TIsoKit::TileW, TIsoKit::TileH);
             const TShape tile = TIsoKit::Flat(TileOrigin, 0, 0, 1, 1);
             c.Fill(tile.Subtract(TIsoKit::Flat(TileOrigin, 0.14f, 0.14f, 0.86f, 0.86f)), TColor::Hex(0xE0402F));
             c.Fill(TShape::Line(10, 4, 22, 12, 2.2f).Union(TShape::Line(10, 12, 22, 4, 2.2f)), TColor::Hex(0xF2553E));
             return c;
         },
         1, true});
    for (int32_t k = 0; k < 4; ++k) {
        const char* names[4] = {"gfx/felder/smoke_00.png", "gfx/felder/smoke_01.png", "gfx/felder/smoke_02.png",
                                "gfx/felder/smoke_03.png"};
        p.push_back({names[k], [k] { return Smoke(k); }, 8, false});
    }
    p.push_back({"gfx/wetter/rain.png",
                 [] {
                     TCanvas c(128, 128);
                     for (int32_t i = 0; i < 90; ++i) {
                         const float x = vesko::TNoise::Hash(i, 1, 900) * 128, y = vesko::TNoise::Hash(i, 2, 900) * 128;
                         const float len = 6 + vesko::TNoise::Hash(i, 3, 900) * 8;
                         // Drawn three times across the wrap so the texture tiles without seams.
                         for (int32_t wx = -1; wx <= 1; ++wx)
                             for (int32_t wy = -1; wy <= 1; ++wy)
                                 c.Fill(TShape::Line(x + wx * 128, y + wy * 128, x + wx * 128 - len * 0.3f,
                                                     y + wy * 128 + len, 0.9f),
                                        TColor::Hex(0xDCE6F0, 0.55f));
                     }
                     return c;
                 },
                 1, false});
    p.push_back({"gfx/wetter/clouds.png",
                 [] {
                     TCanvas c(8 * 512, 512);
                     for (int32_t f = 0; f < 8; ++f) {
                         for (int32_t y = 0; y < 512; ++y) {
                             for (int32_t x = 0; x < 512; ++x) {
                                 const float n = vesko::TNoise::Fbm(x / 96.0f, y / 96.0f, 700 + f, 4);
                                 const float dx = (x - 256) / 256.0f, dy = (y - 256) / 256.0f;
                                 const float edge = std::max(0.0f, 1.0f - (dx * dx + dy * dy));
                                 const float a = std::clamp((n - 0.45f) * 3.0f, 0.0f, 1.0f) * edge;
                                 if (a <= 0.0f) continue;
                                 c.Plot(f * 512 + x, y, TColor::Hex(0xF4F6F8).Mix(TColor::Hex(0xB8C0CA), 1 - n),
                                        a * 0.85f);
                             }
                         }
                     }
                     return c;
                 },
                 8, false});
    // Zone grounds under finished buildings, and the construction sites.
    struct TZone {
        const char* ground;
        const char* site;
        uint32_t tone;
        uint32_t marker;
    };
    static const TZone zones[4] = {{"gfx/felder/Res.png", "gfx/felder/building/build_res.png", 0x7DB25A, 0x4FA83A},
                                   {"gfx/felder/Com.png", "gfx/felder/building/build_com.png", 0x9AA8BA, 0x3E7FD0},
                                   {"gfx/felder/Ind.png", "gfx/felder/building/build_ind.png", 0xB5AA86, 0xE3B92A},
                                   {"gfx/felder/Def.png", "gfx/felder/building/build_def.png", 0xB9B9B4, 0x8C8F96}};
    for (int32_t z = 0; z < 4; ++z) {
        p.push_back({zones[z].ground,
                     [z] {
                         TCanvas c(TIsoKit::TileW, TIsoKit::TileH);
                         const TColor tone = TColor::Hex(zones[z].tone);
                         TIsoKit::ShadeFlat(c, TileOrigin, 0, 0, 1, 1, 0, [&](float a, float b) {
                             if (z == 0) return tone.Mix(tone.Lighter(0.2f), vesko::TNoise::Noise(a * 5, b * 5, 61, 5));
                             // Paving: a grid of slabs with light joints.
                             const float ga = a * 4 - std::floor(a * 4), gb = b * 4 - std::floor(b * 4);
                             const bool joint = ga < 0.1f || gb < 0.1f;
                             return joint ? tone.Lighter(0.22f)
                                          : tone.Mix(tone.Darker(0.1f),
                                                     vesko::TNoise::Hash(int(a * 4), int(b * 4), 62 + z));
                         });
                         return c;
                     },
                     1, true});
        p.push_back({zones[z].site,
                     [z] {
                         TCanvas c(TIsoKit::TileW, TIsoKit::TileH);
                         TIsoKit::ShadeFlat(c, TileOrigin, 0, 0, 1, 1, 0, [&](float a, float b) {
                             const float n = vesko::TNoise::Fbm(a * 4, b * 4, 80 + z, 2, 4);
                             return TColor::Hex(0x8D6A45).Mix(TColor::Hex(0xB08C5E), n);
                         });
                         const TColor mark = TColor::Hex(zones[z].marker);
                         for (const TPoint& q : {TileOrigin.At(0.15f, 0.15f), TileOrigin.At(0.85f, 0.85f)})
                             c.Fill(TShape::Rect(q.x - 0.8f, q.y - 3, 1.6f, 3), mark);
                         return c;
                     },
                     1, true});
    }
    // Scaffold segments (6 frames: a growing segment, the last one whole) and tower cranes.
    static const uint32_t scaffoldTones[5] = {0xB07A45, 0x3D78C8, 0xE2B425, 0xC8453A, 0x8D929A};
    static const char* scaffoldNames[5] = {"progress.png", "progress_blue.png", "progress_yellow.png",
                                           "progress_red.png", "progress_grey.png"};
    for (int32_t k = 0; k < 5; ++k) {
        p.push_back({std::string("gfx/felder/building/") + scaffoldNames[k],
                     [k] {
                         const TColor pole = TColor::Hex(scaffoldTones[k]);
                         return Strip(6, 32, 24, [&](TCanvas& c, int32_t f, float x) {
                             const O o{x, 16.0f};
                             const float h = 8.0f * (f + 1) / 6.0f;
                             for (const TPoint& q : {o.At(0.1f, 0.1f), o.At(0.9f, 0.1f), o.At(0.9f, 0.9f)})
                                 c.Fill(TShape::Rect(q.x - 0.7f, q.y - h, 1.4f, h), pole.Darker(0.2f));
                             if (f == 5) {
                                 c.Fill(TIsoKit::Flat(o, 0.05f, 0.05f, 0.95f, 0.3f, 7.0f).Grow(0.3f),
                                        TColor::Hex(0x7A5A34));
                                 c.Fill(TShape::Line(o.At(0.1f, 0.1f, 4).x, o.At(0.1f, 0.1f, 4).y,
                                                     o.At(0.9f, 0.1f, 8).x, o.At(0.9f, 0.1f, 8).y, 0.8f),
                                        pole);
                             }
                         });
                     },
                     6, true});
    }
    static const uint32_t craneTones[5] = {0xD8452F, 0x3D6FC4, 0xE8B21E, 0x3E9A4A, 0x8A9099};
    static const char* craneNames[5] = {"crane.png", "crane_blue.png", "crane_yellow.png", "crane_green.png",
                                        "crane_gray.png"};
    for (int32_t k = 0; k < 5; ++k) {
        p.push_back({std::string("gfx/felder/building/") + craneNames[k],
                     [k] {
                         const TColor steel = TColor::Hex(craneTones[k]);
                         return Strip(4, 64, 64, [&](TCanvas& c, int32_t f, float x) {
                             const float cx = x + 32.0f, base = 48.0f;
                             if (f < 2) {  // one 8-pixel mast segment with its lattice
                                 const TShape mast = TShape::Rect(cx - 3, base - 8, 6, 8);
                                 c.Fill(mast.Outline(1.2f), steel.Darker(0.25f));
                                 c.Fill(f == 0 ? TShape::Line(cx - 3, base, cx + 3, base - 8, 0.9f)
                                               : TShape::Line(cx - 3, base - 8, cx + 3, base, 0.9f),
                                        steel);
                                 return;
                             }
                             // The top: cab, jib and counter-jib, turned a little differently in the two frames.
                             const float dir = f == 2 ? 1.0f : -1.0f, top = base - 8;
                             c.Fill(TShape::Line(cx - 12 * dir, top - 2, cx + 28 * dir, top - 4 + dir, 2.0f),
                                    steel.Darker(0.2f));
                             c.Fill(TShape::Line(cx, top - 9, cx + 26 * dir, top - 4 + dir, 0.7f), steel.Darker(0.4f));
                             c.Fill(TShape::Line(cx, top - 9, cx - 11 * dir, top - 2, 0.7f), steel.Darker(0.4f));
                             c.Fill(TShape::Rect(cx - 1, top - 10, 2, 8), steel.Darker(0.3f));
                             c.Fill(TShape::Rect(cx - 13 * dir - 2.5f, top - 3, 5, 4), TColor::Hex(0x6B6E74));
                             c.Fill(TShape::RoundRect(cx - 3, top - 4, 6, 5, 1), TColor::Hex(0xEDEFF2));
                             c.Fill(TShape::Line(cx + 20 * dir, top - 3, cx + 20 * dir, top + 6, 0.5f),
                                    TColor::Hex(0x333333));
                             c.Fill(TShape::Rect(cx + 20 * dir - 1, top + 6, 2, 2), TColor::Hex(0x333333));
                         });
                     },
                     4, true});
    }
    // Status symbols over buildings: missing road, unhappy inhabitants, jobless inhabitants.
    auto sign = [](const TColor& ring, const std::function<void(TCanvas&)>& inner) {
        TCanvas c(20, 20);
        c.Fill(TShape::Circle(10, 10, 9.2f), ring.Darker(0.5f));
        c.Fill(TShape::Circle(10, 10, 8.2f), ring);
        c.Fill(TShape::Circle(10, 10, 6.4f), TColor::Hex(0xFBFCFD));
        inner(c);
        return c;
    };
    p.push_back(
        {"gfx/felder/no_road.png",
         [sign] {
             return sign(TColor::Hex(0xD8402F), [](TCanvas& c) {
                 c.Fill(TShape::Polygon({{8, 4.5f}, {12, 4.5f}, {14.5f, 15.5f}, {5.5f, 15.5f}}), TColor::Hex(0x505762));
                 c.Fill(TShape::Rect(9.4f, 6, 1.2f, 2)
                            .Union(TShape::Rect(9.4f, 10, 1.2f, 2))
                            .Union(TShape::Rect(9.4f, 13.5f, 1.2f, 1.6f)),
                        TColor::Hex(0xF2F2F2));
                 c.Fill(TShape::Line(5, 15, 15, 5, 1.6f), TColor::Hex(0xD8402F));
             });
         },
         1, true});
    p.push_back({"gfx/felder/unhappy.png",
                 [sign] {
                     return sign(TColor::Hex(0xE8902A), [](TCanvas& c) {
                         c.Fill(TShape::Circle(7.6f, 8.2f, 1.1f).Union(TShape::Circle(12.4f, 8.2f, 1.1f)),
                                TColor::Hex(0x2B3442));
                         c.Fill(TShape::Arc(10, 16.5f, 4.2f, 1.3f, 235, 305), TColor::Hex(0x2B3442));
                     });
                 },
                 1, true});
    p.push_back({"gfx/felder/nojob.png",
                 [sign] {
                     return sign(TColor::Hex(0x3E7FD0), [](TCanvas& c) {
                         c.Fill(TShape::RoundRect(5, 8, 10, 7, 1.2f), TColor::Hex(0x8A5A34));
                         c.Fill(TShape::RoundRect(8, 6, 4, 3, 1).Outline(1.0f), TColor::Hex(0x5E3C22));
                         c.Fill(TShape::Line(5, 15, 15, 5, 1.6f), TColor::Hex(0xD8402F));
                     });
                 },
                 1, true});
    p.push_back({"gfx/felder/defaultworkerpic.png",
                 [] { return Worker(24, TColor::Hex(0x3E6FB0), TColor::Hex(0xF2C230)); }, 1, true});
}
