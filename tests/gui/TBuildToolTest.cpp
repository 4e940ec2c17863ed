// The build tool and the bridge tool: tech levels sort and filter the choice, previous and next
// wrap, demolition grows and shrinks its area, money decides the editing mode; bridge kinds
// cycle with their numbered caption and reach the new bridge pieces.
#include <cmath>
#include <functional>
#include <set>

#include "GUIFixture.h"
#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "framework/TFastRandom.h"
#include "gui/TBridgeTool.h"
#include "gui/TBuildTool.h"
#include "gui/TStartBuildTool.h"
#include "gui/TStartRoadTool.h"
#include "gui/TTouchMouseTool.h"
#include "platform/TImageFont.h"
#include "platform/TRecordingBackend.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TStreetPlugin.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TStreet.h"

namespace {

float balance = 1000;
int32_t Affordable(void*, float cost) { return cost <= balance ? 1 : 0; }
std::string Money(void*, float amount) { return std::to_string(int32_t(amount)); }
// As the game writes money: points between thousands, two decimals.
std::string GermanMoney(void*, float amount) {
    std::string digits = std::to_string(int64_t(amount));
    for (int32_t i = int32_t(digits.size()) - 3; i > 0; i -= 3) digits.insert(size_t(i), ".");
    return digits + ",00";
}

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
    p->SetStructure("residentalbuilding");
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
        gui->smallFont = TImageFont::Load("data/gfx/gui/font.ttf", 12, SMOOTHFONT);
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

TEST_F(BuildToolTest, InfoLinesKeepTheirTextsInsideTheBubbleAndClearOfItsButtons) {
    layer->setGetRealMoneyFunc(GermanMoney, nullptr);
    balance = 1e9f;
    auto flats = Building("Mehrfamilienhaus", 1, 30000);
    flats->alimony = 80;
    flats->SizeX[0] = flats->SizeY[0] = 3;
    flats->population = 120;
    flats->maxcars = 12;
    flats->constructionTime = 40;
    auto park = Building("Technologiepark", 1, 25000);
    park->SetStructure("industrialbuilding");
    park->noroadneeded = 1;
    auto mall = Building("Großes Einkaufszentrum mit Tiefgarage und Dachgarten", 1, 16000);
    auto road = Street("Landstraße", 0, 10);
    road->bridgeAble = 1;
    road->bridgePrice = 300;
    road->bridgeImages = {TImage::Create(32, 32), TImage::Create(32, 32)};
    auto path = Street("Feldweg", 0, 5);
    // What opens the bubble, and lines that must show exactly so (line, text).
    const struct {
        std::function<void()> open;
        std::vector<std::pair<int32_t, std::string>> exact;
    } cases[] = {
        {[&] { tool->startBuildTool(TStartBuildTool::convertToTechlevelForm({flats}), 0); },
         {{1, "Mehrfamilienhaus"}, {2, "Preis: 30.000,00"}, {4, "Größe: 3x3 Felder"}, {8, "Straße benötigt"}}},
        {[&] { tool->startBuildTool(TStartBuildTool::convertToTechlevelForm({park}), 2); },
         {{5, "Arbeiter: 4"}, {7, "Bauzeit: 0 Tage"}, {8, "Auch ohne Straße"}}},
        {[&] { tool->startRoadTool(TStartRoadTool::convertToTechlevelForm({road})); },
         {{2, "Preis: 10,00 (300,00)"}, {4, "Brücken: 2"}}},
        {[&] { tool->startRoadTool(TStartRoadTool::convertToTechlevelForm({path})); },
         {{4, "Keine Brücken vorhanden"}}},
        // Too long a name for the bubble is cut, keeping its start.
        {[&] { tool->startBuildTool(TStartBuildTool::convertToTechlevelForm({mall}), 1); }, {}},
    };
    const float rho = tool->infoGadgetRadius;
    for (const auto& c : cases) {
        c.open();
        for (const auto& [line, text] : c.exact) EXPECT_EQ(Line(line), text);
        for (int32_t i = 0; i < TBuildTool::infoLines; ++i) {
            const auto& t = *tool->infoTextLines[size_t(i)];
            if (t.str.empty()) continue;
            // Drawn at the bubble's centre less the handle.
            const float l = -t.handle_x, top = -t.handle_y, r = l + t.Width, b = top + t.Height;
            for (float x : {l, r})
                for (float y : {top, b}) EXPECT_LE(std::hypot(x, y), rho) << t.str;
            for (const auto& button : tool->infoGadget->gadget->children->children) {
                const float bx = button->x, by = button->y;
                const float dx = std::max({l - bx, 0.0f, bx - r}), dy = std::max({top - by, 0.0f, by - b});
                EXPECT_GE(std::hypot(dx, dy), 20.0f) << t.str;
            }
        }
    }
    EXPECT_TRUE(Line(1).starts_with("Großes Einkaufs") && Line(1).ends_with("…")) << Line(1);
}

TEST_F(BuildToolTest, ACategoryOpensOnTheNearestTechLevelThatOffersSomething) {
    // The tech level selected before, the levels of the category's buildings, and the level and
    // building the bubble then shows (the lower of two levels as near).
    const struct {
        int32_t selected;
        std::vector<int32_t> levels;
        int32_t shown;
        std::string name;
    } cases[] = {
        {1, {3}, 3, "L3"},    {4, {1, 2}, 2, "L2"}, {3, {2, 4}, 2, "L2"},
        {3, {3, 5}, 3, "L3"}, {5, {1}, 1, "L1"},    {2, {}, 2, ""},  // nothing anywhere: stays empty
    };
    for (const auto& c : cases) {
        std::vector<std::shared_ptr<TPicturePlugin>> kinds;
        for (const int32_t level : c.levels) kinds.push_back(Building("L" + std::to_string(level), level, 10));
        tool->selectTechlevel(c.selected);
        tool->startBuildTool(TStartBuildTool::convertToTechlevelForm(kinds), 0);
        EXPECT_EQ(std::make_pair(tool->getSelectedTechlevel(), Line(1)), std::make_pair(c.shown, c.name)) << c.selected;
    }
    // Roads alike: a street of level 0 is on tech level 1.
    tool->selectTechlevel(4);
    tool->startRoadTool(TStartRoadTool::convertToTechlevelForm({Street("Weg", 0, 1)}));
    EXPECT_EQ(std::make_tuple(tool->getSelectedTechlevel(), Line(1), layer->roadmode),
              std::make_tuple(1, std::string("Weg"), 1));
    // An empty level chosen by its button shows empty, as the lit button says.
    tool->SetPosition(200, 200);
    const auto& level3 = *tool->cmdTechlevel[2]->gadget;
    Frame(600);
    Tap(level3.GetX(1), level3.GetY(1));
    Frame();
    EXPECT_EQ(std::make_tuple(tool->getSelectedTechlevel(), Line(1), layer->roadmode),
              std::make_tuple(3, std::string(""), 0));
}

TEST_F(BuildToolTest, WhileABuildingIsPlacedALegendBesideTheBubbleExplainsTheGroundColours) {
    auto house = Building("Haus", 1, 10);
    house->influenceMask = TInfluenceMask::Create({}, 1);
    // What the tool is opened for, where the panel stands, and whether the legend shows above
    // the bubble (1), below it (-1, too near the screen's top) or not at all (0).
    const struct {
        std::function<void()> open;
        float y;
        int32_t where;
    } cases[] = {
        {[&] { tool->startBuildTool(TStartBuildTool::convertToTechlevelForm({house}), 0); }, 240, 1},
        {[&] { tool->startBuildTool(TStartBuildTool::convertToTechlevelForm({house}), 0); }, 60, -1},
        {[&] { tool->startRoadTool(TStartRoadTool::convertToTechlevelForm({Street("Weg", 0, 1)})); }, 240, 0},
        {[&] { tool->startDestroyTool(); }, 240, 0},
        // Too dear: the world leaves build mode, the ground shows no colours.
        {[&] {
             balance = 0;
             tool->startBuildTool(TStartBuildTool::convertToTechlevelForm({house}), 0);
         },
         240, 0},
    };
    for (const auto& c : cases) {
        balance = 1000;
        tool->SetPosition(150, c.y);
        c.open();
        const float bubbleY = tool->infoGadget->gadget->GetY(1);
        backend->ClearLog();
        tool->infoGadget->gadget->Draw();
        std::vector<std::tuple<int32_t, int32_t, int32_t>> swatches;
        std::vector<std::string> texts;
        std::set<std::string> lines;
        for (const auto& line : tool->infoTextLines) lines.insert(line->str);
        for (const auto& call : backend->calls) {
            if (call.kind == TDrawCall::Rect && call.w == call.h) swatches.emplace_back(call.r, call.g, call.b);
            if (call.kind != TDrawCall::Text || lines.count(call.text)) continue;
            texts.push_back(call.text);
            // Clear of the bubble's buttons and of the bubble, on its side.
            for (const auto& button : tool->infoGadget->gadget->children->children) {
                const float bx = button->GetX(1), by = button->GetY(1);
                const float dx = std::max({call.x - bx, 0.0f, bx - call.x - call.w});
                const float dy = std::max({call.y - by, 0.0f, by - call.y - call.h});
                EXPECT_GE(std::hypot(dx, dy), 20.0f) << call.text;
            }
            if (c.where > 0) {
                EXPECT_LT(call.y + call.h, bubbleY - tool->infoGadgetRadius) << call.text;
            } else {
                EXPECT_GT(call.y, bubbleY + tool->infoGadgetRadius) << call.text;
            }
        }
        if (c.where == 0) {
            EXPECT_TRUE(texts.empty()) << c.y;
            continue;
        }
        EXPECT_EQ(texts, (std::vector<std::string>{"Versorgt", "Teilweise versorgt", "Unversorgt oder verschmutzt"}));
        // The swatches in the ground's colours: all needs met, some, one not at all.
        EXPECT_EQ(swatches,
                  (std::vector<std::tuple<int32_t, int32_t, int32_t>>{{0, 255, 0}, {255, 210, 0}, {255, 0, 0}}));
    }
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
