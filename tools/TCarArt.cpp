#include "tools/TCarArt.h"

#include <algorithm>
#include <vector>

#include "tools/TIsoKit.h"

namespace {
struct TPart {
    float u0, u1, v0, v1, z0, z1;  // along the driving direction (front > 0), across, up
    TColor wall, top;
};
}  // namespace

TCanvas TCarArt::Vehicle(const std::string& kind, uint32_t colour) {
    const TColor body = TColor::Hex(colour), glass = TColor::Hex(0x2E3E52), dark = TColor::Hex(0x1E1F22);
    float L = 0.36f, W = 0.17f;
    std::vector<TPart> parts;
    if (kind == "bus") {
        L = 0.62f, W = 0.2f;
        parts.push_back({-L / 2, L / 2, -W / 2, W / 2, 1.5f, 5.5f, glass, body});
        parts.push_back({-L / 2, L / 2, -W / 2, W / 2, 5.5f, 8.5f, body, body.Lighter(0.2f)});
    } else if (kind == "truck" || kind == "tanker") {
        L = 0.6f, W = 0.2f;
        parts.push_back({L / 2 - 0.16f, L / 2, -W / 2, W / 2, 1.5f, 7.5f, body, body.Lighter(0.15f)});
        const TColor cargo = kind == "tanker" ? TColor::Hex(0xD9DCE0) : TColor::Hex(0xB8A27A);
        parts.push_back({-L / 2, L / 2 - 0.19f, -W / 2, W / 2, 1.5f, 9.0f, cargo, cargo.Lighter(0.15f)});
    } else if (kind == "van") {
        L = 0.4f;
        parts.push_back({-L / 2, L / 2, -W / 2, W / 2, 1.5f, 5.0f, body, body});
        parts.push_back({-L / 2, L / 2 - 0.08f, -W / 2, W / 2, 5.0f, 7.5f, glass, body.Lighter(0.2f)});
    } else {
        const bool sports = kind == "sports";
        parts.push_back({-L / 2, L / 2, -W / 2, W / 2, 1.5f, sports ? 3.5f : 4.0f, body, body.Lighter(0.1f)});
        parts.push_back({-L / 2 + 0.07f, L / 2 - 0.11f, -W / 2 + 0.015f, W / 2 - 0.015f, sports ? 3.5f : 4.0f,
                         sports ? 5.5f : 6.5f, glass, body.Lighter(0.25f)});
    }
    TCanvas strip(4 * 32, 24);
    for (int32_t f = 0; f < 4; ++f) {
        const TIsoKit::TOrigin o{f * 32.0f, 16.0f};
        // Driving direction of frame f in map terms: 0 → +b, 1 → +a, 2 → −b, 3 → −a.
        auto toMap = [f](float u, float v, float& a, float& b) {
            switch (f) {
                case 0: a = 0.5f - v, b = 0.5f + u; break;
                case 1: a = 0.5f + u, b = 0.5f + v; break;
                case 2: a = 0.5f + v, b = 0.5f - u; break;
                default: a = 0.5f - u, b = 0.5f - v; break;
            }
        };
        auto box = [&](const TPart& p) {
            float a0, b0, a1, b1;
            toMap(p.u0, p.v0, a0, b0);
            toMap(p.u1, p.v1, a1, b1);
            TIsoKit::Box(strip, o, std::min(a0, a1), std::min(b0, b1), std::max(a0, a1), std::max(b0, b1), p.z0, p.z1,
                         p.wall, p.top);
        };
        // Wheels and shadow first, then the parts from the back of the screen to the front.
        box({-L / 2 + 0.03f, L / 2 - 0.03f, -W / 2 + 0.01f, W / 2 - 0.01f, 0.0f, 1.6f, dark, dark});
        std::vector<TPart> order = parts;
        std::stable_sort(order.begin(), order.end(), [&](const TPart& x, const TPart& y) {
            float ax, bx, ay, by;
            toMap(0.5f * (x.u0 + x.u1), 0, ax, bx);
            toMap(0.5f * (y.u0 + y.u1), 0, ay, by);
            if (x.z0 != y.z0 && (x.u0 <= y.u0 && x.u1 >= y.u1)) return x.z0 < y.z0;
            return (ax - bx) < (ay - by);
        });
        for (const TPart& p : order) box(p);
        // Headlights on the front when it faces the viewer.
        float a, b;
        toMap(L / 2, 0, a, b);
        if (f == 1 || f == 2) {
            float a1, b1, a2, b2;
            toMap(L / 2, -W / 3, a1, b1);
            toMap(L / 2, W / 3, a2, b2);
            for (const TPoint& q : {o.At(a1, b1, 2.6f), o.At(a2, b2, 2.6f)})
                strip.Fill(TShape::Circle(q.x, q.y, 0.7f), TColor::Hex(0xFFF2B0));
        }
    }
    return strip;
}
