#pragma once
#include <vector>

#include "tools/TColor.h"

// What a filled shape is coloured with: one colour, or a linear or radial gradient
// through colour stops. Positions are in the canvas' design units.
class TPaint {
public:
    TPaint(const TColor& color);  // implicit: a colour is a paint
    static TPaint Linear(float x0, float y0, float x1, float y1, const TColor& from, const TColor& to);
    // A vertical gradient from top (y0) to bottom (y1), the most common light in the icons.
    static TPaint Vertical(float y0, float y1, const TColor& top, const TColor& bottom);
    static TPaint Radial(float cx, float cy, float radius, const TColor& inner, const TColor& outer);
    // Adds a colour stop at t (0..1), or replaces the colour of the stop already at t.
    TPaint& Stop(float t, const TColor& color);

    TColor At(float x, float y) const;

private:
    enum class Kind { Solid, Linear, Radial };
    TPaint() = default;
    TColor Interpolate(float t) const;

    Kind kind = Kind::Solid;
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f, radius = 1.0f;
    std::vector<float> stopPositions;
    std::vector<TColor> stopColors;
};
