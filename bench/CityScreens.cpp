// Pictures of a small grown town for review: the golden simulator town (tests/sim/town.script)
// played on the start map, then a few new buildings under construction, seen at zoom 1, the same
// town in an influence view (water supply), its traffic at zoom 2, the traffic colours view, and
// the routes of one house's commuters. Run from the folder that holds cfg/ and data/,
// with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/CityScreens [folder]
// Writes town.png, town_construction.png, town_influence.png, town_traffic.png,
// town_traffic_colours.png and town_routes.png into the folder (default screens).
#include <cstdio>
#include <iostream>
#include <string>

#include "app/TApplication.h"
#include "app/TSimulator.h"
#include "bench/FrameMeasure.h"
#include "platform/TDraw.h"
#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "plugins/TInfluenceMask.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/TGroundLayer.h"
#include "world/THabitant.h"
#include "world/TISO.h"
#include "world/TLayer.h"

using namespace bench;

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "screens";
    std::string script;
    auto app = OpenForTown(folder, script);
    if (!app) return 1;
    TSimulator sim;
    if (!StartTownMap(sim)) return 1;

    TLayer& layer = *sim.world;
    layer.SetMapScale(1, 1, 0);
    LookAt(layer, 31, 69);
    if (sim.RunScript(script, std::cout, std::cerr) != 0) return 1;
    Shot(layer, -100, -100, folder + "/town.png");

    // New buildings east of the block: two days into their construction.
    const char* more =
        "speed 4\nbuild com_buerohaus 39 64\nbuild ind_fabrik 39 67\n"
        "build res_mehrfamilienhaus 39 71\nbuild res_wohnblock 39 74\ndays 2\n";
    layer.cheat->immediatelyBuild = 0;
    if (sim.RunScript(more, std::cout, std::cerr) != 0) return 1;
    LookAt(layer, 37, 69);
    Shot(layer, -100, -100, folder + "/town_construction.png");

    // The water view: green where the water tower reaches, red where it does not.
    const auto mask = WaterOverlay();
    Shot(layer, -100, -100, folder + "/town_influence.png", [&] { layer.GroundLayer->setInfluenceMask(mask); });

    // Traffic: a few more days for the cars to spread, then zoom 2 over the side street.
    if (sim.RunScript("days 3\n", std::cout, std::cerr) != 0) return 1;
    layer.SetMapScale(2, 2, 0);
    LookAt(layer, 28, 68);
    Shot(layer, -100, -100, folder + "/town_traffic.png");
    layer.SetMapScale(1, 1, 0);
    LookAt(layer, 31, 69);
    Shot(layer, -100, -100, folder + "/town_traffic_colours.png", [&] { layer.ShowTrafficColors(); });
    // The commuters' routes of the house with the most employed inhabitants.
    std::shared_ptr<TBuilding> marked;
    size_t best = 0;
    for (const auto& b : layer.BuildingLayer->arrBuilding.Items()) {
        size_t employed = 0;
        for (const auto& h : b->habitants.Items()) employed += h->job ? 1 : 0;
        if (employed > best) {
            best = employed;
            marked = b;
        }
    }
    if (marked) Shot(layer, -100, -100, folder + "/town_routes.png", [&] { layer._markBuildingWays(marked, 0); });
    return 0;
}
