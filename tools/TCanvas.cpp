#include "tools/TCanvas.h"

#include <algorithm>
#include <cmath>

TCanvas::TCanvas(int32_t w, int32_t h)
    : width(std::max(w, 1)), height(std::max(h, 1)), pixels(static_cast<size_t>(width) * height * 4, 0.0f) {}

void TCanvas::SetDesignSize(float designSize) {
    SetView(static_cast<float>(std::min(width, height)) / designSize, 0.0f, 0.0f);
}

void TCanvas::SetView(float newScale, float newOffsetX, float newOffsetY) {
    scale = newScale;
    offsetX = newOffsetX;
    offsetY = newOffsetY;
}

void TCanvas::BlendPixel(size_t index, const TColor& color, float coverage) {
    const float a = color.a * coverage;
    if (a <= 0.0f) return;
    float* p = &pixels[index];
    const float keep = 1.0f - a;
    p[0] = color.r * a + p[0] * keep;
    p[1] = color.g * a + p[1] * keep;
    p[2] = color.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void TCanvas::Fill(const TShape& shape, const TPaint& paint, float opacity) {
    // Pixel bounds of the shape with one pixel of margin for the anti-aliased edge.
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(shape.MinX() * scale + offsetX)) - 1);
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(shape.MinY() * scale + offsetY)) - 1);
    const int32_t x1 = std::min(width, static_cast<int32_t>(std::ceil(shape.MaxX() * scale + offsetX)) + 1);
    const int32_t y1 = std::min(height, static_cast<int32_t>(std::ceil(shape.MaxY() * scale + offsetY)) + 1);
    for (int32_t py = y0; py < y1; ++py) {
        const float dy = (py + 0.5f - offsetY) / scale;
        for (int32_t px = x0; px < x1; ++px) {
            const float dx = (px + 0.5f - offsetX) / scale;
            const float coverage = std::clamp(0.5f - shape.DistanceAt(dx, dy) * scale, 0.0f, 1.0f) * opacity;
            if (coverage <= 0.0f) continue;
            BlendPixel((static_cast<size_t>(py) * width + px) * 4, paint.At(dx, dy), coverage);
        }
    }
}

void TCanvas::Erase(const TShape& shape, float amount) {
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(shape.MinX() * scale + offsetX)) - 1);
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(shape.MinY() * scale + offsetY)) - 1);
    const int32_t x1 = std::min(width, static_cast<int32_t>(std::ceil(shape.MaxX() * scale + offsetX)) + 1);
    const int32_t y1 = std::min(height, static_cast<int32_t>(std::ceil(shape.MaxY() * scale + offsetY)) + 1);
    for (int32_t py = y0; py < y1; ++py) {
        const float dy = (py + 0.5f - offsetY) / scale;
        for (int32_t px = x0; px < x1; ++px) {
            const float dx = (px + 0.5f - offsetX) / scale;
            const float coverage = std::clamp(0.5f - shape.DistanceAt(dx, dy) * scale, 0.0f, 1.0f) * amount;
            float* p = &pixels[(static_cast<size_t>(py) * width + px) * 4];
            for (int i = 0; i < 4; ++i) p[i] *= 1.0f - coverage;
        }
    }
}

void TCanvas::FillMask(const std::vector<float>& mask, int32_t maskWidth, int32_t maskHeight, int32_t x, int32_t y,
                       const TPaint& paint, float opacity) {
    for (int32_t my = 0; my < maskHeight; ++my) {
        const int32_t py = y + my;
        if (py < 0 || py >= height) continue;
        for (int32_t mx = 0; mx < maskWidth; ++mx) {
            const int32_t px = x + mx;
            if (px < 0 || px >= width) continue;
            const float coverage = mask[static_cast<size_t>(my) * maskWidth + mx] * opacity;
            if (coverage <= 0.0f) continue;
            const TColor color = paint.At((px + 0.5f - offsetX) / scale, (py + 0.5f - offsetY) / scale);
            BlendPixel((static_cast<size_t>(py) * width + px) * 4, color, coverage);
        }
    }
}

void TCanvas::Composite(const TCanvas& source, int32_t x, int32_t y, float opacity) {
    for (int32_t sy = 0; sy < source.height; ++sy) {
        const int32_t py = y + sy;
        if (py < 0 || py >= height) continue;
        for (int32_t sx = 0; sx < source.width; ++sx) {
            const int32_t px = x + sx;
            if (px < 0 || px >= width) continue;
            const float* s = source.PixelAt(sx, sy);
            float* d = &pixels[(static_cast<size_t>(py) * width + px) * 4];
            const float keep = 1.0f - s[3] * opacity;
            for (int i = 0; i < 4; ++i) d[i] = s[i] * opacity + d[i] * keep;
        }
    }
}

void TCanvas::CompositeScaled(const TCanvas& source, float x, float y, float w, float h, float opacity) {
    if (w <= 0.0f || h <= 0.0f) return;
    const float stepX = source.width / w, stepY = source.height / h;
    // Enough samples per destination pixel to average a reduced picture without aliasing.
    const int32_t samplesX = std::clamp(static_cast<int32_t>(std::ceil(stepX)), 1, 8);
    const int32_t samplesY = std::clamp(static_cast<int32_t>(std::ceil(stepY)), 1, 8);
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(x)));
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(y)));
    const int32_t x1 = std::min(width, static_cast<int32_t>(std::ceil(x + w)));
    const int32_t y1 = std::min(height, static_cast<int32_t>(std::ceil(y + h)));
    auto sample = [&](float sx, float sy, float* out) {
        // Bilinear read with clamped edges, in premultiplied space.
        sx = std::clamp(sx - 0.5f, 0.0f, static_cast<float>(source.width - 1));
        sy = std::clamp(sy - 0.5f, 0.0f, static_cast<float>(source.height - 1));
        const int32_t ix = static_cast<int32_t>(sx), iy = static_cast<int32_t>(sy);
        const int32_t jx = std::min(ix + 1, source.width - 1), jy = std::min(iy + 1, source.height - 1);
        const float fx = sx - ix, fy = sy - iy;
        for (int i = 0; i < 4; ++i) {
            const float top = source.PixelAt(ix, iy)[i] * (1 - fx) + source.PixelAt(jx, iy)[i] * fx;
            const float bottom = source.PixelAt(ix, jy)[i] * (1 - fx) + source.PixelAt(jx, jy)[i] * fx;
            out[i] += top * (1 - fy) + bottom * fy;
        }
    };
    for (int32_t py = y0; py < y1; ++py) {
        for (int32_t px = x0; px < x1; ++px) {
            float acc[4] = {0, 0, 0, 0};
            for (int32_t j = 0; j < samplesY; ++j) {
                for (int32_t i = 0; i < samplesX; ++i) {
                    const float sx = (px - x + (i + 0.5f) / samplesX) * stepX;
                    const float sy = (py - y + (j + 0.5f) / samplesY) * stepY;
                    sample(sx, sy, acc);
                }
            }
            const float n = static_cast<float>(samplesX * samplesY);
            float* d = &pixels[(static_cast<size_t>(py) * width + px) * 4];
            const float keep = 1.0f - acc[3] / n * opacity;
            for (int i = 0; i < 4; ++i) d[i] = acc[i] / n * opacity + d[i] * keep;
        }
    }
}

TCanvas TCanvas::ShadowOf(const TColor& color, float blurRadius) const {
    TCanvas shadow(width, height);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const float a = pixels[i + 3] * color.a;
        shadow.pixels[i + 0] = color.r * a;
        shadow.pixels[i + 1] = color.g * a;
        shadow.pixels[i + 2] = color.b * a;
        shadow.pixels[i + 3] = a;
    }
    shadow.Blur(blurRadius);
    return shadow;
}

void TCanvas::BoxBlurPass(int32_t radius, bool horizontal) {
    const int32_t lines = horizontal ? height : width;
    const int32_t length = horizontal ? width : height;
    std::vector<float> line(static_cast<size_t>(length) * 4);
    for (int32_t l = 0; l < lines; ++l) {
        auto at = [&](int32_t k) -> float* {
            const int32_t px = horizontal ? k : l, py = horizontal ? l : k;
            return &pixels[(static_cast<size_t>(py) * width + px) * 4];
        };
        for (int32_t k = 0; k < length; ++k) std::copy(at(k), at(k) + 4, &line[static_cast<size_t>(k) * 4]);
        // Pixels outside count as transparent, so the blur spreads beyond hard edges.
        // A running sum over the window keeps the cost independent of the radius.
        float sum[4] = {0, 0, 0, 0};
        for (int32_t q = 0; q <= std::min(radius, length - 1); ++q)
            for (int i = 0; i < 4; ++i) sum[i] += line[static_cast<size_t>(q) * 4 + i];
        const float norm = 1.0f / static_cast<float>(2 * radius + 1);
        for (int32_t k = 0; k < length; ++k) {
            float* d = at(k);
            for (int i = 0; i < 4; ++i) d[i] = sum[i] * norm;
            const int32_t enter = k + radius + 1, leave = k - radius;
            for (int i = 0; i < 4; ++i) {
                if (enter < length) sum[i] += line[static_cast<size_t>(enter) * 4 + i];
                if (leave >= 0) sum[i] -= line[static_cast<size_t>(leave) * 4 + i];
            }
        }
    }
}

void TCanvas::Blur(float radius) {
    const int32_t r = static_cast<int32_t>(std::lround(radius / 1.7f));
    if (r <= 0) return;
    for (int pass = 0; pass < 3; ++pass) {
        BoxBlurPass(r, true);
        BoxBlurPass(r, false);
    }
}

std::shared_ptr<TPixmap> TCanvas::ToPixmap() const {
    std::shared_ptr<TPixmap> pixmap = TPixmap::Create(width, height);
    if (!pixmap) return nullptr;
    auto toByte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = pixmap->Row(y);
        for (int32_t x = 0; x < width; ++x) {
            const float* p = PixelAt(x, y);
            const float a = std::clamp(p[3], 0.0f, 1.0f);
            const uint32_t alpha = toByte(a);
            if (alpha == 0) {
                row[x] = 0;
                continue;
            }
            row[x] = (alpha << 24) | (toByte(p[0] / a) << 16) | (toByte(p[1] / a) << 8) | toByte(p[2] / a);
        }
    }
    return pixmap;
}

TCanvas TCanvas::FromPixmap(const TPixmap& pixmap) {
    TCanvas canvas(pixmap.width, pixmap.height);
    for (int32_t y = 0; y < pixmap.height; ++y) {
        for (int32_t x = 0; x < pixmap.width; ++x) {
            const uint32_t c = pixmap.ReadPixel(x, y);
            const float a = (c >> 24) / 255.0f;
            float* p = &canvas.pixels[(static_cast<size_t>(y) * canvas.width + x) * 4];
            p[0] = ((c >> 16) & 255) / 255.0f * a;
            p[1] = ((c >> 8) & 255) / 255.0f * a;
            p[2] = (c & 255) / 255.0f * a;
            p[3] = a;
        }
    }
    return canvas;
}
