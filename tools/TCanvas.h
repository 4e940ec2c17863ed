#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/TPixmap.h"
#include "tools/TColor.h"
#include "tools/TPaint.h"
#include "tools/TShape.h"

// A floating-point RGBA raster with premultiplied alpha that shapes are painted onto with
// anti-aliasing. Shapes and paints are given in design units; the view maps them to pixels
// (pixel = design × scale + offset), so one drawing routine serves any output size.
class TCanvas {
public:
    TCanvas(int32_t width, int32_t height);

    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    float Scale() const { return scale; }
    float OffsetX() const { return offsetX; }
    float OffsetY() const { return offsetY; }
    // Maps the design square 0..designSize onto the whole canvas (its shorter side).
    void SetDesignSize(float designSize);
    void SetView(float scale, float offsetX, float offsetY);

    void Fill(const TShape& shape, const TPaint& paint, float opacity = 1.0f);
    // Removes coverage (destination-out): cuts holes through what is already painted.
    void Erase(const TShape& shape, float amount = 1.0f);
    // Paints a coverage mask (one float per pixel, row-major, pixel units at x, y).
    void FillMask(const std::vector<float>& mask, int32_t maskWidth, int32_t maskHeight, int32_t x, int32_t y,
                  const TPaint& paint, float opacity = 1.0f);

    // Source-over of another canvas with its top left at pixel (x, y).
    void Composite(const TCanvas& source, int32_t x, int32_t y, float opacity = 1.0f);
    // Source-over of another canvas resampled into the pixel rectangle (x, y, w, h).
    void CompositeScaled(const TCanvas& source, float x, float y, float w, float h, float opacity = 1.0f);
    // A new canvas holding this canvas' alpha as the given colour, blurred by radius pixels.
    TCanvas ShadowOf(const TColor& color, float blurRadius) const;
    // Approximately Gaussian blur by three box passes.
    void Blur(float radius);

    // Blends one colour into one pixel (pixel units, source-over); pixels outside are ignored.
    void Plot(int32_t x, int32_t y, const TColor& color, float coverage = 1.0f) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        BlendPixel((static_cast<size_t>(y) * width + x) * 4, color, coverage);
    }
    // Premultiplied channels of one pixel (r, g, b, a).
    const float* PixelAt(int32_t x, int32_t y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    std::shared_ptr<TPixmap> ToPixmap() const;
    static TCanvas FromPixmap(const TPixmap& pixmap);

private:
    void BlendPixel(size_t index, const TColor& color, float coverage);
    void BoxBlurPass(int32_t radius, bool horizontal);

    int32_t width;
    int32_t height;
    float scale = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    std::vector<float> pixels;
};
