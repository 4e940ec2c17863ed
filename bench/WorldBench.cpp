// Figures of the world on screen, side by side in one run:
//  - the world frame at 1280 x 720 on the start map at zoom 0.5, 1 and 4: the CPU time of the
//    world update and draw until every draw call has been handed to the device (rasterisation
//    not included), the same with the device calls dropped (the world's own code only), the
//    whole frame (forced to completion by reading a pixel back), and the physical limit: the
//    very quads the world issued in that frame, grouped by texture and blend mode and drawn with
//    one device call per group;
//  - start-up to the first game frame, and the peak resident memory once the block cache is
//    filled (the camera pans over the whole map);
//  - a world built from a 512 x 512 map (the start map tiled 4 x 4): build time, first frame,
//    and the same frame figures as for the 128 x 128 map.
// Run from the folder that holds cfg/ and data/, with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/WorldBench [--screens docs/screens]
// With --screens the frames at zoom 0.5, 1 and 4 are saved there as zoom_0.5.png, zoom_1.png
// and zoom_4.png.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/TApplication.h"
#include "app/TGame.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TRenderBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TOPPanel.h"

using Clock = std::chrono::steady_clock;

namespace {
constexpr int32_t Width = 1280, Height = 720, Frames = 60, WarmUp = 10;
const char* const StartMap = "data/maps/128/001r.png";
constexpr float Zooms[] = {0.5f, 1.0f, 4.0f};

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A value in kB from /proc/self/status ("VmHWM", "VmRSS"); 0 when unavailable.
long StatusKB(const char* key) {
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
void Finish() { GrabPixmap(0, 0, 1, 1); }

struct TFrameFigures {
    double cpu = 0, worldOnly = 0, frame = 0, limit = 0;
    size_t quads = 0, calls = 0, groups = 0;
};

void Centre(TLayer& layer, float zoom) {
    layer.scaleTicker.reset();
    layer.movementStartMS = -1;
    layer.SetMapScale(zoom, zoom, 0);
    layer.midPosition(0);
}

// Puts the camera centre on map position (mx, my) when the camera may go there.
void LookAt(TLayer& layer, float mx, float my) {
    float px = 0, py = 0;
    layer.iso->ToIso(mx, my, px, py, 1);
    layer.SetPosition(px - 0.5f * layer.getWidth(1), -py, 1, 0);
}

void WorldFrame(TLayer& layer) { layer.Update(Width / 2, Height / 2, 0, 0); }

TFrameFigures MeasureZoom(TLayer& layer, float zoom, const std::string& screenPath) {
    TFrameFigures f;
    TSpriteBatch& batch = TSpriteBatch::Instance();
    TRenderBackend* device = TGraphics::Backend();
    TTapBackend tap(device);
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
    batch.SetBackend(&tap);
    tap.keep = true;
    Cls();
    WorldFrame(layer);
    Finish();
    Flip(0);
    tap.keep = false;
    f.calls = tap.calls;
    f.groups = tap.groups.size();
    for (const auto& g : tap.groups) f.quads += g.second.size() / 6;

    std::vector<double> cpu, frame, worldOnly, limit;
    for (int i = 0; i < Frames; ++i) {
        Cls();
        const auto start = Clock::now();
        WorldFrame(layer);
        batch.Flush();
        cpu.push_back(Ms(start));
        Finish();
        frame.push_back(Ms(start));
        Flip(0);
    }
    // The world's own work: the same frames with the draws dropped before the device.
    tap.drop = true;
    for (int i = 0; i < Frames; ++i) {
        Cls();
        const auto start = Clock::now();
        WorldFrame(layer);
        batch.Flush();
        worldOnly.push_back(Ms(start));
        Finish();
        Flip(0);
    }
    tap.drop = false;
    batch.SetBackend(device);

    // The physical limit: the recorded quads, one device call per texture and blend mode.
    for (int i = 0; i < Frames; ++i) {
        Cls();
        const auto start = Clock::now();
        for (const auto& [key, vertices] : tap.groups) {
            device->DrawTriangles(key.first, key.second, vertices.data(), vertices.size());
        }
        Finish();
        limit.push_back(Ms(start));
        Flip(0);
    }
    f.cpu = Median(cpu);
    f.worldOnly = Median(worldOnly);
    f.frame = Median(frame);
    f.limit = Median(limit);
    return f;
}

void PrintHeader() {
    std::printf("%-9s %5s %9s %11s %9s %9s %7s %7s %7s %7s\n", "map", "zoom", "cpu ms", "world-only", "frame ms",
                "limit ms", "ratio", "quads", "calls", "groups");
}

void PrintRow(const char* map, float zoom, const TFrameFigures& f) {
    std::printf("%-9s %5.1f %9.2f %11.2f %9.2f %9.2f %6.2fx %7zu %7zu %7zu\n", map, double(zoom), f.cpu, f.worldOnly,
                f.frame, f.limit, f.limit > 0 ? f.frame / f.limit : 0.0, f.quads, f.calls, f.groups);
}

// Pans the camera over the whole map (centre on a grid of map points), one frame each.
int32_t PanWholeMap(TLayer& layer, float zoom, int32_t step) {
    Centre(layer, zoom);
    int32_t frames = 0;
    for (int32_t y = 0; y <= layer.Height; y += step) {
        for (int32_t x = 0; x <= layer.Width; x += step) {
            LookAt(layer, float(std::min(x, layer.Width - 1)) + 0.5f, float(std::min(y, layer.Height - 1)) + 0.5f);
            Cls();
            WorldFrame(layer);
            Finish();
            Flip(0);
            ++frames;
        }
    }
    return frames;
}

void PrintCache(const char* what) {
    const size_t pixelBlocks = TOPPanel::PixelBlockCount(0) + TOPPanel::PixelBlockCount(1);
    std::printf(
        "%s: ring blocks %zu (with pixels %zu), ground blocks %zu (with pixels %zu), pixel copies %.1f MB;"
        " VmHWM %.1f MB, VmRSS %.1f MB\n",
        what, TOPPanel::BlockCount(0), TOPPanel::PixelBlockCount(0), TOPPanel::BlockCount(1),
        TOPPanel::PixelBlockCount(1), double(pixelBlocks) * TOPPanel::blockSize * TOPPanel::blockSize * 4 / 1048576.0,
        double(StatusKB("VmHWM")) / 1024.0, double(StatusKB("VmRSS")) / 1024.0);
}

// The start map tiled 4 x 4 into a 512 x 512 map image in a temporary folder.
std::string MakeLargeMap() {
    auto small = LoadPixmap(StartMap);
    if (!small) return "";
    auto big = TPixmap::Create(small->width * 4, small->height * 4);
    if (!big) return "";
    for (int32_t j = 0; j < 4; ++j) {
        for (int32_t i = 0; i < 4; ++i) big->Paste(*small, i * small->width, j * small->height);
    }
    char dir[] = "/tmp/worldbench.XXXXXX";
    if (!mkdtemp(dir)) return "";
    const std::string path = std::string(dir) + "/map512.png";
    return SavePixmapPNG(*big, path, 5) ? path : "";
}

std::string ScreenPath(const std::string& folder, float zoom) {
    if (folder.empty()) return "";
    char name[32];
    std::snprintf(name, sizeof name, "zoom_%g.png", double(zoom));
    return folder + "/" + name;
}
}  // namespace

int main(int argc, char** argv) {
    const auto processStart = Clock::now();
    std::string screens;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--screens") screens = argv[i + 1];
    }
    if (!screens.empty() && FileType(screens) != FILETYPE_DIR) CreateDir(screens);

    // Start-up as the shell does it, at 1280 x 720, up to the first presented game frame.
    auto app = TApplication::Create();
    if (!app) return 1;
    app->Init();
    app->xmax = Width;
    app->ymax = Height;
    TLayer::Init(Width, Height);
    if (!app->InitWindow()) return 1;
    const double windowMs = Ms(processStart);
    app->loadResources(1);
    const double contentMs = Ms(processStart);
    const long contentHWM = StatusKB("VmHWM");
    auto game = TGame::CreateFromImage(app.get(), StartMap);
    if (!game) {
        std::printf("Error, Game could not be loaded!\n");
        return 1;
    }
    const double worldMs = Ms(processStart);
    game->_render();
    const double firstFrameMs = Ms(processStart);
    std::printf("start-up to the first game frame: %.1f ms (window %.1f, content %.1f, world %.1f, first frame %.1f)\n",
                firstFrameMs, windowMs, contentMs - windowMs, worldMs - contentMs, firstFrameMs - worldMs);
    std::printf("VmHWM with the content loaded: %.1f MB; after the first game frame: %.1f MB\n\n",
                double(contentHWM) / 1024.0, double(StatusKB("VmHWM")) / 1024.0);
    TLayer& small = *game->layer;

    std::vector<std::pair<float, TFrameFigures>> smallRows;
    for (float zoom : Zooms) smallRows.emplace_back(zoom, MeasureZoom(small, zoom, ScreenPath(screens, zoom)));

    const auto panStart = Clock::now();
    const int32_t panFrames = PanWholeMap(small, TLayer::minScale, 16);
    std::printf("pan over the 128 x 128 map: %d frames in %.1f ms\n", panFrames, Ms(panStart));
    PrintCache("128 x 128 cache filled");
    const long smallHWM = StatusKB("VmHWM");

    // The large map replaces the start map in the same game shell.
    game->layer->Destroy();
    game.reset();
    const std::string bigPath = MakeLargeMap();
    if (bigPath.empty()) {
        std::printf("the 512 x 512 map could not be made\n");
        return 1;
    }
    auto buildStart = Clock::now();
    auto bigGame = TGame::CreateFromImage(app.get(), bigPath);
    if (!bigGame) {
        std::printf("Error, Game could not be loaded!\n");
        return 1;
    }
    const double buildMs = Ms(buildStart);
    const auto firstStart = Clock::now();
    Cls();
    WorldFrame(*bigGame->layer);
    Finish();
    Flip(0);
    const double bigFirstMs = Ms(firstStart);
    std::printf("512 x 512 map: world built in %.1f ms, first frame (fills the block cache) %.1f ms\n", buildMs,
                bigFirstMs);
    std::vector<std::pair<float, TFrameFigures>> bigRows;
    for (float zoom : Zooms) bigRows.emplace_back(zoom, MeasureZoom(*bigGame->layer, zoom, ""));
    const auto bigPanStart = Clock::now();
    const int32_t bigPanFrames = PanWholeMap(*bigGame->layer, TLayer::minScale, 32);
    std::printf("pan over the 512 x 512 map: %d frames in %.1f ms\n", bigPanFrames, Ms(bigPanStart));
    PrintCache("512 x 512 cache filled");
    std::printf("peak resident memory: %.1f MB with the 128 x 128 map, %.1f MB after the 512 x 512 map\n\n",
                double(smallHWM) / 1024.0, double(StatusKB("VmHWM")) / 1024.0);

    std::printf(
        "World frame at %d x %d, medians of %d frames (cpu = update and draw until every call is handed to"
        " the device;\nworld-only = the same with the device calls dropped; frame = forced to completion;"
        " limit = the same quads,\none device call per texture and blend; calls = device calls the world"
        " made)\n",
        Width, Height, Frames);
    PrintHeader();
    for (const auto& [zoom, f] : smallRows) PrintRow("128x128", zoom, f);
    for (const auto& [zoom, f] : bigRows) PrintRow("512x512", zoom, f);

    bigGame->layer->Destroy();
    bigGame.reset();
    std::remove(bigPath.c_str());
    rmdir(bigPath.substr(0, bigPath.rfind('/')).c_str());
    app->Stop();
    return 0;
}
