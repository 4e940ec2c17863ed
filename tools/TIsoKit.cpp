#include "tools/TIsoKit.h"


#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/TNoise.h"
#include "platform/TStream.h"

TShape TIsoKit::Quad(TPoint p0, TPoint p1, TPoint p2, TPoint p3) { return TShape::Polygon({p0, p1, p2, p3}); }

TShape TIsoKit::Flat(const TOrigin& o, float a0, float b0, float a1, float b1, float z) {
    return Quad(o.At(a0, b0, z), o.At(a1, b0, z), o.At(a1, b1, z), o.At(a0, b1, z));
}

void TIsoKit::ShadeFlat(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z,
                        const Shader& shader) {
    const TPoint left = o.At(a0, b0, z), top = o.At(a0, b1, z), right = o.At(a1, b1, z), bottom = o.At(a1, b0, z);
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(left.x)));
    const int32_t x1 = std::min(canvas.Width(), static_cast<int32_t>(std::ceil(right.x)));
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(top.y)));
    const int32_t y1 = std::min(canvas.Height(), static_cast<int32_t>(std::ceil(bottom.y)));
    auto toMap = [&](float px, float py, float& a, float& b) {
        const float u = (px - o.ox) / TileW, v = (py - o.oy + z) / TileH;
        a = u + v;
        b = u - v;
    };
    for (int32_t py = y0; py < y1; ++py) {
        for (int32_t px = x0; px < x1; ++px) {
            int32_t inside = 0;
            for (int32_t sy = 0; sy < 4; ++sy) {
                for (int32_t sx = 0; sx < 4; ++sx) {
                    float a, b;
                    toMap(px + (sx + 0.5f) / 4.0f, py + (sy + 0.5f) / 4.0f, a, b);
                    if (a >= a0 && a <= a1 && b >= b0 && b <= b1) ++inside;
                }
            }
            if (inside == 0) continue;
            float a, b;
            toMap(px + 0.5f, py + 0.5f, a, b);
            a = std::clamp(a, a0, a1);
            b = std::clamp(b, b0, b1);
            canvas.Plot(px, py, shader(a, b), inside / 16.0f);
        }
    }
}

TShape TIsoKit::WallB(const TOrigin& o, float b, float a0, float a1, float z0, float z1) {
    return Quad(o.At(a0, b, z0), o.At(a1, b, z0), o.At(a1, b, z1), o.At(a0, b, z1));
}

TShape TIsoKit::WallA(const TOrigin& o, float a, float b0, float b1, float z0, float z1) {
    return Quad(o.At(a, b0, z0), o.At(a, b1, z0), o.At(a, b1, z1), o.At(a, b0, z1));
}

void TIsoKit::Box(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z0, float z1,
                  const TColor& wall, const TColor& top) {
    const TColor ink = wall.Darker(0.6f);
    // The silhouette one pixel larger in a dark tone keeps blocks readable on grass and water.
    const TShape silhouette =
        WallB(o, b0, a0, a1, z0, z1).Union(WallA(o, a1, b0, b1, z0, z1)).Union(Flat(o, a0, b0, a1, b1, z1));
    canvas.Fill(silhouette.Grow(0.5f), ink);
    canvas.Fill(WallB(o, b0, a0, a1, z0, z1), LeftFace(wall));
    canvas.Fill(WallA(o, a1, b0, b1, z0, z1), RightFace(wall));
    canvas.Fill(Flat(o, a0, b0, a1, b1, z1), top);
}

void TIsoKit::GableRoof(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z, float rise,
                        bool alongA, const TColor& roof, const TColor& gable) {
    const TColor ink = roof.Darker(0.62f);
    const float e = 0.06f;  // eaves overhang
    if (alongA) {
        const float bm = 0.5f * (b0 + b1), zr = z + rise;
        // Back slope (facing +b) first, then the gable end on the lower-right wall, then the front slope.
        const TShape back =
            Quad(o.At(a0 - e, bm, zr), o.At(a1 + e, bm, zr), o.At(a1 + e, b1 + e, z - 1), o.At(a0 - e, b1 + e, z - 1));
        const TShape front =
            Quad(o.At(a0 - e, b0 - e, z - 1), o.At(a1 + e, b0 - e, z - 1), o.At(a1 + e, bm, zr), o.At(a0 - e, bm, zr));
        const TShape end = TShape::Polygon({o.At(a1, b0, z), o.At(a1, b1, z), o.At(a1, bm, zr)});
        canvas.Fill(back.Union(front).Union(end).Grow(0.5f), ink);
        canvas.Fill(back, roof.Lighter(0.12f));
        canvas.Fill(end, RightFace(gable));
        canvas.Fill(front, roof.Darker(0.05f));
        canvas.Fill(TShape::Line(o.At(a0 - e, bm, zr).x, o.At(a0 - e, bm, zr).y, o.At(a1 + e, bm, zr).x,
                                 o.At(a1 + e, bm, zr).y, 0.8f),
                    roof.Lighter(0.35f));
    } else {
        const float am = 0.5f * (a0 + a1), zr = z + rise;
        // Upper-left slope (facing −a, towards the light) first, gable on the lower-left wall, then the
        // lower-right slope in shade.
        const TShape back =
            Quad(o.At(a0 - e, b0 - e, z - 1), o.At(am, b0 - e, zr), o.At(am, b1 + e, zr), o.At(a0 - e, b1 + e, z - 1));
        const TShape front =
            Quad(o.At(am, b0 - e, zr), o.At(a1 + e, b0 - e, z - 1), o.At(a1 + e, b1 + e, z - 1), o.At(am, b1 + e, zr));
        const TShape end = TShape::Polygon({o.At(a0, b0, z), o.At(a1, b0, z), o.At(am, b0, zr)});
        canvas.Fill(back.Union(front).Union(end).Grow(0.5f), ink);
        canvas.Fill(back, roof.Lighter(0.18f));
        canvas.Fill(end, LeftFace(gable));
        canvas.Fill(front, roof.Darker(0.22f));
        canvas.Fill(TShape::Line(o.At(am, b0 - e, zr).x, o.At(am, b0 - e, zr).y, o.At(am, b1 + e, zr).x,
                                 o.At(am, b1 + e, zr).y, 0.8f),
                    roof.Lighter(0.35f));
    }
}

void TIsoKit::HipRoof(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z, float rise,
                      const TColor& roof) {
    const float e = 0.05f;
    const TPoint apex = o.At(0.5f * (a0 + a1), 0.5f * (b0 + b1), z + rise);
    const TPoint l = o.At(a0 - e, b0 - e, z - 1), t = o.At(a0 - e, b1 + e, z - 1), r = o.At(a1 + e, b1 + e, z - 1),
                 btm = o.At(a1 + e, b0 - e, z - 1);
    canvas.Fill(TShape::Polygon({l, t, r, btm}).Union(TShape::Polygon({l, apex, r, btm})).Grow(0.5f),
                roof.Darker(0.62f));
    canvas.Fill(TShape::Polygon({l, t, apex}), roof.Lighter(0.2f));
    canvas.Fill(TShape::Polygon({t, r, apex}), roof.Lighter(0.05f));
    canvas.Fill(TShape::Polygon({l, apex, btm}), roof.Darker(0.05f));
    canvas.Fill(TShape::Polygon({btm, apex, r}), roof.Darker(0.25f));
}

void TIsoKit::Windows(TCanvas& canvas, const TOrigin& o, float a0, float b0, float a1, float b1, float z0, float z1,
                      int32_t floors, float spacing, const TColor& glass, bool lit) {
    if (floors <= 0) return;
    const float storey = (z1 - z0) / floors;
    const float wh = std::max(1.0f, storey * 0.5f);
    auto row = [&](float from, float to, const std::function<TShape(float, float, float, float)>& wall,
                   const TColor& tone, int32_t salt) {
        const int32_t count = std::max(1, static_cast<int32_t>((to - from) / spacing));
        const float step = (to - from) / count;
        for (int32_t f = 0; f < floors; ++f) {
            const float zb = z0 + f * storey + storey * 0.3f;
            for (int32_t i = 0; i < count; ++i) {
                const float c = from + (i + 0.5f) * step;
                const float half = std::min(step * 0.28f, 0.09f);
                const bool on = lit && vesko::TNoise::Hash(i + salt, f, 77) > 0.55f;
                canvas.Fill(wall(c - half, c + half, zb, zb + wh), on ? TColor::Hex(0xF7E08A) : tone);
            }
        }
    };
    row(
        a0, a1, [&](float s, float e, float za, float zb) { return WallB(o, b0, s, e, za, zb); }, LeftFace(glass), 3);
    row(
        b0, b1, [&](float s, float e, float za, float zb) { return WallA(o, a1, s, e, za, zb); }, RightFace(glass), 17);
}

std::shared_ptr<TPixmap> TIsoKit::Keyed(const TCanvas& canvas) {
    auto p = TPixmap::Create(canvas.Width(), canvas.Height());
    if (!p) return nullptr;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        uint32_t* row = p->Row(y);
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            const float* c = canvas.PixelAt(x, y);
            if (c[3] < 0.5f) {
                row[x] = Magenta;
                continue;
            }
            auto channel = [&](int i) {
                return static_cast<uint32_t>(std::clamp(std::lround(c[i] / c[3] * 255.0f), 0L, 255L));
            };
            uint32_t rgb = (channel(0) << 16) | (channel(1) << 8) | channel(2);
            if (rgb == (Magenta & 0xFFFFFFu)) rgb = 0xFE00FEu;  // a painted pixel never reads as transparent
            row[x] = 0xFF000000u | rgb;
        }
    }
    p->sourceHasAlpha = false;
    return p;
}

bool TIsoKit::SaveRGB(const TPixmap& pixmap, const std::string& path) {
    // A pixmap without alpha of its own is written as RGB, so magenta stays the mask colour.
    std::shared_ptr<TPixmap> rgb = pixmap.Copy();
    if (!rgb) return false;
    rgb->sourceHasAlpha = false;
    return SavePixmapPNG(*rgb, path, 9);
}
