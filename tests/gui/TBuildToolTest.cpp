// The build tool and the bridge tool: tech levels sort and filter the choice, previous and next
// wrap, demolition grows and shrinks its area, money decides the editing mode; bridge kinds
// cycle with their numbered caption and reach the new bridge pieces.
#include <cmath>

#include "GUIFixture.h"
#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "framework/TFastRandom.h"
#include "gui/TBridgeTool.h"
#include "gui/TBuildTool.h"
#include "gui/TStartBuildTool.h"
#include "gui/TStartRoadTool.h"
#include "gui/TTouchMouseTool.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TStreetPlugin.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TStreet.h"

namespace {

float balance = 1000;
int32_t Affordable(void*, float cost) { return cost <= balance ? 1 : 0; }
std::string Money(void*, float amount) { return std::to_string(int32_t(amount)); }

// A street type and its plugin; as in the game's registry, the plugin outlives the street,
// which refers to it by a plain pointer.
std::shared_ptr<TStreet> Street(const std::string& name, int32_t level, float price) {
    static std::vector<std::shared_ptr<TStreetPlugin>> plugins;
    auto p = plugins.emplace_back(std::make_shared<TStreetPlugin>());
    p->Name = name;
    p->level = uint8_t(level);
    p->price = price;
    auto s = TStreet::CreateFromPlugin(p);
    s->price = price;
    s->level = uint8_t(level);
    return s;
}

std::shared_ptr<TPicturePlugin> Building(const std::string& name, int32_t techlevel, int32_t price) {
    auto p = std::make_shared<TPicturePlugin>();
    p->Name = name;
    p->structuretyp = "residentalbuilding";
    p->techlevel = techlevel;
    p->price = price;
    p->population = 4;
    return p;
}

class BuildToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        TLayer::Init(640, 480);
        layer = TLayer::Create(32, 32, vesko::TFastRandom::Create(1));
        layer->setEnoughMoneyToBuyFunc(Affordable, nullptr);
        layer->setGetRealMoneyFunc(Money, nullptr);
        balance = 1000;
        tmt = TTouchMouseTool::Create(gui, 20);
        tool = TBuildTool::Create(gui, 20, layer, tmt, 70);
    }
    void TearDown() override {
        tool.reset();
        layer->Destroy();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
        GUITest::TearDown();
    }
    std::string Line(int32_t i) const { return tool->infoTextLines[size_t(i)]->str; }
    const vesko::TCRGBA& LineColour(int32_t i) const { return tool->infoTextLines[size_t(i)]->formation.rgba; }

    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TTouchMouseTool> tmt;
    std::shared_ptr<TBuildTool> tool;
};

TEST_F(BuildToolTest, TechLevelsSortStreetsByLevelAndBuildingsByTechLevel) {
    const auto lists = TStartRoadTool::convertToTechlevelForm(
        {Street("a", 0, 1), Street("b", 2, 1), Street("c", 2, 1), Street("d", 7, 1), nullptr});
    const auto buildings =
        TStartBuildTool::convertToTechlevelForm({Building("x", 3, 1), Building("y", 1, 1), Building("z", 0, 1)});
    EXPECT_EQ(std::make_tuple(lists[0].size(), lists[1].size(), lists[2].size(), lists[2][1]->Name),
              std::make_tuple(size_t(1), size_t(0), size_t(2), std::string("c")));
    EXPECT_EQ(std::make_tuple(buildings[0].front()->Name, buildings[2].front()->Name, buildings[4].size()),
              std::make_tuple(std::string("y"), std::string("x"), size_t(0)));
}

TEST_F(BuildToolTest, NextAndPreviousWrapWithinTheSelectedTechLevel) {
    auto starter = TStartBuildTool::Create(
        tool, {Building("A", 1, 10), Building("B", 1, 10), Building("C", 1, 10), Building("D", 2, 10)}, 0);
    TBuildTool::_startBuildTool(starter.get());
    EXPECT_EQ(std::make_tuple(Line(0), Line(1), layer->buildmode),
              std::make_tuple(std::string("1/3"), std::string("A"), 1));
    const struct {
        void (TBuildTool::*step)();
        const char* name;
        const char* counter;
    } steps[] = {{&TBuildTool::prevBuilding, "C", "3/3"},
                 {&TBuildTool::nextBuilding, "A", "1/3"},
                 {&TBuildTool::nextBuilding, "B", "2/3"}};
    for (const auto& s : steps) {
        (tool.get()->*s.step)();
        EXPECT_EQ(std::make_tuple(Line(1), Line(0)), std::make_tuple(std::string(s.name), std::string(s.counter)));
    }
    // Tech level 2 holds only D; level 3 nothing: no picture, no lines, no editing mode.
    tool->selectTechlevel(2);
    tool->updateTool();
    EXPECT_EQ(std::make_tuple(Line(1), tool->getSelectedTechlevel()), std::make_tuple(std::string("D"), 2));
    tool->selectTechlevel(3);
    tool->updateTool();
    EXPECT_EQ(std::make_tuple(Line(0), Line(1), layer->buildmode, tool->currentBuilding == nullptr),
              std::make_tuple(std::string(""), std::string(""), 0, true));
}

TEST_F(BuildToolTest, TechLevelButtonsAreRadioButtons) {
    auto starter = TStartRoadTool::Create(tool, {Street("a", 0, 1)});
    TBuildTool::_startRoadTool(starter.get());
    Frame();
    Frame(600);
    const auto& level4 = *tool->cmdTechlevel[3]->gadget;
    Tap(level4.GetX(1), level4.GetY(1));
    Frame();
    EXPECT_EQ(tool->getSelectedTechlevel(), 4);
    int32_t selected = 0;
    for (const auto& b : tool->cmdTechlevel) selected += b->gadget->State;
    EXPECT_EQ(selected, 1);
    // Level 4 has no street: the road mode ends.
    EXPECT_EQ(layer->roadmode, 0);
}

TEST_F(BuildToolTest, MoneyDecidesTheModeAndThePriceColour) {
    auto starter = TStartRoadTool::Create(tool, {Street("Landstraße", 0, 600)});
    TBuildTool::_startRoadTool(starter.get());
    EXPECT_EQ(std::make_tuple(Line(2), layer->roadmode), std::make_tuple(std::string("Preis: 600"), 1));
    EXPECT_EQ(LineColour(2).getGreen(), gui->textCol_green.getGreen());
    balance = 500;
    tool->Update();
    EXPECT_EQ(layer->roadmode, 0);
    EXPECT_EQ(LineColour(2).getRed(), gui->textCol_red.getRed());
    balance = 700;
    tool->Update();
    EXPECT_EQ(layer->roadmode, 1);
}

TEST_F(BuildToolTest, DemolitionSizeFollowsNextAndPreviousWithinItsRange) {
    tool->startDestroyTool();
    EXPECT_EQ(layer->destroymode, 1);
    for (const auto& b : tool->cmdTechlevel) EXPECT_EQ(b->gadget->isShowed(), 0);
    const int32_t first = layer->getDestroySize();
    for (int32_t i = 0; i < 50; ++i) tool->nextBuilding();
    const int32_t largest = layer->getDestroySize();
    EXPECT_GT(largest, first);
    EXPECT_EQ(Line(0), "Größe: " + std::to_string(largest) + "*" + std::to_string(largest));
    for (int32_t i = 0; i < 50; ++i) tool->prevBuilding();
    EXPECT_EQ(layer->getDestroySize(), 1);
    // Closing ends the mode and remembers whether the touch pointer was out.
    tmt->SHOW();
    tool->hideTool();
    EXPECT_EQ(std::make_tuple(layer->destroymode, tool->activeTouchMouseTool, tmt->isVisible(), tool->isVisible()),
              std::make_tuple(0, 1, 0, 0));
}

class BridgeToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        gui->DefaultFont = nullptr;
        tool = TBridgeTool::Create(gui, 20, 70);
        street = Street("Brückenstraße", 0, 1);
        street->bridgeAble = 1;
        street->bridgeImages = {TImage::Create(32, 32, 19), TImage::Create(32, 32, 19), TImage::Create(32, 32, 19)};
        street->bridgeNames = {"Holz", "Stein", "Stahl"};
        for (int32_t i = 0; i < 4; ++i) {
            auto r = std::make_shared<TRoad>();
            r->s = street;
            r->bridge = i == 1 || i == 2;
            pieces.push_back(r);
        }
    }
    std::string Caption() const {
        return std::static_pointer_cast<vesko::TCText>(tool->viewGadgetTextLayer->getContent(0))->str;
    }
    std::shared_ptr<TBridgeTool> tool;
    std::shared_ptr<TStreet> street;
    TBridgeTool::TRoadList pieces;
};

TEST_F(BridgeToolTest, KindsCycleWithTheirNumberAndReachOnlyTheBridgePieces) {
    tool->startTool(pieces);
    ASSERT_EQ(tool->isVisible(), 1);
    EXPECT_EQ(Caption(), "Holz (1/3)");
    // The preview: the twelve pieces of a short bridge, drawn small about the window's centre,
    // without disturbing the picture's anchor that the map's bridges use.
    const auto& image = street->bridgeImages[0];
    image->SetHandle(16, 30);
    backend->ClearLog();
    tool->viewGadgetImageLayer->Draw(100, 100);
    std::vector<int32_t> frames;
    for (const auto& c : backend->calls) {
        if (c.kind != TDrawCall::Image || c.source != image.get()) continue;
        frames.push_back(c.frame);
        EXPECT_TRUE(std::abs(c.x - 100) < 60 && std::abs(c.y - 100) < 60 && c.scaleX < 1) << c.x << "," << c.y;
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{3, 14, 18, 12, 17, 13, 16, 12, 17, 14, 18, 2}));
    EXPECT_EQ(std::make_pair(image->handle_x, image->handle_y), std::make_pair(16.f, 30.f));
    const std::pair<void (TBridgeTool::*)(), const char*> steps[] = {{&TBridgeTool::callPrv, "Stahl (3/3)"},
                                                                     {&TBridgeTool::callNext, "Holz (1/3)"},
                                                                     {&TBridgeTool::callNext, "Stein (2/3)"}};
    for (const auto& [step, caption] : steps) {
        (tool.get()->*step)();
        EXPECT_EQ(Caption(), caption);
    }
    EXPECT_EQ(std::make_tuple(pieces[0]->bridgeKind, pieces[1]->bridgeKind, pieces[2]->bridgeKind),
              std::make_tuple(0, 1, 1));
    tool->callOk();
    EXPECT_EQ(std::make_tuple(tool->isVisible(), tool->currentBridge.size()), std::make_tuple(0, size_t(0)));
}

TEST_F(BridgeToolTest, OneKindOrNoBridgePieceNeverShowsTheTool) {
    for (auto& r : pieces) r->bridge = 0;
    tool->startTool(pieces);
    EXPECT_EQ(tool->isVisible(), 0);
    pieces[1]->bridge = 1;
    street->bridgeImages.resize(1);
    tool->startTool(pieces);
    EXPECT_EQ(tool->isVisible(), 0);
}

TEST_F(BridgeToolTest, ARemovedPieceEndsTheChoiceKeepingTheKindOnTheRest) {
    tool->startTool(pieces);
    tool->callNext();
    pieces[1]->destroyed = 1;
    tool->roadRemoved({pieces[1]});
    EXPECT_EQ(std::make_tuple(tool->isVisible(), pieces[2]->bridgeKind), std::make_tuple(0, 1));
}

}  // namespace
