#pragma once
#include <cstdint>
#include <memory>

#include "platform/TRenderBackend.h"

class TImageFont;

// The global drawing state every draw call reads. Rotation and scale keep the derived
// 2x2 matrix (tform_ix ... tform_jy) current.
struct TDrawState {
    int32_t color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1.0f;
    int32_t clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1.0f;
    float tform_rot = 0.0f, tform_scale_x = 1.0f, tform_scale_y = 1.0f;
    float tform_ix = 1.0f, tform_iy = 0.0f, tform_jx = 0.0f, tform_jy = 1.0f;
    // In back-buffer pixels, whatever the interface scale.
    int32_t viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0.0f, origin_y = 0.0f;
    float handle_x = 0.0f, handle_y = 0.0f;
    std::shared_ptr<TImageFont> image_font;
    int32_t blend_mode = ALPHABLEND;
    int32_t vres_width = 0, vres_height = 0;
    int32_t g_width = 0, g_height = 0;
    // Every vertex is multiplied by this on its way to the device (TInterfaceSpace sets it).
    float interface_scale = 1.0f;

    // Vertex colour of the current colour and alpha (bytes r, g, b, a).
    uint32_t PackedColor() const;
};

TDrawState& DrawState();
// Back to the defaults for a back buffer of the given size (called when graphics open).
void ResetDrawState(int32_t width, int32_t height);

void SetColor(int32_t r, int32_t g, int32_t b);
void GetColor(int32_t& r, int32_t& g, int32_t& b);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int32_t mode);
int32_t GetBlend();
void SetRotation(float degrees);
float GetRotation();
void SetScale(float x, float y);
void GetScale(float& x, float& y);
void SetTransform(float degrees, float scaleX, float scaleY);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
// The viewport in the current units (interface units while an interface scale is set): set
// rounded outwards to whole pixels, read back covering at least those pixels.
void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);
void GetViewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height);
void SetInterfaceScale(float scale);
float GetInterfaceScale();
void SetLineWidth(float width);
float GetLineWidth();
void SetClsColor(int32_t r, int32_t g, int32_t b);
void SetImageFont(std::shared_ptr<TImageFont> font);
std::shared_ptr<TImageFont> GetImageFont();
