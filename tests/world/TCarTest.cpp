// Cars: the move table, align choice, traffic lights, lane slots, fading, drawing and bridges.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "RoadTestSupport.h"
#include "plugins/TCarVehicle.h"
#include "world/TCar.h"

namespace {

class CarTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        rl->BuildRoad(town, Line(2, 5, 12, 5), 0, 0);  // straight along x
    }
    // A car of its own vehicle (one move per tick on town streets) at position p with align a.
    std::shared_ptr<TCar> Put(int32_t x, int32_t y, int32_t p, int32_t a) {
        auto v = std::make_shared<TCarVehicle>();
        v->picture.push_back(TImage::Create(TConfig::tilewidth, TCarVehicle::FrameHeight, 4));
        v->speed = 1.25f;
        auto car = TCar::Create(v, rl->_GetTile(x, y), *rl, nullptr, 0);
        car->remove();
        car->_p = p;
        car->_a = car->__a = a;
        car->_r->car[size_t(a)] = car->_r->carpos[size_t(p)] = car;
        return car;
    }
    void Step(const std::shared_ptr<TCar>& car, int32_t ms = 17) {
        clock->Advance(ms);
        car->Update(*rl, mapSize, mapSize);
    }
};

TEST_F(CarTest, MoveTableAndAlignChoice) {
    // [position][align]: dx, dy, arrival position.
    const int32_t table[4][4][3] = {{{0, -1, 1}, {1, 0, 3}, {0, 0, 1}, {0, 0, 3}},
                                    {{0, 0, 0}, {1, 0, 2}, {0, 1, 0}, {0, 0, 2}},
                                    {{0, 0, 3}, {0, 0, 1}, {0, 1, 3}, {-1, 0, 1}},
                                    {{0, -1, 2}, {0, 0, 0}, {0, 0, 2}, {-1, 0, 0}}};
    int32_t m[3] = {};
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_TRUE(TCar::_Move(i / 4, i % 4, m[0], m[1], m[2]) && std::equal(m, m + 3, table[i / 4][i % 4])) << i;
    }
    auto car = Put(4, 5, 0, 1);  // 0 first; entries outside 0 ... 3 never count; else any candidate
    EXPECT_EQ((std::vector{car->GetAlign({2, 0}), car->GetAlign({9, -2, 3}), car->GetAlign({5})}),
              (std::vector{0, 3, -1}));
    std::set<int32_t> seen;
    for (int32_t i = 0; i < 40; ++i) seen.insert(car->GetAlign({3, 2}));
    EXPECT_EQ(seen, (std::set<int32_t>{2, 3}));
}

TEST_F(CarTest, TrafficLightsHoldCarsBeforeTheCrossing) {
    rl->BuildRoad(avenue, Line(15, 2, 15, 8), 0, 0);
    rl->BuildRoad(avenue, Line(12, 5, 18, 5), 0, 0);
    auto crossing = rl->_GetTile(15, 5);
    crossing->InitTrafficLights();
    // Phase, start tile and lane (along x, then along y), whether the car enters.
    const int32_t cases[][6] = {{0, 14, 5, 0, 1, 1}, {1, 14, 5, 0, 1, 0}, {2, 14, 5, 0, 1, 0},
                                {0, 15, 4, 1, 2, 0}, {2, 15, 4, 1, 2, 1}, {3, 15, 4, 1, 2, 0}};
    for (const auto& c : cases) {
        crossing->_tfframe = c[0];
        auto car = Put(c[1], c[2], c[3], c[4]);
        Step(car);
        EXPECT_EQ(std::pair(car->_r == crossing, car->jam), std::pair(c[5] == 1, 1 - c[5])) << "phase " << c[0];
        car->remove();
    }
}

TEST_F(CarTest, FollowerWaitsForSlotAndAlignUntilTheLeaderLeavesTheTile) {
    auto a = Put(5, 5, 3, 1), b = Put(4, 5, 0, 1);
    const int32_t followerAfterRound[][2] = {{4, 0}, {4, 0}, {5, 3}, {5, 0}};  // b's tile x and position
    for (const auto& e : followerAfterRound) {
        Step(b);
        EXPECT_EQ(std::pair(b->_r->x, b->_p), std::pair(e[0], e[1]));
        Step(a);
    }
    EXPECT_EQ(b->jam, 0);
    EXPECT_FALSE(TCar::Create(nullptr, a->_r, *rl, nullptr, 0)->IsActive());  // a's tile is taken
}

TEST_F(CarTest, FadesOutOverExactlyOneMove) {
    auto car = Put(3, 5, 3, 1);
    Step(car);
    car->fadeOut();
    Step(car);
    EXPECT_EQ(std::pair(car->blendMode, car->mustDeleted), std::pair(TCar::blend_FadeOut, 0));
    Step(car);
    EXPECT_EQ(std::pair(car->blendMode, car->mustDeleted), std::pair(TCar::blend_InVisible, 1));
}

TEST_F(CarTest, DrawCarsGoldenOrderPlaceFrameAndAlpha) {
    const int32_t aligns[4] = {3, 0, 2, 1};  // per position
    std::shared_ptr<TCar> cars[4];
    for (int32_t p = 0; p < 4; ++p) (cars[p] = Put(6, 5, p, aligns[p]))->_pr = 0.5f;
    cars[2]->blendMode = TCar::blend_Solid;
    backend->ClearLog();
    rl->_GetTile(6, 5)->DrawCars(100, 200, 2, 1);
    // Position, frame, x, y, alpha: position 1 drives along y, so it comes after 3.
    const float golden[4][5] = {
        {2, 0, 116, 196, 1}, {3, 1, 84, 196, .5f}, {1, 2, 132, 192, .5f}, {0, 3, 132, 208, .5f}};
    ASSERT_EQ(backend->calls.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const auto& c = backend->calls[i];
        EXPECT_EQ(c.source, cars[int32_t(golden[i][0])]->c->picture[0].get());
        EXPECT_EQ((std::vector{float(c.frame), c.x, c.y, c.alpha}), std::vector(golden[i] + 1, golden[i] + 5));
    }
}

TEST_F(CarTest, BridgeLiftsCarsSmoothlyOverRampsAndSpan) {
    Water(8, 0, 10, mapSize - 1);
    rl->BuildRoad(town, Line(7, 9, 11, 9), 1, 0);  // ramp, three spans, ramp; height 6
    // Driving along x: tile x, position, progress, lift.
    const float cases[][4] = {{7, 3, 0, 0},  {7, 3, 1, 3},  {7, 0, 1, 6}, {9, 3, .5f, 6},
                              {11, 3, 0, 6}, {11, 0, 0, 3}, {11, 0, 1, 0}};
    for (const auto& c : cases) {
        float fx = 0, fy = 0, bx = 0, by = 0;
        rl->_GetTile(5, 5)->GetPosition(int32_t(c[1]), 1, c[2], fx, fy);
        rl->_GetTile(int32_t(c[0]), 9)->GetPosition(int32_t(c[1]), 1, c[2], bx, by);
        EXPECT_EQ(std::pair(bx, fy - by), std::pair(fx, c[3])) << "tile " << c[0] << " position " << c[1];
    }
}

TEST_F(CarTest, RemoveFreesOwnSlotsOnlyDestroyedRoadsStopCarsWorldEndFreesThem) {
    auto a = Put(4, 5, 0, 1), b = Put(4, 5, 2, 3);
    b->_a = 1;  // b's align is a's: removing b must leave a's slot alone
    b->remove();
    EXPECT_EQ(a->_r->car[1], a);
    rl->_Clear(4, 5, 1);
    Step(a);
    EXPECT_EQ(std::pair(a->IsActive(), a->_r->x), std::pair(0, 4));  // inactive, not moved on
    std::weak_ptr<TCar> weak = Put(6, 5, 0, 1);                      // held by its road, which it holds
    world->Destroy();
    EXPECT_TRUE(weak.expired());
}

}  // namespace
