#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/TTexelRuns.h"

namespace {

constexpr int32_t TW = 256, TH = 128;

// A quad as two triangles: texels (tx, ty) … (tx + w, ty + h) of a TW x TH texture drawn at
// (x, y), `scale` times as large, turned by `angle` (radians) around its first corner.
std::vector<TVertex> Quad(float x, float y, float tx, float ty, float w, float h, float scale = 1, float angle = 0) {
    const float c = std::cos(angle), s = std::sin(angle);
    auto corner = [&](float dx, float dy) {
        return TVertex{x + (dx * c - dy * s) * scale, y + (dx * s + dy * c) * scale, (tx + dx) / TW, (ty + dy) / TH,
                       0xFFFFFFFFu};
    };
    const TVertex a = corner(0, 0), b = corner(w, 0), d = corner(w, h), e = corner(0, h);
    return {a, b, d, a, d, e};
}

// The quad with its texels tx … tx + w swapped left for right.
std::vector<TVertex> Mirrored(std::vector<TVertex> quad, float tx, float w) {
    for (TVertex& v : quad) v.u = (2 * tx + w) / TW - v.u;
    return quad;
}

TEST(TexelRunsTest, OnlyTrianglesMovedByWholePixelsAreDrawnTexelForPixel) {
    struct TCase {
        const char* what;
        std::vector<TVertex> quad;
        bool aligned;
    };
    const TCase cases[] = {
        {"moved by whole pixels", Quad(100, 40, 16, 8, 32, 24), true},
        {"off the texel grid within rounding", Quad(100.0002f, 39.9998f, 16, 8, 32, 24), true},
        {"the frame's own corner at a whole pixel, far out", Quad(1900, 1070, 255, 127, 1, 1), true},
        {"half a pixel off", Quad(100.5f, 40, 16, 8, 32, 24), false},
        {"a hundredth of a pixel off", Quad(100, 40.01f, 16, 8, 32, 24), false},
        {"twice as large", Quad(100, 40, 16, 8, 32, 24, 2), false},
        {"half as large", Quad(100, 40, 16, 8, 32, 24, 0.5f), false},
        {"a quarter turn", Quad(100, 40, 16, 8, 32, 24, 1, 1.5707964f), false},
        {"mirrored", Mirrored(Quad(100, 40, 16, 8, 32, 24), 16, 32), false},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(c.aligned, TTexelRuns::Aligned(c.quad.data(), TW, TH)) << c.what << ", first triangle";
        EXPECT_EQ(c.aligned, TTexelRuns::Aligned(c.quad.data() + 3, TW, TH)) << c.what << ", second triangle";
    }
}

TEST(TexelRunsTest, ABatchSplitsIntoRunsOrIsDrawnFilteredThroughout) {
    const auto on = Quad(10, 10, 0, 0, 8, 8), off = Quad(10.5f, 10, 0, 0, 8, 8);
    auto batch = [](std::initializer_list<const std::vector<TVertex>*> quads) {
        std::vector<TVertex> v;
        for (const auto* q : quads) v.insert(v.end(), q->begin(), q->end());
        return v;
    };
    // Each run as {first, count, aligned}.
    auto split = [](const std::vector<TVertex>& v, size_t maxRuns, int32_t tw = TW) {
        std::vector<std::vector<size_t>> out;
        for (const TTexelRun& r : TTexelRuns::Split(v.data(), v.size(), tw, TH, maxRuns))
            out.push_back({r.first, r.count, size_t(r.aligned)});
        return out;
    };
    using R = std::vector<std::vector<size_t>>;
    EXPECT_EQ(split(batch({&on, &on}), 8), (R{{0, 12, 1}}));
    EXPECT_EQ(split(batch({&on, &on, &off, &on}), 8), (R{{0, 12, 1}, {12, 6, 0}, {18, 6, 1}}));
    // More runs than allowed: one filtered call for all.
    EXPECT_EQ(split(batch({&on, &off, &on, &off}), 3), (R{{0, 24, 0}}));
    // A texture of unknown size is drawn as it is.
    EXPECT_EQ(split(batch({&on}), 8, 0), (R{{0, 6, 0}}));
    EXPECT_TRUE(split({}, 8).empty());
}

}  // namespace
