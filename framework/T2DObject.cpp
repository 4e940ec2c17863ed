#include "framework/T2DObject.h"

#include <cmath>
#include <numbers>

namespace vesko {

const T2DObject::TPolygon& T2DObject::AddPolygon(TPolygon polygon) {
    polygons.push_back(std::move(polygon));
    return polygons.back();
}

std::array<float, 2> T2DObject::ToWorld(float lx, float ly) const {
    const double a = double(rotation) * std::numbers::pi / 180.0;
    const double sx = double(lx) * scalex, sy = double(ly) * scaley;
    return {float(x + sx * std::cos(a) - sy * std::sin(a)), float(y + sx * std::sin(a) + sy * std::cos(a))};
}

bool T2DObject::Contains(float px, float py) const {
    if (scalex == 0 || scaley == 0) return false;
    // Back into the object's own coordinates: undo the position, the rotation, then the scale.
    const double a = -double(rotation) * std::numbers::pi / 180.0;
    const double dx = double(px) - x, dy = double(py) - y;
    const double lx = (dx * std::cos(a) - dy * std::sin(a)) / scalex;
    const double ly = (dx * std::sin(a) + dy * std::cos(a)) / scaley;
    for (const auto& poly : polygons) {
        bool inside = false;
        for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const double xi = poly[i][0], yi = poly[i][1], xj = poly[j][0], yj = poly[j][1];
            if ((yi > ly) != (yj > ly) && lx < (xj - xi) * (ly - yi) / (yj - yi) + xi) inside = !inside;
        }
        if (inside) return true;
    }
    return false;
}

}  // namespace vesko
