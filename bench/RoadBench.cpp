// Figures of road building with the game's own street plugins, on a 128 x 128 world of land
// without a window (headless drawing back end):
//  - a 100-tile straight road along a row (BuildRoad, as road mode builds it),
//  - a 20-tile bridge (a straight road over 20 water tiles between two shore tiles),
//  - clearing an 8 x 8 square full of roads through destroy mode (preview frame + confirmation),
//  - placing one tile inside a road grid (the re-framing of its neighbourhood).
// Each figure is the median of many runs; the map is restored between runs outside the timing.
// Run from the folder that holds cfg/ and data/:  build/bench/RoadBench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "framework/TFastRandom.h"
#include "platform/TGraphics.h"
#include "platform/TStream.h"
#include "settings/TConfig.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

using Clock = std::chrono::steady_clock;

namespace {
constexpr int32_t MapSize = 128, Runs = 200;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<int32_t> Row(int32_t x0, int32_t x1, int32_t y) {
    std::vector<int32_t> pts;
    for (int32_t x = x0; x <= x1; ++x) {
        pts.push_back(x);
        pts.push_back(y);
    }
    return pts;
}

template <typename Setup, typename Work>
double Measure(Setup setup, Work work) {
    std::vector<double> ms;
    for (int32_t i = 0; i < Runs; ++i) {
        setup();
        const auto t0 = Clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return Median(ms);
}

int32_t Yes(void*, float) { return 1; }
}  // namespace

int main() {
    auto backend = TGraphics::HeadlessGraphics(1280, 720);
    TConfig::SetDefaults();
    TLayer::Init(1280, 720);
    TLayer::Prepare(nullptr, nullptr);
    auto street = TStreet::GetByLevel(0, 0);
    if (!street || !street->bridgeAble) {
        Print("RoadBench: no level-0 street with bridges under data/plugins; run from the game folder");
        return 1;
    }
    auto world = TLayer::Create(MapSize, MapSize, vesko::TFastRandom::Create(42));
    for (int32_t x = 0; x < MapSize; ++x) {
        for (int32_t y = 0; y < MapSize; ++y) world->_SetGround(x, y, (x >= 30 && x < 50 && y >= 60) ? 1 : 0, nullptr);
    }
    world->setEnoughMoneyToBuyFunc(&Yes, nullptr);
    world->setExpendMoneyFunc(&Yes, nullptr);
    TRoadLayer& rl = *world->RoadLayer;

    const double road =
        Measure([&] { world->ClearField(10, 10, 101, 1); }, [&] { rl.BuildRoad(street, Row(10, 109, 10), 1, 0); });
    // Shore at x = 29 and x = 50, water 30 … 49.
    const double bridge =
        Measure([&] { world->ClearField(28, 70, 25, 1); }, [&] { rl.BuildRoad(street, Row(28, 51, 70), 1, 0); });
    if (!rl._GetTile(40, 70) || !rl._GetTile(40, 70)->bridge) Print("RoadBench: the bridge was not built");

    // A grid of roads around the square to clear, every tile of it a road.
    auto fillSquare = [&] {
        for (int32_t y = 80; y < 100; ++y) rl.BuildRoad(street, Row(60, 79, y), 0, 0);
        rl.destroyedRoad.clear();
    };
    world->setDestroySize(8);
    float px = 0, py = 0;
    world->iso->ToIso(70.0f, 90.0f, px, py);
    const double clear = Measure(
        [&] {
            fillSquare();
            world->EndMode();
            world->BeginDestroyMode(nullptr, nullptr);
        },
        [&] {
            world->_UpdateDestroyMode(int32_t(px), int32_t(py), 1);  // preview and press
            world->_UpdateDestroyMode(int32_t(px), int32_t(py), 0);  // confirmed: cleared
            rl.EndDraw();
            world->GroundLayer->EndDraw();
        });
    if (rl._GetTile(70, 90)) Print("RoadBench: the square was not cleared");

    fillSquare();
    const double one = Measure([&] { world->ClearTile(70, 90); }, [&] { rl._SetTile(street, 70, 90, {}); });

    std::printf("RoadBench (%d x %d world, %zu roads, median of %d runs; a frame at 60 Hz is 16.7 ms)\n", MapSize,
                MapSize, rl.arrRoad.size(), Runs);
    std::printf("  100-tile road along a row:      %8.3f ms\n", road);
    std::printf("  20-tile bridge (24 points):     %8.3f ms\n", bridge);
    std::printf("  clear 8 x 8 square (destroy):   %8.3f ms\n", clear);
    std::printf("  one tile in a road grid:        %8.3f ms\n", one);
    world->Destroy();
    return 0;
}
