#include "tools/TIconKit.h"

#include <algorithm>
#include <cmath>

#include "tools/TArtPalette.h"

TCanvas TIconKit::Icon(int32_t size, float margin, const Painter& painter) {
    TCanvas layer(size, size);
    const float inner = static_cast<float>(size) - 2.0f * margin;
    layer.SetView(inner / 100.0f, margin, margin);
    painter(layer);
    const float shadowOffset = std::max(1.0f, size / 40.0f);
    return WithShadow(layer, 0.0f, shadowOffset, std::max(1.5f, size / 22.0f), 0.35f);
}

void TIconKit::InBox(TCanvas& canvas, float x, float y, float size, const Painter& painter) {
    const float scale = canvas.Scale(), ox = canvas.OffsetX(), oy = canvas.OffsetY();
    canvas.SetView(scale * size / 100.0f, ox + x * scale, oy + y * scale);
    painter(canvas);
    canvas.SetView(scale, ox, oy);
}

TCanvas TIconKit::WithShadow(const TCanvas& layer, float dx, float dy, float blur, float opacity) {
    TCanvas result(layer.Width(), layer.Height());
    const TCanvas shadow = layer.ShadowOf(TArtPalette::Ink.WithAlpha(opacity), blur);
    result.Composite(shadow, static_cast<int32_t>(std::lround(dx)), static_cast<int32_t>(std::lround(dy)));
    result.Composite(layer, 0, 0);
    return result;
}

TColor TIconKit::RimOf(const TColor& color) { return color.Mix(TArtPalette::Ink, 0.7f); }

void TIconKit::Part(TCanvas& canvas, const TShape& shape, const TColor& color, float rim) {
    if (rim > 0.0f) canvas.Fill(shape.Grow(rim), RimOf(color));
    Flat(canvas, shape, color);
}

void TIconKit::Flat(TCanvas& canvas, const TShape& shape, const TColor& color) {
    canvas.Fill(shape, TPaint::Vertical(shape.MinY(), shape.MaxY(), color.Lighter(0.22f), color.Darker(0.08f)));
}
