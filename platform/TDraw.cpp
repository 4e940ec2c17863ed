#include "platform/TDraw.h"

#include <algorithm>
#include <cmath>

#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TPixmap.h"
#include "platform/TSpriteBatch.h"

namespace {
constexpr uint32_t WhiteTexture = 0;

TRenderBackend* Device() { return TSpriteBatch::Instance().Backend(); }

// Reports the operation to a recording back end; costs nothing otherwise.
void Record(TDrawCall::Kind kind, const void* source, int32_t frame, float x, float y, float w, float h, float handleX,
            float handleY, const std::string& text = std::string()) {
    TRenderBackend* device = Device();
    if (!device || !device->Records()) return;
    const TDrawState& s = DrawState();
    TDrawCall c;
    c.kind = kind;
    c.source = source;
    c.frame = frame;
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.text = text;
    c.r = s.color_red;
    c.g = s.color_green;
    c.b = s.color_blue;
    c.alpha = s.color_alpha;
    c.blend = s.blend_mode;
    c.rotation = s.tform_rot;
    c.scaleX = s.tform_scale_x;
    c.scaleY = s.tform_scale_y;
    c.originX = s.origin_x;
    c.originY = s.origin_y;
    c.handleX = handleX;
    c.handleY = handleY;
    c.viewportX = s.viewport_x;
    c.viewportY = s.viewport_y;
    c.viewportW = s.viewport_w;
    c.viewportH = s.viewport_h;
    device->Record(c);
}

TVertex Transformed(float lx, float ly, float x, float y, float u, float v, uint32_t rgba) {
    const TDrawState& s = DrawState();
    return TVertex{lx * s.tform_ix + ly * s.tform_iy + x + s.origin_x,
                   lx * s.tform_jx + ly * s.tform_jy + y + s.origin_y, u, v, rgba};
}

// A rectangle in local coordinates, transformed and placed at (x, y).
void EmitQuad(uint32_t texture, float lx0, float ly0, float lx1, float ly1, float x, float y, float u0, float v0,
              float u1, float v1) {
    const uint32_t rgba = DrawState().PackedColor();
    const TVertex q[4] = {Transformed(lx0, ly0, x, y, u0, v0, rgba), Transformed(lx1, ly0, x, y, u1, v0, rgba),
                          Transformed(lx1, ly1, x, y, u1, v1, rgba), Transformed(lx0, ly1, x, y, u0, v1, rgba)};
    TSpriteBatch::Instance().AddQuad(texture, DrawState().blend_mode, q);
}

// A convex outline of local points, filled as a fan.
void EmitFan(const std::vector<float>& local, float x, float y) {
    const size_t n = local.size() / 2;
    if (n < 3) return;
    const uint32_t rgba = DrawState().PackedColor();
    std::vector<TVertex> tris;
    tris.reserve((n - 2) * 3);
    const TVertex first = Transformed(local[0], local[1], x, y, 0, 0, rgba);
    for (size_t i = 1; i + 1 < n; ++i) {
        tris.push_back(first);
        tris.push_back(Transformed(local[i * 2], local[i * 2 + 1], x, y, 0, 0, rgba));
        tris.push_back(Transformed(local[i * 2 + 2], local[i * 2 + 3], x, y, 0, 0, rgba));
    }
    TSpriteBatch::Instance().Add(WhiteTexture, DrawState().blend_mode, tris.data(), tris.size());
}

bool& Trimming() {
    static bool on = true;
    return on;
}

std::vector<std::shared_ptr<TImage>>& FrameImages() {
    static std::vector<std::shared_ptr<TImage>> images;
    return images;
}
}  // namespace

void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame) {
    if (!image || !Device()) return;
    Record(TDrawCall::Image, image.get(), frame, x, y, float(image->width), float(image->height), image->handle_x,
           image->handle_y);
    const TImageFrame* f = image->Frame(frame);
    if (!f) return;
    const float x0 = -image->handle_x, y0 = -image->handle_y;
    const int32_t blend = DrawState().blend_mode;
    if (!Trimming() || (blend != ALPHABLEND && blend != LIGHTBLEND && blend != MASKBLEND)) {
        EmitQuad(f->texture, x0, y0, x0 + float(image->width), y0 + float(image->height), x, y, f->u0, f->v0, f->u1,
                 f->v1);
        return;
    }
    const TImage::TTrim& t = image->Trim(frame);
    if (t.x1 <= t.x0) return;  // nothing visible
    // At the frame's own edges the very same coordinates as the whole quad: a scaled frame then
    // samples the same texels there.
    const auto along = [](int32_t at, int32_t size, float a0, float a1) {
        return at == 0 ? a0 : at == size ? a1 : a0 + (a1 - a0) * float(at) / float(size);
    };
    const int32_t w = image->width, h = image->height;
    EmitQuad(f->texture, x0 + float(t.x0), y0 + float(t.y0), x0 + float(t.x1), y0 + float(t.y1), x, y,
             along(t.x0, w, f->u0, f->u1), along(t.y0, h, f->v0, f->v1), along(t.x1, w, f->u0, f->u1),
             along(t.y1, h, f->v0, f->v1));
}

void SetImageTrimming(bool on) { Trimming() = on; }

void DrawImageRect(const std::shared_ptr<TImage>& image, float x, float y, float width, float height, int32_t frame) {
    if (!image || !Device()) return;
    Record(TDrawCall::ImageRect, image.get(), frame, x, y, width, height, image->handle_x, image->handle_y);
    const TImageFrame* f = image->Frame(frame);
    if (!f) return;
    const float x0 = -image->handle_x * width / float(image->width);
    const float y0 = -image->handle_y * height / float(image->height);
    EmitQuad(f->texture, x0, y0, x0 + width, y0 + height, x, y, f->u0, f->v0, f->u1, f->v1);
}

void TileImage(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame) {
    if (!image || !Device()) return;
    Record(TDrawCall::TileImage, image.get(), frame, x, y, float(image->width), float(image->height), image->handle_x,
           image->handle_y);
    const TImageFrame* f = image->Frame(frame);
    if (!f) return;
    const TDrawState& s = DrawState();
    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(vx, vy, vw, vh);
    const float w = float(image->width), h = float(image->height);
    // First tile at or left of / above the viewport's corner.
    const float ax = x + s.origin_x - image->handle_x, ay = y + s.origin_y - image->handle_y;
    const float startX = ax + std::floor((float(vx) - ax) / w) * w;
    const float startY = ay + std::floor((float(vy) - ay) / h) * h;
    const uint32_t rgba = s.PackedColor();
    for (float ty = startY; ty < float(vy + vh); ty += h) {
        for (float tx = startX; tx < float(vx + vw); tx += w) {
            const TVertex q[4] = {{tx, ty, f->u0, f->v0, rgba},
                                  {tx + w, ty, f->u1, f->v0, rgba},
                                  {tx + w, ty + h, f->u1, f->v1, rgba},
                                  {tx, ty + h, f->u0, f->v1, rgba}};
            TSpriteBatch::Instance().AddQuad(f->texture, s.blend_mode, q);
        }
    }
}

void DrawImageArea(TImage& image, int32_t frame, float sx, float sy, float sw, float sh, float x, float y, float localX,
                   float localY) {
    const TImageFrame* f = image.Frame(frame);
    if (!f) return;
    const TDrawState& s = DrawState();
    const float du = (f->u1 - f->u0) / float(image.width), dv = (f->v1 - f->v0) / float(image.height);
    const float lx0 = localX - s.handle_x, ly0 = localY - s.handle_y;
    EmitQuad(f->texture, lx0, ly0, lx0 + sw, ly0 + sh, x, y, f->u0 + sx * du, f->v0 + sy * dv, f->u0 + (sx + sw) * du,
             f->v0 + (sy + sh) * dv);
}

void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, float x, float y) {
    if (!pixmap || !Device()) return;
    Record(TDrawCall::Pixmap, pixmap.get(), 0, x, y, float(pixmap->width), float(pixmap->height), 0, 0);
    auto image = TImage::FromPixmap(pixmap, 0);
    if (!image) return;
    // The temporary texture must outlive the batch that draws it.
    FrameImages().push_back(image);
    const TImageFrame* f = image->Frame(0);
    if (!f) return;
    const uint32_t rgba = DrawState().PackedColor();
    const float ax = x + DrawState().origin_x, ay = y + DrawState().origin_y;
    const float w = float(pixmap->width), h = float(pixmap->height);
    const TVertex q[4] = {{ax, ay, f->u0, f->v0, rgba},
                          {ax + w, ay, f->u1, f->v0, rgba},
                          {ax + w, ay + h, f->u1, f->v1, rgba},
                          {ax, ay + h, f->u0, f->v1, rgba}};
    TSpriteBatch::Instance().AddQuad(f->texture, DrawState().blend_mode, q);
}

void DrawRect(float x, float y, float width, float height) {
    if (!Device()) return;
    const TDrawState& s = DrawState();
    Record(TDrawCall::Rect, nullptr, 0, x, y, width, height, s.handle_x, s.handle_y);
    const float x0 = -s.handle_x, y0 = -s.handle_y;
    EmitQuad(WhiteTexture, x0, y0, x0 + width, y0 + height, x, y, 0, 0, 1, 1);
}

void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel) {
    if (!Device()) return;
    const TDrawState& s = DrawState();
    Record(TDrawCall::Line, nullptr, 0, x1, y1, x2 - x1, y2 - y1, s.handle_x, s.handle_y);
    float dx = x2 - x1, dy = y2 - y1;
    const float len = std::sqrt(dx * dx + dy * dy);
    const float ux = len > 0 ? dx / len : 1.0f, uy = len > 0 ? dy / len : 0.0f;
    if (drawLastPixel) {
        dx += ux;
        dy += uy;
    }
    // A band of the line width centred on the line, in local coordinates.
    const float half = std::max(s.line_width, 1.0f) / 2.0f;
    const float nx = -uy * half, ny = ux * half;
    const float ax = -s.handle_x, ay = -s.handle_y;
    EmitFan({ax + nx, ay + ny, ax + dx + nx, ay + dy + ny, ax + dx - nx, ay + dy - ny, ax - nx, ay - ny}, x1, y1);
}

void DrawOval(float x, float y, float width, float height) {
    if (!Device()) return;
    const TDrawState& s = DrawState();
    Record(TDrawCall::Oval, nullptr, 0, x, y, width, height, s.handle_x, s.handle_y);
    const float rx = width / 2.0f, ry = height / 2.0f;
    const float cx = rx - s.handle_x, cy = ry - s.handle_y;
    const int32_t segments = std::clamp(static_cast<int32_t>(std::fabs(rx) + std::fabs(ry)), 12, 96);
    std::vector<float> pts;
    pts.reserve(static_cast<size_t>(segments) * 2);
    for (int32_t i = 0; i < segments; ++i) {
        const double a = 2.0 * M_PI * i / segments;
        pts.push_back(cx + rx * static_cast<float>(std::cos(a)));
        pts.push_back(cy + ry * static_cast<float>(std::sin(a)));
    }
    EmitFan(pts, x, y);
}

void DrawPoly(const std::vector<float>& xy) {
    if (!Device() || xy.size() < 6) return;
    const TDrawState& s = DrawState();
    Record(TDrawCall::Poly, nullptr, 0, xy[0], xy[1], 0, 0, s.handle_x, s.handle_y);
    std::vector<float> local(xy);
    for (size_t i = 0; i + 1 < local.size(); i += 2) {
        local[i] -= s.handle_x;
        local[i + 1] -= s.handle_y;
    }
    EmitFan(local, 0, 0);
}

void Plot(float x, float y) {
    if (!Device()) return;
    const TDrawState& s = DrawState();
    Record(TDrawCall::Plot, nullptr, 0, x, y, 1, 1, 0, 0);
    const float ax = x + s.origin_x, ay = y + s.origin_y;
    const uint32_t rgba = s.PackedColor();
    const TVertex q[4] = {
        {ax, ay, 0, 0, rgba}, {ax + 1, ay, 1, 0, rgba}, {ax + 1, ay + 1, 1, 1, rgba}, {ax, ay + 1, 0, 1, rgba}};
    TSpriteBatch::Instance().AddQuad(WhiteTexture, s.blend_mode, q);
}

void DrawText(const std::string& text, float x, float y) {
    const std::shared_ptr<TImageFont>& font = DrawState().image_font;
    if (!font || !Device()) return;
    Record(TDrawCall::Text, font.get(), 0, x, y, font->TextWidth(text), float(font->Height()), DrawState().handle_x,
           DrawState().handle_y, text);
    font->Draw(text, x, y);
}

float TextWidth(const std::string& text) {
    const std::shared_ptr<TImageFont>& font = DrawState().image_font;
    return font ? font->TextWidth(text) : 0.0f;
}

float TextHeight(const std::string&) {
    const std::shared_ptr<TImageFont>& font = DrawState().image_font;
    return font ? float(font->Height()) : 0.0f;
}

void EndFrameResources() { FrameImages().clear(); }
