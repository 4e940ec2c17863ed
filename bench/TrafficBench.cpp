// Figures of the traffic, in one run:
//  - 1,000 cars on a 256 x 256 road grid around the middle of the map: the CPU time of moving
//    them (one frame's car update, 16 ms of game clock each) as median and worst, and the world
//    frame at 1280 x 720 at zoom 1 against the physical limit for the same quads;
//  - the route search between two buildings 35 tiles apart on a dense road grid, and the job
//    search of one house among 200 work places (median and worst, microseconds).
// Run from the folder that holds cfg/ and data/, with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/TrafficBench
#include <cstdio>
#include <string>
#include <vector>

#include "app/TSimulator.h"
#include "bench/FrameMeasure.h"
#include "platform/TClock.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/TLayer.h"
#include "world/TRoadLayer.h"

using namespace bench;

namespace {
constexpr int32_t MapSize = 256, RoadEvery = 4, Cars = 1000, Samples = 200;

double Us(Clock::time_point since) { return 1000.0 * Ms(since); }

double Worst(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

std::shared_ptr<TPicturePlugin> Plugin(const std::string& id) {
    return std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(id));
}

// Places the plugin's building at the first place from (x, y) along x where it may stand.
std::shared_ptr<TBuilding> PlaceNear(TLayer& layer, const std::shared_ptr<TPicturePlugin>& p, int32_t x, int32_t y) {
    for (int32_t i = x; i < layer.Width; ++i) {
        if (layer._CanBuild(p, float(i), float(y))) return layer.BuildingLayer->_SetTile(i, y, p);
    }
    return nullptr;
}
}  // namespace

int main() {
    auto app = OpenWindow();
    if (!app) return 1;
    const std::string mapPath = MakeGridMap(MapSize, RoadEvery);
    TSimulator sim;
    if (mapPath.empty() || !sim.InitWorld(mapPath, 5)) return 1;
    TLayer& layer = *sim.world;
    TBuildingLayer& bl = *layer.BuildingLayer;
    const auto& kinds = TCarVehicle::CarsOfLevel(0);
    if (kinds.empty()) {
        std::printf("no car kinds loaded\n");
        return 1;
    }
    const int32_t mid = MapSize / 2;
    for (int32_t i = 0; i < Cars; ++i) {
        int32_t x = 0, y = 0;
        if (!bl._GetPlaceForCar(mid, mid, x, y)) break;
        bl._AddCar_(kinds[size_t(i) % kinds.size()], x, y, nullptr);
    }
    std::printf("%zu cars on a %d x %d grid of roads every %d tiles\n", bl.arrCar.Count(), MapSize, MapSize, RoadEvery);

    TManualClock* clock = sim.GetClock();
    std::vector<double> update;
    for (int32_t i = 0; i < 600; ++i) {
        if (clock) clock->Advance(16);
        const auto t = Clock::now();
        bl.__UpdateCars();
        update.push_back(Ms(t));
    }
    int32_t jammed = 0;
    for (const auto& car : bl.arrCar.Items()) jammed += car->jam;
    std::printf(
        "car update per frame over 600 frames: median %.3f ms, worst %.3f ms (%d of %zu cars waiting at the end)\n",
        Median(update), Worst(update), jammed, bl.arrCar.Count());
    PrintHeader();
    PrintRow("traffic", 1.0f, MeasureZoom(layer, 1.0f, ""));

    // Route and job search.
    auto house = Plugin("res_wohnhaus"), shop = Plugin("com_laden");
    if (!house || !shop) return 1;
    auto a = PlaceNear(layer, house, 20, 22);
    auto b = PlaceNear(layer, shop, 55, 22);
    std::vector<double> route;
    size_t length = 0;
    for (int32_t i = 0; i < Samples && a && b; ++i) {
        const auto t = Clock::now();
        length = layer.RoadLayer->_findWay(a, b).size();
        route.push_back(Us(t));
    }
    std::printf("route search over %d tiles (%zu roads on the route): median %.0f us, worst %.0f us\n",
                b && a ? b->x - a->x : 0, length, Median(route), Worst(route));
    for (int32_t i = 0; i < 200; ++i) {
        if (auto w = PlaceNear(layer, shop, 60 + (i % 20) * 4, 60 + (i / 20) * 4)) {
            w->inBuildMode = 0;
            w->noneededroad = 0;
        }
    }
    auto home = PlaceNear(layer, house, 100, 100);
    std::vector<double> job;
    for (int32_t i = 0; i < Samples && home; ++i) {
        home->cJob.reset();
        const auto t = Clock::now();
        home->_FindJob();
        job.push_back(Us(t));
    }
    std::printf("job search of one house among 200 work places: median %.0f us, worst %.0f us (%s)\n", Median(job),
                Worst(job), home && home->cJob ? "found" : "none found");
    RemoveMap(mapPath);
    return 0;
}
