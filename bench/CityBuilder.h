#pragma once
// The big city the benchmarks share: a 256 x 256 map with a road grid every sixth tile and
// 3,000 buildings of every kind, finished at once and grown for three game days.
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/TSimulator.h"
#include "bench/FrameMeasure.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"

namespace bench {
constexpr int32_t CitySize = 256, RoadEvery = 6, CityBuildings = 3000;

// Every building plugin, cycling through the kinds so the city mixes them.
inline std::vector<std::shared_ptr<TPicturePlugin>> BuildingPlugins() {
    std::vector<std::shared_ptr<TPicturePlugin>> all;
    for (const auto& p : TPlugin::PluginList()) {
        auto pic = std::dynamic_pointer_cast<TPicturePlugin>(p);
        if (pic && pic->picture[0] && pic->structuretyp != "ground" && pic->structuretyp != "water") all.push_back(pic);
    }
    return all;
}

// Places up to count buildings wherever they may stand (no money involved); returns how many.
inline int32_t FillCity(TLayer& layer, int32_t count) {
    const auto plugins = BuildingPlugins();
    if (plugins.empty()) return 0;
    int32_t placed = 0;
    size_t next = 0;
    for (int32_t y = 0; y < layer.Height && placed < count; ++y) {
        for (int32_t x = 0; x < layer.Width && placed < count; ++x) {
            const auto& p = plugins[next % plugins.size()];
            if (!layer._CanBuild(p, float(x), float(y))) continue;
            layer.BuildingLayer->_SetTile(x, y, p);
            ++placed;
            ++next;
        }
    }
    return placed;
}

// The city for the growth rules: the big city's mix of every kind (homes of all levels, work
// places and the services that make people content) on the same grid, in the northern half:
// homes for about 10,000 inhabitants and jobs for them.
constexpr int32_t GrowthCityBuildings = 1650;
inline int32_t FillGrowthCity(TLayer& layer) { return FillCity(layer, GrowthCityBuildings); }

// Grows the city in the simulator: headless loads the content behind the recording back end,
// otherwise the content already loaded (a window's) is used. Returns the map image's path for
// RemoveMap, empty on failure.
inline std::string GrowCity(TSimulator& sim, bool headless) {
    const std::string mapPath = MakeGridMap(CitySize, RoadEvery);
    if (mapPath.empty() || !(headless ? sim.Init(mapPath, 11) : sim.InitWorld(mapPath, 11))) return "";
    TLayer& layer = *sim.world;
    const auto fillStart = Clock::now();
    const int32_t placed = FillCity(layer, CityBuildings);
    std::printf("256 x 256 city: %d buildings placed in %.0f ms\n", placed, Ms(fillStart));
    layer.cheat->immediatelyBuild = 1;
    std::ostringstream sink;
    sim.Days(3, sink);
    int32_t finished = 0;
    for (const auto& b : layer.BuildingLayer->arrBuilding.Items()) finished += b->inBuildMode == 0;
    std::printf("after 3 days: %d finished, %d inhabitants\n", finished, layer.habitantPool->countActiveHabitants());
    return mapPath;
}

}  // namespace bench
