// Figures of the world on screen, side by side in one run:
//  - the world frame at 1280 x 720 on the start map at zoom 0.5, 1 and 4: the CPU time of the
//    world update and draw until every draw call has been handed to the device (rasterisation
//    not included), the same with the device calls dropped (the world's own code only), the
//    whole frame (forced to completion by reading a pixel back), and the physical limit: the
//    very quads the world issued in that frame, grouped by texture and blend mode and drawn with
//    one device call per group;
//  - start-up to the first game frame, and the peak resident memory after the camera panned
//    over the whole map (the ground's block cache follows the view), and again after panning
//    over it with the build tool's colours shown at the widest zoom, 1 and 2;
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
#include "bench/FrameMeasure.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TRenderBackend.h"
#include "platform/TSpriteBatch.h"
#include "platform/TStream.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TOPPanel.h"

namespace {
using namespace bench;
const char* const StartMap = "data/maps/128/001r.png";
constexpr float Zooms[] = {0.5f, 1.0f, 4.0f};

void WorldFrame(TLayer& layer) { layer.Update(Width / 2, Height / 2, 0, 0); }

// Pans the camera over the whole map (centre on a grid of map points), one frame each; with a
// mask the build tool's colours are shown in every frame.
int32_t PanWholeMap(TLayer& layer, float zoom, int32_t step, const std::shared_ptr<TInfluenceMask>& mask = nullptr) {
    Centre(layer, zoom);
    int32_t frames = 0;
    for (int32_t y = 0; y <= layer.Height; y += step) {
        for (int32_t x = 0; x <= layer.Width; x += step) {
            LookAt(layer, float(std::min(x, layer.Width - 1)) + 0.5f, float(std::min(y, layer.Height - 1)) + 0.5f);
            Cls();
            if (mask) layer.GroundLayer->setInfluenceMask(mask);
            WorldFrame(layer);
            Finish();
            Flip(0);
            ++frames;
        }
    }
    return frames;
}

// Pans over the whole map with the build tool's colours shown, at the widest zoom, 1 and 2;
// returns the peak resident memory after it.
long PanWithOverlay(TLayer& layer, int32_t step) {
    const auto mask = WaterOverlay();
    int32_t frames = 0;
    const auto start = Clock::now();
    for (const float zoom : {TLayer::minScale, 1.0f, 2.0f}) frames += PanWholeMap(layer, zoom, step, mask);
    std::printf("pan with the overlay at zoom %.2f, 1 and 2: %d frames in %.1f ms\n", double(TLayer::minScale), frames,
                Ms(start));
    return StatusKB("VmHWM");
}

// Block pixels on the device, and what of them is also kept in main memory.
void PrintCache(const char* what, const TOPPanel& cache) {
    const double blockMB = double(TOPPanel::blockSize) * TOPPanel::blockSize * 4 / 1048576.0;
    const size_t pixelBlocks = cache.PixelBlockCount(0) + cache.PixelBlockCount(1);
    const size_t copies = cache.PixelCopyCount(0) + cache.PixelCopyCount(1);
    std::printf(
        "%s: ring blocks %zu (with pixels %zu), ground blocks %zu (with pixels %zu), block pixels %.1f MB"
        " (pixel copies in main memory %.1f MB), blocks drawn from their tiles %llu; VmHWM %.1f MB, VmRSS %.1f MB\n",
        what, cache.BlockCount(0), cache.PixelBlockCount(0), cache.BlockCount(1), cache.PixelBlockCount(1),
        double(pixelBlocks) * blockMB, double(copies) * blockMB, static_cast<unsigned long long>(cache.FillCount()),
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
    const double beforeWindowMs = Ms(processStart);
    TOpenTimes open;
    auto app = OpenWindow(&open);
    if (!app) return 1;
    const double windowMs = beforeWindowMs + open.window;
    const double contentMs = windowMs + open.content;
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
    PrintCache("128 x 128 after the pan", small.GroundLayer->cache);
    const long smallHWM = StatusKB("VmHWM");
    const long smallOverlayHWM = PanWithOverlay(small, 16);

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
    std::printf("512 x 512 map: world built in %.1f ms, first frame %.1f ms\n", buildMs, bigFirstMs);
    std::vector<std::pair<float, TFrameFigures>> bigRows;
    for (float zoom : Zooms) bigRows.emplace_back(zoom, MeasureZoom(*bigGame->layer, zoom, ""));
    const auto bigPanStart = Clock::now();
    const int32_t bigPanFrames = PanWholeMap(*bigGame->layer, TLayer::minScale, 32);
    std::printf("pan over the 512 x 512 map: %d frames in %.1f ms\n", bigPanFrames, Ms(bigPanStart));
    PrintCache("512 x 512 after the pan", bigGame->layer->GroundLayer->cache);
    const long bigHWM = StatusKB("VmHWM");
    const long bigOverlayHWM = PanWithOverlay(*bigGame->layer, 32);
    std::printf("peak resident memory: %.1f MB with the 128 x 128 map (%.1f MB with the overlay), %.1f MB after the"
                " 512 x 512 map (%.1f MB with the overlay)\n\n",
                double(smallHWM) / 1024.0, double(smallOverlayHWM) / 1024.0, double(bigHWM) / 1024.0,
                double(bigOverlayHWM) / 1024.0);

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
