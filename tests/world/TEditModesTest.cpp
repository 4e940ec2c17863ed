// Road mode and destroy mode driven with pointer positions: the road plan along the longer axis,
// the bridge rules, confirmation and money, and clearing a square.
#include <gtest/gtest.h>

#include <fstream>

#include "RoadTestSupport.h"
#include "platform/TCatalogue.h"
#include "tests/support/TempDir.h"
#include "world/TRoadCommand.h"
#include "world/TTree.h"

namespace {

struct Game {
    float money = 1000;
    int32_t confirm = 1;
    int32_t confirmAsked = 0;
    float shown = 0;
    int32_t shownCalls = 0;
    TLayer::TRoadList bridgeRoads;
    std::vector<TLayer::TRoadList> destroyed;
    std::vector<std::string> refusals;

    static int32_t Enough(void* c, float amount) {
        auto* g = static_cast<Game*>(c);
        return (g->money - amount >= 0 || amount <= 0) ? 1 : 0;
    }
    static int32_t Expend(void* c, float amount) {
        auto* g = static_cast<Game*>(c);
        if (!Enough(c, amount)) return 0;
        g->money -= amount;
        return 1;
    }
    static int32_t Confirm(void* c) {
        auto* g = static_cast<Game*>(c);
        ++g->confirmAsked;
        return g->confirm;
    }
    static int32_t Show(void* c, float amount, const TLayer::TThing&) {
        auto* g = static_cast<Game*>(c);
        g->shown = amount;
        ++g->shownCalls;
        return 1;
    }
    static int32_t Bridge(void* c, const TLayer::TRoadList& roads) {
        static_cast<Game*>(c)->bridgeRoads = roads;
        return 1;
    }
    static void Refused(void* c, const std::string& reason) { static_cast<Game*>(c)->refusals.push_back(reason); }
    static int32_t Destroyed(void* c, const TLayer::TRoadList& roads) {
        static_cast<Game*>(c)->destroyed.push_back(roads);
        return 1;
    }
};

class EditModesTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        world->setEnoughMoneyToBuyFunc(&Game::Enough, &game);
        world->setExpendMoneyFunc(&Game::Expend, &game);
        world->setShowMoneyFunc(&Game::Show, &game);
        world->setChooseBridgeFunc(&Game::Bridge, &game);
        world->AddOnRoadDestroyedFunc(&Game::Destroyed, &game);
        world->setRefusedFunc(&Game::Refused, &game);
    }

    // One frame of road mode with the pointer over the middle of a tile.
    void RoadFrame(int32_t tx, int32_t ty, int32_t hit) {
        int32_t sx = 0, sy = 0;
        Pixel(float(tx) + 0.5f, float(ty) + 0.5f, sx, sy);
        world->_UpdateRoadMode(sx, sy, hit);
    }
    void DestroyFrame(float fx, float fy, int32_t hit) {
        int32_t sx = 0, sy = 0;
        Pixel(fx, fy, sx, sy);
        world->_UpdateDestroyMode(sx, sy, hit);
    }
    // Plans a road from a to b; the preview of the last frame stays in the road layer.
    void Plan(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
        RoadFrame(ax, ay, 1);
        rl->EndDraw();
        RoadFrame(bx, by, 0);
    }
    std::vector<int32_t> PreviewKinds() const { return rl->_rm_a; }

    Game game;
};

TEST_F(EditModesTest, PlanRunsAlongTheLongerAxis) {
    world->BeginRoadMode(town, nullptr, nullptr);
    Plan(5, 5, 8, 9);
    EXPECT_EQ(world->rm_mode, 1);
    EXPECT_EQ(world->rm_xy, (std::vector<int32_t>{5, 5, 5, 6, 5, 7, 5, 8, 5, 9}));
    EXPECT_EQ(world->rm_x, 5);
    EXPECT_EQ(world->rm_y, 9);
    EXPECT_EQ(world->rm_cost, 50);
    EXPECT_EQ(PreviewKinds(), (std::vector<int32_t>{2, 1, 1, 1, 2}));
    rl->EndDraw();
    RoadFrame(8, 8, 0);  // a tie goes along x
    EXPECT_EQ(world->rm_xy, (std::vector<int32_t>{5, 5, 6, 5, 7, 5, 8, 5}));
    rl->EndDraw();
    RoadFrame(2, 5, 0);  // backwards
    EXPECT_EQ(world->rm_xy, (std::vector<int32_t>{5, 5, 4, 5, 3, 5, 2, 5}));
}

TEST_F(EditModesTest, ConfirmedRoadIsBuiltAndPaid) {
    world->BeginRoadMode(town, &Game::Confirm, &game);
    Plan(5, 5, 9, 5);
    RoadFrame(9, 5, 1);
    EXPECT_EQ(world->rm_mode, 2);
    game.confirm = 0;
    RoadFrame(2, 2, 1);  // waits; presses are ignored
    EXPECT_EQ(world->rm_mode, 2);
    EXPECT_EQ(rl->arrRoad.size(), 0u);
    game.confirm = 1;
    RoadFrame(2, 2, 0);
    EXPECT_EQ(world->rm_mode, 0);
    EXPECT_FLOAT_EQ(game.money, 950);
    EXPECT_FLOAT_EQ(game.shown, -50);
    EXPECT_EQ(game.bridgeRoads.size(), 5u);
    for (int32_t x = 5; x <= 9; ++x) EXPECT_NE(rl->_GetTile(x, 5), nullptr);
    EXPECT_EQ(FrameAt(7, 5), 1);
    // Straight: the next road beside it does not join it.
    Plan(5, 6, 9, 6);
    RoadFrame(9, 6, 1);
    RoadFrame(9, 6, 0);
    EXPECT_EQ(FrameAt(7, 5), 1);
    EXPECT_EQ(FrameAt(7, 6), 1);
}

TEST_F(EditModesTest, RefusedPlansChangeNothing) {
    world->BeginRoadMode(town, nullptr, nullptr);
    // One tile.
    Plan(5, 5, 5, 5);
    EXPECT_EQ(PreviewKinds(), (std::vector<int32_t>{2}));
    RoadFrame(5, 5, 1);
    EXPECT_EQ(world->rm_mode, 0);
    // Not enough money: the whole plan is red, a press starts over.
    game.money = 30;
    Plan(5, 5, 9, 5);
    EXPECT_EQ(PreviewKinds(), (std::vector<int32_t>{2, 0, 0, 0, 2}));
    RoadFrame(9, 5, 1);
    EXPECT_EQ(world->rm_mode, 0);
    // The start off the map is not taken.
    RoadFrame(-3, 5, 1);
    EXPECT_EQ(world->rm_mode, 0);
    // A plan reaching off the map fails.
    game.money = 1000;
    Plan(2, 5, -2, 5);
    RoadFrame(-2, 5, 1);
    EXPECT_EQ(world->rm_mode, 0);
    // Money gone by the confirmation: nothing is built, the mode starts over and says why.
    Plan(5, 5, 9, 5);
    RoadFrame(9, 5, 1);
    game.money = 0;
    RoadFrame(9, 5, 0);
    EXPECT_EQ(world->rm_mode, 0);
    EXPECT_TRUE(rl->arrRoad.empty());
    EXPECT_FLOAT_EQ(game.money, 0);
    EXPECT_EQ(game.shownCalls, 0);
    // Every refused press was told with its reason.
    EXPECT_EQ(game.refusals, (std::vector<std::string>{"Eine Straße braucht zwei Felder", "Zu wenig Geld",
                                                        "Außerhalb der Karte", "Außerhalb der Karte", "Zu wenig Geld"}));
}

TEST_F(EditModesTest, BridgePlansFollowTheLengthAndShoreRules) {
    // town: bridgeMaxLength 2. Three water tiles are allowed, four are not.
    Water(6, 0, 8, mapSize - 1);
    world->BeginRoadMode(town, nullptr, nullptr);
    Plan(3, 5, 11, 5);
    EXPECT_EQ(world->rm_cost, 10 * 6 + 3 * 100);
    RoadFrame(11, 5, 1);
    ASSERT_EQ(world->rm_mode, 2);
    RoadFrame(11, 5, 0);
    EXPECT_TRUE(rl->_GetTile(7, 5)->bridge);
    EXPECT_EQ(game.bridgeRoads.size(), 9u);
    // A plan over the bridge is refused.
    Plan(7, 3, 7, 9);
    RoadFrame(7, 9, 1);
    EXPECT_EQ(world->rm_mode, 0);
    Water(12, 0, 15, mapSize - 1);
    Plan(10, 8, 17, 8);
    RoadFrame(17, 8, 1);
    EXPECT_EQ(world->rm_mode, 0);
    // A plan ending in the water fails.
    Plan(10, 10, 13, 10);
    RoadFrame(13, 10, 1);
    EXPECT_EQ(world->rm_mode, 0);
    // A street without bridges cannot cross at all.
    world->BeginRoadMode(avenue, nullptr, nullptr);
    Plan(3, 12, 11, 12);
    RoadFrame(11, 12, 1);
    EXPECT_EQ(world->rm_mode, 0);
}

TEST_F(EditModesTest, WaterBesideTheStartNeedsLandBeforeIt) {
    Water(1, 0, 2, mapSize - 1);  // shore at x = 0 and x = 3
    world->BeginRoadMode(town, nullptr, nullptr);
    Plan(0, 5, 4, 5);  // second tile is water, the tile before the start is off the map
    RoadFrame(4, 5, 1);
    EXPECT_EQ(world->rm_mode, 0);
    Plan(4, 5, 0, 5);  // the same backwards: the second-to-last tile is water
    RoadFrame(0, 5, 1);
    EXPECT_EQ(world->rm_mode, 0);
}

TEST_F(EditModesTest, BeginningTheSameModeAgainKeepsItsState) {
    world->BeginRoadMode(town, nullptr, nullptr);
    RoadFrame(5, 5, 1);
    world->BeginRoadMode(town, nullptr, nullptr);
    EXPECT_EQ(world->rm_mode, 1);
    EXPECT_EQ(world->rm_sx, 5);
    world->BeginRoadMode(avenue, nullptr, nullptr);
    EXPECT_EQ(world->rm_mode, 0);
    EXPECT_EQ(world->rm_sx, -1);
    world->BeginDestroyMode(nullptr, nullptr);
    EXPECT_EQ(world->isRoadMode(), 0);
    EXPECT_EQ(world->isDestroyMode(), 1);
    world->EndMode();
    EXPECT_EQ(world->isDestroyMode(), 0);
}

TEST_F(EditModesTest, DestroySquareIsCentredOnThePointer) {
    world->BeginDestroyMode(nullptr, nullptr);
    world->setDestroySize(2);
    DestroyFrame(10.3f, 10.6f, 0);
    EXPECT_EQ(world->dm_x, (std::vector<int32_t>{9, 10}));
    EXPECT_EQ(world->dm_y, (std::vector<int32_t>{10, 11}));
    EXPECT_EQ(world->GroundLayer->delX.size(), 4u);
    world->setDestroySize(3);
    world->GroundLayer->EndDraw();
    DestroyFrame(10.3f, 10.6f, 0);
    EXPECT_EQ(world->dm_x, (std::vector<int32_t>{9, 10, 11}));
    EXPECT_EQ(world->dm_y, (std::vector<int32_t>{9, 10, 11}));
    // At the map edge only the tiles on the map are marked.
    world->GroundLayer->EndDraw();
    DestroyFrame(0.2f, 0.2f, 1);
    EXPECT_EQ(world->GroundLayer->delX.size(), 4u);
    EXPECT_EQ(world->dm_mode, 0);  // nothing there to clear
}

TEST_F(EditModesTest, DestroyRemovesRoadsAndTreesAndReportsTheRoads) {
    rl->BuildRoad(town, Line(3, 5, 9, 5), 0, 0);
    world->_PlantTree(6, 6, 3);
    world->BeginDestroyMode(&Game::Confirm, &game);
    world->setDestroySize(2);
    game.confirm = 0;
    DestroyFrame(6.4f, 6.4f, 1);  // columns 5..6, rows 5..6
    EXPECT_EQ(world->dm_mode, 1);
    EXPECT_EQ(rl->_rm_a, (std::vector<int32_t>{-2, -2}));
    world->_UpdateDestroyMode(0, 0, 0);
    EXPECT_EQ(world->dm_mode, 1);
    EXPECT_EQ(rl->arrRoad.size(), 7u);
    game.confirm = 1;
    world->_UpdateDestroyMode(0, 0, 0);
    EXPECT_EQ(world->dm_mode, 0);
    EXPECT_EQ(rl->_GetTile(5, 5), nullptr);
    EXPECT_EQ(rl->_GetTile(6, 5), nullptr);
    EXPECT_EQ(world->BuildingLayer->_GetTree(6, 6), nullptr);
    ASSERT_EQ(game.destroyed.size(), 1u);
    EXPECT_EQ(game.destroyed[0].size(), 2u);
    EXPECT_TRUE(rl->destroyedRoad.empty());
    EXPECT_FLOAT_EQ(game.money, 1000);
    EXPECT_EQ(FrameAt(4, 5), 7);
    EXPECT_EQ(FrameAt(7, 5), 6);
}

TEST_F(EditModesTest, DestroyingPartOfABridgeTakesTheWholeBridgeOnce) {
    Water(6, 0, 8, mapSize - 1);
    rl->BuildRoad(town, Line(3, 5, 11, 5), 1, 0);
    rl->destroyedRoad.clear();
    world->BeginDestroyMode(nullptr, nullptr);
    world->setDestroySize(2);
    DestroyFrame(7.4f, 6.4f, 1);  // columns 6..7, rows 5..6: two bridge tiles
    world->_UpdateDestroyMode(0, 0, 0);
    ASSERT_EQ(game.destroyed.size(), 1u);
    EXPECT_EQ(game.destroyed[0].size(), 5u);
    for (int32_t x = 5; x <= 9; ++x) EXPECT_EQ(rl->_GetTile(x, 5), nullptr);
}

}  // namespace

namespace {

TEST_F(EditModesTest, UpdateRunsTheActiveModeAndFindsRoadsUnderThePointer) {
    world->BeginRoadMode(town, nullptr, nullptr);
    int32_t sx = 0, sy = 0;
    Pixel(5.5f, 5.5f, sx, sy);
    world->Update(sx, sy, 1, 0);
    EXPECT_EQ(world->rm_mode, 1);
    EXPECT_EQ(rl->mask, 0);  // the frame's end cleared the mask again
    Pixel(9.5f, 5.5f, sx, sy);
    world->Update(sx, sy, 1, 0);
    world->Update(sx, sy, 0, 0);
    ASSERT_NE(rl->_GetTile(9, 5), nullptr);
    const TLayer::TThing thing = world->getThingAtPos(float(sx), float(sy));
    ASSERT_TRUE(std::holds_alternative<std::shared_ptr<TRoad>>(thing));
    EXPECT_EQ(std::get<std::shared_ptr<TRoad>>(thing), rl->_GetTile(9, 5));
    EXPECT_EQ(world->IsFree(9, 5), 0);
    game.destroyed.clear();
    world->ClearField(5, 5, 3, 1);
    EXPECT_EQ(rl->arrRoad.size(), 2u);
    // Clearing tells the listeners just as destroy mode does.
    ASSERT_EQ(game.destroyed.size(), 1u);
    EXPECT_EQ(game.destroyed[0].size(), 3u);
    EXPECT_EQ(FrameAt(8, 5), 6);
}

// The player reads the mode's reason, refusals and undo in the language in use; a command's own
// answer stays the German key (the simulator prints it).
TEST_F(EditModesTest, RefusalsReachThePlayerInTheLanguageInUse) {
    TempDir dir;
    std::ofstream(dir.File("en.po")) << "msgid \"Zu wenig Geld\"\nmsgstr \"Not enough money\"\n\n"
                                        "msgid \"Straße\"\nmsgstr \"Road\"\n";
    struct TGermanAfterwards {
        ~TGermanAfterwards() { TCatalogue::Reset(); }
    } german;
    ASSERT_TRUE(TCatalogue::Use(TCatalogue::english, dir.path));
    game.money = 30;
    world->BeginRoadMode(town, nullptr, nullptr);
    Plan(5, 5, 9, 5);
    EXPECT_EQ(world->modeReason, "Not enough money");
    RoadFrame(9, 5, 1);
    EXPECT_EQ(world->RunCommand(std::make_unique<TRoadCommand>(town, 5, 6, 9, 6)).reason, TEditCommand::tooLittleMoney);
    game.money = 1000;
    ASSERT_TRUE(world->RunCommand(std::make_unique<TRoadCommand>(town, 5, 6, 9, 6)).Ok());
    EXPECT_EQ(world->UndoCommand(), "Road");
    EXPECT_EQ(game.refusals, (std::vector<std::string>{"Not enough money", "Not enough money"}));
}

}  // namespace
