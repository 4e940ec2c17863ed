// Fixed scenes for comparing the world's drawing before and after a change: the golden simulator
// town (tests/sim/town.script) on the start map at zoom 0.5, 1 and 2, with the build tool's water
// colours, in a storm, under a bright sky (zoom 1) and a dark one (zoom 0.5, where the black ring
// beyond the map shows) and in a storm at zoom 0.5; and
// the big grid city (CityBuilder.h) at zoom 1. The skies are drawn on a stopped clock, so two runs
// of one build write the same pixels and two builds can be compared with `compare -metric AE`.
// Run from the folder that holds cfg/ and data/, with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/FrameScreens [folder]
// Writes start_zoom05.png, start_zoom1.png, start_zoom2.png, start_overlay.png, start_storm.png,
// start_bright.png, start_dark_zoom05.png, start_storm_zoom05.png and city.png into the folder
// (default screens).
#include <cstdio>
#include <iostream>
#include <string>

#include "app/TApplication.h"
#include "app/TSimulator.h"
#include "bench/CityBuilder.h"
#include "bench/FrameMeasure.h"
#include "platform/TClock.h"
#include "platform/TStream.h"
#include "world/TGroundLayer.h"
#include "world/TLayer.h"
#include "world/TWeatherLayer.h"

using namespace bench;

namespace {
// The weather held at `value` (0 bright … 3 calm … 6 storm).
void Weather(TLayer& layer, int32_t value) {
    TWeatherLayer& w = *layer.WeatherLayer;
    w.lastMode = w.currentMode = value;
    w.lastDay = w.untilChangeDay = layer.currentDay;
    w.nextUpdateDay = INT32_MAX;
}
}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "screens";
    std::string script;
    auto app = OpenForTown(folder, script);
    if (!app) return 1;
    {
        TSimulator sim;
        if (!StartTownMap(sim)) return 1;
        TLayer& layer = *sim.world;
        std::ostringstream sink;
        if (sim.RunScript(script, sink, std::cerr) != 0) return 1;
        Weather(layer, 3);
        for (const auto& [zoom, name] :
             {std::pair{0.5f, "zoom05"}, std::pair{1.0f, "zoom1"}, std::pair{2.0f, "zoom2"}}) {
            Centre(layer, zoom);
            LookAt(layer, 31, 69);
            Shot(layer, -100, -100, folder + "/start_" + name + ".png");
        }
        Centre(layer, 1);
        LookAt(layer, 31, 69);
        const auto mask = WaterOverlay();
        Shot(layer, -100, -100, folder + "/start_overlay.png", [&] { layer.GroundLayer->setInfluenceMask(mask); });
        const TClock::TScope stopped(std::make_shared<TManualClock>());
        Weather(layer, 6);
        Shot(layer, -100, -100, folder + "/start_storm.png");
        Weather(layer, 0);
        Shot(layer, -100, -100, folder + "/start_bright.png");
        Centre(layer, 0.5f);
        LookAt(layer, 20, 100);
        Weather(layer, 4);
        Shot(layer, -100, -100, folder + "/start_dark_zoom05.png");
        Weather(layer, 6);
        Shot(layer, -100, -100, folder + "/start_storm_zoom05.png");
    }
    TSimulator city;
    const std::string mapPath = GrowCity(city, false);
    if (mapPath.empty()) return 1;
    RemoveMap(mapPath);
    TLayer& layer = *city.world;
    Weather(layer, 3);
    Centre(layer, 1);
    Shot(layer, -100, -100, folder + "/city.png");
    return 0;
}
