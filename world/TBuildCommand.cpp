#include "world/TBuildCommand.h"

#include <utility>

#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TRoadLayer.h"

TBuildCommand::TBuildCommand(std::shared_ptr<TPicturePlugin> p, int32_t px, int32_t py)
    : plugin(std::move(p)), x(px), y(py) {}

std::string TBuildCommand::PlaceReason(const TLayer& world, const std::shared_ptr<TPicturePlugin>& plugin, int32_t x,
                                       int32_t y) {
    if (!plugin) return nothingChosen;
    const int32_t w = plugin->SizeX[0], h = plugin->SizeY[0];
    // The whole footprint must lie on the map.
    if (!world._InField(x, y) || w <= 0 || h <= 0 || int64_t(x) + w > world.Width || int64_t(y) + h > world.Height)
        return outsideTheMap;
    const float water = world._WaterPercentage(x, y, w, h);
    if (water < plugin->minwater || water > plugin->maxwater) return notOnWater;
    for (int32_t i = x; i < x + w; ++i) {
        for (int32_t j = y; j < y + h; ++j) {
            if (!world.IsFree(i, j)) return occupied;
        }
    }
    if (!plugin->noroadneeded && (!world.RoadLayer || world.RoadLayer->_RoadEnclosed(x, y, w, h, 0).empty()))
        return noRoadBeside;
    return {};
}

TEditCommand::TCheck TBuildCommand::Check(TLayer& world) const {
    TCheck check;
    check.cost = plugin ? float(plugin->price) : 0.0f;
    check.reason = PlaceReason(world, plugin, x, y);
    if (check.Ok() && !world._allowedToBuild(plugin, x, y)) check.reason = tooPolluted;
    if (check.Ok()) check.reason = _MoneyReason(world, check.cost);
    return check;
}

void TBuildCommand::_Area(int32_t& ax, int32_t& ay, int32_t& w, int32_t& h) const {
    ax = x, ay = y, w = plugin->SizeX[0], h = plugin->SizeY[0];
}

TLayer::TThing TBuildCommand::_Do(TLayer& world) {
    if (auto b = world.BuildingLayer->_SetTile(x, y, plugin)) return b;
    return {};
}

std::string TBuildCommand::ScriptLine() const {
    return "build " + (plugin ? plugin->id : std::string("-")) + " " + std::to_string(x) + " " + std::to_string(y);
}
