#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TImage;
class TPixmap;

// Immediate-mode drawing with the global drawing state (TDrawState.h). Positions are in
// back-buffer pixels before origin, scale and rotation. A null image or font draws nothing.

// The image's handle point lands at origin + (x, y); rotation and scale turn about it. In the
// blend modes where a transparent pixel changes nothing (alpha, light, mask) only the frame's
// trimmed part is sent, so transparent margins cost the device nothing.
void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame = 0);
// Whether DrawImage trims (on by default); the pixel comparison of trimmed and whole quads and
// the frame benchmark turn it off for their reference.
void SetImageTrimming(bool on);
// The frame stretched to width x height; the handle is scaled with it.
void DrawImageRect(const std::shared_ptr<TImage>& image, float x, float y, float width, float height,
                   int32_t frame = 0);
// The frame repeated over the whole viewport, aligned to origin + (x, y) minus the handle; unscaled.
void TileImage(const std::shared_ptr<TImage>& image, float x = 0, float y = 0, int32_t frame = 0);
// A part (sx, sy, sw, sh) of a frame, its top left at (localX, localY) relative to the state's
// handle, transformed and placed at origin + (x, y).
void DrawImageArea(TImage& image, int32_t frame, float sx, float sy, float sw, float sh, float x, float y, float localX,
                   float localY);
void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, float x, float y);

void DrawRect(float x, float y, float width, float height);
void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel = true);
void DrawOval(float x, float y, float width, float height);
// Points as x0, y0, x1, y1, ...; drawn as a fan, so convex polygons fill correctly.
void DrawPoly(const std::vector<float>& xy);
void Plot(float x, float y);

void DrawText(const std::string& text, float x, float y);
float TextWidth(const std::string& text);
float TextHeight(const std::string& text);

// Drops what the current frame kept alive for drawing (called by Flip).
void EndFrameResources();
