#pragma once
// Shared by the benchmarks that measure world frames: timing helpers, a device tap that records
// one frame's quads (for the physical limit: the same quads, one device call per texture and
// blend mode) or drops the draws (for the world's own CPU time), and the per-zoom figures.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/TApplication.h"
#include "app/TSimulator.h"
#include "platform/TDraw.h"
#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TRenderBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"
#include "plugins/TInfluenceMask.h"
#include "world/TISO.h"
#include "world/TLayer.h"

namespace bench {

using Clock = std::chrono::steady_clock;
constexpr int32_t Width = 1280, Height = 720, Frames = 60, WarmUp = 10;

inline double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The processor time of all the program's threads so far, in ms.
inline double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
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
            area[{texture, blend}] += TrianglesArea(v, count);
        }
        if (!drop) inner->DrawTriangles(texture, blend, v, count);
    }
    void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) override { inner->SetViewport(x, y, w, h); }
    void Clear(int32_t r, int32_t g, int32_t b) override { inner->Clear(r, g, b); }
    void Submit() override {
        if (!drop) inner->Submit();
    }
    void Present(int32_t sync) override { inner->Present(sync); }
    void ReadPixels(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* out) override {
        inner->ReadPixels(x, y, w, h, out);
    }
    int32_t MaxTextureSize() const override { return inner->MaxTextureSize(); }
    // Dropping, nothing can be drawn into a kept picture.
    bool SetTarget(uint32_t texture) override { return !drop && inner->SetTarget(texture); }
    void ClearTarget(int32_t x, int32_t y, int32_t w, int32_t h) override { inner->ClearTarget(x, y, w, h); }

    // The pixels the triangles cover on the screen (each clipped to it; overlaps counted as often
    // as they are drawn).
    static double TrianglesArea(const TVertex* v, size_t count) {
        double sum = 0;
        for (size_t i = 0; i + 2 < count; i += 3) {
            std::vector<std::pair<double, double>> poly{
                {v[i].x, v[i].y}, {v[i + 1].x, v[i + 1].y}, {v[i + 2].x, v[i + 2].y}};
            // Clipped against each screen edge in turn: keep = inside of the edge, at = the crossing.
            const auto clip = [&poly](auto inside, auto cross) {
                std::vector<std::pair<double, double>> out;
                for (size_t k = 0; k < poly.size(); ++k) {
                    const auto& a = poly[k];
                    const auto& b = poly[(k + 1) % poly.size()];
                    if (inside(a)) out.push_back(a);
                    if (inside(a) != inside(b)) out.push_back(cross(a, b));
                }
                poly = out;
            };
            const auto lerp = [](const std::pair<double, double>& a, const std::pair<double, double>& b, double t) {
                return std::pair<double, double>{a.first + (b.first - a.first) * t,
                                                 a.second + (b.second - a.second) * t};
            };
            for (const double edge : {0.0, double(Width)}) {
                clip([&](const auto& p) { return edge == 0.0 ? p.first >= 0.0 : p.first <= edge; },
                     [&](const auto& a, const auto& b) { return lerp(a, b, (edge - a.first) / (b.first - a.first)); });
            }
            for (const double edge : {0.0, double(Height)}) {
                clip([&](const auto& p) { return edge == 0.0 ? p.second >= 0.0 : p.second <= edge; },
                     [&](const auto& a, const auto& b) {
                         return lerp(a, b, (edge - a.second) / (b.second - a.second));
                     });
            }
            double twice = 0;
            for (size_t k = 0; k < poly.size(); ++k) {
                const auto& a = poly[k];
                const auto& b = poly[(k + 1) % poly.size()];
                twice += a.first * b.second - b.first * a.second;
            }
            sum += 0.5 * std::abs(twice);
        }
        return sum;
    }

    TRenderBackend* inner;
    bool keep = false, drop = false;
    size_t calls = 0;
    std::map<std::pair<uint32_t, int32_t>, std::vector<TVertex>> groups;
    std::map<std::pair<uint32_t, int32_t>, double> area;
};

// Sends what is batched and waits until the device has drawn it (reading a pixel forces it).
inline void Finish() { GrabPixmap(0, 0, 1, 1); }

// The kept frame's pixels in full screens of Width x Height, in all and per texture and blend
// mode (the largest first, those over a tenth of a screen), each with the time the device takes
// to draw that group alone (median of 9), to see where the fill goes.
inline void PrintPixels(const TTapBackend& tap, const char* label) {
    static const char* const blends[] = {"?", "mask", "solid", "alpha", "light", "shade", "dim", "over"};
    std::vector<std::pair<double, std::pair<uint32_t, int32_t>>> rows;
    double total = 0;
    for (const auto& [key, a] : tap.area) {
        total += a;
        rows.push_back({a / (double(Width) * Height), key});
    }
    std::sort(rows.rbegin(), rows.rend());
    std::printf("%s: %.2f screens of pixels\n", label, total / (double(Width) * Height));
    for (const auto& [screens, key] : rows) {
        if (screens < 0.1) break;
        const auto size = tap.inner->TextureSize(key.first);
        const int32_t b = key.second >= 1 && key.second <= 7 ? key.second : 0;
        const auto& vertices = tap.groups.at(key);
        std::vector<double> ms;
        for (int i = 0; i < 9; ++i) {
            Finish();
            const auto start = std::chrono::steady_clock::now();
            tap.inner->DrawTriangles(key.first, key.second, vertices.data(), vertices.size());
            Finish();
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("  %5.2f screens %-5s %4dx%-4d %6zu quads %6.2f ms\n", screens, blends[b], size.first, size.second,
                    vertices.size() / 6, ms[4]);
    }
}

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

// The build tool's colours for the water tower's reach, as it shows them for a house: green where
// the water reaches, red where it does not.
inline std::shared_ptr<TInfluenceMask> WaterOverlay() {
    TInfluenceMask::TValues needed{}, ignored{};
    ignored.fill(1);
    ignored[0] = 0;
    needed[0] = 100;
    auto mask = TInfluenceMask::Create(needed, 0);
    mask->setIgnore(ignored);
    return mask;
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

// For pictures of the golden simulator town: makes the folder when missing, reads the town's
// script (tests/sim/town.script) and opens the window; null, with a message, when one fails.
inline std::shared_ptr<TApplication> OpenForTown(const std::string& folder, std::string& script) {
    if (FileType(folder) != FILETYPE_DIR) CreateDir(folder);
    if (!LoadBytes("tests/sim/town.script", script)) {
        std::printf("tests/sim/town.script could not be read\n");
        return nullptr;
    }
    return OpenWindow();
}

// The town's map: the start map with seed 7.
inline bool StartTownMap(TSimulator& sim) { return sim.InitWorld("data/maps/128/001r.png", 7); }

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
    tap.area.clear();
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
