#include "tools/TShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr float DegToRad = std::numbers::pi_v<float> / 180.0f;

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0.0f ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - (ax + dx * t), py - (ay + dy * t));
}

// Angle of (x, y) around the origin in degrees 0..360, clockwise from the +x axis.
float AngleOf(float x, float y) {
    float a = std::atan2(y, x) / DegToRad;
    return a < 0.0f ? a + 360.0f : a;
}

// True when angle a lies on the clockwise sweep from a0 to a1.
bool OnSweep(float a, float a0, float a1) {
    const float sweep = a1 - a0;
    if (sweep >= 360.0f) return true;
    float rel = std::fmod(a - a0, 360.0f);
    if (rel < 0.0f) rel += 360.0f;
    return rel <= sweep;
}

}  // namespace

TShape::TShape(Distance fn, float x0, float y0, float x1, float y1)
    : distance(std::make_shared<const Distance>(std::move(fn))), minX(x0), minY(y0), maxX(x1), maxY(y1) {}

TShape TShape::Circle(float cx, float cy, float r) {
    return TShape([=](float x, float y) { return std::hypot(x - cx, y - cy) - r; }, cx - r, cy - r, cx + r, cy + r);
}

TShape TShape::Ellipse(float cx, float cy, float rx, float ry) {
    // Quotient approximation of the ellipse distance; exact on the axes and close elsewhere.
    return TShape(
        [=](float x, float y) {
            const float px = (x - cx), py = (y - cy);
            const float k0 = std::hypot(px / rx, py / ry);
            const float k1 = std::hypot(px / (rx * rx), py / (ry * ry));
            if (k1 <= 1e-9f) return -std::min(rx, ry);
            return k0 * (k0 - 1.0f) / k1;
        },
        cx - rx, cy - ry, cx + rx, cy + ry);
}

TShape TShape::Rect(float x, float y, float w, float h) { return RoundRect(x, y, w, h, 0.0f); }

TShape TShape::RoundRect(float x, float y, float w, float h, float radius) {
    const float hw = w * 0.5f, hh = h * 0.5f;
    const float cx = x + hw, cy = y + hh;
    const float r = std::clamp(radius, 0.0f, std::min(hw, hh));
    return TShape(
        [=](float px, float py) {
            const float qx = std::fabs(px - cx) - hw + r;
            const float qy = std::fabs(py - cy) - hh + r;
            const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            return outside + std::min(std::max(qx, qy), 0.0f) - r;
        },
        x, y, x + w, y + h);
}

TShape TShape::Polygon(const std::vector<TPoint>& points) {
    float x0 = points.empty() ? 0.0f : points[0].x, x1 = x0;
    float y0 = points.empty() ? 0.0f : points[0].y, y1 = y0;
    for (const TPoint& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return TShape(
        [points](float x, float y) {
            if (points.size() < 3) return 1e9f;
            float best = 1e30f;
            bool inside = false;
            for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const TPoint& a = points[i];
                const TPoint& b = points[j];
                best = std::min(best, SegmentDistance(x, y, a.x, a.y, b.x, b.y));
                if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
            }
            return inside ? -best : best;
        },
        x0, y0, x1, y1);
}

TShape TShape::Line(float ax, float ay, float bx, float by, float width) {
    const float hw = width * 0.5f;
    return TShape([=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) - hw; }, std::min(ax, bx) - hw,
                  std::min(ay, by) - hw, std::max(ax, bx) + hw, std::max(ay, by) + hw);
}

TShape TShape::Polyline(const std::vector<TPoint>& points, float width) {
    TShape result = Line(points[0].x, points[0].y, points[0].x, points[0].y, width);
    for (size_t i = 1; i < points.size(); ++i)
        result = result.Union(Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, width));
    return result;
}

TShape TShape::Ring(float cx, float cy, float outer, float inner) {
    const float mid = (outer + inner) * 0.5f, half = (outer - inner) * 0.5f;
    return TShape([=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - mid) - half; }, cx - outer,
                  cy - outer, cx + outer, cy + outer);
}

TShape TShape::Arc(float cx, float cy, float r, float width, float a0, float a1) {
    const float hw = width * 0.5f;
    const float ex0 = cx + r * std::cos(a0 * DegToRad), ey0 = cy + r * std::sin(a0 * DegToRad);
    const float ex1 = cx + r * std::cos(a1 * DegToRad), ey1 = cy + r * std::sin(a1 * DegToRad);
    return TShape(
        [=](float x, float y) {
            if (OnSweep(AngleOf(x - cx, y - cy), a0, a1)) return std::fabs(std::hypot(x - cx, y - cy) - r) - hw;
            return std::min(std::hypot(x - ex0, y - ey0), std::hypot(x - ex1, y - ey1)) - hw;
        },
        cx - r - hw, cy - r - hw, cx + r + hw, cy + r + hw);
}

TShape TShape::Sector(float cx, float cy, float outer, float inner, float a0, float a1) {
    TShape ring = Ring(cx, cy, outer, inner);
    const float mid = (a0 + a1) * 0.5f * DegToRad;
    const float half = (a1 - a0) * 0.5f * DegToRad;
    // A wedge bounded by the two radial lines, as the intersection of two half planes.
    TShape wedge(
        [=](float x, float y) {
            const float px = x - cx, py = y - cy;
            const float along = px * std::cos(mid) + py * std::sin(mid);
            const float across = -px * std::sin(mid) + py * std::cos(mid);
            const float s = std::sin(half), c = std::cos(half);
            const float d1 = across * c - along * s;  // side towards a1
            const float d2 = -across * c - along * s;
            return std::max(d1, d2);
        },
        cx - outer, cy - outer, cx + outer, cy + outer);
    return ring.Intersect(wedge);
}

TShape TShape::Union(const TShape& other) const {
    auto a = distance, b = other.distance;
    return TShape([a, b](float x, float y) { return std::min((*a)(x, y), (*b)(x, y)); }, std::min(minX, other.minX),
                  std::min(minY, other.minY), std::max(maxX, other.maxX), std::max(maxY, other.maxY));
}

TShape TShape::Subtract(const TShape& other) const {
    auto a = distance, b = other.distance;
    return TShape([a, b](float x, float y) { return std::max((*a)(x, y), -(*b)(x, y)); }, minX, minY, maxX, maxY);
}

TShape TShape::Intersect(const TShape& other) const {
    auto a = distance, b = other.distance;
    return TShape([a, b](float x, float y) { return std::max((*a)(x, y), (*b)(x, y)); }, std::max(minX, other.minX),
                  std::max(minY, other.minY), std::min(maxX, other.maxX), std::min(maxY, other.maxY));
}

TShape TShape::Outline(float width) const {
    auto a = distance;
    const float hw = width * 0.5f;
    return TShape([a, hw](float x, float y) { return std::fabs((*a)(x, y)) - hw; }, minX - hw, minY - hw, maxX + hw,
                  maxY + hw);
}

TShape TShape::Grow(float amount) const {
    auto a = distance;
    const float g = std::max(amount, 0.0f);
    return TShape([a, amount](float x, float y) { return (*a)(x, y) - amount; }, minX - g, minY - g, maxX + g,
                  maxY + g);
}

TShape TShape::Translate(float dx, float dy) const {
    auto a = distance;
    return TShape([a, dx, dy](float x, float y) { return (*a)(x - dx, y - dy); }, minX + dx, minY + dy, maxX + dx,
                  maxY + dy);
}

TShape TShape::Rotate(float degrees, float cx, float cy) const {
    auto a = distance;
    const float c = std::cos(degrees * DegToRad), s = std::sin(degrees * DegToRad);
    // Bounds: the rotated corners of the old bounds.
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (float px : {minX, maxX}) {
        for (float py : {minY, maxY}) {
            const float rx = cx + (px - cx) * c - (py - cy) * s;
            const float ry = cy + (px - cx) * s + (py - cy) * c;
            x0 = std::min(x0, rx);
            x1 = std::max(x1, rx);
            y0 = std::min(y0, ry);
            y1 = std::max(y1, ry);
        }
    }
    return TShape(
        [a, c, s, cx, cy](float x, float y) {
            const float px = x - cx, py = y - cy;
            return (*a)(cx + px * c + py * s, cy - px * s + py * c);
        },
        x0, y0, x1, y1);
}

TShape TShape::Scale(float factor, float cx, float cy) const {
    auto a = distance;
    return TShape(
        [a, factor, cx, cy](float x, float y) { return (*a)(cx + (x - cx) / factor, cy + (y - cy) / factor) * factor; },
        cx + (minX - cx) * factor, cy + (minY - cy) * factor, cx + (maxX - cx) * factor, cy + (maxY - cy) * factor);
}

TShape TShape::MirrorX(float axisX) const {
    auto a = distance;
    return TShape([a, axisX](float x, float y) { return (*a)(2.0f * axisX - x, y); }, 2.0f * axisX - maxX, minY,
                  2.0f * axisX - minX, maxY);
}
