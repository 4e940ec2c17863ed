// Street tables, road placement, framing, bridges, removal, traffic lights, cost rules and the
// saved sections of the road layer.
#include <gtest/gtest.h>

#include <map>

#include "RoadTestSupport.h"
#include "persistence/TDataFile.h"
#include "world/TBridgeAlign.h"

namespace {

using RoadLayerTest = RoadTest;

// Column (0 = ramp … 3) of a bridge tile, read back from its frames and direction.
int32_t ColumnOf(const TRoad& r) {
    const TBridgeAlign& ba = *TStreet::sharedBridgeAlign;
    for (int32_t d = 0; d < 4; ++d) {
        for (int32_t k = 0; k < 4; ++k) {
            const auto f = ba.getFrame(d, k);
            if (f[0] == r.b_frame && f[1] == r.b_sframe) return k;
        }
    }
    return -1;
}

TEST_F(RoadLayerTest, MapRoadsTakeTheirStreetByLevelAndIndex) {
    EXPECT_EQ(TStreet::GetByLevel(0, 0), town);
    world->_BuildRoad(3, 3, 1, 0);
    world->_BuildRoad(4, 4, 1, 5);  // no such index
    world->_BuildRoad(5, 5, -1, 0);
    world->_BuildRoad(6, 6, TStreet::levelCount, 0);
    EXPECT_EQ(rl->_GetTile(3, 3)->s, avenue);
    EXPECT_EQ(rl->arrRoad.size(), 1u);
}

TEST_F(RoadLayerTest, TilesPickTheFrameOfTheirConnectedNeighbours) {
    rl->_SetTile(town, 5, 5, {});
    EXPECT_EQ(FrameAt(5, 5), 20);
    rl->_SetTile(town, 5, 4, {});
    rl->_SetTile(town, 5, 6, {});
    EXPECT_EQ(FrameAt(5, 5), 0);
    EXPECT_EQ(FrameAt(5, 4), 5);  // dead end open toward y + 1
    rl->_SetTile(town, 4, 5, {});
    rl->_SetTile(town, 6, 5, {});
    EXPECT_EQ(FrameAt(5, 5), 12);
    EXPECT_EQ(rl->_GetTile(5, 5)->maskframe, 14);
    EXPECT_EQ(rl->_GetTile(-1, 0), nullptr);
    EXPECT_EQ(rl->_SetTile(town, mapSize, 0, {}), nullptr);
}

TEST_F(RoadLayerTest, StraightRoadsDoNotJoinAParallelRoad) {
    rl->BuildRoad(town, Line(3, 5, 8, 5), 1, 0);
    rl->BuildRoad(town, Line(3, 6, 8, 6), 1, 0);
    for (int32_t x = 4; x <= 7; ++x) {
        EXPECT_EQ(FrameAt(x, 5), 1) << x;
        EXPECT_EQ(FrameAt(x, 6), 1) << x;
    }
    EXPECT_EQ(FrameAt(3, 5), 6);  // ends connect only along the path
    EXPECT_EQ(FrameAt(8, 6), 7);
    // Without the straight flag the same road would join its neighbours.
    rl->BuildRoad(town, Line(3, 9, 8, 9), 0, 0);
    rl->BuildRoad(town, Line(3, 10, 8, 10), 0, 0);
    EXPECT_EQ(FrameAt(5, 9), 18);
}

TEST_F(RoadLayerTest, ALowerStreetCrossingAHigherRoadOpensItsSides) {
    rl->BuildRoad(avenue, Line(3, 5, 9, 5), 1, 0);
    const auto crossed = rl->_GetTile(6, 5);
    const auto roads = rl->BuildRoad(town, Line(6, 2, 6, 8), 1, 0);
    ASSERT_EQ(roads.size(), 7u);
    EXPECT_EQ(roads[3], crossed);  // kept, not replaced
    EXPECT_EQ(crossed->s, avenue);
    EXPECT_EQ(FrameAt(6, 5), 12);
    EXPECT_EQ(FrameAt(6, 4), 0);
    // A higher street replaces a lower road and keeps its open sides.
    rl->_SetTile(avenue, 6, 4, {});
    EXPECT_EQ(rl->_GetTile(6, 4)->s, avenue);
    EXPECT_EQ(FrameAt(6, 4), 0);
    EXPECT_EQ(rl->destroyedRoad.size(), 1u);
}

TEST_F(RoadLayerTest, BridgeOverThreeWaterTiles) {
    Water(6, 0, 8, mapSize - 1);
    const auto roads = rl->BuildRoad(town, Line(3, 5, 11, 5), 1, 5);
    ASSERT_EQ(roads.size(), 9u);
    const auto head = rl->_GetTile(5, 5);
    ASSERT_TRUE(head && head->bridge);
    EXPECT_EQ(head->bridgeKind, 0);  // clamped to the one bridge image
    ASSERT_EQ(head->b_childs.size(), 4u);
    std::vector<int32_t> columns;
    for (int32_t x = 5; x <= 9; ++x) {
        auto r = rl->_GetTile(x, 5);
        ASSERT_TRUE(r && r->bridge) << x;
        EXPECT_EQ(roads[size_t(x - 3)], r) << x;  // entry of its own point
        EXPECT_EQ(r->BridgeHead(), head);
        EXPECT_EQ(r->Frame, 1);
        columns.push_back(ColumnOf(*r));
    }
    EXPECT_EQ(columns, (std::vector<int32_t>{0, 1, 2, 1, 0}));
    EXPECT_EQ(head->b_frame, 3);  // ramp facing x - 1
    EXPECT_EQ(rl->_GetTile(9, 5)->b_frame, 2);
    EXPECT_EQ(rl->arrRoad.size(), 9u);  // the shore road under the head was replaced, not left behind
    // The land tiles before and after connect to the ramps; a tile beside a ramp does not.
    EXPECT_EQ(FrameAt(4, 5), 1);
    EXPECT_EQ(FrameAt(10, 5), 1);
    rl->_SetTile(town, 5, 4, {});
    EXPECT_EQ(FrameAt(5, 4), 20);
}

TEST_F(RoadLayerTest, LongBridgeColumnsAlternate) {
    Water(3, 0, 9, mapSize - 1);
    rl->BuildRoad(town, Line(2, 5, 10, 5), 1, 0);
    std::vector<int32_t> columns;
    for (int32_t x = 2; x <= 10; ++x) columns.push_back(ColumnOf(*rl->_GetTile(x, 5)));
    EXPECT_EQ(columns, (std::vector<int32_t>{0, 1, 2, 3, 2, 3, 2, 1, 0}));
}

TEST_F(RoadLayerTest, WaterWithoutBridgesOrAPathStartingInWaterIsSkipped) {
    Water(6, 0, 8, mapSize - 1);
    auto roads = rl->BuildRoad(avenue, Line(3, 5, 11, 5), 1, 0);
    EXPECT_EQ(roads[0], rl->_GetTile(3, 5));
    for (int32_t x = 5; x <= 9; ++x) EXPECT_EQ(roads[size_t(x - 3)], nullptr) << x;  // shore and water
    roads = rl->BuildRoad(town, Line(7, 8, 10, 8), 1, 0);
    EXPECT_EQ(roads[0], nullptr);
    EXPECT_EQ(rl->_GetTile(7, 8), nullptr);
}

TEST_F(RoadLayerTest, RemovingOneBridgeTileRemovesTheWholeBridge) {
    Water(6, 0, 8, mapSize - 1);
    rl->BuildRoad(town, Line(3, 5, 11, 5), 1, 0);
    // A single tile can neither replace nor clear part of it.
    EXPECT_EQ(rl->_SetTile(avenue, 5, 5, {}), nullptr);
    size_t reported = 0;
    world->AddOnRoadDestroyedFunc(
        [](void* c, const TLayer::TRoadList& roads) {
            *static_cast<size_t*>(c) += roads.size();
            return int32_t(1);
        },
        &reported);
    world->ClearTile(9, 5);
    EXPECT_EQ(rl->_GetTile(7, 5), nullptr);
    EXPECT_EQ(reported, 6u);  // the shore road under the head, then the bridge
    EXPECT_TRUE(rl->destroyedRoad.empty());
    rl->BuildRoad(town, Line(3, 5, 11, 5), 1, 0);
    rl->destroyedRoad.clear();
    rl->_delTile(rl->_GetTile(7, 5));
    for (int32_t x = 5; x <= 9; ++x) EXPECT_EQ(rl->_GetTile(x, 5), nullptr) << x;
    EXPECT_EQ(rl->destroyedRoad.size(), 5u);
    EXPECT_EQ(FrameAt(4, 5), 7);  // now a dead end toward x - 1
    EXPECT_EQ(rl->_GetTile(4, 5)->ign[1], 1);
    EXPECT_EQ(rl->arrRoad.size(), 4u);
}

TEST_F(RoadLayerTest, RemovalReframesTheNeighbours) {
    rl->BuildRoad(town, Line(3, 5, 7, 5), 0, 0);
    rl->_SetTile(town, 5, 4, {});
    EXPECT_EQ(FrameAt(5, 5), 19 - 2);  // T: sides 0, 1, 3
    auto middle = rl->_GetTile(5, 5);
    EXPECT_EQ(rl->_Clear(5, 5, 1), 1);
    EXPECT_FALSE(middle->IsValid());
    EXPECT_EQ(FrameAt(4, 5), 7);
    EXPECT_EQ(FrameAt(6, 5), 6);
    EXPECT_EQ(FrameAt(5, 4), 20);
    EXPECT_EQ(rl->_Clear(5, 5, 1), 0);
    // The neighbours no longer reach toward the cleared tile: a new tile there stays apart from
    // them, while it still draws itself connected (its own sides are open).
    rl->_SetTile(town, 5, 5, {});
    EXPECT_EQ(FrameAt(4, 5), 7);
    EXPECT_EQ(FrameAt(5, 5), 17);
}

TEST_F(RoadLayerTest, MarksCoverWholeBridgesOnce) {
    Water(6, 0, 8, mapSize - 1);
    rl->BuildRoad(town, Line(3, 5, 11, 5), 1, 0);
    EXPECT_EQ(rl->_MarkTile(7, 5, -2), 1);
    EXPECT_EQ(rl->_rm_x.size(), 5u);
    EXPECT_EQ(rl->_MarkTile(5, 5, -2), 0);
    EXPECT_EQ(rl->_MarkTile(1, 1, -2), 0);  // no road
    rl->EndDraw();
    EXPECT_EQ(rl->_rm_u, 0);
    EXPECT_TRUE(rl->_rm_x.empty());
}

TEST_F(RoadLayerTest, EnclosedRoadsLieOnTheRingAroundARectangle) {
    for (auto [x, y] : {std::pair{4, 4}, {5, 4}, {7, 5}, {7, 7}, {5, 6}, {3, 3}}) rl->_SetTile(town, x, y, {});
    // Rectangle 5..6 x 5..6: ring columns 4..7, rows 4..7; (5, 6) lies inside.
    EXPECT_EQ(rl->_RoadEnclosed(5, 5, 2, 2, 0).size(), 2u);  // (5, 4) and (7, 5)
    EXPECT_EQ(rl->_RoadEnclosed(5, 5, 2, 2, 1).size(), 4u);  // plus corners (4, 4), (7, 7)
}

TEST_F(RoadLayerTest, CostAndPossibilityNearWater) {
    Water(10, 0, 12, mapSize - 1);
    // Land, shore (x = 9), water.
    EXPECT_EQ(rl->_RoadPossible(5, 5, 0, 0), 1);
    EXPECT_EQ(rl->_RoadPossible(9, 5, 0, 0), 0);
    EXPECT_EQ(rl->_RoadPossible(9, 5, 0, 1), 1);
    EXPECT_EQ(rl->_RoadPossible(11, 5, 0, 1), 0);
    EXPECT_EQ(rl->_RoadPossible(11, 5, 1, 1), 1);
    EXPECT_EQ(rl->_RoadPossible(-1, 5, 1, 1), 0);
    EXPECT_EQ(rl->_Cost(town, 5, 5), 10);
    EXPECT_EQ(rl->_Cost(town, 9, 5), 10);
    EXPECT_EQ(rl->_Cost(town, 11, 5), 100);
    EXPECT_EQ(rl->_Cost(avenue, 9, 5), 0);  // no bridges, no shore
    EXPECT_EQ(rl->_Cost(avenue, 11, 5), 0);
    EXPECT_EQ(rl->_Cost(town, mapSize, 5), 0);
    rl->_SetTile(town, 5, 5, {});
    EXPECT_EQ(rl->_Cost(town, 5, 5), 0);     // same level already there
    EXPECT_EQ(rl->_Cost(avenue, 5, 5), 25);  // an upgrade costs
    rl->BuildRoad(town, Line(8, 7, 13, 7), 1, 0);
    EXPECT_EQ(rl->_RoadPossible(11, 7, 1, 1), 0);  // bridges are never built over
    EXPECT_EQ(rl->_Cost(town, 11, 7), 0);
}

TEST_F(RoadLayerTest, TrafficLightPhasesFollowTheClock) {
    // A crossing of the avenue (which has lights).
    rl->BuildRoad(avenue, Line(3, 5, 7, 5), 0, 0);
    rl->BuildRoad(avenue, Line(5, 3, 5, 7), 0, 0);
    auto c = rl->_GetTile(5, 5);
    ASSERT_EQ(c->Frame, 12);
    rl->UpdateTrafficLights();
    ASSERT_TRUE(c->_tfticker);
    const int32_t start = c->_tfcounter;
    EXPECT_GE(start, 0);
    EXPECT_LE(start, 9);
    EXPECT_EQ(rl->_GetTile(4, 5)->_tfticker, nullptr);  // only crossings
    std::vector<int32_t> phases;
    for (int32_t s = 0; s < 10; ++s) {
        clock->Advance(1000);
        rl->UpdateTrafficLights();
        EXPECT_EQ(c->_tfcounter, (start + s + 1) % 10);
        phases.push_back(c->_tfframe);
        if (c->_tfframe == 0) {
            EXPECT_EQ(c->AllowToDrive(1, 0), 1);
            EXPECT_EQ(c->AllowToDrive(0, -1), 0);
        } else if (c->_tfframe == 2) {
            EXPECT_EQ(c->AllowToDrive(-1, 0), 0);
            EXPECT_EQ(c->AllowToDrive(0, 1), 1);
        } else {
            EXPECT_EQ(c->AllowToDrive(1, 0), 0);
            EXPECT_EQ(c->AllowToDrive(0, 1), 0);
        }
    }
    // Over one cycle: 4 s phase 0, 1 s phase 1, 4 s phase 2, 1 s phase 3.
    std::map<int32_t, int32_t> counts;
    for (int32_t p : phases) ++counts[p];
    EXPECT_EQ(counts, (std::map<int32_t, int32_t>{{0, 4}, {1, 1}, {2, 4}, {3, 1}}));
    // A town crossing has no lights: everyone may go.
    rl->BuildRoad(town, Line(12, 5, 16, 5), 0, 0);
    rl->BuildRoad(town, Line(14, 3, 14, 7), 0, 0);
    EXPECT_EQ(rl->_GetTile(14, 5)->AllowToDrive(0, 1), 1);
}


}  // namespace
