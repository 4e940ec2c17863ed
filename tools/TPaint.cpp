#include "tools/TPaint.h"

#include <algorithm>
#include <cmath>

TPaint::TPaint(const TColor& color) {
    stopPositions = {0.0f};
    stopColors = {color};
}

TPaint TPaint::Linear(float ax, float ay, float bx, float by, const TColor& from, const TColor& to) {
    TPaint paint;
    paint.kind = Kind::Linear;
    paint.x0 = ax;
    paint.y0 = ay;
    paint.x1 = bx;
    paint.y1 = by;
    paint.Stop(0.0f, from).Stop(1.0f, to);
    return paint;
}

TPaint TPaint::Vertical(float top, float bottom, const TColor& topColor, const TColor& bottomColor) {
    return Linear(0.0f, top, 0.0f, bottom, topColor, bottomColor);
}

TPaint TPaint::Radial(float cx, float cy, float r, const TColor& inner, const TColor& outer) {
    TPaint paint;
    paint.kind = Kind::Radial;
    paint.x0 = cx;
    paint.y0 = cy;
    paint.radius = std::max(r, 1e-6f);
    paint.Stop(0.0f, inner).Stop(1.0f, outer);
    return paint;
}

TPaint& TPaint::Stop(float t, const TColor& color) {
    // Kept sorted by position; a stop at the position of an existing one replaces its colour.
    size_t i = 0;
    while (i < stopPositions.size() && stopPositions[i] < t - 1e-6f) ++i;
    if (i < stopPositions.size() && stopPositions[i] <= t + 1e-6f) {
        stopColors[i] = color;
        return *this;
    }
    stopPositions.insert(stopPositions.begin() + static_cast<std::ptrdiff_t>(i), t);
    stopColors.insert(stopColors.begin() + static_cast<std::ptrdiff_t>(i), color);
    return *this;
}

TColor TPaint::Interpolate(float t) const {
    if (stopColors.size() == 1 || t <= stopPositions.front()) return stopColors.front();
    for (size_t i = 1; i < stopPositions.size(); ++i) {
        if (t <= stopPositions[i]) {
            const float span = stopPositions[i] - stopPositions[i - 1];
            const float f = span > 0.0f ? (t - stopPositions[i - 1]) / span : 1.0f;
            return stopColors[i - 1].Mix(stopColors[i], f);
        }
    }
    return stopColors.back();
}

TColor TPaint::At(float x, float y) const {
    switch (kind) {
        case Kind::Solid: return stopColors.front();
        case Kind::Linear: {
            const float dx = x1 - x0, dy = y1 - y0;
            const float len2 = dx * dx + dy * dy;
            const float t = len2 > 0.0f ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0.0f;
            return Interpolate(std::clamp(t, 0.0f, 1.0f));
        }
        case Kind::Radial: {
            const float t = std::hypot(x - x0, y - y0) / radius;
            return Interpolate(std::clamp(t, 0.0f, 1.0f));
        }
    }
    return stopColors.front();
}
