// The route overlay (pieces of way_path.png queued on the roads of a route) and the traffic
// value of the road tiles.
#include <array>

#include "platform/TClock.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"

namespace {

// Overlay frames indexed by the offsets (dy + 1, dx + 1) to the previous and to the next route
// tile; (0, 0) stands for no tile. Symmetric in the two tiles; combinations that a route on the
// grid cannot form stay 0.
using TWayPathTable = std::array<std::array<std::array<std::array<int32_t, 3>, 3>, 3>, 3>;

constexpr TWayPathTable MakeWayPathTable() {
    TWayPathTable t{};
    struct Piece {
        int32_t dy1, dx1, dy2, dx2, frame;
    };
    // Directions: 0 = (0, -1) in y, 1 = +1 in x, 2 = +1 in y, 3 = -1 in x.
    constexpr Piece pieces[] = {
        {-1, 0, 1, 0, 0},   // 0 and 2
        {0, 1, 0, -1, 1},   // 1 and 3
        {0, 0, 0, 0, 2},    // a one-tile route
        {-1, 0, 0, 0, 4},   // only 0
        {1, 0, 0, 0, 5},    // only 2
        {0, 1, 0, 0, 6},    // only 1
        {0, -1, 0, 0, 7},   // only 3
        {0, -1, -1, 0, 8},  // 3 and 0
        {-1, 0, 0, 1, 9},   // 0 and 1
        {1, 0, 0, 1, 10},   // 2 and 1
        {0, -1, 1, 0, 11},  // 3 and 2
    };
    for (const Piece& p : pieces) {
        t[size_t(p.dy1 + 1)][size_t(p.dx1 + 1)][size_t(p.dy2 + 1)][size_t(p.dx2 + 1)] = p.frame;
        t[size_t(p.dy2 + 1)][size_t(p.dx2 + 1)][size_t(p.dy1 + 1)][size_t(p.dx1 + 1)] = p.frame;
    }
    return t;
}

constexpr TWayPathTable wayPathTable = MakeWayPathTable();

constexpr bool InStep(int32_t d) { return d >= -1 && d <= 1; }

}  // namespace

// --- route overlay -------------------------------------------------------------------------

void TRoadLayer::_useWay(const TRoadList& roads, int32_t colour) {
    if (roads.empty()) return;
    if (roads.size() == 1) {
        _setTileWayFrame(nullptr, roads[0], nullptr, colour);
        return;
    }
    for (size_t i = 0; i < roads.size(); ++i) {
        const std::shared_ptr<TRoad> prev = i > 0 ? roads[i - 1] : nullptr;
        const std::shared_ptr<TRoad> next = i + 1 < roads.size() ? roads[i + 1] : nullptr;
        _setTileWayFrame(prev, roads[i], next, colour);
    }
}

void TRoadLayer::_setTileWayFrame(const std::shared_ptr<TRoad>& prev, const std::shared_ptr<TRoad>& cur,
                                  const std::shared_ptr<TRoad>& next, int32_t colour) {
    if (!cur) return;
    int32_t dy1 = 0, dx1 = 0, dy2 = 0, dx2 = 0;
    _getTileDxDy(cur, prev, dy1, dx1);
    _getTileDxDy(cur, next, dy2, dx2);
    _setWayPathTileFrame(cur, dy1, dx1, dy2, dx2, colour);
}

void TRoadLayer::_getTileDxDy(const std::shared_ptr<TRoad>& a, const std::shared_ptr<TRoad>& b, int32_t& dy,
                              int32_t& dx) {
    dy = dx = 0;
    if (!a || !b) return;
    dy = b->y - a->y;
    dx = b->x - a->x;
}

void TRoadLayer::_setWayPathTileFrame(const std::shared_ptr<TRoad>& road, int32_t dy1, int32_t dx1, int32_t dy2,
                                      int32_t dx2, int32_t colour) {
    // A removed road is off the map: nothing would ever draw (and clear) its pieces.
    if (!road || !road->IsValid()) return;
    const int32_t frame = _getWayPathTileFrame(dy1, dx1, dy2, dx2);
    if (frame < 0) return;
    // Routes of several inhabitants often share roads and colour: one piece per frame and
    // colour is enough, and the list stays bounded while the overlay waits for its draw.
    for (size_t i = 0; i < road->way_path_frame.size() && i < road->way_path_col.size(); ++i) {
        if (road->way_path_frame[i] == frame && road->way_path_col[i] == colour) return;
    }
    if (road->way_path_frame.empty()) _wayPathRoads.push_back(road);
    road->way_path_frame.push_back(frame);
    road->way_path_col.push_back(colour);
}

int32_t TRoadLayer::_getWayPathTileFrame(int32_t dy1, int32_t dx1, int32_t dy2, int32_t dx2) {
    if (!InStep(dy1) || !InStep(dx1) || !InStep(dy2) || !InStep(dx2)) return -1;
    return wayPathTable[size_t(dy1 + 1)][size_t(dx1 + 1)][size_t(dy2 + 1)][size_t(dx2 + 1)];
}

void TRoadLayer::_clearWayPaths() {
    for (const auto& r : _wayPathRoads) {
        r->way_path_frame.clear();
        r->way_path_col.clear();
    }
    _wayPathRoads.clear();
}

// --- traffic value -------------------------------------------------------------------------

void TRoadLayer::_UpdateRoadTraffic(const std::shared_ptr<TRoad>& road) {
    if (road) road->traffic = road->traffic * 0.9f + float(road->CountCars()) * 0.1f;
}

void TRoadLayer::UpdateRoadTraffic() {
    const int32_t now = Millisecs();
    for (const auto& r : arrRoad) {
        // 64-bit difference: no overflow however far apart the two clock values lie.
        if (int64_t(now) - int64_t(r->lastTrafficCheck) < trafficCheckMS) continue;
        _UpdateRoadTraffic(r);
        r->lastTrafficCheck = now;
    }
}
