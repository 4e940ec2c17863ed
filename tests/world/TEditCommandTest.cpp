// Editing commands: each refusal with its reason and cost, and undo putting back the map and
// the money exactly — the saved city before the command and after its undo are the same bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "../support/TempDir.h"
#include "BuildingTestSupport.h"
#include "framework/TFastRandom.h"
#include "plugins/TInfluenceMask.h"
#include "world/TBuildCommand.h"
#include "world/TDestroyCommand.h"
#include "world/TEditHistory.h"
#include "world/TInfluenceLayer.h"
#include "world/TRoadCommand.h"
#include "world/TTree.h"

namespace {

class EditCommandTest : public BuildingTest {
protected:
    void SetUp() override {
        BuildingTest::SetUp();
        PayFromWorld();
        world->setMoney(10000);
        rl->BuildRoad(town, Line(2, 8, 17, 8), 1, 0);  // a street along x at y = 8
        Water(10, 12, 13, 14);
        house = Kind("residentalbuilding", 1, 1, 6);
        house->price = 500;
        shop = Kind("commercialbuilding", 2, 2, 4);
        shop->price = 800;
    }
    // The whole city as saved. The generator draws on while things are made, and making a
    // building draws from it; what is compared is the city, so its state is taken as it was.
    std::string Saved(uint32_t a, uint32_t b) {
        const uint32_t keepA = world->random->a_seed, keepB = world->random->b_seed;
        world->random->a_seed = a, world->random->b_seed = b;
        const std::string path = dir.File("city.sav");
        EXPECT_TRUE(world->Save(path));
        world->random->a_seed = keepA, world->random->b_seed = keepB;
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Runs the command, checks it changed the city, takes it back and compares the saved city.
    void ExpectUndoRestores(std::unique_ptr<TEditCommand> command, float cost) {
        const uint32_t a = world->random->a_seed, b = world->random->b_seed;
        const std::string before = Saved(a, b);
        const float money = world->getMoney();
        ASSERT_TRUE(world->RunCommand(std::move(command)).Ok());
        EXPECT_FLOAT_EQ(world->getMoney(), money - cost);
        EXPECT_NE(Saved(a, b), before);
        EXPECT_EQ(world->UndoCommand().empty(), false);
        EXPECT_FLOAT_EQ(world->getMoney(), money);
        EXPECT_TRUE(Saved(a, b) == before) << "the saved city differs after the undo";
    }
    TempDir dir;
    std::shared_ptr<TPicturePlugin> house, shop;
};

TEST_F(EditCommandTest, EachRefusalHasItsReasonAndChangesNothing) {
    Built(house, 5, 9);
    // A kind that asks for water and bears noise up to 70: a missing service does not forbid
    // the place (the house would stay empty), a nuisance beyond its limit does.
    TInfluenceMask::TValues needs{};
    needs[TInfluenceLayer::infWater] = 50, needs[TInfluenceLayer::infNoise] = 30;
    const auto needy = Kind("residentalbuilding", 1, 1, 6);
    needy->influenceMask = TInfluenceMask::Create(needs, 1);
    world->InfluenceLayer->_setValue(8, 9, TInfluenceLayer::infNoise, 90);
    struct Case {
        std::function<std::unique_ptr<TEditCommand>()> command;
        float money;
        const char* reason;
        float cost;
    } cases[] = {
        {[&] { return std::make_unique<TBuildCommand>(house, 4, 9); }, 10000, "", 500},
        {[&] { return std::make_unique<TBuildCommand>(shop, 19, 9); }, 10000, "Außerhalb der Karte", 800},
        {[&] { return std::make_unique<TBuildCommand>(house, -1, 9); }, 10000, "Außerhalb der Karte", 500},
        {[&] { return std::make_unique<TBuildCommand>(house, 11, 13); }, 10000, "Nicht auf Wasser", 500},
        {[&] { return std::make_unique<TBuildCommand>(house, 5, 9); }, 10000, "Der Platz ist belegt", 500},
        {[&] { return std::make_unique<TBuildCommand>(house, 4, 8); }, 10000, "Der Platz ist belegt", 500},
        {[&] { return std::make_unique<TBuildCommand>(house, 5, 15); }, 10000, "Keine Straße daneben", 500},
        {[&] { return std::make_unique<TBuildCommand>(house, 4, 9); }, 100, "Zu wenig Geld", 500},
        {[&] { return std::make_unique<TBuildCommand>(nullptr, 4, 9); }, 10000, "Kein Gebäude gewählt", 0},
        {[&] { return std::make_unique<TBuildCommand>(needy, 7, 9); }, 10000, "", 0},
        {[&] { return std::make_unique<TBuildCommand>(needy, 8, 9); }, 10000, "Zu viel Verschmutzung hier", 0},
        {[&] { return std::make_unique<TRoadCommand>(town, 3, 2, 7, 3); }, 10000, "", 50},  // along x on a tie
        {[&] { return std::make_unique<TRoadCommand>(town, 3, 3, 3, 3); }, 10000, "Eine Straße braucht zwei Felder",
         10},
        {[&] { return std::make_unique<TRoadCommand>(town, 5, 10, 5, 9); }, 10000, "Der Platz ist belegt", 10},
        {[&] { return std::make_unique<TRoadCommand>(avenue, 9, 13, 15, 13); }, 10000, "Nicht auf Wasser", 25},
        {[&] { return std::make_unique<TRoadCommand>(town, 8, 13, 15, 13); }, 10000, "Die Brücke ist zu lang", 440},
        {[&] { return std::make_unique<TRoadCommand>(town, 11, 10, 11, 13); }, 10000,
         "Eine Brücke braucht Land an beiden Enden", 220},
        {[&] { return std::make_unique<TRoadCommand>(town, 17, 3, 22, 3); }, 10000, "Außerhalb der Karte", 30},
        {[&] { return std::make_unique<TRoadCommand>(town, 3, 3, 7, 3); }, 40, "Zu wenig Geld", 50},
        {[&] { return std::make_unique<TRoadCommand>(town, 3, 3, 2000000000, 3); }, 10000, "Außerhalb der Karte", 170},
        {[&] { return std::make_unique<TRoadCommand>(town, -2000000000, 3, 3, 3); }, 10000, "Außerhalb der Karte", 40},
        {[&] { return std::make_unique<TDestroyCommand>(3, 2, 3); }, 10000, "Hier ist nichts abzureißen", 0},
        {[&] { return std::make_unique<TDestroyCommand>(-9, -9, 2); }, 10000, "Außerhalb der Karte", 0},
        {[&] { return std::make_unique<TDestroyCommand>(5, 9, 1); }, 10000, "", 0},
    };
    for (const auto& c : cases) {
        world->setMoney(c.money);
        const auto command = c.command();
        const TEditCheck check = command->Check(*world);
        EXPECT_EQ(check.reason, c.reason) << c.reason;
        EXPECT_FLOAT_EQ(check.cost, c.cost) << c.reason;
        if (check.Ok()) continue;
        // A refused command run anyway changes neither the map nor the money.
        const size_t roads = rl->arrRoad.size(), buildings = bl->arrBuilding.Count();
        EXPECT_EQ(world->RunCommand(c.command()).reason, c.reason);
        EXPECT_EQ(std::make_pair(rl->arrRoad.size(), bl->arrBuilding.Count()), std::make_pair(roads, buildings));
        EXPECT_FLOAT_EQ(world->getMoney(), c.money) << c.reason;
    }
    EXPECT_EQ(world->editHistory->Count(), 0u);
}

TEST_F(EditCommandTest, UndoOfABuildingTakesItAwayAndRefundsItsPrice) {
    ExpectUndoRestores(std::make_unique<TBuildCommand>(shop, 6, 9), 800);
    EXPECT_EQ(bl->arrBuilding.Count(), 0u);
}

TEST_F(EditCommandTest, UndoOfARoadTakesItAwayWithItsBridgeAndPutsTheTreesBack) {
    world->_PlantTree(4, 3, 5);
    world->_PlantTree(6, 3, 7);
    ExpectUndoRestores(std::make_unique<TRoadCommand>(town, 3, 3, 7, 3), 50);
    ASSERT_TRUE(bl->_GetTree(4, 3));
    EXPECT_EQ(bl->_GetTree(6, 3)->Frame, 7);
    // Across the lake: the bridge goes with the road.
    ExpectUndoRestores(std::make_unique<TRoadCommand>(town, 12, 9, 12, 15), 340);
    EXPECT_EQ(rl->_GetTile(12, 13), nullptr);
    // A road laid across a street opens the street's sides; undone, they are closed again.
    ExpectUndoRestores(std::make_unique<TRoadCommand>(town, 6, 5, 6, 11), 60);
}

// Eight homes on both sides of a street, cleared with one 4 x 4 demolition by mistake.
TEST_F(EditCommandTest, UndoOfADemolitionPutsBackFinishedHomesAndTheStreet) {
    for (int32_t x = 4; x < 8; ++x) {
        Built(house, x, 7);
        Built(house, x, 9);
    }
    Built(shop, 14, 9);
    ASSERT_EQ(bl->arrBuilding.Count(), 9u);
    ExpectUndoRestores(std::make_unique<TDestroyCommand>(4, 6, 4), 0);
    ASSERT_EQ(bl->arrBuilding.Count(), 9u);
    for (int32_t x = 4; x < 8; ++x) {
        const auto o = bl->_GetTile(x, 7, 1);
        const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o);
        ASSERT_TRUE(b && *b) << x;
        EXPECT_EQ(std::make_pair((*b)->IsValid(), (*b)->inBuildMode), std::make_pair(1, 0)) << x;
    }
    // Half a bridge in the square: the whole bridge goes, and comes back whole.
    rl->BuildRoad(town, Line(12, 9, 12, 15), 1, 0);
    ExpectUndoRestores(std::make_unique<TDestroyCommand>(11, 14, 2), 0);
}

TEST_F(EditCommandTest, HistoryTakesBackInReverseOrderAndKeepsTheNewestFifty) {
    TEditHistory history;
    EXPECT_EQ(history.Undo(*world), "");
    world->setMoney(1e6f);
    // 32 homes beside the street, then 28 short roads north of it (the later ones over the
    // earlier: a road laid again over its own street is a command too).
    for (int32_t i = 0; i < 60; ++i) {
        const int32_t x = 2 + i % 16;
        std::unique_ptr<TEditCommand> c;
        if (i < 32) {
            c = std::make_unique<TBuildCommand>(house, x, i < 16 ? 9 : 7);
        } else {
            c = std::make_unique<TRoadCommand>(town, x, 1, x, 3);
        }
        ASSERT_TRUE(history.Run(*world, std::move(c)).Ok()) << i;
    }
    ASSERT_EQ(history.Count(), TEditHistory::depth);
    EXPECT_EQ(history.Undo(*world), "Straße");
    size_t undone = 1;
    while (!history.Undo(*world).empty()) ++undone;
    EXPECT_EQ(undone, TEditHistory::depth);
    // The ten oldest stay: they fell out of the history.
    EXPECT_EQ(bl->arrBuilding.Count(), 10u);
}

}  // namespace
