#include "platform/TGraphics.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TFlipPacer.h"
#include "platform/TGLBackend.h"
#include "platform/TInput.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"

namespace {
struct TGraphicsContext {
    TGraphicsDriver driver = TGraphicsDriver::OpenGL;
    std::string title;
    SDL_Window* window = nullptr;
    SDL_GLContext gl = nullptr;
    std::unique_ptr<TGLBackend> glBackend;
    std::shared_ptr<TRecordingBackend> recording;
    TRenderBackend* backend = nullptr;
    int32_t width = 0, height = 0, depth = 0, hertz = 0;
    int32_t swapInterval = -2;
    uint32_t generation = 0;
    TFlipPacer pacer;
    // Full screen as a borderless window over the display, and the window it replaced.
    bool coversDisplay = false;
    int windowedX = 0, windowedY = 0, windowedW = 0, windowedH = 0;
};

TGraphicsContext& Context() {
    static TGraphicsContext context;
    return context;
}

void SwapWindow(void* window) { SDL_GL_SwapWindow(static_cast<SDL_Window*>(window)); }

void Activate(TRenderBackend* backend, int32_t width, int32_t height, int32_t depth, int32_t hertz) {
    TGraphicsContext& c = Context();
    c.backend = backend;
    c.width = width;
    c.height = height;
    c.depth = depth;
    c.hertz = hertz;
    ++c.generation;
    ResetDrawState(width, height);
    TSpriteBatch::Instance().SetBackend(backend);
    TSpriteBatch::Instance().ApplyViewport();
    c.pacer.Start(hertz, TClock::Source().Ticks());
}

// Starts SDL's video on a real display. Drivers that need none (offscreen, KMS without a
// seat) would open an invisible window nobody can close, so they are only used when the
// user asks for them through SDL_VIDEODRIVER.
bool InitVideo(std::string& errors) {
    if (SDL_getenv("SDL_VIDEODRIVER")) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        errors = SDL_GetError();
        return false;
    }
    static const char* const displayDrivers[] = {"x11", "wayland", "windows", "cocoa"};
    for (const char* name : displayDrivers) {
        bool available = false;
        for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
            available = available || SDL_strcmp(SDL_GetVideoDriver(i), name) == 0;
        }
        if (!available) continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        errors += (errors.empty() ? "" : "; ") + std::string(name) + ": " + SDL_GetError();
    }
    return false;
}

void SetSwapInterval(int32_t interval) {
    TGraphicsContext& c = Context();
    if (!c.gl || c.swapInterval == interval) return;
    SDL_GL_SetSwapInterval(interval);
    c.swapInterval = interval;
}
}  // namespace

namespace TGraphics {

void SetGraphicsDriver(TGraphicsDriver driver) { Context().driver = driver; }
TGraphicsDriver GraphicsDriver() { return Context().driver; }

void AppTitle(const std::string& title) {
    Context().title = title;
    if (Context().window) SDL_SetWindowTitle(Context().window, title.c_str());
}

bool Graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz, int32_t) {
    EndGraphics();
    TGraphicsContext& c = Context();
    if (width <= 0 || height <= 0) {
        Print("Error, the window size " + std::to_string(width) + " x " + std::to_string(height) + " is not possible.");
        return false;
    }
    std::string videoErrors;
    if (!InitVideo(videoErrors)) {
        Print("Error, no display available, the window could not be opened (" + videoErrors + ").");
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    if (depth > 0) flags |= SDL_WINDOW_FULLSCREEN;
    c.window = SDL_CreateWindow(c.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!c.window) {
        Print(std::string("Error, the window could not be opened: ") + SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_SetWindowMinimumSize(c.window, minWidth, minHeight);
    c.gl = SDL_GL_CreateContext(c.window);
    if (!c.gl) {
        Print(std::string("Error, OpenGL 3.3 is not available: ") + SDL_GetError());
        EndGraphics();
        return false;
    }
    SDL_GL_MakeCurrent(c.window, c.gl);
    c.glBackend = std::make_unique<TGLBackend>();
    if (!c.glBackend->Init(width, height)) {
        EndGraphics();
        return false;
    }
    c.glBackend->swap = SwapWindow;
    c.glBackend->swapContext = c.window;
    c.swapInterval = -2;
    // Text typed into the window arrives as characters (umlauts included).
    SDL_StartTextInput();
    Activate(c.glBackend.get(), width, height, depth, hertz);
    return true;
}

std::shared_ptr<TRecordingBackend> HeadlessGraphics(int32_t width, int32_t height) {
    EndGraphics();
    TGraphicsContext& c = Context();
    c.recording = std::make_shared<TRecordingBackend>();
    Activate(c.recording.get(), width, height, 0, 60);
    return c.recording;
}

void EndGraphics() {
    TGraphicsContext& c = Context();
    if (!c.backend) return;
    EndFrameResources();
    TSpriteBatch::Instance().SetBackend(nullptr);
    DrawState().image_font.reset();
    c.backend = nullptr;
    ++c.generation;
    c.glBackend.reset();
    c.recording.reset();
    if (c.gl) SDL_GL_DeleteContext(c.gl);
    c.gl = nullptr;
    if (c.window) {
        SDL_StopTextInput();
        SDL_DestroyWindow(c.window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    c.window = nullptr;
    c.coversDisplay = false;
    c.width = c.height = 0;
}

bool ResizeGraphics(int32_t width, int32_t height) {
    TGraphicsContext& c = Context();
    if (!c.backend || width <= 0 || height <= 0) return false;
    TSpriteBatch::Instance().Flush();
    c.width = width;
    c.height = height;
    if (c.glBackend) c.glBackend->Resize(width, height);
    TDrawState& s = DrawState();
    s.g_width = s.vres_width = s.viewport_w = width;
    s.g_height = s.vres_height = s.viewport_h = height;
    s.viewport_x = s.viewport_y = 0;
    TSpriteBatch::Instance().ApplyViewport();
    return true;
}

void SetFullscreen(bool on) {
    TGraphicsContext& c = Context();
    if (!c.window || on == IsFullscreen()) return;
    // A window opened in full screen mode goes back to a window of its size.
    if (SDL_GetWindowFlags(c.window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(c.window, 0);
        return;
    }
    // Full screen as a borderless window over the whole display: it needs no help from a window
    // manager (there may be none) and no change of video mode, and the textures stay.
    if (on) {
        SDL_GetWindowPosition(c.window, &c.windowedX, &c.windowedY);
        SDL_GetWindowSize(c.window, &c.windowedW, &c.windowedH);
        SDL_Rect display{};
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(c.window), 0), &display) != 0) return;
        SDL_SetWindowBordered(c.window, SDL_FALSE);
        SDL_SetWindowPosition(c.window, display.x, display.y);
        SDL_SetWindowSize(c.window, display.w, display.h);
        SDL_RaiseWindow(c.window);
    } else {
        SDL_SetWindowBordered(c.window, SDL_TRUE);
        SDL_SetWindowSize(c.window, c.windowedW, c.windowedH);
        SDL_SetWindowPosition(c.window, c.windowedX, c.windowedY);
    }
    c.coversDisplay = on;
}

bool IsFullscreen() {
    TGraphicsContext& c = Context();
    return c.window && (c.coversDisplay || (SDL_GetWindowFlags(c.window) & SDL_WINDOW_FULLSCREEN) != 0);
}

void SetWindowSize(int32_t width, int32_t height) {
    TGraphicsContext& c = Context();
    if (!c.window) return;
    width = std::max(width, minWidth);
    height = std::max(height, minHeight);
    if (c.coversDisplay) {
        c.windowedW = width;
        c.windowedH = height;
        return;
    }
    SDL_SetWindowSize(c.window, width, height);
    // A window grown beyond its display's edge moves back onto it, as far as it fits.
    SDL_Rect display{};
    if (SDL_GetDisplayUsableBounds(std::max(SDL_GetWindowDisplayIndex(c.window), 0), &display) != 0) return;
    int x = 0, y = 0;
    SDL_GetWindowPosition(c.window, &x, &y);
    const int nx = std::max(display.x, std::min(x, display.x + display.w - width));
    const int ny = std::max(display.y, std::min(y, display.y + display.h - height));
    if (nx != x || ny != y) SDL_SetWindowPosition(c.window, nx, ny);
}

float DisplayDPI() {
    TGraphicsContext& c = Context();
    float diagonal = 0;
    if (!c.window || SDL_GetDisplayDPI(std::max(SDL_GetWindowDisplayIndex(c.window), 0), &diagonal, nullptr, nullptr) != 0)
        return 0.0f;
    return std::isfinite(diagonal) && diagonal > 0.0f ? diagonal : 0.0f;
}

bool IsOpen() { return Context().backend != nullptr; }
TRenderBackend* Backend() { return Context().backend; }
int32_t GraphicsWidth() { return Context().width; }
int32_t GraphicsHeight() { return Context().height; }
int32_t GraphicsHertz() { return Context().hertz; }
int32_t GraphicsDepth() { return Context().depth; }
uint32_t WindowID() { return Context().window ? SDL_GetWindowID(Context().window) : 0; }
uint32_t Generation() { return Context().generation; }

void HideMouse() {
    if (Context().window) SDL_ShowCursor(SDL_DISABLE);
}

void ShowMouse() {
    if (Context().window) SDL_ShowCursor(SDL_ENABLE);
}

}  // namespace TGraphics

namespace {
// The device as the sprite batch reaches it: a part of the frame being collected (TDrawCache)
// sees the clear, read or present in its place among the batches.
TRenderBackend* BatchDevice() {
    TRenderBackend* batch = TSpriteBatch::Instance().Backend();
    return batch ? batch : TGraphics::Backend();
}
}  // namespace

void Cls() {
    if (!TGraphics::Backend()) return;
    TSpriteBatch::Instance().Flush();
    TRenderBackend* backend = BatchDevice();
    const TDrawState& s = DrawState();
    // The clear covers the whole buffer, whatever the viewport.
    backend->SetViewport(0, 0, s.g_width, s.g_height);
    backend->Clear(s.clscolor_red, s.clscolor_green, s.clscolor_blue);
    backend->SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
}

void Flip(int32_t sync) {
    TGraphicsContext& c = Context();
    if (!c.backend) return;
    TSpriteBatch::Instance().Flush();
    int32_t presentSync = sync;
    if (sync == -1) {
        if (c.depth > 0) {
            presentSync = 1;
        } else {
            presentSync = 0;
            if (c.hertz > 0) TClock::Source().Sleep(c.pacer.NextDelay(TClock::Source().Ticks()));
        }
    }
    SetSwapInterval(presentSync);
    BatchDevice()->Present(presentSync);
    EndFrameResources();
    TInput::PollSystem();
}

std::shared_ptr<TPixmap> GrabPixmap(int32_t x, int32_t y, int32_t width, int32_t height) {
    TGraphicsContext& c = Context();
    if (!c.backend || width <= 0 || height <= 0 || x < 0 || y < 0 || int64_t(x) + width > c.width ||
        int64_t(y) + height > c.height) {
        return nullptr;
    }
    TSpriteBatch::Instance().Flush();
    auto pixmap = TPixmap::Create(width, height);
    if (!pixmap) return nullptr;
    BatchDevice()->ReadPixels(x, y, width, height, pixmap->pixels);
    return pixmap;
}
