#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One corner of a drawn triangle: position in back-buffer pixels, texture coordinates
// and colour (r, g, b, a bytes in that order).
struct TVertex {
    float x, y;
    float u, v;
    uint32_t rgba;
};

// DIMBLEND darkens and lights in one pass: the target times the drawn alpha, plus the drawn colour
// (a shade followed by a light, as one full-screen fill instead of two). OVERBLEND lays a picture
// whose colours are already multiplied by their alpha over the target (a kept layer, TDrawCache).
enum : int32_t {
    MASKBLEND = 1,
    SOLIDBLEND = 2,
    ALPHABLEND = 3,
    LIGHTBLEND = 4,
    SHADEBLEND = 5,
    DIMBLEND = 6,
    OVERBLEND = 7
};

// What a draw operation was, as seen by the layer's callers (recorded by the headless back end).
struct TDrawCall {
    enum Kind { Cls, Image, ImageRect, TileImage, Pixmap, Rect, Line, Oval, Poly, Plot, Text, Flip };
    Kind kind;
    const void* source = nullptr;  // the TImage, TPixmap or TImageFont drawn
    int32_t frame = 0;
    float x = 0, y = 0, w = 0, h = 0;
    std::string text;
    int32_t r = 255, g = 255, b = 255;
    float alpha = 1.0f;
    int32_t blend = ALPHABLEND;
    float rotation = 0, scaleX = 1, scaleY = 1;
    float originX = 0, originY = 0;
    float handleX = 0, handleY = 0;  // the image's handle, or the state's for primitives
    int32_t viewportX = 0, viewportY = 0, viewportW = 0, viewportH = 0;
};

// The device under the 2D layer. Triangles arrive in batches that share one texture and
// one blend mode; the layer never issues one device call per sprite.
class TRenderBackend {
public:
    virtual ~TRenderBackend() = default;
    // Texture ids start at 1; 0 is the plain white texture used for untextured shapes.
    virtual uint32_t CreateTexture(int32_t width, int32_t height, bool filtered) = 0;
    // Uploads a rectangle of ARGB pixels (rows of `pitchPixels` values).
    virtual void UploadTexture(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                               const uint32_t* pixels, int32_t pitchPixels) = 0;
    virtual void DeleteTexture(uint32_t texture) = 0;
    virtual void DrawTriangles(uint32_t texture, int32_t blend, const TVertex* vertices, size_t count) = 0;
    virtual void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void Clear(int32_t r, int32_t g, int32_t b) = 0;
    // Lets the device start on what it was handed so far (it draws while the caller works on).
    virtual void Submit() {}
    // Presents the back buffer; sync 0 at once, 1 on the vertical blank.
    virtual void Present(int32_t sync) = 0;
    // Reads ARGB pixels of the back buffer, top row first.
    virtual void ReadPixels(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* out) = 0;
    virtual int32_t MaxTextureSize() const = 0;
    // A texture's width and height; 0 x 0 when the device does not know it (figures only).
    virtual std::pair<int32_t, int32_t> TextureSize(uint32_t) const { return {0, 0}; }
    // Sees every draw operation before its triangles (only the recording back end keeps them).
    virtual bool Records() const { return false; }
    virtual void Record(const TDrawCall&) {}
    // Drawing goes into `texture` (made by CreateTexture at the back buffer's size); 0 draws into
    // the back buffer again. False when the device cannot.
    virtual bool SetTarget(uint32_t texture) { return texture == 0; }
    // Clears a rectangle of the texture drawn into to transparent (the viewport stays).
    virtual void ClearTarget(int32_t, int32_t, int32_t, int32_t) {}
    // True for a back end that collects batches to draw them later (TDrawCache): handing one to it
    // is no device call.
    virtual bool Collects() const { return false; }
};
