// Routes between buildings: entrances beside the footprint, the search area around the start,
// blocked sides of straight-drawn roads, and searching again after road changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "RoadTestSupport.h"
#include "world/TBuilding.h"
#include "world/TWay.h"

namespace {

using Tiles = std::vector<std::pair<int32_t, int32_t>>;

class WayTest : public RoadTest {
protected:
    // A building on the map that takes no part in the building layer's daily life.
    std::shared_ptr<TBuilding> Building(int32_t x, int32_t y, int32_t size = 1) {
        auto b = std::make_shared<TBuilding>();
        b->p = MakePlugin("test_house", "residentalbuilding", 0xFFC08040u);
        b->p->SizeX[0] = b->p->SizeY[0] = size;
        b->x = x;
        b->y = y;
        return b;
    }
    static Tiles Of(const std::vector<std::shared_ptr<TRoad>>& roads) {
        Tiles out;
        for (const auto& r : roads) out.emplace_back(r->x, r->y);
        return out;
    }
    void Roads(const std::vector<int32_t>& points, int32_t straight = 0) {
        for (auto r : std::vector<std::shared_ptr<TRoad>>(rl->arrRoad)) rl->_Clear(r->x, r->y, 1);
        rl->BuildRoad(town, points, straight, 0);
    }
};

TEST_F(WayTest, RouteRunsFromTheTargetEndToTheStartEnd) {
    Roads(Line(3, 5, 7, 5));
    auto a = Building(2, 5), b = Building(8, 5);
    auto way = rl->findWay(a, b);
    ASSERT_TRUE(way);
    EXPECT_EQ(Of(way->road), (Tiles{{7, 5}, {6, 5}, {5, 5}, {4, 5}, {3, 5}}));
    EXPECT_EQ(way->Length, 5);
    EXPECT_EQ(Of(rl->_findWay(b, a)), (Tiles{{3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}));
    EXPECT_EQ(rl->findWay(a, Building(8, 12)), nullptr);
    EXPECT_EQ(rl->findWay(nullptr, b), nullptr);
}

TEST_F(WayTest, EntrancesAreBesideTheFootprintAndStraightRoadsAreNotLeftSideways) {
    const struct {
        const char* what;
        std::vector<int32_t> road;  // starts at the start building's entrance
        int32_t straight, sx, sy, size, tx, ty;
        size_t length;
    } cases[] = {
        // 2 x 2 house on (5,5)-(6,6); (4,4) touches it only at the corner.
        {"corner", {4, 4, 3, 4, 3, 5, 3, 6, 3, 7, 2, 7}, 0, 5, 5, 2, 1, 7, 0},
        {"side", {4, 6, 3, 6, 3, 7, 2, 7}, 0, 5, 5, 2, 1, 7, 4},
        {"shared entrance", {5, 5, 5, 4, 5, 3}, 0, 4, 5, 1, 5, 6, 1},
        // Main road (5,5)-(8,5); a side road leads down from (7,6) to the target's entrance.
        {"turn off", {5, 5, 6, 5, 7, 5, 8, 5}, 0, 4, 5, 1, 6, 8, 6},
        {"turn off straight", {5, 5, 6, 5, 7, 5, 8, 5}, 1, 4, 5, 1, 6, 8, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Roads(c.road, c.straight);
        if (c.tx == 6) rl->BuildRoad(town, Line(7, 6, 7, 8), 0, 0);
        const auto roads = rl->_findWay(Building(c.sx, c.sy, c.size), Building(c.tx, c.ty));
        EXPECT_EQ(roads.size(), c.length);
        if (!roads.empty()) {
            EXPECT_EQ(Of(roads).back(), std::make_pair(c.road[0], c.road[1]));
        }
    }
}

TEST_F(WayTest, OnlyRoadsWithinTheRadiusOfTheStartTakePart) {
    Roads(Line(3, 5, 15, 5));
    // The target's entrance (15,5) is 13 from the start: outside radius 12 it is still reached
    // but adds no tile; at radius 11 the gap at (14,5) cuts the route.
    const std::pair<float, size_t> cases[] = {{35, 13}, {13, 13}, {12, 12}, {11, 0}};
    for (const auto& [radius, length] : cases) {
        rl->way_radius = radius;
        EXPECT_EQ(rl->_findWay(Building(2, 5), Building(16, 5)).size(), length) << radius;
    }
}

TEST_F(WayTest, AreaIsScannedRowByRowUpToTheRadius) {
    // From (5,5): (8,9), (5,0) and (0,5) lie exactly 5 away, (9,9) and (1,1) 5.66.
    for (const auto& [x, y] : Tiles{{9, 9}, {8, 9}, {5, 0}, {1, 1}, {5, 5}, {0, 5}}) rl->_SetTile(town, x, y, {});
    EXPECT_EQ(Of(rl->_getArea(5, 5, 5)), (Tiles{{5, 0}, {0, 5}, {5, 5}, {8, 9}}));
    EXPECT_EQ(Of(rl->_getArea(0, 0, 5)), (Tiles{{5, 0}, {1, 1}, {0, 5}}));
    EXPECT_EQ(Of(rl->_getArea(-3, 5, 3)), (Tiles{{0, 5}}));
    EXPECT_TRUE(rl->_getArea(5, 5, -1).empty());
    EXPECT_EQ(rl->_getArea(5, 5, 1000).size(), 6u);
}

TEST_F(WayTest, RecalculatingFollowsRoadChangesAndLostEnds) {
    Roads(Line(3, 5, 7, 5));
    auto start = Building(2, 5), target = Building(8, 5);
    auto way = rl->findWay(start, target);
    ASSERT_TRUE(way);
    auto middle = rl->_GetTile(5, 5);
    EXPECT_EQ(way->containsRoad(middle), 1);
    rl->_Clear(5, 5, 1);
    EXPECT_EQ(rl->recalculateWay(way), 0);
    EXPECT_EQ(way->Length, 0);
    EXPECT_EQ(way->containsRoad(middle), 0);
    rl->BuildRoad(town, {4, 5, 4, 6, 5, 6, 6, 6, 6, 5}, 0, 0);
    EXPECT_EQ(rl->recalculateWay(way), 1);
    EXPECT_EQ(Of(way->road), (Tiles{{7, 5}, {6, 5}, {6, 6}, {5, 6}, {4, 6}, {4, 5}, {3, 5}}));
    target.reset();  // a route whose target is gone cannot be found again
    EXPECT_EQ(rl->recalculateWay(way), 0);
    EXPECT_EQ(rl->recalculateWay(nullptr), 0);
}

// Many road layouts (pieces drawn freely or straight, so some sides are blocked), radii that
// leave targets outside the area, buildings of one and two tiles, starts on the map edge: each
// route of a shared search equals the one searched alone, whatever was asked before it.
TEST_F(WayTest, OneSearchFromAStartGivesEveryTargetTheRouteOfItsOwnSearch) {
    std::mt19937 draw(20240611u);
    auto in = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(draw); };
    int32_t found = 0, compared = 0;
    for (int32_t layout = 0; layout < 150; ++layout) {
        for (auto r : std::vector<std::shared_ptr<TRoad>>(rl->arrRoad)) rl->_Clear(r->x, r->y, 1);
        for (int32_t k = in(8, 20); k > 0; --k) {
            const int32_t x = in(0, mapSize - 1), y = in(0, mapSize - 1), n = in(1, 16);
            rl->BuildRoad(
                town,
                in(0, 1) ? Line(x, y, std::min(x + n, mapSize - 1), y) : Line(x, y, x, std::min(y + n, mapSize - 1)),
                in(0, 2) == 0, 0);
        }
        rl->way_radius = float(in(3, 25));
        std::vector<std::shared_ptr<TBuilding>> buildings;
        for (int32_t k = 0; k < 12; ++k) {
            // Most beside a road (on it does not matter to the search), some anywhere.
            int32_t x = in(0, mapSize - 2), y = in(0, mapSize - 2);
            if (k % 4 != 3 && !rl->arrRoad.empty()) {
                const auto& r = rl->arrRoad[size_t(in(0, int32_t(rl->arrRoad.size()) - 1))];
                x = std::clamp(r->x + in(-1, 1), 0, mapSize - 2);
                y = std::clamp(r->y + in(-1, 1), 0, mapSize - 2);
            }
            buildings.push_back(Building(x, y, in(1, 2)));
        }
        for (int32_t s = 0; s < 3; ++s) {
            const auto& start = buildings[size_t(s)];
            TRoadLayer::TRouteSearch search(*rl, start);
            for (int32_t k = 0; k < 10; ++k) {
                const auto& target = buildings[size_t(in(0, int32_t(buildings.size()) - 1))];
                const Tiles shared = Of(search.RouteTo(target)), alone = Of(rl->_findWay(start, target));
                ASSERT_EQ(shared, alone) << "layout " << layout << " start " << s << " ask " << k;
                found += !alone.empty();
                ++compared;
            }
        }
    }
    // Enough of both kinds of answer to mean something.
    EXPECT_GT(found, compared / 4);
    EXPECT_LT(found, compared - compared / 4);
    EXPECT_TRUE(TRoadLayer::TRouteSearch(*rl, nullptr).RouteTo(Building(1, 1)).empty());
}

}  // namespace
