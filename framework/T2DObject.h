#pragma once
#include <array>
#include <memory>
#include <vector>

class TPixmap;

namespace vesko {

// A 2-D geometry object: polygons in its own coordinates, placed by a position, a scale and a
// rotation (degrees) about that position, and the pixel buffers that show it.
class T2DObject {
public:
    using TPolygon = std::vector<std::array<float, 2>>;

    static std::shared_ptr<T2DObject> Create() { return std::make_shared<T2DObject>(); }
    void addPixmap(std::shared_ptr<TPixmap> pixmap) { pixmaps.push_back(std::move(pixmap)); }
    // Adds a polygon and returns it.
    const TPolygon& AddPolygon(TPolygon polygon);
    // Whether the screen point lies inside any polygon (even-odd rule per polygon).
    bool Contains(float px, float py) const;
    // The screen point of a point in the object's own coordinates.
    std::array<float, 2> ToWorld(float lx, float ly) const;

    std::vector<TPolygon> polygons;
    float x = 0, y = 0;
    float scalex = 1, scaley = 1;
    float rotation = 0;
    std::vector<std::shared_ptr<TPixmap>> pixmaps;
};

}  // namespace vesko
