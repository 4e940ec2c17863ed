#pragma once
#include <functional>
#include <memory>

#include "platform/TPixmap.h"
#include "tools/TCanvas.h"

// Shared helpers of every icon family: the icon frame (design square, margin, soft drop
// shadow) and the way a symbol part is filled (dark rim, light-to-dark body).
class TIconKit {
public:
    using Painter = std::function<void(TCanvas&)>;

    // Renders painter's design square 0..100 into the inner part of a size × size picture
    // (margin pixels left free on every side) and lays a soft shadow under it.
    static TCanvas Icon(int32_t size, float margin, const Painter& painter);
    // The same on an existing layer: draws painter's design square 0..100 into the box
    // (x, y, size) given in the layer's current design units.
    static void InBox(TCanvas& canvas, float x, float y, float size, const Painter& painter);
    // Adds a soft drop shadow under what the layer holds (pixel offsets).
    static TCanvas WithShadow(const TCanvas& layer, float dx, float dy, float blur, float opacity);

    // A symbol part: a dark rim of the given width around the shape, then the body with a
    // gentle top-to-bottom light.
    static void Part(TCanvas& canvas, const TShape& shape, const TColor& color, float rim = 4.0f);
    // The same without rim, for details on a part.
    static void Flat(TCanvas& canvas, const TShape& shape, const TColor& color);
    // The rim colour that goes with a body colour.
    static TColor RimOf(const TColor& color);
};
