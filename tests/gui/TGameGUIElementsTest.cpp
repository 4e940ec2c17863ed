// The game's tool set: panels placed on screen from broken gadget records and written back,
// the menu's shortcuts and entries reaching the game (saving through the text field, the list
// of saved cities), the minimap button's state and the minimap window's resize handle.
#include <cmath>
#include <limits>
#include <tuple>

#include "../support/TempDir.h"
#include "GUIFixture.h"
#include "framework/TFastRandom.h"
#include "gui/TBuildTool.h"
#include "gui/TGameGUIElements.h"
#include "gui/TLoadTool.h"
#include "gui/TMainTool.h"
#include "gui/TMiniMapTool.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TSettingsTool.h"
#include "gui/TTextFieldTool.h"
#include "gui/TTouchMouseTool.h"
#include "framework/TMultiTouch.h"
#include "platform/TEvent.h"
#include "platform/TInput.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TSpriteBatch.h"
#include "settings/TGadgets.h"
#include "world/TLayer.h"

namespace {

// Calls of the game commands: zoom in, zoom out, exit, centre, screenshot, info mode.
using TCalls = std::array<int32_t, 6>;
template <size_t I>
int32_t Called(void* context) {
    ++(*static_cast<TCalls*>(context))[I];
    return 0;
}
int32_t Off(void*) { return 0; }
// The names the save command was given.
std::vector<std::string> savedNames;
int32_t Save(void*, const std::string& name) {
    savedNames.push_back(name);
    return 1;
}

constexpr float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();

class ToolSetTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        TLayer::Init(640, 480);
        layer = TLayer::Create(32, 32, vesko::TFastRandom::Create(1));
        ASSERT_TRUE(layer);
        commands = {&calls, Called<0>, Called<1>, Called<2>, Called<3>, Called<4>, Called<5>, Off, Save, nullptr};
        savedNames.clear();
        TGadgets::SetDefaults();
        tools = TGameGUIElements::Create(commands, layer, gui);
        Frame();
        Frame(600);  // touch objects in place, show spirals over
    }
    void TearDown() override {
        tools.reset();
        layer->Destroy();
        layer.reset();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
        TGadgets::SetDefaults();
        GUITest::TearDown();
    }
    void Step() override { tools->Update(points, {}, {}, "", keys); }
    void TapOn(const vesko::TTGUIGadget& g) { Tap(g.GetX(1), g.GetY(1)); }
    static TGUIGadget& Child(const TGUIGadget& main, size_t i) {
        return *TGUIGadget::FindByTouchObject(main.gadget->children->children.at(i)->getCurrentTouchObject().get());
    }
    // Broken records for the four panels, then a tool set on a fresh GUI of w × h.
    void Recreate(int32_t w, int32_t h, const std::array<std::array<float, 3>, 4>& records) {
        tools.reset();
        Open(w, h);
        const char* names[4] = {"multifunctionaltool", "minimaptool", "touchmousetool", "hidetool"};
        for (size_t i = 0; i < 4; ++i) {
            auto r = TGadgets::Get(names[i]);
            r->_x = records[i][0];
            r->_y = records[i][1];
            r->setVisible(int32_t(records[i][2]));
        }
        tools = TGameGUIElements::Create(commands, layer, gui);
    }
    std::shared_ptr<TLayer> layer;
    TCalls calls{};
    TGameCommands commands;
    std::shared_ptr<TGameGUIElements> tools;
};

// x, y, visible of the menu, the minimap, the touch pointer and the hide tool; how many panels
// show with the main tool at its usual place.
const std::pair<std::array<std::array<float, 3>, 4>, size_t> brokenRecords[] = {
    {{{{-3, 1e9f, 5}, {nan, -0.5f, 1}, {2, 2, 1}, {2, 2, 1}}}, 4},
    {{{{1e30f, nan, 1}, {-1e30f, 1e30f, -1}, {nan, nan, 0}, {nan, nan, 1}}}, 4},
    {{{{inf, -inf, 1}, {0.5f, 0.5f, 0}, {-1, 0.3f, 1}, {0, 0, 1}}}, 3}};

TEST_F(ToolSetTest, BrokenRecordsStillPutTheShownPanelsOnScreenApart) {
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{1280, 720}, std::pair{2560, 1440}}) {
        for (const auto& [records, shown] : brokenRecords) {
            Recreate(w, h, records);
            std::vector<std::array<float, 4>> boxes;
            for (const auto& [name, panel] : tools->Panels()) {
                float l = 0, t = 0, r = 0, b = 0;
                if (!panel->isVisible()) continue;
                ASSERT_TRUE(panel->GetBounds(l, t, r, b)) << name;
                EXPECT_TRUE(l >= 0 && t >= 0 && r <= float(w) && b <= float(h))
                    << name << " at " << w << "×" << h << ": " << l << "," << t << " – " << r << "," << b;
                boxes.push_back({l, t, r, b});
            }
            EXPECT_EQ(boxes.size(), shown) << w;
            EXPECT_EQ(tools->tmt->isVisible(), 0);  // the touch pointer waits for building
            EXPECT_EQ(tools->buildTool->activeTouchMouseTool, int32_t(records[2][2]));
            for (size_t i = 0; i < boxes.size(); ++i) {
                for (size_t k = i + 1; k < boxes.size(); ++k) {
                    const auto &a = boxes[i], &b = boxes[k];
                    EXPECT_FALSE(a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3]) << w << "×" << h;
                }
            }
        }
    }
}

TEST_F(ToolSetTest, ANewScreenSizeKeepsPanelsOnScreenWholeApartAndOpen) {
    Recreate(1024, 768, {{{0.1f, 0.1f, 1}, {0.1f, 0.85f, 1}, {0.5f, 0.5f, 0}, {0.9f, 0.3f, 1}}});
    tools->mainTool->SHOW();
    tools->textFieldTool->startTool("Neust", "Stadtname", "", "", nullptr, nullptr);
    Frame(600);
    // The main tool's pieces relative to its anchor: a resize moves the panel, never its parts.
    auto parts = [&] {
        std::vector<std::pair<float, float>> out;
        const auto& anchor = *tools->mainTool->_mainGadget->gadget;
        for (const auto& c : anchor.children->children)
            out.emplace_back(c->GetX(1) - anchor.GetX(1), c->GetY(1) - anchor.GetY(1));
        return out;
    };
    const auto before = parts();
    std::vector<std::pair<float, float>> places;
    for (const auto& [name, panel] : tools->Panels()) places.emplace_back(panel->GetX(), panel->GetY());
    int32_t oldW = 1024, oldH = 768;
    for (const auto& [w, h] : {std::pair{1600, 900}, std::pair{800, 600}, std::pair{320, 240}, std::pair{7680, 4320},
                               std::pair{1024, 768}}) {
        gui->xmax = w;
        gui->ymax = h;
        tools->Relayout(float(oldW), float(oldH));
        Frame();
        Frame();
        oldW = w;
        oldH = h;
        std::vector<std::array<float, 4>> boxes;
        for (const auto& [name, panel] : tools->Panels()) {
            float l = 0, t = 0, r = 0, b = 0;
            if (!panel->isVisible() || !panel->GetBounds(l, t, r, b)) continue;
            // Panels sit on whole pixels; their pictures may reach a fraction of one further.
            EXPECT_TRUE(l >= -0.5f && t >= -0.5f && r <= float(w) + 0.5f && b <= float(h) + 0.5f)
                << name << " at " << w << "×" << h << ": " << l << "," << t << " – " << r << "," << b;
            boxes.push_back({l, t, r, b});
        }
        EXPECT_EQ(parts(), before) << w << "×" << h;
        // The typing goes on.
        EXPECT_TRUE(tools->textFieldTool->isVisible()) << w << "×" << h;
        if (w < 800) continue;  // a tiny screen cannot hold every panel apart
        for (size_t i = 0; i < boxes.size(); ++i) {
            for (size_t k = i + 1; k < boxes.size(); ++k) {
                const auto &a = boxes[i], &b = boxes[k];
                EXPECT_FALSE(a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3]) << w << "×" << h;
            }
        }
    }
    // Back at the first size every panel stands where it stood (within the few units a panel
    // glides after being moved), though the tiny screens pushed them together on the way.
    size_t i = 0;
    for (const auto& [name, panel] : tools->Panels()) {
        EXPECT_NEAR(panel->GetX(), places[i].first, 8.0f) << name;
        EXPECT_NEAR(panel->GetY(), places[i++].second, 8.0f) << name;
    }
    // A panel the player drags takes its new place from then on.
    const auto& anchor = *tools->mft->_mainGadget->gadget;
    const float startX = tools->mft->GetX();
    auto finger = Press(anchor.GetX(1), anchor.GetY(1));
    Frame();
    finger->x += 300;
    finger->y += 200;
    Frame();
    finger->Active = 0;
    Frame();
    const auto dragged = std::make_pair(tools->mft->GetX(), tools->mft->GetY());
    EXPECT_GT(dragged.first, startX + 100);
    for (const auto& [w, h] : {std::pair{2048, 1536}, std::pair{1024, 768}}) {
        gui->xmax = w;
        gui->ymax = h;
        tools->Relayout(float(oldW), float(oldH));
        oldW = w;
        oldH = h;
    }
    EXPECT_NEAR(tools->mft->GetX(), dragged.first, 1.0f);
    EXPECT_NEAR(tools->mft->GetY(), dragged.second, 1.0f);
}

// The window, the interface scale: the panels are laid out on the window's size in units.
const std::tuple<int32_t, int32_t, float> scaledScreens[] = {
    {800, 600, 1.0f}, {1600, 900, 1.0f}, {2560, 1440, 2.0f}, {1280, 720, 1.5f},
    {800, 600, 2.0f}, {320, 240, 2.0f},  {7680, 4320, 3.0f}, {640, 480, 0.75f}};

TEST_F(ToolSetTest, AtEveryScaleThePanelsLieOnScreenAndOffTheMainTool) {
    for (const auto& [w, h, scale] : scaledScreens) {
        backend = TGraphics::HeadlessGraphics(w, h);
        TInterfaceSpace::SetFactor(TInterfaceSpace::FactorFor(scale, w, h));
        const int32_t units = TInterfaceSpace::Width(), unitsHigh = TInterfaceSpace::Height();
        Recreate(units, unitsHigh, {{{0.1f, 0.1f, 1}, {0.1f, 0.85f, 1}, {0.5f, 0.5f, 0}, {0.9f, 0.3f, 1}}});
        tools->mainTool->SHOW();
        for (int32_t i = 0; i < 40; ++i) Frame();
        float ml = 0, mt = 0, mr = 0, mb = 0;
        ASSERT_TRUE(tools->mainTool->GetBounds(ml, mt, mr, mb));
        for (const auto& [name, panel] : tools->Panels()) {
            float l = 0, t = 0, r = 0, b = 0;
            if (!panel->isVisible() || !panel->GetBounds(l, t, r, b)) continue;
            EXPECT_TRUE(l >= -0.5f && t >= -0.5f && r <= float(units) + 0.5f && b <= float(unitsHigh) + 0.5f)
                << name << " at " << w << "×" << h << " scale " << scale << ": " << l << "," << t << " – " << r << ","
                << b;
            // A screen of fewer than 640 × 480 units cannot hold every panel apart.
            if (panel == tools->mainTool.get() || units < 640 || unitsHigh < 480) continue;
            EXPECT_FALSE(l < mr && ml < r && t < mb && mt < b) << name << " over the main tool at " << w << "×" << h
                                                                << " scale " << scale;
        }
    }
    TInterfaceSpace::SetFactor(1.0f);
}

TEST_F(ToolSetTest, AtScaleTwoTheMenuIsDrawnAndTouchedTwiceAsLarge) {
    backend = TGraphics::HeadlessGraphics(1280, 720);
    TInterfaceSpace::SetFactor(2.0f);
    ASSERT_EQ(vesko::TMultiTouch::Init(1, 1, 0), 2);
    Recreate(TInterfaceSpace::Width(), TInterfaceSpace::Height(),
             {{{0.1f, 0.1f, 1}, {0.1f, 0.85f, 1}, {0.5f, 0.5f, 0}, {0.9f, 0.3f, 1}}});
    for (int32_t i = 0; i < 40; ++i) Frame();
    // Everything the panels draw lands at twice the place of the same frame drawn at scale 1.
    const auto drawn = [&](float scale) {
        TInterfaceSpace::SetFactor(scale);
        TSpriteBatch::Instance().Flush();
        backend->ClearLog();
        {
            TInterfaceSpace units;
            gui->Draw();
        }
        TSpriteBatch::Instance().Flush();
        return backend->vertices;
    };
    const std::vector<TVertex> single = drawn(1.0f), twice = drawn(2.0f);
    ASSERT_EQ(single.size(), twice.size());
    ASSERT_FALSE(single.empty());
    for (size_t i = 0; i < single.size(); ++i) {
        ASSERT_FLOAT_EQ(twice[i].x, 2 * single[i].x) << i;
        ASSERT_FLOAT_EQ(twice[i].y, 2 * single[i].y) << i;
    }
    // A click on a window pixel goes to what is drawn there: just inside the build button's
    // right edge opens the build row, just outside it does not.
    const auto& build = *tools->mft->cmdBuild->gadget;
    const float r = tools->mft->buttonRadius, cx = 2 * build.GetX(1), cy = 2 * build.GetY(1);
    const auto click = [&](float x) {
        for (const int32_t id : {EVENT_MOUSEDOWN, EVENT_MOUSEUP}) {
            TEvent e;
            e.id = id;
            e.data = 1;
            e.x = int32_t(x);
            e.y = int32_t(cy);
            TInput::PostSystemEvent(e);
            const auto list = vesko::TMultiTouch::Get();
            points.assign(list.begin(), list.end());
            Frame();
        }
        Frame();
        Frame();
        return build.State;
    };
    EXPECT_EQ(click(cx + 2 * r + 4), 0);
    EXPECT_EQ(click(cx + 2 * r - 3), 1);
    vesko::TMultiTouch::Deinit();
    TInterfaceSpace::SetFactor(1.0f);
}

TEST_F(ToolSetTest, WrittenRecordsAreFractionsThatPlaceThePanelsAgain) {
    Recreate(1280, 720, brokenRecords[0].first);
    for (int32_t i = 0; i < 40; ++i) Frame();  // the show spirals run out
    tools->mft->SetPosition(300, 113);         // 113 / 720 × 720 is a hair below 113 in floats
    std::vector<std::pair<float, float>> placed;
    for (const auto& [name, panel] : tools->Panels()) placed.emplace_back(panel->GetX(), panel->GetY());
    tools->_getConfigs();
    size_t i = 0;
    for (const auto& [name, panel] : tools->Panels()) {
        const auto r = TGadgets::Get(name);
        if (!r) {  // the list of saves, the settings and the statistics keep their places only while the game runs
            EXPECT_TRUE(name == "loadtool" || name == "settingstool" || name == "statisticstool") << name;
            ++i;
            continue;
        }
        EXPECT_TRUE(r->_x >= 0 && r->_x <= 1 && r->_y >= 0 && r->_y <= 1) << name << " " << r->_x << "," << r->_y;
        EXPECT_NEAR(r->_x * 1280, placed[i].first, 1e-3) << name;
        EXPECT_NEAR(r->_y * 720, placed[i++].second, 1e-3) << name;
    }
    EXPECT_EQ(TGadgets::Get("minimaptool")->isVisible(), 1);
    EXPECT_EQ(TGadgets::Get("touchmousetool")->isVisible(), 1);  // wanted for building, though hidden now
    tools->_setConfigs();
    i = 0;
    for (const auto& [name, panel] : tools->Panels())
        EXPECT_EQ(std::make_pair(panel->GetX(), panel->GetY()), placed[i++]) << name;
}

TEST_F(ToolSetTest, ShortcutsFireTheirEntryWhileTheRowsAreFolded) {
    const std::pair<int32_t, std::string> rows[] = {{49, "Verkehrswege"},  {50, "Unterkunft"},     {51, "Gewerbe"},
                                                    {55, "Preis"},         {67, "Map zentrieren"}, {80, "Foto machen"},
                                                    {187, "Hineinzoomen"}, {189, "Herauszoomen"},  {48, ""}};
    for (const auto& [code, tooltip] : rows) {
        keys = Key(code);
        Frame();
        std::vector<std::string> fired;
        for (const auto& g : TGUIGadget::All()) {
            if (g->hit) fired.push_back(g->tooltip.at(0));
        }
        EXPECT_EQ(fired, tooltip.empty() ? std::vector<std::string>{} : std::vector{tooltip}) << code;
        Frame();
        EXPECT_EQ(tools->mft->cmdBuild->gadget->State + tools->mft->cmdView->gadget->State, 0) << code;
    }
    EXPECT_EQ(calls, (TCalls{1, 1, 0, 1, 1, 0}));
}

TEST_F(ToolSetTest, OptionsEntriesOpenSavingAndTheSavesAndBeendenExits) {
    // A stray tap on the settings must not reach the shipped options.
    TempDir scratch;
    tools->settingsTool->choices.optionsPath = scratch.File("options.cfg");
    const auto choose = [&](size_t entry) {
        TapOn(*tools->mft->cmdOptions->gadget);
        TapOn(*Child(*tools->mft->cmdOptions, entry).gadget);
        Frame();
        Frame();
        EXPECT_EQ(tools->mft->cmdOptions->gadget->State, 0) << entry;
    };
    // "Speichern": the field takes the keyboard at once, and OK saves under its text.
    choose(0);
    TTextFieldTool& field = *tools->textFieldTool;
    EXPECT_EQ(std::make_pair(field.isVisible(), field.haveToGrabKeys()), std::make_pair(1, 1));
    field.currentText = "Neustadt 2";
    field.onCmdOk();
    EXPECT_EQ(savedNames, std::vector<std::string>{"Neustadt 2"});
    EXPECT_EQ(field.isVisible(), 0);
    struct Row {
        size_t entry;
        int32_t loadTool, settings, exits;
    } rows[] = {{1, 1, 0, 0}, {2, 1, 1, 0}, {3, 1, 1, 1}};
    for (const auto& r : rows) {
        choose(r.entry);
        // On this small screen the list and the settings would lie over the menu's row.
        tools->loadTool->SetPosition(400, 100);
        tools->settingsTool->SetPosition(340, 100);
        EXPECT_EQ(std::make_tuple(tools->loadTool->isVisible(), tools->settingsTool->isVisible(), calls[2]),
                  std::make_tuple(r.loadTool, r.settings, r.exits))
            << r.entry;
    }
}

TEST_F(ToolSetTest, MinimapButtonShowsWhetherTheMinimapIsOpen) {
    TGUIGadget& button = Child(*tools->mft->cmdView, 0);
    EXPECT_EQ(std::make_pair(button.tooltip.at(0), button.gadget->State),
              std::make_pair(std::string("Minimap einblenden"), 1));
    TapOn(*tools->mft->cmdView->gadget);
    TapOn(*button.gadget);
    Frame();
    Frame();
    EXPECT_EQ(std::make_pair(tools->mmt->isVisible(), button.gadget->State), std::make_pair(0, 0));
    for (int32_t open : {1, 0}) {  // opened and closed by other means
        tools->mmt->setVisible(open);
        Frame();
        EXPECT_EQ(button.gadget->State, open);
    }
}

TEST_F(ToolSetTest, MinimapResizeHandleSetsTheWidthWithinOneToTwoTimes) {
    auto& mmt = *tools->mmt;
    // drag distance → width; the handle goes back to the box's corner
    const std::pair<float, float> rows[] = {{100, 300}, {-150, 200}, {500, 400}, {-30, 370}};
    for (const auto& [dx, width] : rows) {
        auto p = Press(mmt.cmdResize->gadget->GetX(1), mmt.cmdResize->gadget->GetY(1));
        Frame();
        p->x += dx;
        Frame();
        Frame();
        p->Active = 0;
        Frame();
        EXPECT_EQ(mmt.MapWidth(), width) << dx;
        EXPECT_EQ(std::make_pair(mmt.cmdResize->gadget->x, mmt.cmdResize->gadget->y),
                  std::make_pair(width, -mmt.MapHeight()));
        EXPECT_EQ(std::make_pair(mmt.cmdZoomOut->gadget->x, mmt.cmdZoomOut->gadget->y), std::make_pair(width, 0.0f));
    }
}

}  // namespace
