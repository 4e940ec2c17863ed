#pragma once
// Shared by the benchmarks that measure world frames: timing helpers, a device tap that records
// one frame's quads (for the physical limit: the same quads, one device call per texture and
// blend mode) or drops the draws (for the world's own CPU time), and the per-zoom figures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/TApplication.h"
#include "platform/TDraw.h"
#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TRenderBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"
#include "world/TISO.h"
#include "world/TLayer.h"

namespace bench {

using Clock = std::chrono::steady_clock;
constexpr int32_t Width = 1280, Height = 720, Frames = 60, WarmUp = 10;

inline double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A value in kB from /proc/self/status ("VmHWM", "VmRSS"); 0 when unavailable.
inline long StatusKB(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
    }
    return 0;
}

// Sits between the sprite batch and the device: passes every call on (or drops the draws, to time
// the world's own code), and when asked keeps the triangles of one frame per texture and blend.
class TTapBackend : public TRenderBackend {
public:
    explicit TTapBackend(TRenderBackend* inner) : inner(inner) {}
    uint32_t CreateTexture(int32_t w, int32_t h, bool filtered) override {
        return inner->CreateTexture(w, h, filtered);
    }
    void UploadTexture(uint32_t t, int32_t x, int32_t y, int32_t w, int32_t h, const uint32_t* p,
                       int32_t pitch) override {
        inner->UploadTexture(t, x, y, w, h, p, pitch);
    }
    void DeleteTexture(uint32_t t) override { inner->DeleteTexture(t); }
    void DrawTriangles(uint32_t texture, int32_t blend, const TVertex* v, size_t count) override {
        ++calls;
        if (keep) {
            auto& list = groups[{texture, blend}];
            list.insert(list.end(), v, v + count);
        }
        if (!drop) inner->DrawTriangles(texture, blend, v, count);
    }
    void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) override { inner->SetViewport(x, y, w, h); }
    void Clear(int32_t r, int32_t g, int32_t b) override { inner->Clear(r, g, b); }
    void Present(int32_t sync) override { inner->Present(sync); }
    void ReadPixels(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* out) override {
        inner->ReadPixels(x, y, w, h, out);
    }
    int32_t MaxTextureSize() const override { return inner->MaxTextureSize(); }

    TRenderBackend* inner;
    bool keep = false, drop = false;
    size_t calls = 0;
    std::map<std::pair<uint32_t, int32_t>, std::vector<TVertex>> groups;
};

// Sends what is batched and waits until the device has drawn it (reading a pixel forces it).
inline void Finish() { GrabPixmap(0, 0, 1, 1); }

struct TFrameFigures {
    double cpu = 0, worldOnly = 0, frame = 0, limit = 0;
    size_t quads = 0, calls = 0, groups = 0;
};

inline void Centre(TLayer& layer, float zoom) {
    layer.scaleTicker.reset();
    layer.movementStartMS = -1;
    layer.SetMapScale(zoom, zoom, 0);
    layer.midPosition(0);
}

// Puts the camera centre on map position (mx, my) when the camera may go there.
inline void LookAt(TLayer& layer, float mx, float my) {
    float px = 0, py = 0;
    layer.iso->ToIso(mx, my, px, py, 1);
    layer.SetPosition(0.5f * layer.getWidth(1) - px, -py, 1, 0);
}

// A map image of land with a grid of roads every `every` tiles (the world loader's colours),
// written to a temporary folder; empty on failure. RemoveMap deletes it again.
inline std::string MakeGridMap(int32_t size, int32_t every) {
    auto pix = TPixmap::Create(size, size);
    if (!pix) return "";
    pix->ClearPixels(0xFF6E9F3Eu);
    for (int32_t i = 2; i < size - 2; ++i) {
        for (int32_t k = 2; k < size - 2; k += every) {
            pix->WritePixel(i, k, 0xFF282828u);
            pix->WritePixel(k, i, 0xFF282828u);
        }
    }
    char dir[] = "/tmp/vallmora-bench.XXXXXX";
    if (!mkdtemp(dir)) return "";
    const std::string path = std::string(dir) + "/grid.png";
    return SavePixmapPNG(*pix, path, 5) ? path : "";
}

inline void RemoveMap(const std::string& path) {
    std::remove(path.c_str());
    rmdir(path.substr(0, path.rfind('/')).c_str());
}

// How long OpenWindow took: the shell and its window, then the content behind the loading screen.
struct TOpenTimes {
    double window = 0, content = 0;
};

// The shell with a window of Width x Height and the content loaded, as the game starts it.
inline std::shared_ptr<TApplication> OpenWindow(TOpenTimes* times = nullptr) {
    const auto start = Clock::now();
    auto app = TApplication::Create();
    if (!app) return nullptr;
    app->Init();
    app->xmax = Width;
    app->ymax = Height;
    TLayer::Init(Width, Height);
    if (!app->InitWindow()) return nullptr;
    const double windowMs = Ms(start);
    app->loadResources(1);
    if (times) *times = {windowMs, Ms(start) - windowMs};
    return app;
}

// Draws three world frames with the pointer at (px, py) (the ground cache fills in the first)
// and saves the last; beforeFrame runs before each (per-frame switches such as a view mask).
inline void Shot(TLayer& layer, int32_t px, int32_t py, const std::string& path,
                 const std::function<void()>& beforeFrame = {}) {
    for (int i = 0; i < 3; ++i) {
        Cls();
        if (beforeFrame) beforeFrame();
        layer.Update(px, py, 0, 0);
        if (i == 2) {
            auto pix = GrabPixmap(0, 0, Width, Height);
            if (!pix || !SavePixmapPNG(*pix, path, 5))
                std::printf("screenshot %s could not be written\n", path.c_str());
        }
        Flip(0);
    }
    std::printf("wrote %s\n", path.c_str());
}

// Draws one frame (frame does all of it, from clearing to presenting) through the tap with its
// triangles kept per texture and blend mode, and notes in f how many device calls the frame made
// and how many quads and groups it kept.
inline void RecordFrame(TTapBackend& tap, TFrameFigures& f, const std::function<void()>& frame) {
    TSpriteBatch& batch = TSpriteBatch::Instance();
    tap.groups.clear();
    const size_t before = tap.calls;
    batch.SetBackend(&tap);
    tap.keep = true;
    frame();
    batch.Flush();
    tap.keep = false;
    batch.SetBackend(tap.inner);
    f.calls = tap.calls - before;
    f.groups = tap.groups.size();
    f.quads = 0;
    for (const auto& g : tap.groups) f.quads += g.second.size() / 6;
}

// Runs frames with every draw dropped before the device, so their times are the code's own work.
inline void WithDrawsDropped(TTapBackend& tap, const std::function<void()>& frames) {
    TSpriteBatch& batch = TSpriteBatch::Instance();
    batch.SetBackend(&tap);
    tap.drop = true;
    frames();
    batch.Flush();
    tap.drop = false;
    batch.SetBackend(tap.inner);
}

// The physical limit of the frame RecordFrame kept: the same quads, one device call per texture
// and blend mode, until drawn.
inline double LimitFrameMs(const TTapBackend& tap) {
    Cls();
    const auto start = Clock::now();
    for (const auto& [key, vertices] : tap.groups) {
        tap.inner->DrawTriangles(key.first, key.second, vertices.data(), vertices.size());
    }
    Finish();
    const double ms = Ms(start);
    Flip(0);
    return ms;
}

// The median of Frames such frames.
inline double LimitMs(const TTapBackend& tap) {
    std::vector<double> limit;
    for (int i = 0; i < Frames; ++i) limit.push_back(LimitFrameMs(tap));
    return Median(limit);
}

// The figures of one zoom level: the camera centred with Centre, each frame drawn by drawFrame
// (by default the world's Update with the pointer in the middle).
inline TFrameFigures MeasureZoom(TLayer& layer, float zoom, const std::string& screenPath,
                                 const std::function<void()>& drawFrame = {}) {
    auto WorldFrame = [&](TLayer& l) {
        if (drawFrame) {
            drawFrame();
        } else {
            l.Update(Width / 2, Height / 2, 0, 0);
        }
    };
    TFrameFigures f;
    TSpriteBatch& batch = TSpriteBatch::Instance();
    TTapBackend tap(TGraphics::Backend());
    Centre(layer, zoom);
    for (int i = 0; i < WarmUp; ++i) {
        Cls();
        WorldFrame(layer);
        Finish();
        Flip(0);
    }
    if (!screenPath.empty()) {
        Cls();
        WorldFrame(layer);
        if (auto pix = GrabPixmap(0, 0, Width, Height)) {
            if (!SavePixmapPNG(*pix, screenPath, 5))
                std::printf("screenshot %s could not be written\n", screenPath.c_str());
        }
        Flip(0);
    }

    // One recorded frame: what the world hands to the device, per texture and blend mode.
    RecordFrame(tap, f, [&] {
        Cls();
        WorldFrame(layer);
        Finish();
        Flip(0);
    });

    // Frames timed up to the batch's last flush (cpu) and, when asked, up to the finished device.
    const auto timedFrames = [&](std::vector<double>& cpu, std::vector<double>* frame) {
        for (int i = 0; i < Frames; ++i) {
            Cls();
            const auto start = Clock::now();
            WorldFrame(layer);
            batch.Flush();
            cpu.push_back(Ms(start));
            Finish();
            if (frame) frame->push_back(Ms(start));
            Flip(0);
        }
    };
    std::vector<double> cpu, frame, worldOnly;
    timedFrames(cpu, &frame);
    // The world's own work: the same frames with the draws dropped before the device.
    WithDrawsDropped(tap, [&] { timedFrames(worldOnly, nullptr); });
    f.cpu = Median(cpu);
    f.worldOnly = Median(worldOnly);
    f.frame = Median(frame);
    f.limit = LimitMs(tap);
    return f;
}

inline void PrintHeader() {
    std::printf("%-9s %5s %9s %11s %9s %9s %7s %7s %7s %7s\n", "map", "zoom", "cpu ms", "world-only", "frame ms",
                "limit ms", "ratio", "quads", "calls", "groups");
}

inline void PrintRow(const char* map, float zoom, const TFrameFigures& f) {
    std::printf("%-9s %5.1f %9.2f %11.2f %9.2f %9.2f %6.2fx %7zu %7zu %7zu\n", map, double(zoom), f.cpu, f.worldOnly,
                f.frame, f.limit, f.limit > 0 ? f.frame / f.limit : 0.0, f.quads, f.calls, f.groups);
}

}  // namespace bench
