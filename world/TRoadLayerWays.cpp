// Route search of the road layer: the chain of road tiles between the roads beside two
// buildings, found breadth-first over the road grid near the start building.
#include <algorithm>
#include <cmath>
#include <limits>
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

// The tiles within the radius of (x, y) on a width x height grid: rows i0 ... i1, columns
// j0 ... j1 to scan (none for a bad point or radius), and whether a tile of them lies inside.
struct TAreaScan {
    TAreaScan(int32_t width, int32_t height, float x, float y, float radius) : x(x), y(y), radius(radius) {
        if (!(radius >= 0) || !std::isfinite(x) || !std::isfinite(y) || width <= 0 || height <= 0) return;
        // Rows and columns outside the grid hold no roads; clamping only saves the empty scan.
        i0 = std::max(static_cast<int32_t>(std::max(y - radius, -1.0f)), 0);
        i1 = std::min(static_cast<int32_t>(std::min(y + radius, float(height))), height - 1);
        j0 = std::max(static_cast<int32_t>(std::max(x - radius, -1.0f)), 0);
        j1 = std::min(static_cast<int32_t>(std::min(radius + x, float(width))), width - 1);
    }
    bool Inside(int32_t j, int32_t i) const {
        const double dx = double(x) - double(j), dy = double(y) - double(i);
        return std::sqrt(dx * dx + dy * dy) <= double(radius);
    }
    float x, y, radius;
    int32_t i0 = 0, i1 = -1, j0 = 0, j1 = -1;
};
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
    const TAreaScan scan(Width, Height, x, y, radius);
    for (int32_t i = scan.i0; i <= scan.i1; ++i) {
        for (int32_t j = scan.j0; j <= scan.j1; ++j) {
            if (!scan.Inside(j, i)) continue;
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

// --- several routes from one start ---------------------------------------------------------
//
// _findRoad runs TJump from the start roads until it reaches a target road: pass by pass over
// the frontier, each node first checked for standing on a target, then its open neighbours in
// direction order, the search returning at the first target met. Without targets the same
// search goes on over the whole area in the same order, so recording the moment and the node
// from which each cell is first reached (open or not) answers every target set: its route ends
// at the first-reached of its cells. Target cells outside the area are reached but not entered,
// as TJump's target marks are; open cells are entered once, as TJump closes them.

TRoadLayer::TRouteSearch::TRouteSearch(const TRoadLayer& roads, const std::shared_ptr<TBuilding>& start)
    : layer(roads) {
    if (!start || roads.Width <= 0 || roads.Height <= 0) return;
    int32_t sw = 1, sh = 1;
    Footprint(*start, sw, sh);
    const TRoadList startRoads = roads._RoadEnclosed(start->x, start->y, sw, sh, 0);
    const TAreaScan scan(roads.Width, roads.Height, float(start->x), float(start->y), roads.way_radius);
    // Nodes stand only on area and start cells, so the search reaches one cell beyond them.
    int32_t bx0 = scan.j0, by0 = scan.i0, bx1 = scan.j1, by1 = scan.i1;
    if (bx0 > bx1 || by0 > by1) {
        bx0 = by0 = std::numeric_limits<int32_t>::max();
        bx1 = by1 = std::numeric_limits<int32_t>::min();
    }
    for (const auto& r : startRoads) {
        bx0 = std::min(bx0, r->x), bx1 = std::max(bx1, r->x);
        by0 = std::min(by0, r->y), by1 = std::max(by1, r->y);
    }
    valid = true;
    if (bx0 > bx1) return;  // neither area nor starts: nothing is ever reached
    x0 = std::max(bx0 - 1, 0);
    y0 = std::max(by0 - 1, 0);
    w = std::min(bx1 + 1, roads.Width - 1) - x0 + 1;
    h = std::min(by1 + 1, roads.Height - 1) - y0 + 1;
    const size_t cells = size_t(w) * size_t(h);
    open.assign(cells, 0);
    inArea.assign(cells, 0);
    sides.assign(cells, 0);
    reached.assign(cells, -1);
    via.assign(cells, -1);
    targetOf.assign(cells, 0);
    size_t c = 0;
    for (int32_t i = scan.i0; i <= scan.i1; ++i) {
        for (int32_t j = scan.j0; j <= scan.j1; ++j) {
            if (!scan.Inside(j, i) || !_Cell(j, i, c)) continue;
            const TRoad* r = roads.arr[size_t(j) * size_t(roads.Height) + size_t(i)].get();
            if (!r) continue;
            open[c] = inArea[c] = 1;
            const TRoad::TIgn& ign = r->getIgn();
            sides[c] = uint8_t(Side(ign, 0) | Side(ign, 1) << 1 | Side(ign, 2) << 2 | Side(ign, 3) << 3);
        }
    }
    for (const auto& r : startRoads) {
        if (!_Cell(r->x, r->y, c)) continue;
        open[c] = 0;
        nodes.push_back({r->x, r->y, -1});
        frontier.push_back(int32_t(nodes.size()) - 1);
    }
}

bool TRoadLayer::TRouteSearch::_Cell(int32_t x, int32_t y, size_t& cell) const {
    if (x < x0 || y < y0 || x >= x0 + w || y >= y0 + h) return false;
    cell = size_t(x - x0) * size_t(h) + size_t(y - y0);
    return true;
}

void TRoadLayer::TRouteSearch::_Reach(size_t cell, int32_t from) {
    if (reached[cell] >= 0) return;
    reached[cell] = events++;
    via[cell] = from;
    if (targetOf[cell] == asked) hit = true;
}

bool TRoadLayer::TRouteSearch::_Step() {
    if (position >= frontier.size()) {
        if (next.empty()) return false;
        frontier.swap(next);
        next.clear();
        position = 0;
    }
    const int32_t n = frontier[position++];
    const TNode node = nodes[size_t(n)];
    size_t cell = 0, to = 0;
    if (!_Cell(node.x, node.y, cell)) return true;
    // A node standing on a target is the route (only a start can, the others end the search
    // where they are made).
    _Reach(cell, node.parent);
    for (int32_t dir = 0; dir < 4; ++dir) {
        if (sides[cell] & (1 << dir)) continue;
        const int32_t nx = node.x + (dir == 1) - (dir == 3);
        const int32_t ny = node.y + (dir == 2) - (dir == 0);
        if (!_Cell(nx, ny, to)) continue;
        _Reach(to, n);
        if (!open[to]) continue;
        open[to] = 0;
        nodes.push_back({nx, ny, n});
        next.push_back(int32_t(nodes.size()) - 1);
    }
    return true;
}

TRoadLayer::TRoadList TRoadLayer::TRouteSearch::RouteTo(const std::shared_ptr<TBuilding>& target) {
    if (!valid || !target || w <= 0) return {};
    int32_t tw = 1, th = 1;
    Footprint(*target, tw, th);
    const TRoadList targetRoads = layer._RoadEnclosed(target->x, target->y, tw, th, 0);
    ++asked;
    hit = false;
    int32_t first = -1;
    size_t end = 0;
    auto firstReached = [&] {
        size_t c = 0;
        for (const auto& r : targetRoads) {
            if (!_Cell(r->x, r->y, c)) continue;
            targetOf[c] = asked;
            if (reached[c] >= 0 && (first < 0 || reached[c] < first)) {
                first = reached[c];
                end = c;
            }
        }
    };
    firstReached();
    // Cells are reached in search order, so the first target cell reached from here on is the
    // first of them all.
    while (first < 0 && !hit && _Step()) {
    }
    if (first < 0 && hit) firstReached();
    if (first < 0) return {};
    TRoadList out;
    auto add = [&](size_t c) {
        if (!inArea[c]) return;  // a start or target cell off the area adds nothing
        const int32_t x = x0 + int32_t(c / size_t(h)), y = y0 + int32_t(c % size_t(h));
        out.push_back(layer.arr[size_t(x) * size_t(layer.Height) + size_t(y)]);
    };
    add(end);
    size_t c = 0;
    for (int32_t n = via[end]; n >= 0; n = nodes[size_t(n)].parent) {
        if (_Cell(nodes[size_t(n)].x, nodes[size_t(n)].y, c)) add(c);
    }
    return out;
}
