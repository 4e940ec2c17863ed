// A building's life: placement, construction days, capacity by satisfaction, inhabitants moving
// in and out, the job search over roads, removal; and what it draws on the recording back end.
#include <gtest/gtest.h>

#include "BuildingTestSupport.h"
#include "platform/TDrawState.h"
#include "plugins/TInfluenceMask.h"
#include "world/TCheat.h"
#include "world/TInfluenceLayer.h"
#include "world/TWay.h"

namespace {

class BuildingLifeTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        rl->BuildRoad(town, Line(1, 5, 18, 5), 1, 0);
        house = Kind("residentalbuilding", 1, 1, 10);
        factory = Kind("industrialbuilding", 2, 2, 4);
    }
    std::shared_ptr<TBuilding> HouseWith(int32_t x, int32_t n) {
        auto b = Built(house, x, 6);
        for (int32_t i = 0; i < n; ++i) b->AddHabitantFromPool(Newcomer());
        return b;
    }
    std::shared_ptr<TPicturePlugin> house, factory;
};

using List = std::vector<std::shared_ptr<TBuilding>>;

TEST_F(BuildingLifeTest, PlacesCoverTheFootprintAndGoWithTheBuilding) {
    auto b = bl->_SetTile(2, 7, Kind("commercialbuilding", 3, 2, 5));
    const std::pair<int32_t, int32_t> cells[] = {{2, 8}, {3, 7}, {3, 8}, {4, 7}, {4, 8}};
    ASSERT_EQ(b->places.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(std::make_pair(b->places[i]->X, b->places[i]->Y), cells[i]) << i;
        EXPECT_EQ(bl->_GetCol(cells[i].first, cells[i].second), int32_t(0xFF205CFFu));
    }
    EXPECT_TRUE(bl->_SetTile(9, 9, house)->places.empty());
    EXPECT_FALSE(bl->_SetTile(18, 0, b->p));  // leaves the map
    bl->_Clear(4, 8);                         // any cell removes the whole building
    EXPECT_EQ(b->IsValid(), 0);
    EXPECT_EQ(bl->arrBuilding.Count(), 1u);
    for (const auto& [x, y] : cells) EXPECT_TRUE(std::holds_alternative<std::monostate>(bl->_GetTile(x, y, 1)));
}

TEST_F(BuildingLifeTest, ConstructionDaysAtEachBuildingsMomentOfTheDay) {
    house->constructionTime = 10.0f;
    auto b = bl->_SetTile(3, 6, house);
    b->updatePart = 0.7f;
    b->lastUpdateDay = 99;
    bl->UpdateBuildings(100, 0.7f);  // not yet its moment
    EXPECT_EQ(b->buildStartDay, -1);
    bl->UpdateBuildings(100, 0.71f);
    EXPECT_EQ(b->buildStartDay, 100);
    bl->UpdateBuildings(105, 0.0f);  // days skipped: at once
    bl->UpdateBuildings(105, 0.9f);  // once a day
    EXPECT_FLOAT_EQ(b->buildingProgress, 0.5f);
    b->buildStartDay = 95;  // a second update today would finish it
    bl->UpdateBuildings(105, 0.95f);
    EXPECT_EQ(b->inBuildMode, 1);
    b->buildStartDay = 100;
    b->Update(109);
    EXPECT_EQ(b->inBuildMode, 1);
    b->Update(105 + 10);
    EXPECT_EQ(b->inBuildMode, 0);
    auto fast = bl->_SetTile(4, 6, house);
    fast->Update(1);
    world->cheat->immediatelyBuild = 1;
    fast->Update(2);
    EXPECT_EQ(fast->inBuildMode, 0);
}

TEST_F(BuildingLifeTest, CapacityFollowsSatisfaction) {
    const std::pair<float, int32_t> cases[] = {{0.5f, 0}, {0.75f, 5}, {0.76f, 5}, {1.0f, 10}};
    for (const auto& [satisfaction, capacity] : cases) {
        auto b = Built(house, 3, 6);
        pool->availableHomes.Clear();
        b->satisfactionAverage = satisfaction;
        b->UpdateHabitants();
        EXPECT_EQ(b->maxHabitans, capacity) << satisfaction;
        EXPECT_EQ(pool->availableHomes.Contains(b), capacity > 0) << satisfaction;  // a vacancy is offered
        bl->_Clear(3, 6);
    }
}

TEST_F(BuildingLifeTest, OneInhabitantLeavesPerDayAndGivesUpItsJob) {
    auto work = Built(factory, 10, 6);
    work->maxWorkers = 10;
    auto b = HouseWith(3, 7);
    b->UpdateHabitants();  // everybody stays and finds work
    ASSERT_EQ(work->workers.Count(), 7u);
    b->satisfactionAverage = 0.75f;  // room for 5
    for (size_t left : {6u, 5u, 5u}) {
        b->UpdateHabitants();
        EXPECT_EQ(b->habitants.Count(), left);
        EXPECT_EQ(work->workers.Count(), left);
    }
    ASSERT_EQ(pool->poolHabitant.Count(), 2u);
    EXPECT_FALSE(pool->poolHabitant[0]->job);
    b->satisfactionAverage = 0.5f;  // no room: nobody is sent away
    b->UpdateHabitants();
    EXPECT_EQ(b->habitants.Count(), 5u);
}

TEST_F(BuildingLifeTest, JobsGoToTheNearestWorkPlaceByRoadAndEndWithTheRoad) {
    Built(factory, 14, 6);
    auto near = Built(factory, 6, 6);
    auto b = HouseWith(3, 1);
    const auto h = b->habitants[0];
    b->UpdateHabitants();
    ASSERT_TRUE(h->job);
    EXPECT_EQ(h->job->building, near);
    EXPECT_TRUE(near->workers.Contains(h));
    ASSERT_FALSE(h->job->way->road.empty());
    for (const auto& r : h->job->way->road) EXPECT_EQ(r->useLevel, 1);
    b->callRoadDeleted(h->job->way->road.front());
    EXPECT_FALSE(b->habitants.Contains(h) || near->workers.Contains(h));
    // ... and waits with the newcomers, no longer counted as an inhabitant of the house.
    EXPECT_TRUE(!h->home && !h->job && pool->poolHabitant.Contains(h) && !pool->activeHabitant.Contains(h));

    // A work place torn down puts its workers out of their homes.
    auto other = HouseWith(5, 1);
    other->UpdateHabitants();
    const auto worker = other->habitants[0];
    bl->_delBuild(near);
    EXPECT_TRUE(near->workers.Empty() && other->habitants.Empty());
    EXPECT_TRUE(!worker->home && pool->poolHabitant.Contains(worker) && !pool->activeHabitant.Contains(worker));
}

TEST_F(BuildingLifeTest, WorkPlaceCandidatesAreFilteredAndSortedByDistance) {
    rl->way_radius = 5.0f;
    auto small = Kind("industrialbuilding", 1, 1, 3);
    auto a = Built(small, 8, 6), same = Built(small, 8, 4), edge = Built(small, 3, 6);
    Built(small, 2, 6);  // beyond the radius
    auto level2 = Built(Kind("commercialbuilding", 1, 1, 3, 2), 9, 4);
    bl->_SetTile(10, 6, small);  // under construction
    auto full = Built(small, 11, 6);
    full->maxWorkers = 1;
    full->_regWorker(std::make_shared<THabitant>());
    ASSERT_EQ(Built(small, 8, 8)->noneededroad, 1);
    // Whole tiles toward zero: from (8.9, 6.9) a is 0, same 2, edge exactly 5.
    EXPECT_EQ(bl->_getPossibleWorkBuildings(8.9f, 6.9f, 1), (List{a, same, edge}));
    EXPECT_EQ(bl->_getPossibleWorkBuildings(8.9f, 6.9f, -1), (List{a, same, level2, edge}));
    EXPECT_EQ(bl->_getPossibleWorkBuildings(8.0f, 5.0f, 1), (List{a, same}));  // a tie keeps placement order
}

TEST_F(BuildingLifeTest, MoverGivesUpItsOldJobAndHome) {
    auto work = Built(factory, 10, 6);
    auto first = HouseWith(3, 1);
    const auto h = first->habitants[0];
    first->UpdateHabitants();
    const auto route = h->job->way->road;
    world->hour = 77.0f;
    Built(house, 16, 6)->AddHabitantFromPool(h);
    EXPECT_FALSE(first->habitants.Contains(h) || work->workers.Contains(h) || h->job);
    for (const auto& r : route) EXPECT_EQ(r->useLevel, 0);
    EXPECT_FLOAT_EQ(h->lastMoveHour, 77.0f);
    EXPECT_FLOAT_EQ(h->movedToTownHour, 0.0f);
    EXPECT_TRUE(pool->activeHabitant.Contains(h));
}

TEST_F(BuildingLifeTest, TechLevelsOutsideOneToFiveFindNoWorkAndBreakNothing) {
    Built(Kind("industrialbuilding", 1, 1, 5, 1), 8, 6);
    for (int32_t level : {-1, 0, 6}) {
        auto b = Built(Kind("residentalbuilding", 1, 1, 4, level), 3, 6);
        b->AddHabitantFromPool(Newcomer());
        bl->_UpdateBuild(b, 3);
        EXPECT_FALSE(b->habitants[0]->job) << level;
        b->Draw(100, 100, 1, 1, 1, 1, 0.5f);
        bl->_Clear(3, 6);
    }
}

TEST_F(BuildingLifeTest, SimulationWithoutDrawingFillsHousesAndJobs) {
    auto work = Built(factory, 10, 6);
    auto b = bl->_SetTile(3, 6, house);
    const auto h = Newcomer();
    for (int32_t day = 1; day <= 5; ++day) {
        bl->UpdateBuildings(day, 0.999f);
        pool->Update();
    }
    EXPECT_EQ(h->home, b);
    ASSERT_TRUE(h->job);
    EXPECT_EQ(h->job->building, work);
    EXPECT_GT(bl->getHabitantTaxes(), 0.0f);
}

TEST_F(BuildingLifeTest, SatisfactionIsTheWeakestFootprintTile) {
    auto kind = Kind("residentalbuilding", 2, 1, 10);
    kind->defaultInfluenceMask = TInfluenceMask::CreateFromValues(40, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    auto b = bl->_SetTile(3, 6, kind);
    for (int32_t x : {3, 4}) world->InfluenceLayer->_setValue(x, 6, TInfluenceLayer::infEnergy, 20);
    world->InfluenceLayer->_setValue(3, 6, TInfluenceLayer::infWater, 40);
    world->InfluenceLayer->_setValue(4, 6, TInfluenceLayer::infWater, 20);
    b->_recalculateInfluence();
    EXPECT_FLOAT_EQ(b->getSatisfaction(), 0.5f);
    EXPECT_FLOAT_EQ(b->getInfluenceFor(TInfluenceLayer::infWater), 0.5f);
    EXPECT_FLOAT_EQ(b->getInfluenceFor(TInfluenceLayer::infEnergy), 1.0f);
}

class BuildingDrawTest : public BuildingTest {
protected:
    struct Call {
        const TImage* image;
        int32_t frame;
        float x, y, alpha;
    };
    // A site at screen (200, 150) with updatePart 0, so the scaffold jitter of cell (i, j) is
    // frac(4.3278899 i + 8.8902302 j).
    std::shared_ptr<TBuilding> Site(int32_t sx, int32_t sy, float progress) {
        auto kind = Kind("commercialbuilding", sx, sy, 4);
        kind->Height = 1;  // four segments at half-time
        auto b = bl->_SetTile(3, 7, kind);
        b->updatePart = 0.0f;
        b->buildingKind = b->buildingCraneKind = 0;
        b->buildingProgress = progress;
        return b;
    }
    void ExpectCalls(const std::vector<Call>& want) const {
        ASSERT_EQ(backend->calls.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            const auto& c = backend->calls[i];
            EXPECT_EQ(c.source, want[i].image) << i;
            EXPECT_EQ(c.frame, want[i].frame) << i;
            EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(want[i].x, want[i].y)) << i;
            EXPECT_NEAR(c.alpha, want[i].alpha, 1e-6f) << i;
        }
    }
};

TEST_F(BuildingDrawTest, ConstructionSiteGoldenDrawList) {
    for (float progress : {0.25f, 0.75f}) {  // rising and falling give the same height 1
        auto b = Site(2, 2, progress);
        backend->ClearLog();
        SetAlpha(0.8f);
        b->Draw(200, 150, 0, 1, 1, 1, 0.5f);
        const TImage* site = TBuildingLayer::buildGroundImg[1].get();
        const TImage* stage = TBuildingLayer::buildingProcessImg[0].get();
        const TImage* crane = TBuildingLayer::buildingTowerCraneImg[0].get();
        std::vector<Call> want = {{site, 0, 216, 142, 1},    {site, 0, 232, 150, 1},     {site, 0, 200, 150, 1},
                                  {site, 0, 216, 158, 1},    {stage, 5, 216, 142, 0.8f},  // back (1, 0): 1.33
                                  {stage, 0, 216, 134, 0.8f}};
        for (int32_t i = 0; i < 6; ++i) want.push_back({crane, 0, 200, 150.0f - 8.0f * float(i), 0.8f});
        want.push_back({crane, 2, 200, 110, 0.8f});  // the jib (1 + 4) x 8 above the base
        want.push_back({b->p->picture[0].get(), 0, 200, 150, progress * 0.8f});
        // Front, half a segment lower: (1, 1) 0.72, (0, 0) 0.5, (0, 1) 1.39.
        for (const Call& c : {Call{stage, 3, 232, 150, 0.8f}, Call{stage, 2, 200, 150, 0.8f},
                              Call{stage, 5, 216, 158, 0.8f}, Call{stage, 1, 216, 150, 0.8f}}) {
            want.push_back(c);
        }
        ExpectCalls(want);
        bl->_Clear(3, 7);
    }
    auto small = Site(1, 1, 0.25f);  // one front column, no crane
    SetAlpha(1.0f);
    backend->ClearLog();
    small->Draw(200, 150, 0, 1, 1, 1, 0.5f);
    ExpectCalls({{TBuildingLayer::buildGroundImg[1].get(), 0, 200, 150, 1},
                 {small->p->picture[0].get(), 0, 200, 150, 0.25f},
                 {TBuildingLayer::buildingProcessImg[0].get(), 2, 200, 150, 1}});
}

TEST_F(BuildingDrawTest, StatusSymbolsOfAFinishedHouse) {
    const struct {
        float satisfaction;
        int32_t noRoad, employed;
        size_t unhappy, roadSymbol;
        float noJobAlpha;  // 0: no symbol
    } cases[] = {{0.8f, 0, 2, 0, 0, 0}, {0.79f, 0, 2, 1, 0, 0}, {0.5f, 1, 2, 0, 1, 0}, {1, 0, 1, 0, 0, 0.5f}};
    auto work = Built(Kind("industrialbuilding", 2, 2, 4), 10, 6);
    for (const auto& c : cases) {
        auto b = Built(Kind("residentalbuilding", 1, 1, 10), 3, 6);
        for (int32_t i = 0; i < 2; ++i) {
            b->AddHabitantFromPool(Newcomer());
            if (i < c.employed) b->habitants[size_t(i)]->job = TJob::Create(work, nullptr, nullptr);
        }
        b->satisfactionAverage = c.satisfaction;
        b->noneededroad = c.noRoad;
        backend->ClearLog();
        b->Draw(200, 150, 0, 1, 1, 1, 0.5f);
        const auto unhappy = CallsOf(TBuildingLayer::unhappyImg), road = CallsOf(TBuildingLayer::noRoadImg),
                   nojob = CallsOf(TBuildingLayer::noJobImg);
        EXPECT_EQ(unhappy.size(), c.unhappy) << c.satisfaction;
        EXPECT_EQ(road.size(), c.roadSymbol) << c.satisfaction;
        ASSERT_EQ(nojob.size(), c.noJobAlpha > 0 ? 1u : 0u) << c.employed;
        for (const auto& calls : {unhappy, road, nojob}) {
            for (const auto& s : calls) EXPECT_EQ(std::make_pair(s.x, s.y), std::make_pair(216.0f, 118.0f));
        }
        if (!nojob.empty()) {
            EXPECT_NEAR(nojob[0].alpha, c.noJobAlpha, 1e-6f);
        }
        for (const auto& h : b->habitants.Items()) h->job.reset();
        bl->_Clear(3, 6);
    }
}

}  // namespace
