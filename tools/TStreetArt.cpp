#include "tools/TStreetArt.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "framework/TNoise.h"
#include "tools/TIsoKit.h"

namespace {
using O = TIsoKit::TOrigin;

// The frame table of the road layer: connections c0 … c3 as bits → frame.
constexpr int32_t FrameOfSides[16] = {20, 4, 6, 9, 5, 0, 10, 19, 7, 8, 1, 17, 11, 16, 18, 12};
// Mask frame of each street frame (the road layer's mask table).
constexpr int32_t MaskOfFrame[21] = {5, 0, 0, 0, 3, 4, 2, 1, 10, 13, 12, 11, 14, 0, 0, 0, 7, 6, 8, 9, 0};

TPoint EdgeMid(const O& o, int32_t d, float z = 0) {
    static const float a[4] = {0.5f, 1.0f, 0.5f, 0.0f}, b[4] = {0.0f, 0.5f, 1.0f, 0.5f};
    return o.At(a[d], b[d], z);
}

TCanvas Strip(int32_t frames, int32_t w, int32_t h, const std::function<void(TCanvas&, int32_t, float)>& paint) {
    TCanvas strip(frames * w, h);
    for (int32_t f = 0; f < frames; ++f) paint(strip, f, static_cast<float>(f * w));
    return strip;
}
}  // namespace

TStreetArt::TStyle TStreetArt::StyleNamed(const std::string& name) {
    TStyle s;
    if (name == "avenue") {
        s.asphalt = 0x6E7178;
        s.line = 0xF0C53A;
        s.kerb = 0xC9C5BA;
        s.halfWidth = 0.30f;
        s.sidewalk = 0.12f;
    }
    return s;
}

int32_t TStreetArt::FrameSides(int32_t frame) {
    for (int32_t sides = 0; sides < 16; ++sides)
        if (FrameOfSides[sides] == frame) return sides;
    return -1;
}

void TStreetArt::PaintTile(TCanvas& c, float ox, float oy, const TStyle& st, int32_t sides) {
    const O o{ox, oy};
    const float w = st.halfWidth, sw = st.sidewalk;
    const int32_t count = __builtin_popcount(static_cast<unsigned>(sides));
    // Signed distance-like test: inside the carriageway grown by g.
    auto inside = [&](float a, float b, float g) {
        const float da = std::fabs(a - 0.5f), db = std::fabs(b - 0.5f);
        if (count == 0) return std::sqrt(da * da + db * db) < 0.36f + g;
        bool in = count >= 2 ? (da < w + g && db < w + g) : (std::sqrt(da * da + db * db) < w + g);
        if ((sides & 1) && b <= 0.5f && da < w + g) in = true;
        if ((sides & 4) && b >= 0.5f && da < w + g) in = true;
        if ((sides & 2) && a >= 0.5f && db < w + g) in = true;
        if ((sides & 8) && a <= 0.5f && db < w + g) in = true;
        return in;
    };
    const TColor asphalt = TColor::Hex(st.asphalt), line = TColor::Hex(st.line), kerb = TColor::Hex(st.kerb);
    TIsoKit::ShadeFlat(c, o, 0, 0, 1, 1, 0, [&](float a, float b) {
        if (!inside(a, b, sw + 0.035f)) return TColor{};
        if (!inside(a, b, sw)) return kerb.Darker(0.35f);
        if (!inside(a, b, 0.0f)) {
            const bool joint = std::fmod((a + b) * 8.0f, 1.0f) < 0.12f;
            return joint ? kerb.Darker(0.12f) : kerb;
        }
        const float da = std::fabs(a - 0.5f), db = std::fabs(b - 0.5f);
        const bool centre = da < w && db < w;
        // Centre lines along each arm, dashed; none across the junction itself.
        const bool junction = count >= 3;
        const bool alongB = ((sides & 1) && b < 0.5f) || ((sides & 4) && b > 0.5f);
        const bool alongA = ((sides & 2) && a > 0.5f) || ((sides & 8) && a < 0.5f);
        if (!(junction && centre)) {
            if (alongB && da < 0.03f && (!st.dashed || std::fmod(b * 4.0f + 0.25f, 1.0f) < 0.5f)) return line;
            if (alongA && db < 0.03f && (!st.dashed || std::fmod(a * 4.0f + 0.25f, 1.0f) < 0.5f)) return line;
            // Straight lines through curves and single tiles keep the lane visible.
            if (count == 2 && !(alongA && alongB) && centre && (alongA ? db : da) < 0.03f) return line;
        }
        if (count == 4 && centre && (da > w - 0.06f || db > w - 0.06f) &&
            std::fmod((da > w - 0.06f ? b : a) * 10.0f, 1.0f) < 0.5f)
            return TColor::Hex(0xECECE6);  // zebra crossings at the crossing
        const float grit = vesko::TNoise::Hash(static_cast<int32_t>(a * 26), static_cast<int32_t>(b * 26), 91);
        const TColor base = asphalt.Mix(asphalt.Lighter(0.1f), (1.0f - a + b) * 0.35f);
        return grit > 0.9f ? base.Lighter(0.08f) : (grit < 0.08f ? base.Darker(0.08f) : base);
    });
}

TCanvas TStreetArt::Street(const TStyle& style) {
    return Strip(40, TIsoKit::TileW, TIsoKit::TileH, [&](TCanvas& c, int32_t f, float x) {
        const int32_t sides = FrameSides(f);
        PaintTile(c, x, 8.0f, style, sides < 0 ? 0 : sides);  // unused frames repeat the lone tile
    });
}

TCanvas TStreetArt::TrafficLights() {
    return Strip(4, 32, 32, [](TCanvas& c, int32_t phase, float x) {
        const O o{x, 24.0f};
        // Phase 0: along map x green; 1: yellow; 2: along map y green; 3: yellow.
        const TColor red = TColor::Hex(0xE8402E), yellow = TColor::Hex(0xF5C02A), green = TColor::Hex(0x43C85A);
        const TColor alongX = phase == 0 ? green : (phase == 1 ? yellow : red);
        const TColor alongY = phase == 2 ? green : (phase == 3 ? yellow : red);
        const struct {
            float a, b;
            bool x;
        } poles[4] = {{0.1f, 0.9f, false}, {0.9f, 0.9f, true}, {0.1f, 0.1f, true}, {0.9f, 0.1f, false}};
        for (const auto& p : poles) {
            const TPoint base = o.At(p.a, p.b);
            c.Fill(TShape::Rect(base.x - 0.5f, base.y - 11, 1.2f, 11), TColor::Hex(0x3A3D44));
            c.Fill(TShape::RoundRect(base.x - 1.6f, base.y - 15, 3.4f, 5, 0.8f), TColor::Hex(0x22252B));
            c.Fill(TShape::Circle(base.x + 0.1f, base.y - 12.5f, 1.15f), p.x ? alongX : alongY);
        }
    });
}

TCanvas TStreetArt::Bridge(const TStyle& st, const std::string& kind, int32_t height) {
    const float H = static_cast<float>(height);
    const bool wood = kind == "wood", steel = kind == "steel";
    const TColor deckSide = TColor::Hex(wood ? 0x7A5230 : (steel ? 0x59626E : 0xA8A49A));
    const TColor pillar = TColor::Hex(wood ? 0x6B4526 : (steel ? 0x7F8893 : 0xB9B4A8));
    const TColor rail = TColor::Hex(wood ? 0x8E6238 : (steel ? 0x3C6FA8 : 0xD6D2C8));
    const TColor surface = wood ? TColor::Hex(0x9C7447) : TColor::Hex(st.asphalt);
    const float w = st.halfWidth + 0.04f;
    return Strip(19, 32, 48, [&](TCanvas& c, int32_t f, float x) {
        const O o{x, 40.0f};
        // Which way the piece runs and what it is.
        int32_t dir = -1, column = -1;
        bool front = false;
        if (f <= 3) {
            static const int32_t rampDir[4] = {2, 0, 3, 1};
            dir = rampDir[f];
            column = 0;
        } else if (f >= 4 && f <= 10 && f != 7) {
            dir = 0;
            column = f <= 6 ? 7 - f : 11 - f;
            front = f >= 8;
        } else if (f >= 12 && f != 15) {
            dir = 1;
            column = f <= 14 ? 15 - f : 19 - f;
            front = f >= 16;
        } else {
            // Unused frames carry a plain span so that no frame is empty.
            dir = 0;
            column = 3;
        }
        const bool alongB = (dir % 2) == 0;
        // Deck height at a point of the tile: ramps climb towards their direction.
        auto lift = [&](float a, float b) {
            if (column != 0) return H;
            switch (dir) {
                case 0: return H * (1.0f - b);
                case 2: return H * b;
                case 1: return H * a;
                default: return H * (1.0f - a);
            }
        };
        auto at = [&](float along, float across, float dz) {
            const float a = alongB ? across : along, b = alongB ? along : across;
            return o.At(a, b, lift(a, b) + dz);
        };
        const float lo = 0.5f - w, hi = 0.5f + w;
        if (front) {
            // The railing on the near side (drawn over the cars).
            const float side = alongB ? hi : lo;
            c.Fill(TIsoKit::Quad(at(0, side, 0), at(1, side, 0), at(1, side, 3.5f), at(0, side, 3.5f)).Outline(0.9f),
                   rail.Darker(0.15f));
            for (int32_t i = 0; i <= 4; ++i) {
                const TPoint p = at(i / 4.0f, side, 0);
                c.Fill(TShape::Rect(p.x - 0.5f, p.y - 4, 1.0f, 4), rail.Darker(0.3f));
            }
            if (steel && column == 2) {
                const TPoint p0 = at(0, side, 0), p1 = at(1, side, 0), top = at(0.5f, side, 12);
                c.Fill(TShape::Polyline({p0, top, p1}, 1.6f), rail);
            }
            return;
        }
        // Pillars stand in the water under span column 2 and under the ramp's outer end.
        if (column == 2 || column == 0) {
            const float along = column == 2 ? 0.5f : (dir == 0 || dir == 3 ? 0.15f : 0.85f);
            if (column == 2 || true) {
                const TPoint top = at(along, 0.5f, -2.5f);
                const TPoint bottom = alongB ? o.At(0.5f, along, -3) : o.At(along, 0.5f, -3);
                if (column == 2) {
                    c.Fill(TShape::Rect(top.x - 3, top.y, 6, bottom.y - top.y).Grow(0.5f), pillar.Darker(0.55f));
                    c.Fill(TShape::Rect(top.x - 3, top.y, 3, bottom.y - top.y), pillar);
                    c.Fill(TShape::Rect(top.x, top.y, 3, bottom.y - top.y), TIsoKit::RightFace(pillar));
                }
            }
        }
        // The deck: its visible side, then the road surface, then the far railing.
        const float side = alongB ? hi : lo;
        c.Fill(TIsoKit::Quad(at(0, side, -2.5f), at(1, side, -2.5f), at(1, side, 0), at(0, side, 0)).Grow(0.4f),
               deckSide.Darker(0.5f));
        c.Fill(TIsoKit::Quad(at(0, side, -2.5f), at(1, side, -2.5f), at(1, side, 0), at(0, side, 0)),
               alongB ? TIsoKit::RightFace(deckSide) : TIsoKit::LeftFace(deckSide));
        const TShape deck = TIsoKit::Quad(at(0, lo, 0), at(1, lo, 0), at(1, hi, 0), at(0, hi, 0));
        c.Fill(deck.Grow(0.4f), deckSide.Darker(0.45f));
        c.Fill(deck, surface);
        if (wood) {
            for (int32_t i = 1; i < 6; ++i) {
                const TPoint p0 = at(i / 6.0f, lo, 0), p1 = at(i / 6.0f, hi, 0);
                c.Fill(TShape::Line(p0.x, p0.y, p1.x, p1.y, 0.5f), surface.Darker(0.3f));
            }
        } else {
            for (int32_t i = 0; i < 2; ++i) {
                const TPoint p0 = at(0.1f + i * 0.5f, 0.5f, 0), p1 = at(0.35f + i * 0.5f, 0.5f, 0);
                c.Fill(TShape::Line(p0.x, p0.y, p1.x, p1.y, 0.8f), TColor::Hex(st.line));
            }
        }
        const float far = alongB ? lo : hi;
        c.Fill(TIsoKit::Quad(at(0, far, 0), at(1, far, 0), at(1, far, 3.5f), at(0, far, 3.5f)).Outline(0.9f),
               rail.Darker(0.25f));
        if (column == 0) {
            // Ramps carry both railings themselves (there is no front frame for them).
            const float near = alongB ? hi : lo;
            c.Fill(TIsoKit::Quad(at(0, near, 0), at(1, near, 0), at(1, near, 3.5f), at(0, near, 3.5f)).Outline(0.9f),
                   rail.Darker(0.1f));
        }
        if (steel && column == 2) {
            const TPoint p0 = at(0, far, 0), p1 = at(1, far, 0), top = at(0.5f, far, 12);
            c.Fill(TShape::Polyline({p0, top, p1}, 1.6f), rail.Darker(0.2f));
        }
    });
}

TCanvas TStreetArt::DirectionMask() {
    return Strip(40, TIsoKit::TileW, TIsoKit::TileH, [](TCanvas& c, int32_t f, float x) {
        const O o{x, 8.0f};
        if (f >= 15 && f <= 17) {
            // Removal marks (frame 17 − kind): a coloured border with a cross.
            static const uint32_t tones[3] = {0xF0D030, 0xF08A2A, 0xE0402F};
            const TColor tone = TColor::Hex(tones[f - 15]);
            c.Fill(TIsoKit::Flat(o, 0, 0, 1, 1).Subtract(TIsoKit::Flat(o, 0.12f, 0.12f, 0.88f, 0.88f)), tone);
            const TPoint l = o.At(0.3f, 0.3f), r = o.At(0.7f, 0.7f), t = o.At(0.3f, 0.7f), btm = o.At(0.7f, 0.3f);
            c.Fill(TShape::Line(l.x, l.y, r.x, r.y, 1.6f).Union(TShape::Line(t.x, t.y, btm.x, btm.y, 1.6f)), tone);
            return;
        }
        int32_t sides = 15;
        for (int32_t frame = 0; frame <= 20; ++frame)
            if (frame != 13 && frame != 14 && frame != 15 && frame != 2 && frame != 3 && MaskOfFrame[frame] == f &&
                frame != 20)
                sides = FrameSides(frame);
        const bool unused = f > 17;
        const TColor tone = unused ? TColor::Hex(0x9AA0A8) : TColor::Hex(0x56E06A);
        const TPoint centre = o.At(0.5f, 0.5f);
        c.Fill(TShape::Circle(centre.x, centre.y, 2.0f), tone.Darker(0.5f));
        for (int32_t d = 0; d < 4; ++d) {
            if (!(sides & (1 << d))) continue;
            const TPoint e = EdgeMid(o, d);
            const TPoint tip{centre.x + (e.x - centre.x) * 0.85f, centre.y + (e.y - centre.y) * 0.85f};
            c.Fill(TShape::Line(centre.x, centre.y, tip.x, tip.y, 2.6f), tone.Darker(0.5f));
            c.Fill(TShape::Line(centre.x, centre.y, tip.x, tip.y, 1.4f), tone);
        }
        c.Fill(TShape::Circle(centre.x, centre.y, 1.3f), tone);
    });
}

TCanvas TStreetArt::WayPath() {
    // Frame → sides (bit d = the route continues towards side d); frame 2 is a one-tile route.
    static const int32_t sidesOf[12] = {5, 10, 0, 0, 1, 4, 2, 8, 9, 3, 6, 12};
    return Strip(12, TIsoKit::TileW, TIsoKit::TileH, [](TCanvas& c, int32_t f, float x) {
        const O o{x, 8.0f};
        const TPoint centre = o.At(0.5f, 0.5f);
        const int32_t sides = sidesOf[f];
        TShape path = TShape::Circle(centre.x, centre.y, f == 2 || f == 3 ? 2.6f : 1.2f);
        for (int32_t d = 0; d < 4; ++d) {
            if (!(sides & (1 << d))) continue;
            const TPoint e = EdgeMid(o, d);
            path = path.Union(TShape::Line(centre.x, centre.y, e.x, e.y, 2.2f));
        }
        // White so that the game's colour tints it; a dark rim keeps it visible on light roads.
        c.Fill(path.Grow(0.8f), TColor::Hex(0x3A3A3A));
        c.Fill(path, TColor::Hex(0xFFFFFF));
    });
}

void TStreetArt::AddTo(std::vector<TArtPicture>& p) {
    p.push_back({"gfx/verkehr/direction_possible.png", DirectionMask, 40, true});
    p.push_back({"gfx/felder/way_path.png", WayPath, 12, true});
}
