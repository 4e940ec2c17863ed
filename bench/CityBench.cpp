// Figures of a grown city, in one run:
//  - one game year headless (vallmora-sim's engine) on the start map with the golden town:
//    wall time and the days per second;
//  - a 256 x 256 map with a road grid and 3,000 finished buildings of every kind at speed 4:
//    the simulation's CPU time per step (20 ms of game clock) as median, 99th percentile and
//    worst, the steps that rebuild the influence layer included and also shown apart;
//  - the world frame at 1280 x 720 over the middle of that city at zoom 0.5, 1 and 2 against the
//    physical limit for the same quads (see bench/FrameMeasure.h).
// Run from the folder that holds cfg/ and data/, with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/CityBench
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "app/TSimulator.h"
#include "bench/CityBuilder.h"
#include "bench/FrameMeasure.h"
#include "platform/TPixmap.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/THabitantPool.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"

using namespace bench;

namespace {
double Percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(q * double(v.size())))];
}
}  // namespace

int main() {
    // One game year headless on the start map with the golden town.
    {
        std::string script;
        if (!LoadBytes("tests/sim/town.script", script)) {
            std::printf("tests/sim/town.script could not be read\n");
            return 1;
        }
        const auto start = Clock::now();
        TSimulator sim;
        if (!sim.Init("data/maps/128/001r.png", 7)) return 1;
        const double initMs = Ms(start);
        std::ostringstream lines, refusals;
        const auto run = Clock::now();
        sim.RunScript(script + "speed 4\ndays 365\n", lines, refusals);
        const double runMs = Ms(run);
        const int32_t days = sim.world->currentDay;
        std::printf(
            "headless year on the start map (town script, then 365 days at speed 4): content and world %.0f ms,"
            " %d days simulated in %.0f ms (%.0f days per second); %d inhabitants, %zu buildings\n\n",
            initMs, days, runMs, runMs > 0 ? 1000.0 * days / runMs : 0.0,
            sim.world->habitantPool->countActiveHabitants(), sim.world->BuildingLayer->arrBuilding.Count());
    }

    auto app = OpenWindow();
    if (!app) return 1;
    TSimulator sim;
    const std::string mapPath = GrowCity(sim, false);
    if (mapPath.empty()) return 1;
    TLayer& layer = *sim.world;

    // Simulation steps (20 ms of game clock each, speed 4): 40 game days.
    std::vector<double> all, rebuilds;
    const int32_t steps = 40 * 63;
    for (int32_t i = 0; i < steps; ++i) {
        const int32_t before = layer.InfluenceLayer->lastCheck;
        const auto t = Clock::now();
        sim.Step();
        const double ms = Ms(t);
        all.push_back(ms);
        if (layer.InfluenceLayer->lastCheck != before) rebuilds.push_back(ms);
    }
    std::printf(
        "simulation per step over %d steps: median %.3f ms, p99 %.3f ms, worst %.3f ms;"
        " the %zu steps with an influence rebuild: median %.3f ms, worst %.3f ms\n",
        steps, Median(all), Percentile(all, 0.99), Percentile(all, 1.0), rebuilds.size(), Median(rebuilds),
        Percentile(rebuilds, 1.0));
    std::printf("after the run: day %d, %d inhabitants, %d waiting\n\n", layer.currentDay,
                layer.habitantPool->countActiveHabitants(), layer.habitantPool->countAvailableHabitants());

    std::printf("World frame at %d x %d over the middle of the city, medians of %d frames\n", Width, Height, Frames);
    PrintHeader();
    for (float zoom : {0.5f, 1.0f, 2.0f}) {
        const TFrameFigures f = MeasureZoom(layer, zoom, "");
        PrintRow("city256", zoom, f);
    }
    RemoveMap(mapPath);
    return 0;
}
