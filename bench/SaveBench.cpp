// Figures of saving and loading a city, headless:
//  - the golden town on the start map (128 x 128) after its script: the save's wall time, which
//    the game spends inside one frame, and the load's;
//  - the 256 x 256 city of 3,000 buildings grown for a game month: save and load, file size.
// Each time is the median of five runs. Run from the folder that holds cfg/ and data/:
//   build/bench/SaveBench
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/TSimulator.h"
#include "bench/CityBuilder.h"
#include "bench/FrameMeasure.h"
#include "platform/TStream.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"

using namespace bench;

namespace {
void Measure(const char* name, TLayer& world, const std::string& path) {
    std::vector<double> saves, loads;
    for (int32_t i = 0; i < 5; ++i) {
        const auto s = Clock::now();
        if (!world.Save(path)) {
            std::printf("%s: the save failed\n", name);
            return;
        }
        saves.push_back(Ms(s));
        std::string message;
        const auto l = Clock::now();
        auto loaded = TLayer::Load(path, message);
        loads.push_back(Ms(l));
        if (!loaded) {
            std::printf("%s: the load was refused: %s\n", name, message.c_str());
            return;
        }
        loaded->Destroy();
    }
    std::printf("%s: %zu buildings, %d inhabitants, %zu cars; file %.2f MB; save %.1f ms, load %.1f ms\n", name,
                world.BuildingLayer->arrBuilding.Count(), world.habitantPool->countActiveHabitants(),
                world.BuildingLayer->arrCar.Count(), double(std::filesystem::file_size(path)) / 1e6, Median(saves),
                Median(loads));
}
}  // namespace

int main() {
    const std::string path = std::filesystem::temp_directory_path() / "vallmora-savebench.sav";
    {
        std::string script;
        if (!LoadBytes("tests/sim/town.script", script)) {
            std::printf("tests/sim/town.script could not be read\n");
            return 1;
        }
        TSimulator sim;
        if (!sim.Init("data/maps/128/001r.png", 7)) return 1;
        std::ostringstream lines, refusals;
        sim.RunScript(script, lines, refusals);
        Measure("golden town, 128 x 128", *sim.world, path);
    }
    TSimulator sim;
    const std::string mapPath = GrowCity(sim, true);
    if (mapPath.empty()) return 1;
    std::ostringstream sink;
    sim.Days(30, sink);
    Measure("city, 256 x 256", *sim.world, path);
    RemoveMap(mapPath);
    std::filesystem::remove(path);
    return 0;
}
