#include "world/TRoadCommand.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "plugins/TStreetPlugin.h"
#include "world/TGroundLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

namespace {
int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }
}  // namespace

TRoadCommand::TRoadCommand(std::shared_ptr<TStreet> s, int32_t startX, int32_t startY, int32_t endX, int32_t endY)
    : street(std::move(s)), sx(startX), sy(startY) {
    // The road runs along the longer axis; a tie goes along x.
    if (std::abs(int64_t(endX) - startX) < std::abs(int64_t(endY) - startY)) {
        ex = startX, ey = endY;
    } else {
        ex = endX, ey = startY;
    }
}

std::string TRoadCommand::_TileReason(const TLayer& world, const TStreet& s, int32_t x, int32_t y, int32_t bridge) {
    const TRoadLayer& rl = *world.RoadLayer;
    if (rl._RoadPossible(x, y, bridge, s.nearwater)) return {};
    if (!world._InField(x, y)) return outsideTheMap;
    if (auto r = rl._GetTile(x, y); r && r->bridge) return onABridge;
    if (!world.IsFree(x, y)) return occupied;
    return notOnWater;
}

std::string TRoadCommand::StartReason(const TLayer& world, const TStreet* s, int32_t x, int32_t y) {
    return s ? _TileReason(world, *s, x, y, 0) : std::string(nothingChosen);
}

TRoadCommand::TPlan TRoadCommand::Plan(TLayer& world) const {
    TPlan plan;
    if (!street) {
        plan.reason = nothingChosen;
        return plan;
    }
    const TRoadLayer& rl = *world.RoadLayer;
    const TStreet& s = *street;
    // Ends far off the map are walked only to the first tile beyond its edge, which refuses.
    const int32_t x0 = std::clamp(sx, -1, world.Width), y0 = std::clamp(sy, -1, world.Height);
    const int32_t x1 = std::clamp(ex, -1, world.Width), y1 = std::clamp(ey, -1, world.Height);
    const int32_t dx = Sign(x1 - x0), dy = Sign(y1 - y0);
    const int32_t count = std::abs(x1 - x0) + std::abs(y1 - y0) + 1;
    std::vector<int32_t> land, water;
    std::string tileReason;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = x0 + dx * i, y = y0 + dy * i;
        plan.xy.push_back(x);
        plan.xy.push_back(y);
        plan.possible.push_back(rl._RoadPossible(x, y, s.bridgeAble, s.nearwater));
        if (!plan.possible.back() && tileReason.empty()) tileReason = _TileReason(world, s, x, y, s.bridgeAble);
        land.push_back(rl._RoadPossible(x, y, 0, s.nearwater));
        plan.cost += rl._Cost(street, x, y);
        water.push_back(world.GroundLayer && world.GroundLayer->_IsFieldWater(x, y, -1) != 0);
    }
    // A bridge starting or ending next to the path's end needs land beyond that end.
    auto landAt = [&world](int32_t x, int32_t y) {
        return world._InField(x, y) && world.GroundLayer && world.GroundLayer->_IsFieldWater(x, y, -1) == 0;
    };
    std::string bridgeReason;
    if (s.bridgeAble) {
        if (!land.front() || !land.back()) bridgeReason = bridgeNeedsLand;
        // Runs of water: a run of k tiles needs k - 1 <= bridgeMaxLength.
        int32_t counter = -1;
        for (int32_t i = 0; i <= count; ++i) {
            if (i == count || land[size_t(i)]) {
                if (counter > s.bridgeMaxLength && bridgeReason.empty()) bridgeReason = bridgeTooLong;
                counter = -1;
            } else {
                ++counter;
            }
        }
    }
    if (count >= 2 && water[1] && !landAt(x0 - dx, y0 - dy)) bridgeReason = bridgeNeedsLand;
    if (count >= 2 && water[size_t(count - 2)] && !landAt(x0 + count * dx, y0 + count * dy))
        bridgeReason = bridgeNeedsLand;
    if (count < 2) {
        plan.reason = tooShort;
    } else if (!tileReason.empty()) {
        plan.reason = tileReason;
    } else if (!bridgeReason.empty()) {
        plan.reason = bridgeReason;
    } else {
        plan.reason = _MoneyReason(world, float(plan.cost));
    }
    return plan;
}

TEditCommand::TCheck TRoadCommand::Check(TLayer& world) const {
    const TPlan plan = Plan(world);
    return {float(plan.cost), plan.reason};
}

void TRoadCommand::_Area(int32_t& x, int32_t& y, int32_t& w, int32_t& h) const {
    x = std::min(sx, ex), y = std::min(sy, ey);
    w = std::abs(ex - sx) + 1, h = std::abs(ey - sy) + 1;
}

TLayer::TThing TRoadCommand::_Do(TLayer& world) {
    std::vector<int32_t> xy;
    const int32_t dx = Sign(ex - sx), dy = Sign(ey - sy);
    for (int32_t i = 0; i <= std::abs(ex - sx) + std::abs(ey - sy); ++i) {
        xy.push_back(sx + dx * i);
        xy.push_back(sy + dy * i);
    }
    built = world.RoadLayer->BuildRoad(street, xy, 1, 0);
    if (auto r = world.RoadLayer->_GetTile(ex, ey)) return r;
    return {};
}

std::string TRoadCommand::ScriptLine() const {
    return "road " + std::to_string(sx) + " " + std::to_string(sy) + " " + std::to_string(ex) + " " +
           std::to_string(ey) + " " + (street && street->plugin ? street->plugin->id : std::string("-"));
}
