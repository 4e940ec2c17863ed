// The advice: on small hand-made cities the advisor names the biggest thing holding the city
// back, and where, without changing the city; a higher reason wins over a lower one; the world
// keeps the day's advice and judges again on the next day or after an editing command.
#include <gtest/gtest.h>

#include <functional>

#include "BuildingTestSupport.h"
#include "plugins/TInfluenceMask.h"
#include "world/TAdvisor.h"
#include "world/TGrowthControl.h"
#include "world/TInfluenceLayer.h"
#include "world/TRoadCommand.h"

namespace {
using R = TAdvice::TReason;
using I = TInfluenceLayer;

class AdvisorTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        pool->hbtCrtl = std::make_shared<TGrowthControl>();
        // Needs water 50 and bears noise up to 30; every other nuisance in full.
        home = Kind("residentalbuilding", 1, 1, 6);
        home->defaultInfluenceMask =
            TInfluenceMask::CreateFromValues(50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 100, 30, 1);
        shop = Kind("commercialbuilding", 1, 1, 8);
    }
    void Street() { rl->BuildRoad(town, Line(2, 8, 17, 8), 1, 0); }
    void Set(int32_t x, int32_t kind, int32_t value) { world->InfluenceLayer->_setValue(x, 9, kind, value); }
    // A home along the street with water and people in it (employed at the shop when given).
    std::shared_ptr<TBuilding> Home(int32_t x, int32_t people, const std::shared_ptr<TBuilding>& work = nullptr) {
        auto b = Built(home, x, 9);
        Set(x, I::infWater, 50);
        for (int32_t i = 0; i < people; ++i) {
            auto h = Newcomer();
            b->AddHabitantFromPool(h);
            if (!work) continue;
            h->job = TJob::Create(work, nullptr, nullptr);
            work->_regWorker(h);
        }
        return b;
    }
    // Two homes of 2 and 3 people working at a shop with jobs to spare.
    void GoodTown() {
        Street();
        const auto work = Built(shop, 10, 7);
        Home(3, 2, work);
        Home(5, 3, work);
    }

    std::shared_ptr<TPicturePlugin> home, shop;
};

TEST_F(AdvisorTest, NamesTheBiggestThingHoldingTheCityBackAndWhere) {
    const auto jobs = "Keine Arbeit erreichbar: bauen Sie Arbeitsplätze", water = "Den Wohnhäusern fehlt: Wasser",
               taxes = "Die Steuern sind zu hoch: weniger Zuzug", fine = "Die Stadt wächst gut";
    const struct {
        const char* city;
        std::function<void()> build;
        R reason;
        const char* text;
        int32_t x, y;  // the place; -1 for none
    } cases[] = {
        {"nothing built", [] {}, R::Nothing, "Bauen Sie eine Straße und Wohnhäuser", -1, -1},
        {"a street only", [&] { Street(); }, R::Nothing, "Bauen Sie Wohnhäuser an eine Straße", -1, -1},
        {"homes being built", [&] { Street(), bl->_SetTile(3, 9, home); }, R::Nothing,
         "Die Wohnhäuser werden noch gebaut", -1, -1},
        {"every home full", [&] { Street(), Home(3, 6, Built(shop, 10, 7)); }, R::Nothing,
         "Alle Wohnungen belegt: bauen Sie Wohnhäuser", -1, -1},
        {"a home whose street is gone", [&] { GoodTown(), Home(12, 1), rl->_Clear(12, 8, 1); }, R::NoRoad,
         "Wohnhaus ohne Straße: niemand zieht ein", 12, 9},
        {"no work building", [&] { Street(), Home(3, 1), Home(5, 2); }, R::NoJobs, jobs, 5, 9},
        {"the only shop on another street",
         [&] { Street(), rl->BuildRoad(town, Line(2, 14, 8, 14), 1, 0), Built(shop, 4, 15), Home(6, 2); }, R::NoJobs,
         jobs, 6, 9},
        {"empty homes and no open jobs", [&] { Street(), Home(3, 0); }, R::NoJobs, jobs, 3, 9},
        {"newcomers yet to look for the shop beside them", [&] { GoodTown(), Home(7, 2); }, R::Nothing, fine, -1, -1},
        {"no water, at the bigger home", [&] { GoodTown(), Set(3, I::infWater, 20), Set(5, I::infWater, 49); },
         R::MissingService, water, 5, 9},
        {"a home too unhappy to take anyone counts with its room",
         [&] { GoodTown(), Home(12, 0)->maxHabitans = 0, Set(12, I::infWater, 0), Set(3, I::infNoise, 90); },
         R::MissingService, water, 12, 9},
        {"noise, at the worst home", [&] { GoodTown(), Set(3, I::infNoise, 80), Set(5, I::infNoise, 40); },
         R::Pollution, "Zu viel Lärm bei den Wohnhäusern", 3, 9},
        {"a nuisance over fewer people than a missing service",
         [&] { GoodTown(), Set(3, I::infNoise, 80), Set(5, I::infWater, 10); }, R::MissingService, water, 5, 9},
        {"taxes above the default", [&] { GoodTown(), pool->setTaxes(1, 0.25f); }, R::HighTaxes, taxes, -1, -1},
        {"the busiest road tile",
         [&] { GoodTown(), rl->_GetTile(6, 8)->traffic = 3.0f, rl->_GetTile(7, 8)->traffic = TAdvisor::jamTraffic; },
         R::Jam, "Stau: die Straße ist überlastet", 6, 8},
        {"taxes before a jam", [&] { GoodTown(), rl->_GetTile(6, 8)->traffic = 3.0f, pool->setTaxes(1, 0.3f); },
         R::HighTaxes, taxes, -1, -1},
    };
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        c.build();
        const TAdvice a = TAdvisor::Judge(*world);
        EXPECT_EQ(a.reason, c.reason) << c.city;
        EXPECT_EQ(a.Shown(), c.text) << c.city;
        EXPECT_EQ(a.hasPlace ? std::make_pair(a.x, a.y) : std::make_pair(-1, -1), std::make_pair(c.x, c.y)) << c.city;
        // Looking for work took no job and no commute.
        for (const auto& b : bl->arrBuilding.Items()) EXPECT_EQ(b->cJob, nullptr) << c.city;
        for (const auto& r : rl->arrRoad) EXPECT_EQ(r->useLevel, 0) << c.city;
    }
}

TEST_F(AdvisorTest, TheAdviceIsKeptForTheDayUnlessTheCityIsEdited) {
    PayFromWorld();
    world->setMoney(1e6f);
    TAdvisor& advisor = *world->advisor;
    EXPECT_EQ(advisor.Current(*world).Shown(), "Bauen Sie eine Straße und Wohnhäuser");
    ASSERT_TRUE(world->RunCommand(std::make_unique<TRoadCommand>(town, 2, 8, 17, 8)).Ok());
    EXPECT_EQ(advisor.Current(*world).Shown(), "Bauen Sie Wohnhäuser an eine Straße");
    Home(3, 2);  // behind the editing commands' back: seen the next day
    EXPECT_EQ(advisor.Current(*world).reason, R::Nothing);
    ++world->currentDay;
    EXPECT_EQ(advisor.Current(*world).reason, R::NoJobs);
}

}  // namespace
