#include "platform/TTexelRuns.h"

#include <cmath>

namespace {
// Far below the 1/256 of a texel at which linear filtering would mix in a neighbour, far above the
// rounding of positions and texture coordinates up to a few thousand.
constexpr float Tolerance = 1.0f / 1024.0f;

bool Near(float a, float b) { return std::fabs(a - b) <= Tolerance; }
}  // namespace

bool TTexelRuns::Aligned(const TVertex* t, int32_t tw, int32_t th) {
    // Moved by whole pixels: position minus texel is the same whole number at every corner.
    const float ox = t[0].x - t[0].u * float(tw), oy = t[0].y - t[0].v * float(th);
    if (!Near(ox, std::round(ox)) || !Near(oy, std::round(oy))) return false;
    for (int32_t i = 1; i < 3; ++i)
        if (!Near(t[i].x - t[i].u * float(tw), ox) || !Near(t[i].y - t[i].v * float(th), oy)) return false;
    return true;
}

std::vector<TTexelRun> TTexelRuns::Split(const TVertex* v, size_t count, int32_t tw, int32_t th, size_t maxRuns) {
    std::vector<TTexelRun> runs;
    if (tw <= 0 || th <= 0) return {{0, count, false}};
    for (size_t i = 0; i + 3 <= count; i += 3) {
        const bool aligned = Aligned(v + i, tw, th);
        if (runs.empty() || runs.back().aligned != aligned) {
            if (runs.size() == maxRuns) return {{0, count, false}};
            runs.push_back({i, 0, aligned});
        }
        runs.back().count += 3;
    }
    return runs;
}
