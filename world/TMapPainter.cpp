#include "world/TMapPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "framework/TNoise.h"
#include "platform/TPixmap.h"
#include "world/TMapColours.h"

using vesko::TNoise;

namespace {
constexpr float Pi = 3.14159265358979f;

// What a tile of the painted map holds; the tree kinds follow Trees.
enum TTile : uint8_t { Land, River, Lake, Trees };

struct TLake {
    float u = 0, t = 0, radius = 1;
    float cosA = 1, sinA = 0, stretch = 1;
    // The squared distance from the middle in radii: below 1 inside the undisturbed ellipse.
    float Distance2(float pu, float pt) const {
        const float du = pu - u, dt = pt - t;
        const float a = (du * cosA + dt * sinA) * stretch, b = (dt * cosA - du * sinA) / stretch;
        return (a * a + b * b) / (radius * radius);
    }
};

// Spreads the seed's bits, so that neighbouring seeds give unrelated maps. The result leaves room
// for the small offsets that pick the noise fields without overflowing.
int32_t MixSeed(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<int32_t>(h & 0x3FFFFFFFu);
}

// The value that exactly `count` of the values reach (ties aside; the values are reordered): a
// share of a field becomes a threshold, so the share of water or forest is what was asked for
// whatever the noise did.
float TopThreshold(std::vector<float>& values, size_t count) {
    if (count == 0) return std::numeric_limits<float>::infinity();
    if (count >= values.size()) return -std::numeric_limits<float>::infinity();
    const auto nth = values.begin() + static_cast<std::ptrdiff_t>(values.size() - count);
    std::nth_element(values.begin(), nth, values.end());
    return *nth;
}

}  // namespace

std::shared_ptr<TPixmap> TMapPainter::Paint(uint32_t seed, int32_t size) {
    const int32_t n = std::clamp(size, MinSize, MaxSize);
    auto map = TPixmap::Create(n, n);
    if (!map) return nullptr;
    const int32_t s = MixSeed(seed);
    const float fn = static_cast<float>(n);
    auto rnd = [s](int32_t k) { return TNoise::Hash(k, 0x5EED, s); };
    // Painted across (u) and along (t) the river; the river runs top to bottom or left to right.
    std::vector<uint8_t> tile(static_cast<size_t>(n) * static_cast<size_t>(n), Land);
    auto at = [&](int32_t u, int32_t t) -> uint8_t& { return tile[static_cast<size_t>(t) * n + u]; };

    // The river: a centre line drifting from the middle third of one edge to the middle third of
    // the opposite edge and swinging with low-frequency noise, stamped with a disc at least every
    // third of a tile, so the water band has no gap even where the river runs almost sideways.
    const int32_t baseWidth = std::clamp(3 + static_cast<int32_t>(std::floor(std::log2(fn / 128.0f))), 3, 6);
    const float from = fn * (0.35f + 0.3f * rnd(1)), to = fn * (0.35f + 0.3f * rnd(2));
    const float swing = fn * (0.3f + 0.15f * rnd(3)), wave = fn * (0.16f + 0.1f * rnd(4));
    const float bend = 4.0f * static_cast<float>(baseWidth);
    auto centre = [&](float t) {
        return from + (to - from) * t / fn + swing * (TNoise::Fbm(t / wave, 0.5f, s + 11, 2) - 0.5f) +
               bend * (TNoise::Noise(t / (3.0f * bend), 1.5f, s + 12) - 0.5f);
    };
    auto width = [&](float t) {
        return static_cast<float>(std::min(6, baseWidth + (TNoise::Noise(t / 24.0f, 2.5f, s + 13) > 0.62f)));
    };
    int64_t riverTiles = 0;
    auto stamp = [&](float pu, float pt, float r) {
        const int32_t u0 = std::max(0, static_cast<int32_t>(std::floor(pu - r)));
        const int32_t u1 = std::min(n - 1, static_cast<int32_t>(std::ceil(pu + r)));
        const int32_t t0 = std::max(0, static_cast<int32_t>(std::floor(pt - r)));
        const int32_t t1 = std::min(n - 1, static_cast<int32_t>(std::ceil(pt + r)));
        for (int32_t t = t0; t <= t1; ++t)
            for (int32_t u = u0; u <= u1; ++u) {
                const float du = u + 0.5f - pu, dt = t + 0.5f - pt;
                if (du * du + dt * dt > r * r || at(u, t) == River) continue;
                at(u, t) = River;
                ++riverTiles;
            }
    };
    for (float t = -4.0f; t < fn + 4.0f; t += 1.0f) {
        const float c0 = centre(t), c1 = centre(t + 1.0f), r = 0.5f * width(t);
        const int32_t steps = std::max(3, static_cast<int32_t>(std::ceil(std::fabs(c1 - c0) / 0.3f)));
        for (int32_t i = 0; i < steps; ++i) {
            const float f = static_cast<float>(i) / static_cast<float>(steps);
            stamp(c0 + (c1 - c0) * f, t + f, r);
        }
    }

    // The town's clearing: on the wider bank, halfway between the river and the map's edge;
    // neither water nor trees within its radius, sparse trees up to half a radius beyond.
    const float clearT = fn * (0.3f + 0.4f * rnd(5));
    const float bankEdge = centre(clearT), halfRiver = 0.5f * static_cast<float>(baseWidth);
    const float clearU = bankEdge > fn - bankEdge ? 0.5f * (bankEdge - halfRiver) : 0.5f * (bankEdge + halfRiver + fn);
    const float clearR = std::max(10.0f, fn / 9.0f);
    auto clearing = [&](float u, float t) {
        const float du = u - clearU, dt = t - clearT, outer = 1.5f * clearR;
        if (du * du + dt * dt >= outer * outer) return 0.0f;
        return std::clamp((outer - std::sqrt(du * du + dt * dt)) / (0.5f * clearR), 0.0f, 1.0f);
    };

    // Lakes: a few wobbly ellipses (more on larger maps) sharing the water the river leaves of
    // the map's water share; the lake field's threshold is chosen so that exactly that share is water.
    const int32_t lakeCount = static_cast<int32_t>((3.0f + 3.0f * rnd(6)) * std::sqrt(fn / 128.0f));
    const float waterShare = 0.10f + 0.05f * rnd(7);
    const float lakeArea = std::max(0.0f, waterShare * fn * fn - static_cast<float>(riverTiles));
    std::vector<float> weights(lakeCount);
    float weightSum = 0;
    for (int32_t i = 0; i < lakeCount; ++i) weightSum += weights[i] = 0.2f + 2.0f * rnd(20 + i) * rnd(40 + i);
    std::vector<TLake> lakes;
    for (int32_t i = 0; i < lakeCount; ++i) {
        TLake lake;
        lake.radius = std::max(1.0f, std::sqrt(lakeArea * weights[i] / weightSum / Pi));
        const float angle = Pi * rnd(60 + i);
        lake.cosA = std::cos(angle);
        lake.sinA = std::sin(angle);
        lake.stretch = 1.0f + 0.6f * rnd(80 + i);
        constexpr int32_t tries = 40;
        for (int32_t k = 0; k < tries; ++k) {
            lake.u = fn * (0.08f + 0.84f * rnd(1000 + i * 100 + 2 * k));
            lake.t = fn * (0.08f + 0.84f * rnd(1001 + i * 100 + 2 * k));
            bool apart = std::fabs(lake.u - centre(lake.t)) > 0.5f * lake.radius + baseWidth &&
                         std::hypot(lake.u - clearU, lake.t - clearT) > 1.2f * clearR + lake.radius;
            for (const TLake& other : lakes)
                apart = apart && std::hypot(lake.u - other.u, lake.t - other.t) > 0.8f * (lake.radius + other.radius);
            if (apart || k == tries - 1) break;
        }
        lakes.push_back(lake);
    }
    // The squared distance to the nearest lake's middle in its radii, counted up to two radii.
    std::vector<float> field(tile.size(), 4.0f), values;
    for (const TLake& lake : lakes) {
        const float reach = 2.0f * lake.radius * lake.stretch;
        const int32_t u0 = std::max(0, static_cast<int32_t>(lake.u - reach));
        const int32_t u1 = std::min(n - 1, static_cast<int32_t>(lake.u + reach));
        const int32_t t0 = std::max(0, static_cast<int32_t>(lake.t - reach));
        const int32_t t1 = std::min(n - 1, static_cast<int32_t>(lake.t + reach));
        for (int32_t t = t0; t <= t1; ++t)
            for (int32_t u = u0; u <= u1; ++u) {
                float& f = field[static_cast<size_t>(t) * n + u];
                f = std::min(f, lake.Distance2(u + 0.5f, t + 0.5f));
            }
    }
    values.reserve(tile.size());
    const float bay = 4.0f + fn / 64.0f;  // the shores' wobble grows with the lakes
    for (int32_t t = 0; t < n; ++t)
        for (int32_t u = 0; u < n; ++u) {
            float& f = field[static_cast<size_t>(t) * n + u];
            if (at(u, t) == River) {
                f = -std::numeric_limits<float>::infinity();
                continue;
            }
            const float pu = u + 0.5f, pt = t + 0.5f;
            const float depth = 1.0f - std::sqrt(f);  // 1 in a lake's middle, 0 on its shore
            const float shore = 0.5f * (TNoise::Fbm(pu / bay, pt / bay, s + 17, 2) - 0.5f);
            values.push_back(f = depth + shore - 3.0f * clearing(pu, pt));
        }
    const float lakeLevel = TopThreshold(values, static_cast<size_t>(std::lround(lakeArea)));
    for (size_t i = 0; i < tile.size(); ++i)
        if (tile[i] == Land && field[i] >= lakeLevel) tile[i] = Lake;

    // Forests: a noise field whose highest values on land become trees. The fine jitter thins
    // the trees towards a forest's edge, while its core stays dense.
    const float scale = 16.0f + fn / 32.0f;
    values.clear();
    for (int32_t t = 0; t < n; ++t)
        for (int32_t u = 0; u < n; ++u) {
            if (at(u, t) != Land) continue;
            const float pu = u + 0.5f, pt = t + 0.5f;
            const float density = TNoise::Fbm(pu / scale, pt / scale, s + 23, 3) - clearing(pu, pt) +
                                  0.14f * (TNoise::Hash(u, t, s + 29) - 0.5f);
            values.push_back(field[static_cast<size_t>(t) * n + u] = density);
        }
    const float forestShare = 0.22f + 0.06f * rnd(8);
    const float treeLine = TopThreshold(values, static_cast<size_t>(std::lround(forestShare * values.size())));
    // The tree kind follows large regions, mixed a little where they meet; every kind gets its share.
    values.clear();
    for (int32_t t = 0; t < n; ++t)
        for (int32_t u = 0; u < n; ++u) {
            float& f = field[static_cast<size_t>(t) * n + u];
            if (at(u, t) != Land || f < treeLine) continue;
            at(u, t) = Trees;
            f = TNoise::Fbm(u / (2.5f * scale), t / (2.5f * scale), s + 31, 2) +
                0.08f * (TNoise::Hash(u, t, s + 37) - 0.5f);
            values.push_back(f);
        }
    const float kindShares[3] = {0.7f, 0.45f, 0.2f};  // of the trees above each kind's lower edge
    float kindEdge[3];
    for (int32_t k = 0; k < 3; ++k)
        kindEdge[k] = TopThreshold(values, static_cast<size_t>(std::lround(kindShares[k] * values.size())));

    const bool alongY = rnd(0) < 0.5f;
    for (int32_t t = 0; t < n; ++t)
        for (int32_t u = 0; u < n; ++u) {
            const uint8_t kind = at(u, t);
            uint32_t colour = TMapColours::Land;
            if (kind == River) colour = TMapColours::River;
            if (kind == Lake) colour = TMapColours::Lake;
            if (kind == Trees) {
                const float f = field[static_cast<size_t>(t) * n + u];
                colour = TMapColours::Trees[(f >= kindEdge[0]) + (f >= kindEdge[1]) + (f >= kindEdge[2])];
            }
            map->WritePixel(alongY ? u : t, alongY ? t : u, 0xFF000000u | colour);
        }
    return map;
}

std::shared_ptr<TPixmap> TMapPainter::Preview(const TPixmap& map, int32_t px) {
    if (px < 1 || map.width <= 0 || map.height <= 0 || !map.pixels) return nullptr;
    auto preview = TPixmap::Create(px, px);
    if (!preview) return nullptr;
    auto colourOf = [](uint32_t argb) {
        switch (TMapColours::KindOf(argb)) {
            case TMapColours::TKind::Water: return PreviewWater;
            case TMapColours::TKind::Trees: return PreviewForest;
            case TMapColours::TKind::Street: return PreviewStreet;
            default: return PreviewLand;
        }
    };
    // The map rows or columns 0 … size - 1 that preview pixel i covers (at least one).
    auto span = [px](int32_t i, int32_t size, int32_t& first, int32_t& end) {
        first = static_cast<int32_t>(int64_t(i) * size / px);
        end = std::max(first + 1, static_cast<int32_t>(int64_t(i + 1) * size / px));
    };
    for (int32_t py = 0; py < px; ++py) {
        int32_t y0 = 0, y1 = 0;
        span(py, map.height, y0, y1);
        for (int32_t qx = 0; qx < px; ++qx) {
            int32_t x0 = 0, x1 = 0;
            span(qx, map.width, x0, x1);
            uint64_t r = 0, g = 0, b = 0, count = 0;
            for (int32_t y = y0; y < y1; ++y) {
                const uint32_t* row = map.Row(y);
                for (int32_t x = x0; x < x1; ++x) {
                    const uint32_t c = colourOf(row[x]);
                    r += (c >> 16) & 0xFF;
                    g += (c >> 8) & 0xFF;
                    b += c & 0xFF;
                    ++count;
                }
            }
            auto mean = [count](uint64_t sum) { return static_cast<uint32_t>((sum + count / 2) / count); };
            preview->WritePixel(qx, py, 0xFF000000u | mean(r) << 16 | mean(g) << 8 | mean(b));
        }
    }
    return preview;
}

int32_t TMapPainter::SizeOfSpec(const std::string& map) {
    if (map.compare(0, specPrefix.size(), specPrefix) != 0) return 0;
    const std::string digits = map.substr(specPrefix.size());
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(digits);
}
