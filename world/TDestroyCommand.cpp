#include "world/TDestroyCommand.h"

#include <algorithm>
#include <variant>

#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TRoadLayer.h"
#include "world/TTree.h"

TDestroyCommand::TDestroyCommand(int32_t px, int32_t py, int32_t s) : x(px), y(py), size(std::max(s, 1)) {}

std::vector<TLayer::TThing> TDestroyCommand::Things(const TLayer& world) const {
    std::vector<TLayer::TThing> things(size_t(size) * size_t(size));
    for (int32_t i = 0; i < size; ++i) {
        for (int32_t j = 0; j < size; ++j) {
            const int32_t X = x + i, Y = y + j;
            if (!world._InField(X, Y)) continue;
            TLayer::TThing& thing = things[size_t(i) * size_t(size) + size_t(j)];
            const TBuildingLayer::TObject o = world.BuildingLayer->_GetTile(X, Y, 1);
            if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o); b && *b) {
                thing = *b;
            } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o); t && *t) {
                thing = *t;
            } else if (auto r = world.RoadLayer->_GetTile(X, Y)) {
                thing = r;
            }
        }
    }
    return things;
}

TEditCommand::TCheck TDestroyCommand::Check(TLayer& world) const {
    TCheck check;
    if (!world._InField(x, y) && !world._InField(x + size - 1, y + size - 1)) {
        check.reason = outsideTheMap;
        return check;
    }
    const auto things = Things(world);
    const bool found = std::any_of(things.begin(), things.end(),
                                   [](const TLayer::TThing& t) { return !std::holds_alternative<std::monostate>(t); });
    if (!found) check.reason = nothingThere;
    return check;
}

void TDestroyCommand::_Area(int32_t& ax, int32_t& ay, int32_t& w, int32_t& h) const {
    ax = x, ay = y, w = h = size;
}

TLayer::TThing TDestroyCommand::_Do(TLayer& world) {
    world._Demolish(Things(world));
    return {};
}

std::string TDestroyCommand::ScriptLine() const {
    return "destroy " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(size);
}
