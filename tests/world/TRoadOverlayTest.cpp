// The route overlay's frame table and pieces (drawn in the next frame only) and the traffic value.
#include <array>
#include <cmath>

#include "BuildingTestSupport.h"
#include "world/TCar.h"

namespace {

class RoadOverlayTest : public BuildingTest {};

TEST_F(RoadOverlayTest, FrameTableJoinsTheNeighboursInEitherOrder) {
    const int32_t cases[][5] = {{-1, 0, 1, 0, 0}, {0, 1, 0, -1, 1}, {0, 0, 0, 0, 2},   {-1, 0, 0, 0, 4},
                                {1, 0, 0, 0, 5},  {0, 1, 0, 0, 6},  {0, -1, 0, 0, 7},  {0, -1, -1, 0, 8},
                                {-1, 0, 0, 1, 9}, {1, 0, 0, 1, 10}, {0, -1, 1, 0, 11}, {1, 1, 0, 0, 0},
                                {0, 2, 0, 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(TRoadLayer::_getWayPathTileFrame(c[0], c[1], c[2], c[3]), c[4]) << c[0] << c[1] << c[2] << c[3];
        EXPECT_EQ(TRoadLayer::_getWayPathTileFrame(c[2], c[3], c[0], c[1]), c[4]) << c[0] << c[1] << c[2] << c[3];
    }
}

TEST_F(RoadOverlayTest, ABuildingsRoutesShowInTheTargetColourInTheNextFrameOnly) {
    TGroundLayer::blackImg = TImage::Create(TConfig::tilewidth, TConfig::tileheight);
    TRoadLayer::wayPathImg = TImage::Create(TConfig::tilewidth, TConfig::tileheight, TRoadLayer::wayPathFrames);
    rl->BuildRoad(town, Line(7, 7, 7, 5), 0, 0);
    rl->BuildRoad(town, Line(6, 5, 5, 5), 0, 0);
    auto home = Built(Kind("residentalbuilding", 1, 1, 4), 4, 5),
         work = Built(Kind("industrialbuilding", 1, 1, 4), 7, 8);
    home->habitants.Clear();
    for (int32_t i = 0; i < 2; ++i) {  // two commuters on one route: one piece per tile
        home->habitants.Append(std::make_shared<THabitant>());
        home->habitants[size_t(i)]->job = TJob::Create(work, rl->findWay(home, work), nullptr);
    }
    world->_markBuildingWays(home, 0);
    EXPECT_EQ(bl->_bm_x, (std::vector<int32_t>{7, 4}));  // the other end, then the building itself
    std::vector<std::array<int32_t, 4>> pieces;          // frame, tile x, tile y, colour
    for (int32_t frame = 0; frame < 2; ++frame) {
        backend->ClearLog();
        world->_Draw(0);  // without the road mask
        for (const auto& c : CallsOf(TRoadLayer::wayPathImg)) {
            float mx = 0, my = 0;
            world->iso->FromIso(c.x, c.y, mx, my);
            pieces.push_back(
                {c.frame, int32_t(std::lround(mx)), int32_t(std::lround(my)), (c.r << 16) | (c.g << 8) | c.b});
        }
    }
    const int32_t col = work->GetCol() & 0xFFFFFF;
    EXPECT_EQ(pieces, (std::vector<std::array<int32_t, 4>>{
                          {6, 5, 5, col}, {1, 6, 5, col}, {11, 7, 5, col}, {0, 7, 6, col}, {4, 7, 7, col}}));
}

TEST_F(RoadOverlayTest, TrafficStepsOncePerSecondTowardsTheCarsOnTheTile) {
    auto busy = rl->_SetTile(town, 5, 5, {});
    busy->carpos[2] = std::make_shared<TCar>();
    for (int32_t s = 0; s < 10; ++s, clock->Advance(1000)) world->_Update();
    EXPECT_NEAR(busy->traffic, 1.0f - std::pow(0.9f, 10.0f), 1e-5f);
    const float before = busy->traffic;
    busy->lastTrafficCheck = Millisecs() - 999;  // checked less than a second ago
    world->_Update();
    EXPECT_FLOAT_EQ(busy->traffic, before);
    clock->Advance(1);
    world->_Update();
    EXPECT_FLOAT_EQ(busy->traffic, before * 0.9f + 0.1f);
}

}  // namespace
