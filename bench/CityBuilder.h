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
        if (pic && pic->picture[0] && pic->IsBuilding()) all.push_back(pic);
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

// The city for the growth rules, on the same grid from the north: one of every public building
// and park at points ServiceEvery tiles apart (each as near its point as it may stand), so every
// home lies within reach of every service, then homes and work places of every level around
// them, cycling through the kinds (GrowthCityBuildings of them): homes for about 10,000
// inhabitants and jobs for them. Returns all buildings placed.
constexpr int32_t GrowthCityBuildings = 2100, ServiceEvery = 18;
inline int32_t FillGrowthCity(TLayer& layer) {
    std::vector<std::shared_ptr<TPicturePlugin>> services, others;
    for (const auto& p : BuildingPlugins()) {
        const bool service =
            p->structure == TPicturePlugin::TStructure::Public || p->structure == TPicturePlugin::TStructure::Park;
        (service ? services : others).push_back(p);
    }
    if (others.empty()) return 0;
    int32_t placed = 0;
    const auto place = [&](const std::shared_ptr<TPicturePlugin>& p, int32_t x, int32_t y) {
        if (!layer._CanBuild(p, float(x), float(y))) return false;
        layer.BuildingLayer->_SetTile(x, y, p);
        ++placed;
        return true;
    };
    // Band by band of ServiceEvery rows from the north: the band's services, then homes and
    // work places in what is left of it, until there are enough of them.
    size_t next = 0;
    const size_t wanted = size_t(GrowthCityBuildings);
    for (int32_t band = 0; band < layer.Height && next < wanted; band += ServiceEvery) {
        const int32_t cy = band + ServiceEvery / 2;
        for (int32_t cx = ServiceEvery / 2; cx < layer.Width; cx += ServiceEvery) {
            for (const auto& p : services) {
                bool done = false;
                for (int32_t r = 0; r < ServiceEvery / 2 && !done; ++r) {
                    for (int32_t y = cy - r; y <= cy + r && !done; ++y) {
                        for (int32_t x = cx - r; x <= cx + r && !done; ++x) done = place(p, x, y);
                    }
                }
            }
        }
        for (int32_t y = band; y < std::min(band + ServiceEvery, layer.Height) && next < wanted; ++y) {
            for (int32_t x = 0; x < layer.Width && next < wanted; ++x) {
                if (place(others[next % others.size()], x, y)) ++next;
            }
        }
    }
    return placed;
}

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
