#include "app/TSoundView.h"

#include <algorithm>
#include <variant>

#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TWeatherLayer.h"

namespace {
// Whether the map point lies on the screen (with a margin of a tile, so things at the edge count).
bool OnScreen(const TLayer& world, float mx, float my) {
    float sx = 0, sy = 0;
    world.iso->ToIso(mx, my, sx, sy);
    const float margin = 32.0f;
    return sx >= -margin && sy >= -margin && sx <= float(world.viewWidth) + margin &&
           sy <= float(world.viewHeight) + margin;
}
}  // namespace

TSoundView TSoundView::Of(const TLayer& world) {
    TSoundView view;
    view.paused = world.getGameSpeed() == 0.0f;
    if (world.WeatherLayer) {
        const float weather = world.WeatherLayer->GetValue();
        // The same thresholds at which the weather layer draws rain and lightning.
        view.rain = std::clamp(weather - 4.0f, 0.0f, 1.0f);
        view.storm = std::clamp(weather - 5.0f, 0.0f, 1.0f);
    }
    if (!world.iso || !world.BuildingLayer) return view;
    const TBuildingLayer& objects = *world.BuildingLayer;
    int32_t natural = 0;
    for (int32_t row = 0; row < sampleRows; ++row) {
        for (int32_t column = 0; column < sampleColumns; ++column) {
            float mx = 0, my = 0;
            world.iso->FromIso((float(column) + 0.5f) * float(world.viewWidth) / sampleColumns,
                               (float(row) + 0.5f) * float(world.viewHeight) / sampleRows, mx, my);
            const int32_t x = int32_t(mx), y = int32_t(my);
            if (mx < 0 || my < 0 || x >= world.Width || y >= world.Height) continue;
            const bool water = world.GroundLayer && world.GroundLayer->_IsFieldWater(x, y, 0);
            if (water || objects._GetTree(x, y)) ++natural;
        }
    }
    view.nature = float(natural) / float(sampleColumns * sampleRows);
    for (const auto& b : objects.arrBuilding.Items()) {
        if (!b->inBuildMode &&
            OnScreen(world, float(b->x) + 0.5f * float(b->SizeX()), float(b->y) + 0.5f * float(b->SizeY())))
            ++view.buildings;
    }
    for (const auto& car : objects.arrCar.Items()) {
        // A car is counted on its road tile.
        if (car && car->_r && OnScreen(world, float(car->_r->x) + 0.5f, float(car->_r->y) + 0.5f)) ++view.cars;
    }
    return view;
}
