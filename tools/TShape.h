#pragma once
#include <functional>
#include <memory>
#include <vector>

struct TPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// A filled region given by its signed distance: negative inside, positive outside, in design
// units. Distances give exact anti-aliasing at any output size, and regions combine freely
// (union, cut-out, outline, rotation) while keeping that property well enough for drawing.
// Angles are in degrees, 0 pointing right and growing clockwise (y points down).
class TShape {
public:
    using Distance = std::function<float(float, float)>;

    TShape(Distance distance, float minX, float minY, float maxX, float maxY);

    float DistanceAt(float x, float y) const { return (*distance)(x, y); }
    float MinX() const { return minX; }
    float MinY() const { return minY; }
    float MaxX() const { return maxX; }
    float MaxY() const { return maxY; }

    static TShape Circle(float cx, float cy, float r);
    static TShape Ellipse(float cx, float cy, float rx, float ry);
    static TShape Rect(float x, float y, float w, float h);
    static TShape RoundRect(float x, float y, float w, float h, float radius);
    // Any simple or self-touching polygon; inside follows the even-odd rule.
    static TShape Polygon(const std::vector<TPoint>& points);
    // A straight stroke with round caps.
    static TShape Line(float x0, float y0, float x1, float y1, float width);
    static TShape Polyline(const std::vector<TPoint>& points, float width);
    // The band between two radii around a centre.
    static TShape Ring(float cx, float cy, float outer, float inner);
    // A stroke along a circle from angle a0 to a1 (clockwise), with round caps.
    static TShape Arc(float cx, float cy, float r, float width, float a0, float a1);
    // A slice of a ring between two angles, with straight (radial) ends.
    static TShape Sector(float cx, float cy, float outer, float inner, float a0, float a1);

    TShape Union(const TShape& other) const;
    TShape Subtract(const TShape& other) const;
    TShape Intersect(const TShape& other) const;
    // The band of the given width centred on the outline.
    TShape Outline(float width) const;
    // Grows the shape by amount (shrinks for a negative amount).
    TShape Grow(float amount) const;
    TShape Translate(float dx, float dy) const;
    TShape Rotate(float degrees, float cx, float cy) const;
    // Scales about (cx, cy) uniformly.
    TShape Scale(float factor, float cx, float cy) const;
    TShape MirrorX(float axisX) const;

private:
    std::shared_ptr<const Distance> distance;
    float minX, minY, maxX, maxY;
};
