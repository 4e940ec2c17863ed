// The inhabitant pool's day change (move-ins, newcomers, satisfaction, demand), taxes, jobs and
// the weighted surname list.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "RoadTestSupport.h"
#include "world/TBuilding.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TNameGenerator.h"
#include "world/TWay.h"

namespace {

class HabitantPoolTest : public RoadTest {
protected:
    // A building of a tech level that takes no part in the building layer's daily life (kept by
    // the test as the layer keeps its buildings: inhabitants and jobs only refer to them).
    std::shared_ptr<TBuilding> House(int32_t level, float satisfaction = 1.0f) {
        auto b = std::make_shared<TBuilding>();
        b->p = MakePlugin("test_house", "residentalbuilding", 0xFFC08040u);
        b->p->techlevel = level;
        b->p->workername = "Bäcker";
        b->buildingLayer = world->BuildingLayer.get();
        b->satisfactionAverage = satisfaction;
        houses.push_back(b);
        return b;
    }
    std::shared_ptr<THabitant> Add(std::shared_ptr<TBuilding> home = nullptr,
                                   std::shared_ptr<TBuilding> work = nullptr) {
        auto h = pool->_createNewHabitant();
        h->home = home;
        if (work) h->job = TJob::Create(work, nullptr, nullptr);
        home ? pool->_addActiveHabitant(h) : pool->_addPoolHabitant(h);
        return h;
    }
    THabitantPool* pool = nullptr;
    std::vector<std::shared_ptr<TBuilding>> houses;
    void SetUp() override {
        RoadTest::SetUp();
        pool = world->habitantPool.get();
        pool->requests[0] = 1.0f;  // as after the first day change
    }
};

TEST_F(HabitantPoolTest, TaxMoneyPerEmployedInhabitantByLevel) {
    const std::pair<int32_t, float> cases[] = {{1, 0.8f}, {2, 1.8f}, {3, 3.2f}, {4, 5.0f}, {5, 7.2f}, {0, 0}, {6, 0}};
    for (const auto& [level, money] : cases) {
        EXPECT_FLOAT_EQ(pool->calcTaxMoneyForHabitant(*Add(House(level), House(1))), money) << level;
        EXPECT_EQ(pool->calcTaxMoneyForHabitant(*Add(House(level))), 0.0f) << level;
        pool->setTaxes(level, 0.5f);  // ignored outside 1 … 5
    }
    EXPECT_FLOAT_EQ(pool->getTaxes(2), 0.5f);
    EXPECT_EQ(pool->getTaxes(0) + pool->getTaxes(6) + pool->getRequestForLvl(-1), 0.0f);
}

TEST_F(HabitantPoolTest, EachOfferingHouseTakesOneOfTheOldestWaiting) {
    auto first = Add(), second = Add(), third = Add();
    auto a = House(1), b = House(1), gone = House(1);
    gone->alive = 0;
    for (const auto& house : {a, gone, b}) pool->regHouseForHabitant(house);
    pool->Update();
    ASSERT_TRUE(first->home && second->home);
    EXPECT_EQ((std::set{first->home.lock(), second->home.lock()}), (std::set{a, b}));
    EXPECT_EQ(a->habitants.Count() + b->habitants.Count() + gone->habitants.Count(), 2u);
    EXPECT_EQ(third->home, nullptr);
    ASSERT_EQ(pool->countAvailableHabitants(), 2);  // the third, then the day's newcomer
    EXPECT_EQ(pool->poolHabitant[0], third);
    EXPECT_TRUE(pool->availableHomes.Empty());
}

TEST_F(HabitantPoolTest, NewcomersArriveBelowDemandAndTheOldestGivesUpAbove) {
    const struct {
        int32_t active, waiting, waitingAfter;
    } cases[] = {{99, 2, 3}, {100, 2, 2}, {101, 2, 1}, {101, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.active);
        pool->activeHabitant.Clear();
        pool->poolHabitant.Clear();
        for (int32_t i = 0; i < c.active; ++i) Add(House(1));
        std::shared_ptr<THabitant> oldest = c.waiting ? Add() : nullptr;
        for (int32_t i = 1; i < c.waiting; ++i) Add();
        pool->Update();
        EXPECT_EQ(pool->countAvailableHabitants(), c.waitingAfter);
        if (c.waitingAfter) {
            EXPECT_EQ(pool->poolHabitant[0] == oldest, c.waitingAfter >= c.waiting);
        }
    }
}

TEST_F(HabitantPoolTest, SatisfactionAndDemandOfTheResidents) {
    pool->Update();
    EXPECT_FLOAT_EQ(pool->getSatisfaction(), 0.5f);  // nobody lives here yet
    auto employed = Add(House(1, 0.9f), House(1, 0.5f));
    auto jobless = Add(House(3, 0.9f));
    Add(House(0, 0.9f));  // levels outside 1 … 5 have no demand slot
    Add(House(7, 0.9f));
    pool->Update();
    EXPECT_FLOAT_EQ(employed->getSatisfaction(), 0.45f);
    EXPECT_FLOAT_EQ(jobless->getSatisfaction(), 0.9f);
    EXPECT_FLOAT_EQ(pool->getSatisfaction(), (0.45f + 3 * 0.9f) / 4);
    EXPECT_EQ(std::vector<float>(pool->requests.begin(), pool->requests.end()), (std::vector<float>{1, 1, 0, 1, 0, 0}));
    // Half of level 3 wanting up halves the demand for level 4.
    Add(House(3))->lvlUp = 0;
    pool->_recalcRequests();
    EXPECT_FLOAT_EQ(pool->getRequestForLvl(4), 0.5f);
}

TEST_F(HabitantPoolTest, HouseIsOfferedTheFirstWaitingOrTheLastResidentReadyToMoveUp) {
    EXPECT_EQ(pool->getPoolHabitant(1), nullptr);
    auto waiting = Add();
    Add();
    auto r1 = Add(House(1)), r2 = Add(House(1)), r4 = Add(House(2));
    Add(House(1));
    r1->lvlUp = r2->lvlUp = r4->lvlUp = 1;
    const std::pair<int32_t, std::shared_ptr<THabitant>> cases[] = {{1, waiting}, {2, r2},      {3, r4},
                                                                    {4, nullptr}, {0, nullptr}, {6, nullptr}};
    for (const auto& [level, expected] : cases)
        EXPECT_EQ(pool->getPoolHabitantForHome(*House(level)), expected) << level;
}

TEST_F(HabitantPoolTest, NamesDrawTheSurnameBeforeTheInitial) {
    ASSERT_TRUE(pool->nameGenerator);
    for (int32_t seed : {1, 77, 4096}) {
        world->SetRandomGenerator(vesko::TFastRandom::Create(seed));
        auto same = vesko::TFastRandom::Create(seed);
        const std::string surname = pool->nameGenerator->pickName(same->GetFloatIn(1.0f, 0.0f));
        EXPECT_EQ(pool->generateName(), std::string(1, char(same->GetIntIn(65, 90))) + ". " + surname);
    }
    pool->nameGenerator.reset();
    EXPECT_EQ(pool->generateName().substr(1), ". Neubürger");
}

TEST_F(HabitantPoolTest, JobsCountCommutersAndNameTheirWork) {
    auto roads = rl->BuildRoad(town, Line(3, 5, 6, 5), 0, 0);
    auto job = TJob::Create(House(1), TWay::Create(roads, nullptr, nullptr), nullptr);
    auto other = TJob::Create(House(5), TWay::Create({roads[1]}, nullptr, nullptr), nullptr);
    job->useIt();
    other->useIt();
    job->unuseIt();
    job->useIt();
    for (size_t i = 0; i < roads.size(); ++i) EXPECT_EQ(roads[i]->useLevel, i == 1 ? 2 : 1) << i;
    EXPECT_EQ(job->getMoney() + other->getMoney(), 120.0f + 0.0f);
    THabitant h;
    EXPECT_EQ(h.getJobName(), "Arbeitslos");
    EXPECT_EQ(h.getJobImage()->width, 1);
    h.job = job;
    EXPECT_EQ(h.getJobName(), "Bäcker");
}

// --- name list ---------------------------------------------------------------------------------

using Entries = std::vector<std::pair<std::string, int32_t>>;

TEST(NameGeneratorTest, ListIsReadWithWeightsInParentheses) {
    const std::pair<std::string, Entries> cases[] = {
        {"M\xfcller(9)\r\nSchmidt\r\n", {{"Müller", 9}, {"Schmidt", 1}}},
        {"Lange(2), Schmitt(2)\nWolf, Koch(3)(7)", {{"Lange", 2}, {"Schmitt", 2}, {"Wolf", 1}, {"Koch", 3}}},
        {"Koch(0)\n Bauer \t(-3)\nWolf(x)\n\r\n , ,\n", {{"Koch", 1}, {"Bauer", 1}, {"Wolf", 1}}},
        {"Riese(99999999999999999999)", {{"Riese", -1}}},
        {"", {}},
        {"\r\n , ,(4)\n", {}}};
    const std::string path = testing::TempDir() + "vallmora_names.dat";
    for (const auto& [bytes, expected] : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        auto g = TNameGenerator::CreateFromFile(path);
        ASSERT_EQ(g != nullptr, !expected.empty()) << bytes;
        if (!g) continue;
        size_t slots = 0;
        for (size_t i = 0; i < expected.size() && i < g->source.size(); ++i) {
            EXPECT_EQ(g->source[i].Name, expected[i].first);
            if (expected[i].second > 0) {
                EXPECT_EQ(g->source[i].weight, expected[i].second);
            }
            slots += size_t(g->source[i].weight);
        }
        EXPECT_EQ(g->source.size(), expected.size());
        EXPECT_EQ(g->names.size(), slots);
        EXPECT_LT(slots, size_t(1) << 20);  // a damaged weight cannot blow the list up
    }
    EXPECT_EQ(TNameGenerator::CreateFromFile(testing::TempDir() + "vallmora_no_names.dat"), nullptr);
    auto shipped = TNameGenerator::CreateFromFile(THabitantPool::nameFile);
    ASSERT_TRUE(shipped);
    EXPECT_EQ(shipped->source[0].Name, "Müller");
}

TEST(NameGeneratorTest, WeightsExpandInOrderAndPicksSpanFirstToLast) {
    auto g = TNameGenerator::Create({{"Erster", 2}, {"Zweiter", 1}});
    std::vector<std::string> slots;
    for (const auto& e : g->names) slots.push_back(e.Name);
    EXPECT_EQ(slots, (std::vector<std::string>{"Erster", "Erster", "Zweiter"}));
    const std::pair<float, const char*> picks[] = {{0.0f, "Erster"},  {0.5f, "Erster"},  {0.99f, "Erster"},
                                                   {1.0f, "Zweiter"}, {-0.5f, "Erster"}, {1.5f, "Zweiter"},
                                                   {NAN, "Erster"}};
    for (const auto& [f, name] : picks) EXPECT_EQ(g->pickName(f), name) << f;
    EXPECT_EQ(TNameGenerator::Create({})->pickName(0.5f), "");
}

}  // namespace
