// Route search of the road layer: the chain of road tiles between the roads beside two
// buildings, found breadth-first over the road grid near the start building.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TJump.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TWay.h"

namespace {
// Footprint of a building from its first picture; a building without a plugin counts as one tile.
void Footprint(const TBuilding& b, int32_t& w, int32_t& h) {
    w = b.p ? std::max(b.p->SizeX[0], 1) : 1;
    h = b.p ? std::max(b.p->SizeY[0], 1) : 1;
}

uint8_t Side(const TRoad::TIgn& ign, size_t side) { return side < ign.size() && ign[side] != 0 ? 1 : 0; }

int64_t Key(int32_t x, int32_t y) { return (int64_t(x) << 32) | int64_t(uint32_t(y)); }
}  // namespace

std::shared_ptr<TWay> TRoadLayer::findWay(const std::shared_ptr<TBuilding>& start,
                                          const std::shared_ptr<TBuilding>& target) {
    auto way = TWay::Create({}, start, target);
    return recalculateWay(way) ? way : nullptr;
}

int32_t TRoadLayer::recalculateWay(const std::shared_ptr<TWay>& way) {
    if (!way) return 0;
    const TRoadList roads = _findWay(way->Start.lock(), way->target.lock());
    way->usePath(roads);
    return roads.empty() ? 0 : 1;
}

TRoadLayer::TRoadList TRoadLayer::_findWay(const std::shared_ptr<TBuilding>& start,
                                           const std::shared_ptr<TBuilding>& target) {
    if (!start || !target) return {};
    int32_t sw = 1, sh = 1, tw = 1, th = 1;
    Footprint(*start, sw, sh);
    Footprint(*target, tw, th);
    // Entrances are the road tiles along a footprint's sides; corner tiles do not touch it.
    const TRoadList startRoads = _RoadEnclosed(start->x, start->y, sw, sh, 0);
    const TRoadList targetRoads = _RoadEnclosed(target->x, target->y, tw, th, 0);
    const TRoadList area = _getArea(float(start->x), float(start->y), way_radius);
    return _findRoad(Width, Height, startRoads, targetRoads, area);
}

TRoadLayer::TRoadList TRoadLayer::_getArea(float x, float y, float radius) const {
    TRoadList out;
    if (!(radius >= 0) || !std::isfinite(x) || !std::isfinite(y) || Width <= 0 || Height <= 0) return out;
    // Rows and columns outside the grid hold no roads; clamping only saves the empty scan.
    const int32_t i0 = std::max(static_cast<int32_t>(std::max(y - radius, -1.0f)), 0);
    const int32_t i1 = std::min(static_cast<int32_t>(std::min(y + radius, float(Height))), Height - 1);
    const int32_t j0 = std::max(static_cast<int32_t>(std::max(x - radius, -1.0f)), 0);
    const int32_t j1 = std::min(static_cast<int32_t>(std::min(radius + x, float(Width))), Width - 1);
    for (int32_t i = i0; i <= i1; ++i) {
        for (int32_t j = j0; j <= j1; ++j) {
            const double dx = double(x) - double(j), dy = double(y) - double(i);
            if (std::sqrt(dx * dx + dy * dy) > double(radius)) continue;
            if (auto r = _GetTile(j, i)) out.push_back(std::move(r));
        }
    }
    return out;
}

TRoadLayer::TRoadList TRoadLayer::_findRoad(int32_t width, int32_t height, const TRoadList& startRoads,
                                            const TRoadList& targetRoads, const TRoadList& area) {
    TJump::Init(width, height);
    std::unordered_map<int64_t, std::shared_ptr<TRoad>> byTile;
    for (const auto& r : area) {
        if (!r) continue;
        const TRoad::TIgn& ign = r->getIgn();
        TJump::defineWay(r->x, r->y, Side(ign, 0), Side(ign, 1), Side(ign, 2), Side(ign, 3));
        byTile.emplace(Key(r->x, r->y), r);  // the first road of the area on a tile wins
    }
    for (const auto& r : targetRoads) {
        if (r) TJump::defineTarget(r->x, r->y);
    }
    for (const auto& r : startRoads) {
        if (r) TJump::defineStart(r->x, r->y);
    }
    TRoadList out;
    const std::shared_ptr<TJump> found = TJump::Get(-1);
    for (const TJump* node = found.get(); node; node = node->lastObj.get()) {
        // A target tile beyond the radius is reachable but not part of the area: it adds nothing.
        auto it = byTile.find(Key(node->x, node->y));
        if (it != byTile.end()) out.push_back(it->second);
    }
    return out;
}
