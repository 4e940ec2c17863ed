// Cars: the move table, align choice, traffic lights, lane slots, fading, drawing, bridges, and
// waits that cannot last for good.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <tuple>
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

// A ring of road whose lanes hold as many cars as their slots allow: on the straight pieces one
// car per lane (at the lane's end, holding the lane's align), on the curves one on every position.
// Each car waits for a slot the car ahead holds, all the way round: under the ordinary rules no
// car can ever move again.
TEST_F(CarTest, ARingOfCarsWaitingForEachOtherClearsWhenTheLongestWaitingLeaves) {
    for (const auto& side : {Line(3, 9, 7, 9), Line(7, 9, 7, 13), Line(7, 13, 3, 13), Line(3, 13, 3, 9)})
        rl->BuildRoad(town, side, 0, 0);
    std::vector<std::shared_ptr<TCar>> cars;
    for (int32_t x = 3; x <= 7; ++x) {
        for (int32_t y = 9; y <= 13; ++y) {
            auto r = rl->_GetTile(x, y);
            if (!r) continue;
            ASSERT_TRUE(r->Frame <= 1 || (r->Frame >= 8 && r->Frame <= 11)) << x << "," << y;  // straights, curves
            for (int32_t p = 0; p < 4; ++p) {
                if (r->Frame <= 1 && p % 2 == r->Frame) continue;  // a straight lane's first position
                cars.push_back(Put(x, y, p, r->GetAlign(p)[0]));
            }
        }
    }
    ASSERT_EQ(cars.size(), 40u);  // 12 straights with 2 cars, 4 curves with 4
    // Car i has stood i / 20 s already (one move takes a tick here, so 3 moves of progress).
    for (size_t i = 0; i < cars.size(); ++i) cars[i]->_pr = 1.0f + 3.0f * float(i);
    EXPECT_NEAR(cars[20]->Waited(), 1.0f, 1e-4f);
    auto frame = [&] {
        clock->Advance(17);
        for (const auto& c : cars) {
            if (c->IsActive() && !c->mustDeleted) c->Update(*rl, mapSize, mapSize);
        }
    };
    auto places = [&] {
        std::vector<std::pair<const TRoad*, int32_t>> v;
        for (const auto& c : cars) v.emplace_back(c->_r.get(), c->_p);
        return v;
    };
    auto left = [&] {
        return std::count_if(cars.begin(), cars.end(), [](const auto& c) { return c->mustDeleted && !c->IsActive(); });
    };
    const auto start = places();
    // Until the longest waiting car has stood giveUpAfter seconds nothing moves, not even with
    // every way allowed after detourAfter: the lock is complete.
    int32_t ms = 0;
    const int32_t firstLeaves = int32_t(1000.0f * (TCar::giveUpAfter - cars.back()->Waited()));
    for (; ms + 17 < firstLeaves; ms += 17) frame();
    EXPECT_EQ(places(), start);
    EXPECT_EQ(left(), 0);
    EXPECT_GE(cars.back()->Waited(), TCar::giveUpAfter - 0.02f);
    // Then the longest waiting car of each lane leaves the road, frees its slots, and the ring
    // moves again: each lane of the ring is a ring of waits of its own, so two leave.
    for (int32_t i = 0; i < 200; ++i) frame();
    EXPECT_EQ(left(), 2);
    for (const auto& c : cars) EXPECT_TRUE(!c->mustDeleted || c->_r->carpos[size_t(c->_p)] != c);
    // Every car left on the road keeps moving: over the next five seconds each moves, and none
    // stands long enough to look for another way.
    std::vector<int32_t> moves(cars.size(), 0);
    float longest = 0;
    for (int32_t i = 0; i < 300; ++i) {
        const auto before = places();
        frame();
        const auto after = places();
        for (size_t k = 0; k < cars.size(); ++k) {
            moves[k] += after[k] != before[k];
            if (!cars[k]->mustDeleted) longest = std::max(longest, cars[k]->Waited());
        }
    }
    for (size_t k = 0; k < cars.size(); ++k) EXPECT_TRUE(cars[k]->mustDeleted || moves[k] > 3) << "car " << k;
    EXPECT_EQ(left(), 2);
    EXPECT_LT(longest, TCar::detourAfter);
}

TEST_F(CarTest, ACarWhoseWayStaysShutTakesAnOpenOneAfterAWhile) {
    rl->BuildRoad(town, Line(9, 2, 9, 8), 0, 0);  // crosses the street along y = 5
    ASSERT_EQ(FrameAt(9, 5), 12);
    Put(9, 5, 3, 0);  // never moves: stands for good on the crossing's position 3
    // Behind it on position 2: of the aligns there (3 west, 0 on to position 3) a car always
    // prefers 0, so by the ordinary rules it waits behind the other for good.
    auto car = Put(9, 5, 2, 0);
    int32_t ms = 0;
    for (; ms + 17 < int32_t(1000.0f * TCar::detourAfter) - 50; ms += 17) Step(car);
    EXPECT_EQ(std::tuple(car->_r->x, car->_p, car->jam), std::tuple(9, 2, 1));
    EXPECT_NEAR(car->Waited(), 0.001f * float(ms), 0.02f);
    for (int32_t i = 0; i < 10 && car->_r->x == 9; ++i) Step(car);
    EXPECT_EQ(std::tuple(car->_r->x, car->_r->y, car->_p, car->_a), std::tuple(8, 5, 1, 3));  // west instead
    EXPECT_EQ(std::pair(car->Waited(), car->jam), std::pair(0.0f, 0));
}

TEST_F(CarTest, ACarWithNoWayOpenLeavesTheRoadAndItsBuildingLayerDropsIt) {
    auto blocker = Put(6, 5, 0, 1), car = Put(5, 5, 0, 1);  // eastbound, one tile apart
    world->BuildingLayer->arrCar.Append(car);
    world->BuildingLayer->arrCar.Append(blocker);
    float waited = 0;
    for (int32_t i = 0; i < 2000 && car->IsActive(); ++i) {
        clock->Advance(17);
        car->Update(*rl, mapSize, mapSize);  // the blocker is never moved
        if (car->IsActive()) waited = car->Waited();
    }
    EXPECT_NEAR(waited, TCar::giveUpAfter, 0.05f);
    EXPECT_EQ(std::tuple(car->IsActive(), car->mustDeleted, car->blendMode), std::tuple(0, 1, TCar::blend_InVisible));
    EXPECT_FALSE(car->_r->car[1] == car || car->_r->carpos[0] == car);
    world->BuildingLayer->__UpdateCars();
    const auto& kept = world->BuildingLayer->arrCar;
    EXPECT_TRUE(kept.Count() == 1 && kept[0] == blocker);
}

// The place for a new car: the nearest road tile with no car on it, of equally near ones the
// later in the road list, as a scan of the whole list finds it.
TEST_F(CarTest, ANewCarGoesToTheNearestFreeRoadTheLaterOfEquallyNearOnes) {
    auto reference = [&](int32_t x, int32_t y, int32_t& px, int32_t& py) {
        float best = std::numeric_limits<float>::infinity();
        const TRoad* pick = nullptr;
        for (const auto& r : rl->arrRoad) {
            if (!r->CarFree()) continue;
            const float dx = float(r->x - x), dy = float(r->y - y), d = std::sqrt(dx * dx + dy * dy);
            if (d <= best) best = d, pick = r.get();
        }
        if (pick) px = pick->x, py = pick->y;
        return pick != nullptr;
    };
    std::mt19937 draw(77u);
    auto in = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(draw); };
    const TBuildingLayer& bl = *world->BuildingLayer;
    int32_t compared = 0;
    for (int32_t layout = 0; layout < 60; ++layout) {
        // Roads laid in any order (so the list is not sorted by place) and cars on many of them.
        for (auto r : std::vector<std::shared_ptr<TRoad>>(rl->arrRoad)) rl->_Clear(r->x, r->y, 1);
        for (int32_t k = in(1, 14); k > 0; --k) {
            const int32_t x = in(0, mapSize - 1), y = in(0, mapSize - 1), n = in(0, 10);
            rl->BuildRoad(
                town,
                in(0, 1) ? Line(x, y, std::min(x + n, mapSize - 1), y) : Line(x, y, x, std::min(y + n, mapSize - 1)), 0,
                0);
        }
        std::vector<std::shared_ptr<TCar>> cars;
        for (const auto& r : rl->arrRoad) {
            if (in(0, 9) < layout % 10) cars.push_back(Put(r->x, r->y, in(0, 3), 0));
        }
        for (int32_t q = 0; q < 25; ++q) {
            int32_t x = in(-3, mapSize + 2), y = in(-3, mapSize + 2);
            if (x == -1 && y == -1) x = -2;  // (-1, -1) asks for a random road instead
            int32_t ex = -9, ey = -9, gx = -9, gy = -9;
            const bool expected = reference(x, y, ex, ey);
            ASSERT_EQ(bl._GetPlaceForCar(x, y, gx, gy), expected) << "layout " << layout << " at " << x << "," << y;
            EXPECT_EQ(std::pair(gx, gy), std::pair(expected ? ex : -9, expected ? ey : -9)) << x << "," << y;
            ++compared;
        }
        for (const auto& c : cars) c->remove();
    }
    EXPECT_EQ(compared, 1500);
}

}  // namespace
