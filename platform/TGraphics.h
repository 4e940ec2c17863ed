#pragma once
#include <cstdint>
#include <memory>
#include <string>

class TRenderBackend;
class TRecordingBackend;

// The three back-end names the settings accept; on this platform all three open the
// OpenGL renderer.
enum class TGraphicsDriver { D3D7, D3D9, OpenGL };

namespace TGraphics {
void SetGraphicsDriver(TGraphicsDriver driver);
TGraphicsDriver GraphicsDriver();
void AppTitle(const std::string& title);
// Opens the window (depth 0) or full screen (depth > 0) with an OpenGL 3.3 core context.
// False, with a line on standard output saying why, when no window can be opened.
bool Graphics(int32_t width, int32_t height, int32_t depth = 0, int32_t hertz = 60, int32_t flags = 0);
// A window-less back end that records every draw call (tests and tools).
std::shared_ptr<TRecordingBackend> HeadlessGraphics(int32_t width, int32_t height);
void EndGraphics();
// The smallest window the player can resize to.
constexpr int32_t minWidth = 320, minHeight = 240;
// Takes the drawing area's new size (the window was resized or went to or from full screen):
// the back buffer, viewport and drawing state follow; textures stay. False for a size below
// 1 x 1 or without graphics.
bool ResizeGraphics(int32_t width, int32_t height);
// Switches the window to full screen at the desktop's size and back; the new size arrives as a
// window-size event. Nothing happens without a window.
void SetFullscreen(bool on);
bool IsFullscreen();
// Gives the window a new size (at least minWidth x minHeight); in full screen it is the size the
// window takes when it leaves full screen. The new size arrives as a window-size event. Nothing
// happens without a window.
void SetWindowSize(int32_t width, int32_t height);
// The dots per inch of the display the window is on; 0 when the display does not tell.
float DisplayDPI();
bool IsOpen();
TRenderBackend* Backend();
int32_t GraphicsWidth();
int32_t GraphicsHeight();
int32_t GraphicsHertz();
int32_t GraphicsDepth();
// The SDL window id (0 without a window), for code that reads SDL's own events.
uint32_t WindowID();
void HideMouse();
void ShowMouse();
}  // namespace TGraphics

namespace TGraphics {
// Counts device openings; textures made under an earlier one are gone.
uint32_t Generation();
}  // namespace TGraphics

class TPixmap;

// Clears the back buffer with the clear colour (whole buffer, ignoring the viewport).
void Cls();
// Presents the frame. Sync -1 in a window opened with a refresh rate paces the frames in
// whole milliseconds (TFlipPacer); full screen waits for the vertical blank; 0 presents at
// once, 1 waits for the vertical blank. Then the window system's events are pumped.
void Flip(int32_t sync = -1);
// A copy of a rectangle of the back buffer; null outside it.
std::shared_ptr<TPixmap> GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height);
