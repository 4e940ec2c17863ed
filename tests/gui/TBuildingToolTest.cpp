// The building info panel over a small world: its info lines and their colours, the people
// gadgets on their circle, the radio tabs, closing and jumping, a demolished building and
// turning the open panel to another building.
#include "../support/TempDir.h"
#include "GUIFixture.h"
#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "framework/TFastRandom.h"
#include "gui/TBuildingTool.h"
#include "platform/TPixmap.h"
#include "plugins/TPicturePlugin.h"
#include "settings/TConfig.h"
#include "settings/TSettings.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TGroundLayer.h"
#include "world/THabitant.h"
#include "world/TISO.h"
#include "world/TLayer.h"

namespace {

class BuildingToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        // Text colours told apart by their red part: 0 default, 1 red, 2 yellow, 3 green.
        const auto colours = {&TGUI::textCol_default, &TGUI::textCol_red, &TGUI::textCol_yellow, &TGUI::textCol_green};
        for (int32_t i = 0; auto colour : colours) ((*gui).*colour).Set(i++, 0, 0, 1);
        TConfig::SetDefaults();
        TSettings::SetDefaults();
        TLayer::Init(640, 480);
        auto ground = std::make_shared<TPicturePlugin>();
        ground->SetStructure("ground");
        ground->picture[0] = TImage::Create(32, 16);
        TGroundLayer::_AddGround(ground);
        auto pix = TPixmap::Create(16, 16);
        pix->ClearPixels(0xFF808080u);
        SavePixmapPNG(*pix, dir.File("map.png"));
        layer = TLayer::LoadFromImage(dir.File("map.png"), vesko::TFastRandom::Create(7));
        ASSERT_TRUE(layer);
        tool = TBuildingTool::Create(gui, 12, 20, layer, 70);
    }
    void TearDown() override {
        tool->Destroy();
        tool.reset();
        layer.reset();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
        GUITest::TearDown();
    }
    void Step() override {
        tool->Update();
        GUITest::Step();
    }
    std::shared_ptr<TBuilding> Place(int32_t x, int32_t y, const std::string& type, const std::string& name) {
        auto p = std::make_shared<TPicturePlugin>();
        p->SetStructure(type);
        p->Name = name;
        p->SizeX[0] = p->SizeY[0] = 1;
        p->constructionTime = 10;
        return layer->BuildingLayer->_SetTile(x, y, p);
    }
    static void Finish(TBuilding& b) {
        b.inBuildMode = 0;
        b.buildStartDay = 4;
    }
    static std::shared_ptr<THabitant> Person(const std::string& name, float satisfaction) {
        auto h = std::make_shared<THabitant>();
        h->Name = name;
        h->satisfaction = satisfaction;
        return h;
    }
    // The view's lines as "text|colour".
    std::vector<std::string> Lines() const {
        static const char* const names[] = {"default", "red", "yellow", "green"};
        std::vector<std::string> out;
        for (const auto& c : tool->viewGadgetContentLayer->getContents()) {
            const auto& t = dynamic_cast<const vesko::TCText&>(*c);
            out.push_back(t.str + "|" + names[size_t(t.formation.rgba.getRed())]);
        }
        return out;
    }
    void TapOn(const TGUIGadget& g) { Tap(g.gadget->GetX(1), g.gadget->GetY(1)); }

    TempDir dir;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TBuildingTool> tool;
};

TEST_F(BuildingToolTest, InfoLinesShowConstructionThenSatisfactionAndInhabitantsInTheirColours) {
    auto house = Place(3, 3, "residentalbuilding", "Wohnhaus");
    ASSERT_TRUE(house);
    tool->startBuildingTool(house);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Wohnhaus|default", "Bau wird vorbereitet|yellow"}));
    house->buildStartDay = 4;
    house->buildingProgress = 0.35f;
    tool->Update();
    const std::string built = "Bau: " + layer->getRealDateOfDay(4) + "|default";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Wohnhaus|default", "Im Bau: 35%|yellow", "(6 Tage verbleiben)|yellow",
                                                 built}));
    Finish(*house);
    struct Case {
        float satisfaction;
        int32_t people, room;
        std::string satisfactionLine, peopleLine;
    } cases[] = {
        {0.49f, 3, 5, "Zufriedenheit: 49%|red", "Einwohner: 3/5|yellow"},
        {0.5f, 5, 5, "Zufriedenheit: 50%|yellow", "Einwohner: 5/5|green"},
        {1.0f, 0, 0, "Zufriedenheit: 100%|green", "Einwohner: 0/0|green"},
        {0.75f, 0, 5, "Zufriedenheit: 75%|yellow", "Einwohner: 0/5|red"},
    };
    for (const auto& c : cases) {
        house->habitants = {};
        for (int32_t i = 0; i < c.people; ++i) house->_regHabitant(Person("H", 1));
        house->maxHabitans = c.room;
        house->satisfactionAverage = c.satisfaction;
        tool->Update();
        EXPECT_EQ(Lines(), (std::vector<std::string>{"Wohnhaus|default", c.satisfactionLine, c.peopleLine,
                                                     "Fahrende Autos: 0|default", built}))
            << c.satisfaction;
    }
}

TEST_F(BuildingToolTest, FourWorkersSitTopRightBottomLeftWithTheirTooltips) {
    auto factory = Place(5, 5, "industrialbuilding", "Fabrik");
    Finish(*factory);
    factory->maxWorkers = 4;
    for (const char* name : {"Anna", "Ben", "Cem", "Dora"}) factory->_regWorker(Person(name, 0.8f));
    tool->startBuildingTool(factory);
    tool->selectTab(tool->tabPeople);
    tool->Update();
    ASSERT_EQ(tool->cmdPeoples.size(), 4u);
    const std::pair<float, float> at[] = {{0, -50}, {50, 0}, {0, 50}, {-50, 0}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(tool->cmdPeoples[i]->gadget->x, at[i].first) << i;
        EXPECT_EQ(tool->cmdPeoples[i]->gadget->y, at[i].second) << i;
    }
    EXPECT_EQ(tool->cmdPeoples[0]->tooltip, (std::vector<std::string>{"Anna,", "Arbeitslos", "(80% Zufriedenheit)"}));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"4 von max.|green", "4 Arbeitern|green"}));
    // The same people keep their gadgets; one leaving rebuilds them.
    const auto first = tool->cmdPeoples[0];
    tool->Update();
    EXPECT_EQ(tool->cmdPeoples[0], first);
    factory->_delWorker(factory->workers[0]);
    tool->Update();
    EXPECT_EQ(tool->cmdPeoples.size(), 3u);
    EXPECT_EQ(tool->cmdPeoples[0]->tooltip[0], "Ben,");
}

TEST_F(BuildingToolTest, TabsAreRadioButtonsAndOnlyInfoWhileUnderConstruction) {
    auto house = Place(3, 3, "residentalbuilding", "Wohnhaus");
    tool->startBuildingTool(house);
    Frame();
    EXPECT_FALSE(tool->tabInfluence->gadget->isEnabled());
    EXPECT_FALSE(tool->tabPeople->gadget->isEnabled());
    tool->selectTab(tool->tabPeople);
    Frame();
    EXPECT_EQ(tool->getSelectedTab(), tool->tabInfo);

    Finish(*house);
    Frame();
    EXPECT_TRUE(tool->tabInfluence->gadget->isEnabled());
    TapOn(*tool->tabInfluence);
    Frame();
    EXPECT_EQ(tool->getSelectedTab(), tool->tabInfluence);
    EXPECT_EQ(tool->tabInfo->gadget->State + tool->tabPeople->gadget->State, 0);
    ASSERT_EQ(tool->cmdInfluences.size(), 15u);
    EXPECT_TRUE(tool->cmdInfluences[14]->isShowed());
    EXPECT_EQ(tool->cmdInfluences[14]->tooltip, (std::vector<std::string>{"Lärm, ", "zu 100% erfüllt"}));
    TapOn(*tool->tabInfo);
    Frame();
    EXPECT_EQ(tool->getSelectedTab(), tool->tabInfo);
    EXPECT_FALSE(tool->cmdInfluences[14]->isShowed());
}

TEST_F(BuildingToolTest, CloseHidesThePanelAndJumpCentresTheBuilding) {
    auto house = Place(12, 4, "residentalbuilding", "Wohnhaus");
    tool->startBuildingTool(house);
    tool->SetPosition(320, 240);
    Frame();
    TapOn(*tool->cmdJumpTo);
    Frame();
    clock->Advance(TLayer::glideTimeMS + 50);
    layer->_updateMovement();
    float x = 0, y = 0;
    layer->iso->FromIso(320, 240, x, y);
    EXPECT_NEAR(x, 12.5f, 0.5f);
    EXPECT_NEAR(y, 4.5f, 0.5f);
    TapOn(*tool->cmdClose);
    Frame();
    EXPECT_FALSE(tool->isVisible());
    EXPECT_FALSE(tool->getBuilding());
}

TEST_F(BuildingToolTest, ADemolishedBuildingClosesThePanelAndIsNotKept) {
    for (const bool stillReferenced : {true, false}) {
        auto house = Place(3, 3, "residentalbuilding", "Wohnhaus");
        Finish(*house);
        tool->startBuildingTool(house);
        ASSERT_TRUE(tool->isVisible());
        layer->ClearTile(3, 3);
        if (!stillReferenced) house.reset();
        tool->Update();
        EXPECT_FALSE(tool->isVisible()) << stillReferenced;
        EXPECT_TRUE(tool->currentBuilding.expired()) << stillReferenced;
        // Choosing it again does not open the panel.
        if (house) tool->startBuildingTool(house);
        EXPECT_FALSE(tool->isVisible());
    }
}

TEST_F(BuildingToolTest, ChoosingAnotherBuildingWhileOpenTurnsThePanelToIt) {
    gui->preview_blueBorderImg = TImage::Create(8, 8);
    auto house = Place(3, 3, "residentalbuilding", "Wohnhaus");
    auto shop = Place(8, 8, "commercialbuilding", "Laden");
    for (auto* b : {house.get(), shop.get()}) Finish(*b);
    house->_regHabitant(Person("Anna", 1));
    for (const char* name : {"Ben", "Cem"}) shop->_regWorker(Person(name, 1));
    tool->startBuildingTool(house);
    tool->selectTab(tool->tabPeople);
    tool->Update();
    ASSERT_EQ(tool->cmdPeoples.size(), 1u);
    layer->BuildingLayer->_bm_x.clear();
    layer->BuildingLayer->_bm_y.clear();

    tool->startBuildingTool(shop);
    EXPECT_EQ(tool->getBuilding(), shop);
    EXPECT_EQ(tool->viewGadgetColorLayer->img, gui->preview_blueBorderImg);
    ASSERT_EQ(tool->cmdPeoples.size(), 2u);
    EXPECT_EQ(tool->cmdPeoples[1]->tooltip[0], "Cem,");
    EXPECT_EQ(layer->BuildingLayer->_bm_x, std::vector<int32_t>{8});
}

}  // namespace
