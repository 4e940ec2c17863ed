#include "platform/TDrawState.h"

#include <algorithm>
#include <cmath>

#include "platform/TSpriteBatch.h"

namespace {
uint8_t ClampByte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

void UpdateMatrix(TDrawState& s) {
    const double rad = double(s.tform_rot) * M_PI / 180.0;
    const float c = static_cast<float>(std::cos(rad)), sn = static_cast<float>(std::sin(rad));
    s.tform_ix = c * s.tform_scale_x;
    s.tform_iy = -sn * s.tform_scale_y;
    s.tform_jx = sn * s.tform_scale_x;
    s.tform_jy = c * s.tform_scale_y;
}
}  // namespace

uint32_t TDrawState::PackedColor() const {
    const int32_t a = static_cast<int32_t>(std::lround(std::clamp(color_alpha, 0.0f, 1.0f) * 255.0f));
    return uint32_t(ClampByte(color_red)) | (uint32_t(ClampByte(color_green)) << 8) |
           (uint32_t(ClampByte(color_blue)) << 16) | (uint32_t(a) << 24);
}

TDrawState& DrawState() {
    static TDrawState state;
    return state;
}

void ResetDrawState(int32_t width, int32_t height) {
    TDrawState& s = DrawState();
    s = TDrawState{};
    s.g_width = s.vres_width = s.viewport_w = width;
    s.g_height = s.vres_height = s.viewport_h = height;
}

void SetColor(int32_t r, int32_t g, int32_t b) {
    TDrawState& s = DrawState();
    s.color_red = r;
    s.color_green = g;
    s.color_blue = b;
}

void GetColor(int32_t& r, int32_t& g, int32_t& b) {
    const TDrawState& s = DrawState();
    r = s.color_red;
    g = s.color_green;
    b = s.color_blue;
}

void SetAlpha(float alpha) { DrawState().color_alpha = alpha; }
float GetAlpha() { return DrawState().color_alpha; }

void SetBlend(int32_t mode) {
    if (mode >= MASKBLEND && mode <= DIMBLEND) DrawState().blend_mode = mode;
}
int32_t GetBlend() { return DrawState().blend_mode; }

void SetRotation(float degrees) {
    DrawState().tform_rot = degrees;
    UpdateMatrix(DrawState());
}
float GetRotation() { return DrawState().tform_rot; }

void SetScale(float x, float y) {
    DrawState().tform_scale_x = x;
    DrawState().tform_scale_y = y;
    UpdateMatrix(DrawState());
}

void GetScale(float& x, float& y) {
    x = DrawState().tform_scale_x;
    y = DrawState().tform_scale_y;
}

void SetTransform(float degrees, float scaleX, float scaleY) {
    TDrawState& s = DrawState();
    s.tform_rot = degrees;
    s.tform_scale_x = scaleX;
    s.tform_scale_y = scaleY;
    UpdateMatrix(s);
}

void SetOrigin(float x, float y) {
    DrawState().origin_x = x;
    DrawState().origin_y = y;
}

void GetOrigin(float& x, float& y) {
    x = DrawState().origin_x;
    y = DrawState().origin_y;
}

void SetHandle(float x, float y) {
    DrawState().handle_x = x;
    DrawState().handle_y = y;
}

void GetHandle(float& x, float& y) {
    x = DrawState().handle_x;
    y = DrawState().handle_y;
}

void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) {
    TDrawState& s = DrawState();
    const float k = s.interface_scale;
    const auto px = [k](int32_t v) { return static_cast<int32_t>(std::floor(float(v) * k)); };
    const auto pxUp = [k](int32_t v) { return static_cast<int32_t>(std::ceil(float(v) * k)); };
    const int32_t x0 = px(x), y0 = px(y);
    const int32_t w = pxUp(x + width) - x0, h = pxUp(y + height) - y0;
    if (x0 == s.viewport_x && y0 == s.viewport_y && w == s.viewport_w && h == s.viewport_h) return;
    s.viewport_x = x0;
    s.viewport_y = y0;
    s.viewport_w = w;
    s.viewport_h = h;
    TSpriteBatch::Instance().ApplyViewport();
}

void GetViewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height) {
    const TDrawState& s = DrawState();
    const float k = s.interface_scale;
    x = static_cast<int32_t>(std::floor(float(s.viewport_x) / k));
    y = static_cast<int32_t>(std::floor(float(s.viewport_y) / k));
    width = static_cast<int32_t>(std::ceil(float(s.viewport_x + s.viewport_w) / k)) - x;
    height = static_cast<int32_t>(std::ceil(float(s.viewport_y + s.viewport_h) / k)) - y;
}

void SetInterfaceScale(float scale) { DrawState().interface_scale = scale > 0.0f ? scale : 1.0f; }
float GetInterfaceScale() { return DrawState().interface_scale; }

void SetLineWidth(float width) { DrawState().line_width = width; }
float GetLineWidth() { return DrawState().line_width; }

void SetClsColor(int32_t r, int32_t g, int32_t b) {
    TDrawState& s = DrawState();
    s.clscolor_red = r;
    s.clscolor_green = g;
    s.clscolor_blue = b;
}

void SetImageFont(std::shared_ptr<TImageFont> font) { DrawState().image_font = std::move(font); }
std::shared_ptr<TImageFont> GetImageFont() { return DrawState().image_font; }
