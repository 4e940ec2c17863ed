// Build mode and the city's money: placing through the mode's checks and costs, refusals that
// change nothing, plugins with odd values that must neither crash nor reach the screen as NaN,
// demolition of buildings with their inhabitants, and the monthly booking.
#include <gtest/gtest.h>

#include <cmath>

#include "BuildingTestSupport.h"
#include "platform/TTimer.h"
#include "world/TCheat.h"
#include "world/TInfluenceLayer.h"

namespace {

class BuildModeTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        PayFromWorld();
        world->setShowMoneyFunc(&Shown, this);
        world->setMoney(10000);
        rl->BuildRoad(town, Line(2, 8, 17, 8), 0, 0);  // a street along x at y = 8
        Water(10, 12, 12, 14);
    }
    static int32_t Shown(void* c, float amount, const TLayer::TThing& thing) {
        auto* t = static_cast<BuildModeTest*>(c);
        t->shown.emplace_back(amount, std::holds_alternative<std::shared_ptr<TBuilding>>(thing));
        return 1;
    }
    // A press over the building's origin tile, then the confirming frame; the preview colour of
    // the press frame is kept (0 placeable, 1 refused).
    std::shared_ptr<TBuilding> Place(const std::shared_ptr<TPicturePlugin>& kind, int32_t x, int32_t y) {
        world->BeginBuildMode(kind, nullptr, nullptr);
        const float even = kind->SizeX[0] % 2 == 0 ? -0.25f : 0.5f;
        int32_t sx = 0, sy = 0;
        Pixel(float(x) + even, float(y) + even, sx, sy);
        world->_UpdateBuildMode(sx, sy, 1);
        lastPreview = bl->_bm_frame.empty() ? -1 : bl->_bm_frame.back();
        bl->EndDraw();
        world->_UpdateBuildMode(sx, sy, 0);
        bl->EndDraw();
        world->EndMode();
        const auto o = bl->_GetTile(x, y, 1);
        const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o);
        return b ? *b : nullptr;
    }
    std::vector<std::pair<float, bool>> shown;
    int32_t lastPreview = -1;
};

TEST_F(BuildModeTest, PlacingCostsThePriceAndRefusalsChangeNothing) {
    auto house = Kind("residentalbuilding", 1, 1, 6);
    house->price = 500;
    auto big = Kind("commercialbuilding", 2, 2, 4);
    big->price = 800;
    ASSERT_TRUE(Place(house, 5, 9));
    EXPECT_EQ(lastPreview, 0);
    EXPECT_FLOAT_EQ(world->getMoney(), 9500);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FLOAT_EQ(shown[0].first, -500);
    EXPECT_TRUE(shown[0].second);
    ASSERT_TRUE(Place(big, 7, 9));  // an even width snaps to the corner under the pointer
    EXPECT_EQ(bl->arrBuilding.Count(), 2u);

    struct Refusal {
        const char* why;
        int32_t x, y;
        float money;
    } refusals[] = {
        {"on the other building", 5, 9, 9000}, {"over its footprint", 8, 10, 9000}, {"on the road", 4, 8, 9000},
        {"away from any road", 5, 15, 9000},   {"over water", 11, 13, 9000},        {"half off the map", 19, 9, 9000},
        {"at a negative tile", -1, 9, 9000},   {"without the money", 3, 9, 100},
    };
    for (const auto& r : refusals) {
        world->setMoney(r.money);
        shown.clear();
        Place(r.x == 19 ? big : house, r.x, r.y);
        EXPECT_EQ(lastPreview, 1) << r.why;
        EXPECT_FLOAT_EQ(world->getMoney(), r.money) << r.why;
        EXPECT_TRUE(shown.empty()) << r.why;
        EXPECT_EQ(bl->arrBuilding.Count(), 2u) << r.why;
    }
}

TEST_F(BuildModeTest, OddPluginsNeitherCrashNorDrawNaN) {
    auto zero = Kind("residentalbuilding", 0, 0, 6);
    auto huge = Kind("industrialbuilding", 5000, 5000, 6);
    auto noPicture = Kind("commercialbuilding", 1, 1, 6);
    noPicture->picture[0].reset();
    auto negative = Kind("residentalbuilding", 1, 1, -20);
    auto instant = Kind("industrialbuilding", 1, 1, 5);
    instant->constructionTime = 0;
    auto unknown = Kind("spaceport", 1, 1, 5);
    auto badLevel = Kind("residentalbuilding", 1, 1, 5, 9);
    EXPECT_FALSE(Place(zero, 3, 9));
    EXPECT_FALSE(Place(huge, 3, 9));
    int32_t x = 3;
    for (const auto& k : {noPicture, negative, instant, unknown, badLevel}) {
        bl->_SetTile(x, 9, k);
        x += 2;
    }
    ASSERT_EQ(bl->arrBuilding.Count(), 5u);
    world->setGameSpeed(20);
    for (int32_t frame = 0; frame < 200; ++frame) {
        for (int32_t step = 0; step < 5; ++step) world->Simulate();
        backend->ClearLog();
        world->Update(0, 0, 0, 0);
        for (const auto& c : backend->calls) {
            ASSERT_TRUE(std::isfinite(c.alpha) && std::isfinite(c.x) && std::isfinite(c.y));
        }
    }
    for (const auto& b : bl->arrBuilding.Items()) {
        EXPECT_EQ(b->inBuildMode, 0) << b->p->structuretyp;
        EXPECT_GE(b->maxHabitans, 0);
        EXPECT_TRUE(std::isfinite(b->getPeopleFullness()));
    }
    EXPECT_GE(world->habitantPool->countActiveHabitants(), 1);  // the house of level 9 still takes people
    EXPECT_FLOAT_EQ(world->habitantPool->getTaxes(9), 0.0f);
}

TEST_F(BuildModeTest, DestroyModeRemovesBuildingsAndPutsTheirPeopleOut) {
    auto house = Kind("residentalbuilding", 1, 1, 6);
    auto shop = Kind("commercialbuilding", 2, 2, 6);
    auto home = Built(house, 5, 9);
    auto work = Built(shop, 9, 9);
    auto h = Newcomer();
    home->AddHabitantFromPool(h);
    home->_FindJob();
    ASSERT_TRUE(home->cJob);
    h->job = home->cJob;
    work->_regWorker(h);
    // Destroying one tile of the shop's footprint takes it whole; its worker loses home and job there.
    world->BeginDestroyMode(nullptr, nullptr);
    int32_t sx = 0, sy = 0;
    Pixel(10.5f, 10.5f, sx, sy);
    world->_UpdateDestroyMode(sx, sy, 1);
    world->_UpdateDestroyMode(sx, sy, 0);
    EXPECT_FALSE(work->IsValid());
    EXPECT_EQ(bl->arrBuilding.Count(), 1u);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(bl->_GetTile(10, 10, 1)));
    EXPECT_EQ(work->workers.Count(), 0u);
    EXPECT_EQ(home->habitants.Count(), 0u);
}

TEST_F(BuildModeTest, MonthlyBookingChargesUpkeepCreditsTaxesAndShowsEachBalance) {
    auto house = Kind("residentalbuilding", 1, 1, 6, 2);
    auto shop = Kind("commercialbuilding", 1, 1, 6, 2);
    shop->alimony = 30;
    auto home = Built(house, 5, 9);
    auto work = Built(shop, 7, 9);
    for (int32_t i = 0; i < 3; ++i) {
        auto h = Newcomer();
        home->AddHabitantFromPool(h);
        if (i < 2) {
            h->job = TJob::Create(work, nullptr, nullptr);
            work->_regWorker(h);
        }
    }
    world->setMoney(1000);
    shown.clear();
    world->_updateNewMonth();
    // Upkeep 30; taxes: two employed of level 2 at 0.2 x 3 x 3 each.
    EXPECT_NEAR(world->getMoney(), 1000 - 30 + 2 * 1.8f, 1e-3);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NEAR(shown[0].first, 3.6f, 1e-4);
    EXPECT_NEAR(shown[1].first, -30.0f, 1e-4);
}

}  // namespace
