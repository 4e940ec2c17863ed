// The rule set "Wachstum": how much the city draws newcomers, how many come a day, why it does
// not grow, who moves up, who moves away, and the business tax of workers.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "BuildingTestSupport.h"
#include "plugins/TInfluenceMask.h"
#include "world/TGrowthControl.h"
#include "world/TInfluenceLayer.h"

namespace {

class GrowthControlTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        rl->BuildRoad(town, Line(2, 8, 17, 8), 1, 0);  // a street along x at y = 8
        rules = std::make_shared<TGrowthControl>();
        pool->hbtCrtl = rules;
        home = Kind("residentalbuilding", 1, 1, 6);
        villa = Kind("residentalbuilding", 1, 1, 4, 2);
        shop = Kind("commercialbuilding", 1, 1, 8);
    }
    // A waiting newcomer, or a resident of the home (employed at work when given).
    std::shared_ptr<THabitant> Person(const std::shared_ptr<TBuilding>& at = nullptr,
                                      const std::shared_ptr<TBuilding>& work = nullptr) {
        auto h = Newcomer();
        if (!at) return h;
        at->AddHabitantFromPool(h);
        if (work) {
            h->job = TJob::Create(work, nullptr, nullptr);
            work->_regWorker(h);
        }
        return h;
    }
    std::shared_ptr<TGrowthControl> rules;
    std::shared_ptr<TPicturePlugin> home, villa, shop;
};

TEST_F(GrowthControlTest, AttractionFollowsSatisfactionAndTheLevelOneTax) {
    const auto house = Built(home, 3, 9);
    struct Row {
        int32_t residents;
        float satisfaction, tax, attraction;
    } rows[] = {
        {0, 0.0f, 0.2f, 1.0f},    // nobody lives here yet: only the taxes count
        {1, 1.0f, 0.2f, 1.0f},    {1, 0.8f, 0.2f, 1.0f},  {1, 0.55f, 0.2f, 0.5f}, {1, 0.3f, 0.2f, 0.0f},
        {1, 1.0f, 0.1f, 1.0f},    {1, 1.0f, 0.3f, 0.5f},  {1, 1.0f, 0.4f, 0.0f},  {1, 0.55f, 0.3f, 0.25f},
    };
    for (const auto& row : rows) {
        while (pool->countActiveHabitants() < row.residents) Person(house);
        pool->satisfaction = row.satisfaction;
        pool->setTaxes(1, row.tax);
        EXPECT_NEAR(TGrowthControl::Attraction(*pool), row.attraction, 1e-5f)
            << row.residents << " " << row.satisfaction << " " << row.tax;
    }
}

TEST_F(GrowthControlTest, NewcomersFollowTheGapBetweenHomesJobsAndTheWaiting) {
    // rooms (houses of 6), jobs (shops of 8), already waiting → demand, newcomers, note
    struct Row {
        int32_t houses, shops, waiting;
        float demand;
        int32_t newcomers;
        const char* note;
    } rows[] = {
        {2, 1, 0, 1.0f, 2, ""},   // gap min(12, 8) = 8, a quarter of it a day
        {4, 4, 0, 1.0f, 6, ""},   // gap 24
        {4, 4, 20, 1.0f, 1, ""},  // 4 left to fill
        {0, 2, 0, 0.0f, 0, "Keine freien Wohnungen: niemand zieht zu"},
        {3, 0, 0, 0.0f, 0, "Keine freien Arbeitsplätze: niemand zieht zu"},
        {3, 1, 8, 0.0f, 0, "Keine freien Arbeitsplätze: niemand zieht zu"},  // the jobs are spoken for
    };
    for (const auto& row : rows) {
        for (const auto& b : bl->arrBuilding.Items()) bl->_delBuild(b);
        while (!pool->poolHabitant.Empty()) pool->_removePoolHabitant(pool->poolHabitant[0]);
        for (int32_t i = 0; i < row.houses; ++i) Built(home, 2 + i, 9);
        for (int32_t i = 0; i < row.shops; ++i) Built(shop, 2 + i, 7);
        for (int32_t i = 0; i < row.waiting; ++i) Newcomer();
        pool->_recalcRequests();
        EXPECT_FLOAT_EQ(pool->getRequestForLvl(1), row.demand) << row.houses << " " << row.shops;
        EXPECT_EQ(rules->growthNote(*pool), row.note);
        rules->arrivals(*pool);
        EXPECT_EQ(pool->countAvailableHabitants() - row.waiting, row.newcomers) << row.houses << " " << row.shops;
    }
}

TEST_F(GrowthControlTest, WaitingBeyondTheFreeHomesGiveUp) {
    Built(home, 3, 9);
    Built(shop, 3, 7);
    for (int32_t i = 0; i < 20; ++i) Newcomer();
    rules->arrivals(*pool);
    EXPECT_EQ(pool->countAvailableHabitants(), 6 + TGrowthControl::waitingSlack);
}

TEST_F(GrowthControlTest, AHouseTakesAsManyAsItHasRoomAndContentWorkersMoveUp) {
    const auto house = Built(home, 3, 9);
    const auto work = Built(shop, 3, 7);
    for (int32_t i = 0; i < 8; ++i) Newcomer();
    pool->regHouseForHabitant(house);
    rules->moveIns(*pool);
    EXPECT_EQ(house->habitants.Count(), 6u);  // all its room in one day
    EXPECT_EQ(pool->countAvailableHabitants(), 2);
    // A content worker wants the next level; a jobless one does not.
    const auto worker = house->habitants[0], idle = house->habitants[1];
    worker->job = TJob::Create(work, nullptr, nullptr);
    work->_regWorker(worker);
    house->satisfactionAverage = work->satisfactionAverage = 0.9f;
    for (const auto& h : {worker, idle}) rules->updateHabitant(*h, *pool);
    EXPECT_NEAR(worker->satisfaction, 0.81f, 1e-5f);
    EXPECT_NEAR(idle->satisfaction, 0.9f * TGrowthControl::joblessShare, 1e-5f);
    EXPECT_EQ(std::make_pair(worker->lvlUp, idle->lvlUp), std::make_pair(1, 0));
    // A level-2 house with room takes the worker first; its old home then has room again.
    const auto upper = Built(villa, 4, 9);
    pool->regHouseForHabitant(upper);
    rules->moveIns(*pool);
    EXPECT_EQ(worker->home, upper);
    EXPECT_FALSE(house->habitants.Contains(worker));
}

TEST_F(GrowthControlTest, AnInhabitantUnhappyForAMonthLeavesTheCity) {
    const auto house = Built(home, 3, 9), work = Built(shop, 3, 7);
    const auto sad = Person(house, work), glad = Person(house);
    for (int32_t day = 1; day <= TGrowthControl::unhappyDaysToLeave; ++day) {
        sad->satisfaction = 0.2f;
        glad->satisfaction = day == 10 ? 0.2f : 0.9f;  // one bad day is forgotten the next
        rules->departures(*pool);
        EXPECT_EQ(pool->activeHabitant.Contains(sad), day < TGrowthControl::unhappyDaysToLeave) << day;
    }
    EXPECT_FALSE(house->habitants.Contains(sad));
    EXPECT_FALSE(work->workers.Contains(sad));
    EXPECT_FALSE(pool->poolHabitant.Contains(sad));
    EXPECT_TRUE(pool->activeHabitant.Contains(glad));
}

TEST_F(GrowthControlTest, WorkersPayABusinessTaxByTheirLevelAndClassicRulesNone) {
    const auto house = Built(home, 3, 9), work = Built(shop, 3, 7);
    Person(house, work);
    Person(house, work);
    // Two residents at 0.8 each, two workers at half of that.
    EXPECT_NEAR(bl->getHabitantTaxes(), 1.6f + 0.8f, 1e-5f);
    pool->hbtCrtl = THabitantControl::Create(THabitantControl::classicId);
    EXPECT_NEAR(bl->getHabitantTaxes(), 1.6f, 1e-5f);
    EXPECT_EQ(THabitantControl::Create("wild"), nullptr);
}

}  // namespace

namespace {

TEST_F(GrowthControlTest, AnEmptyHouseSaysWhyItStaysEmpty) {
    const auto house = Built(home, 3, 9);
    struct Row {
        const char* rules;
        int32_t shopAt;  // x of a shop beside the street, 0 for none
        float tax, satisfaction;
        const char* reason;
    } rows[] = {
        {THabitantControl::growthId, 0, 0.2f, 1.0f, "Keine Nachfrage"},  // no jobs: nobody comes
        {THabitantControl::classicId, 0, 0.2f, 1.0f, "Keine Arbeit erreichbar"},
        {THabitantControl::classicId, 6, 0.2f, 1.0f, "Wartet auf Zuzug"},
        {THabitantControl::growthId, 6, 0.2f, 1.0f, "Wartet auf Zuzug"},
        {THabitantControl::growthId, 6, 0.6f, 1.0f, "Keine Nachfrage"},  // taxes keep newcomers away
        {THabitantControl::growthId, 6, 0.2f, 0.3f, "Zu unzufrieden"},   // the house takes nobody
    };
    for (const auto& row : rows) {
        pool->hbtCrtl = THabitantControl::Create(row.rules);
        pool->setTaxes(1, row.tax);
        house->satisfactionAverage = row.satisfaction;
        if (row.shopAt && bl->arrBuilding.Count() == 1) Built(shop, row.shopAt, 7);
        pool->_recalcRequests();
        house->UpdateHabitants();
        EXPECT_EQ(house->emptyReason, row.reason) << row.rules << " " << row.shopAt << " " << row.tax << " "
                                                  << row.satisfaction;
        EXPECT_FALSE(house->cJob);  // the job found to answer is not kept
    }
    // A house of a kind that asks for a service names the one it lacks most, or the nuisance.
    TInfluenceMask::TValues needs{};
    needs[TInfluenceLayer::infWater] = 50;
    needs[TInfluenceLayer::infNoise] = 30;  // at most 70 noise
    home->defaultInfluenceMask = TInfluenceMask::Create(needs, 0);
    for (const auto& [water, noise, reason] :
         {std::tuple{0, 0, "Es fehlt: Wasser"}, {40, 90, "Zu viel: Lärm"}}) {
        world->InfluenceLayer->Clear();
        world->InfluenceLayer->_setValue(3, 9, TInfluenceLayer::infWater, water);
        world->InfluenceLayer->_setValue(3, 9, TInfluenceLayer::infNoise, noise);
        house->satisfactionAverage = 0.3f;
        house->UpdateHabitants();
        EXPECT_EQ(house->emptyReason, reason) << water << " " << noise;
    }
    home->defaultInfluenceMask.reset();
    house->satisfactionAverage = 1.0f;
    Person(house);
    house->UpdateHabitants();
    EXPECT_EQ(house->emptyReason, "");
}

}  // namespace
