// Pictures of the roads on the start map for review: the map's own roads, a bridge built over
// the nearest suitable water, and a destroy preview over the bridge's shore end.
// Run from the folder that holds cfg/ and data/, with a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/RoadScreens [folder]
// Writes roads_map.png, roads_bridge.png and roads_destroy.png into the folder (default screens).
#include <cstdio>
#include <string>
#include <vector>

#include "app/TApplication.h"
#include "app/TGame.h"
#include "bench/FrameMeasure.h"
#include "platform/TDraw.h"
#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "gui/TBridgeTool.h"
#include "gui/TGameGUIElements.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

namespace {
using namespace bench;

// A row segment land, 2 … maxRun water tiles, land, for a straight bridge; false when none.
bool FindCrossing(TLayer& layer, int32_t maxRun, int32_t& x0, int32_t& x1, int32_t& y) {
    TGroundLayer& g = *layer.GroundLayer;
    for (y = 2; y < layer.Height - 2; ++y) {
        for (int32_t x = 2; x + maxRun + 4 < layer.Width; ++x) {
            if (g._WaterPercentage(x, y, 1, 1) >= 1.0f || g._WaterPercentage(x + 1, y, 1, 1) >= 1.0f) continue;
            if (layer.RoadLayer->_GetTile(x, y)) continue;
            int32_t run = 0;
            while (g._WaterPercentage(x + 2 + run, y, 1, 1) >= 1.0f) ++run;
            if (run < 2 || run > maxRun) continue;
            if (g._WaterPercentage(x + 2 + run + 1, y, 1, 1) >= 1.0f) continue;
            x0 = x;
            x1 = x + 2 + run + 1;
            return true;
        }
    }
    return false;
}

int32_t Yes(void*) { return 1; }
}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "screens";
    if (FileType(folder) != FILETYPE_DIR) CreateDir(folder);
    auto app = OpenWindow();
    if (!app) return 1;
    auto game = TGame::CreateFromImage(app.get(), "data/maps/128/001r.png");
    if (!game) {
        std::printf("Error, Game could not be loaded!\n");
        return 1;
    }
    TLayer& layer = *game->layer;
    layer.SetMapScale(1, 1, 0);
    std::printf("%zu roads on the start map\n", layer.RoadLayer->arrRoad.size());
    LookAt(layer, float(layer.Width) / 2, float(layer.Height) / 2);
    Shot(layer, 0, 0, folder + "/roads_map.png");

    // The main road has two bridge kinds, so the bridge tool offers them.
    auto street = TStreet::GetByLevel(1, 0);
    int32_t x0 = 0, x1 = 0, y = 0;
    if (!street || !FindCrossing(layer, street->bridgeMaxLength + 1, x0, x1, y)) {
        std::printf("no water to bridge on the start map\n");
        return 1;
    }
    layer.setMoney(1e6f);
    layer.BeginRoadMode(street, &Yes, nullptr);
    auto press = [&](int32_t tx, int32_t ty, int32_t hit) {
        float px = 0, py = 0;
        layer.iso->ToIso(float(tx) + 0.5f, float(ty) + 0.5f, px, py);
        layer._UpdateRoadMode(int32_t(px), int32_t(py), hit);
        layer.RoadLayer->EndDraw();
    };
    LookAt(layer, 0.5f * float(x0 + x1), float(y));
    press(x0, y, 1);
    press(x1, y, 1);
    press(x1, y, 0);
    layer.EndMode();
    std::printf(
        "bridge from (%d, %d) to (%d, %d): %s\n", x0, y, x1, y,
        layer.RoadLayer->_GetTile(x0 + 3, y) && layer.RoadLayer->_GetTile(x0 + 3, y)->bridge ? "built" : "not built");
    {
        float cx = 0, cy = 0;
        layer.iso->FromIso(0.5f * Width, 0.5f * Height, cx, cy);
        std::printf("view centre on map (%.1f, %.1f)\n", cx, cy);
    }
    Shot(layer, 0, 0, folder + "/roads_bridge.png");
    if (auto* tools = game->guiElements.get()) {
        TBridgeTool& bridges = *tools->bridgeTool;
        std::printf("bridge tool %s\n", bridges.isVisible() ? "open" : "closed");
        bridges.callNext();
        // The GUI over the world, once the tool's show animation is over.
        const std::string path = folder + "/roads_bridge_tool.png";
        for (int i = 0; i < 40; ++i) {
            Cls();
            layer.Update(0, 0, 0, 0);
            tools->Update({}, {}, {}, "", {});
            if (i == 39) {
                auto pix = GrabPixmap(0, 0, Width, Height);
                if (!pix || !SavePixmapPNG(*pix, path, 5)) std::printf("screenshot %s could not be written\n", path.c_str());
            }
            Flip(0);
        }
        std::printf("wrote %s\n", path.c_str());
        std::printf("bridge kind %d of %d chosen\n", bridges.currentBridgeKind + 1, bridges.countBridgeKinds);
    }

    layer.BeginDestroyMode(nullptr, nullptr);
    layer.setDestroySize(3);
    float px = 0, py = 0;
    layer.iso->ToIso(float(x0 + 1) + 0.5f, float(y) + 0.5f, px, py);
    Shot(layer, int32_t(px), int32_t(py), folder + "/roads_destroy.png");
    return 0;
}
