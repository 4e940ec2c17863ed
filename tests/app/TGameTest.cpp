// The game: money and date texts, the world's money callbacks, the cheat console, creation from
// a map image or a loaded world, the frame loop's camera controls and the info mode, saving,
// autosaving and the list of saved cities, through the headless back end.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "../support/TempDir.h"
#include "app/TApplication.h"
#include "app/TEventReceiver.h"
#include "app/TGame.h"
#include "app/TMenu.h"
#include "app/TSoundDirector.h"
#include "framework/TFastRandom.h"
#include "framework/TMultiTouch.h"
#include "gui/TBuildTool.h"
#include "gui/TBuildingTool.h"
#include "gui/TGUI.h"
#include "gui/TGameGUIElements.h"
#include "gui/TLoadTool.h"
#include "gui/TMainTool.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TSaveFolder.h"
#include "gui/TSettingsTool.h"
#include "gui/TTextFieldTool.h"
#include "gui/TTouchMouseTool.h"
#include "persistence/TDataFile.h"
#include "persistence/TFileHeader.h"
#include "platform/TCatalogue.h"
#include "platform/TClock.h"
#include "platform/TEvent.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TInput.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TPixmap.h"
#include "platform/TRecordingAudioBackend.h"
#include "platform/TImageFont.h"
#include "platform/TRecordingBackend.h"
#include "world/TTree.h"
#include "platform/TStream.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TStreetPlugin.h"
#include "settings/TGadgets.h"
#include "settings/TSettings.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/TDestroyCommand.h"
#include "world/TGroundLayer.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TISO.h"
#include "world/TOPPanel.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TWeatherLayer.h"

namespace {

// The game saves into saves/ of the working folder: a test moves into its own for a while.
class InFolder {
public:
    explicit InFolder(const std::string& path) : home(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~InFolder() { std::filesystem::current_path(home); }

private:
    std::filesystem::path home;
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class GameTest : public testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<TManualClock>(10000);
        TClock::SetSource(clock);
        TInput::Reset();
        backend = TGraphics::HeadlessGraphics(640, 480);
        TLayer::Init(640, 480);
        auto p = std::make_shared<TPicturePlugin>();
        p->SetStructure("ground");
        p->picture[0] = TImage::Create(32, 16);
        TGroundLayer::groundPlugins = {p};
        app = TApplication::Create();
        app->xmax = 640;
        app->ymax = 480;
        auto pix = TPixmap::Create(32, 32);
        pix->ClearPixels(0xFF808080u);
        SavePixmapPNG(*pix, dir.File("map.png"));
    }
    void TearDown() override {
        game.reset();
        app.reset();
        TLayer::DePrepare();
        TGraphics::EndGraphics();
        TEventHooks::RemoveAllHooks();
        TClock::SetSource(nullptr);
        TLayer::Init(0, 0);
    }
    void Frame() {
        clock->Advance(TLayer::stepMs);  // one step of the city a frame
        game->_render();
        game->gameSpeed = game->layer->getTimeSpeed();
    }
    TempDir dir;
    std::shared_ptr<TManualClock> clock;
    std::shared_ptr<TRecordingBackend> backend;
    std::shared_ptr<TApplication> app;
    std::shared_ptr<TGame> game;
};

}  // namespace

TEST(GameTextTest, MoneyIsGroupedGermanStyle) {
    EXPECT_EQ(TGame::GetRealMoney(100000), "100.000,00");
    EXPECT_EQ(TGame::GetRealMoney(1234567), "1.234.567,00");
    EXPECT_EQ(TGame::GetRealMoney(123), "123,00");
    EXPECT_EQ(TGame::GetRealMoney(-500), "-500,00");
    EXPECT_EQ(TGame::GetRealMoney(-123456), "-123.456,00");
    EXPECT_EQ(TGame::GetRealMoney(0), "0,00");
    EXPECT_EQ(TGame::GetRealMoney(12.5f), "12,50");
    // In English the separators are the English ones.
    ASSERT_TRUE(TCatalogue::Use(TCatalogue::english));
    EXPECT_EQ(TGame::GetRealMoney(-1234567.5f), "-1,234,567.50");
    TCatalogue::Reset();
}

TEST(GameTextTest, DateNamesTheWeekdayModuloSeven) {
    EXPECT_EQ(TGame::GetRealDate(2, 5, 3, 1), "Mi. 5.3. Jahr 1");
    EXPECT_EQ(TGame::GetRealDate(7, 1, 1, 1), "Mo. 1.1. Jahr 1");
    EXPECT_EQ(TGame::GetRealDate(-1, 1, 1, 1), "So. 1.1. Jahr 1");
    EXPECT_EQ(TGame::_getRealDate(nullptr, 0, 1, 1, 1), "");
}

TEST_F(GameTest, MissingMapGivesNoGame) { EXPECT_FALSE(TGame::CreateFromImage(app.get(), dir.File("none.png"))); }

TEST_F(GameTest, CreationConnectsTheWorldAndCentresTheCamera) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    auto& l = *game->layer;
    EXPECT_FLOAT_EQ(l.getMoney(), 100000.0f);
    EXPECT_EQ(l.getCityName(), "Vallmora City");
    EXPECT_EQ(l.getMayorName(), "Vesko");
    float x = 0, y = 0;
    l.iso->FromIso(320, 240, x, y);
    EXPECT_NEAR(x, 16.0f, 0.01f);
    EXPECT_NEAR(y, 16.0f, 0.01f);
    // The world's money goes through the game.
    EXPECT_EQ(l.getRealMoney(-500), "-500,00");
    EXPECT_EQ(l.expendMoney(100000.5f), 0);
    EXPECT_FLOAT_EQ(l.getMoney(), 100000.0f);
    EXPECT_EQ(l.expendMoney(100000.0f), 1);
    EXPECT_FLOAT_EQ(l.getMoney(), 0.0f);
    EXPECT_EQ(l.enoughMoneyToBuy(1), 0);
    EXPECT_EQ(l.expendMoney(-50), 1);  // a credit works at any balance
    EXPECT_FLOAT_EQ(l.getMoney(), 50.0f);
    // A money pop-up is queued for the next frames.
    l._callShowMoneyFunc(TLayer::TThing{}, -500);
    ASSERT_EQ(game->listLayerInfos.size(), 1u);
    EXPECT_EQ(game->listLayerInfos[0].text, "-500,00");
    EXPECT_EQ(game->listLayerInfos[0].r, 255);
    EXPECT_EQ(game->listLayerInfos[0].g, 50);
    // Only a pop-up on screen is drawn (its text and the eight of its outline); one far off the
    // screen lives on without being drawn.
    game->listLayerInfos.clear();
    app->gui = TGUI::Create(640, 480);
    app->gui->DefaultFont = TImageFont::Load("data/gfx/gui/font.ttf", 14);
    ASSERT_TRUE(app->gui->DefaultFont);
    for (const int32_t tile : {16, 0}) l._callShowMoneyFunc(TTree::Create(tile, tile, 0, nullptr), 120);
    backend->ClearLog();
    game->ShowMoneyInfo();
    size_t texts = 0;
    for (const auto& c : backend->calls) texts += c.kind == TDrawCall::Text && c.text == "120,00";
    EXPECT_EQ(texts, 9u);
    EXPECT_EQ(game->listLayerInfos.size(), 2u);
}

TEST_F(GameTest, CheatConsoleWordsIgnoreCaseButNotBlanks) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    // Each word and the reply the message line shows (and standard output prints).
    const std::tuple<std::string, int32_t, std::string> words[] = {
        {"NoTime", 1, "Shut build time off..."},
        {" notime", 0, "Can't interprete input!"},
        {"notime ", 0, "Can't interprete input!"},
        {"poorpeople", 1, "Donate you a little bit money..."},
        {"POORPEOPLE", 1, "Donate you a little bit money..."},
    };
    for (const auto& [word, taken, reply] : words) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(TGame::_cheatCallback(game.get(), word), taken) << word;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), reply + "\n") << word;
        EXPECT_EQ(game->message.lines, std::vector<std::string>{reply}) << word;
    }
    EXPECT_EQ(game->layer->cheat->immediatelyBuild, 1);
    EXPECT_FLOAT_EQ(game->layer->getMoney(), 300000.0f);
    EXPECT_EQ(TGame::_cheatCallback(nullptr, "x"), 1);
}

TEST_F(GameTest, FramesMoveTheCameraByKeysAndZoomByTheWheel) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    Frame();  // the first frame has no frame time yet: keys move nothing
    const float x0 = game->layer->iso->moveX, y0 = game->layer->iso->moveY;
    TInput::PostSystemEvent(EVENT_KEYDOWN, 38);  // Up
    TInput::PostSystemEvent(EVENT_KEYDOWN, 40);  // Down: Up wins
    TInput::PostSystemEvent(EVENT_KEYDOWN, 37);  // Left
    Frame();                                     // the snapshot now holds the keys
    Frame();
    EXPECT_GT(game->layer->iso->moveY, y0);
    EXPECT_GT(game->layer->iso->moveX, x0);
    // Whole pixels per frame, so the map stays sharp.
    const float step = game->layer->iso->moveY - y0;
    EXPECT_FLOAT_EQ(step, float(static_cast<int32_t>(step)));
    TInput::PostSystemEvent(EVENT_KEYUP, 38);
    TInput::PostSystemEvent(EVENT_KEYUP, 40);
    TInput::PostSystemEvent(EVENT_KEYUP, 37);

    TInput::PostSystemEvent(EVENT_MOUSEWHEEL, 3);
    Frame();
    Frame();
    EXPECT_NEAR(game->layer->tsx, 1.41421356f, 1e-5f);  // one step however far the wheel turned
    for (int32_t i = 0; i < 40; ++i) Frame();
    EXPECT_NEAR(game->layer->iso->ScaleX, 1.41421356f, 1e-5f);
}

TEST_F(GameTest, HeldArrowKeysScrollEvenlyAtTheSameSpeedWhateverTheFrameRate) {
    // A map wide enough for a second of scrolling.
    auto pix = TPixmap::Create(96, 96);
    pix->ClearPixels(0xFF808080u);
    SavePixmapPNG(*pix, dir.File("wide.png"));
    // Frames of these lengths in milliseconds (the window's pacing may stretch the short ones):
    // held for a second, Left moves the map by the set number of screen pixels, whole pixels a
    // frame, and no part of a pixel is lost on the way.
    for (const int32_t ms : {8, 17, 33, 50}) {
        game = TGame::CreateFromImage(app.get(), dir.File("wide.png"));
        ASSERT_TRUE(game);
        const auto frame = [&] {
            clock->Advance(ms);
            game->_render();
            game->gameSpeed = game->layer->getTimeSpeed();
        };
        frame();
        TInput::PostSystemEvent(EVENT_KEYDOWN, 37);
        frame();  // the snapshot now holds the key
        const float x0 = game->layer->iso->moveX;
        const int32_t t0 = Millisecs();
        float owed = 0, largest = 0;
        while (Millisecs() - t0 < 1000) {
            // What the frame is owed: the speed over the time the frame before took.
            owed += TSettings::keyMovementSpeed * game->gameSpeed / 60.0f;
            const float before = game->layer->iso->moveX;
            frame();
            const float step = game->layer->iso->moveX - before;
            EXPECT_FLOAT_EQ(step, std::trunc(step)) << ms;
            largest = std::max(largest, step);
        }
        TInput::PostSystemEvent(EVENT_KEYUP, 37);
        const float moved = game->layer->iso->moveX - x0;
        EXPECT_NEAR(moved, owed, 1.0f) << ms;
        EXPECT_NEAR(moved, TSettings::keyMovementSpeed * float(Millisecs() - t0) / 1000.0f, largest + 1) << ms;
        game.reset();
    }
}

TEST_F(GameTest, ARightDragKeepsTheGrabbedMapPointUnderThePointer) {
    // The interface scale, the zoom, and a wheel step during the drag: none of them may let the
    // map run ahead of or behind the pointer.
    const struct {
        float uiScale, zoom;
        bool wheel;
    } cases[] = {{1, 1, false}, {1.5f, 1, false}, {2, 1, false}, {1, 2, false}, {1.5f, 0.5f, false}, {1, 1, true}};
    for (const auto& c : cases) {
        TInterfaceSpace::SetFactor(c.uiScale);
        game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
        ASSERT_TRUE(game);
        TLayer& world = *game->layer;
        world.SetMapScale(c.zoom, c.zoom, 1);
        Frame();
        TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 300, 200);
        Frame();
        float gx = 0, gy = 0;
        world.iso->FromIso(300, 200, gx, gy);
        TInput::PostSystemEvent(EVENT_MOUSEDOWN, 2, 300, 200);
        Frame();  // the press reaches the snapshot
        // The pointer goes on in uneven steps, one or two moves a frame.
        for (const auto& [x, y] : {std::pair{310, 205}, {330, 211}, {331, 240}, {290, 260}, {260, 250}}) {
            TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, x - 3, y);
            TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, x, y);
            Frame();
        }
        if (c.wheel) TInput::PostSystemEvent(EVENT_MOUSEWHEEL, 1);
        for (int32_t i = 0; i < 40; ++i) Frame();  // the zoom settles
        float mx = 0, my = 0;
        world.iso->FromIso(260, 250, mx, my);
        EXPECT_NEAR(mx, gx, 0.01f) << c.uiScale << " " << c.zoom << " " << c.wheel;
        EXPECT_NEAR(my, gy, 0.01f) << c.uiScale << " " << c.zoom << " " << c.wheel;
        TInput::PostSystemEvent(EVENT_MOUSEUP, 2, 260, 250);
        Frame();
        // Once let go, the pointer moves without the map.
        const float panX = world.iso->moveX;
        TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, 100, 100);
        Frame();
        Frame();
        EXPECT_FLOAT_EQ(world.iso->moveX, panX);
        game.reset();
    }
    TInterfaceSpace::SetFactor(1);
}

TEST_F(GameTest, EscapeEndsTheLoopAndReleasesTheWorld) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    // The end of the game writes cfg/gadgets.cfg in the working folder: use the test's own.
    const auto home = std::filesystem::current_path();
    std::filesystem::create_directory(dir.File("cfg"));
    std::filesystem::current_path(dir.path);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 27);
    Frame();  // the key reaches the snapshot
    game->run();
    std::filesystem::current_path(home);
    EXPECT_EQ(game->_haveToBeStopped, 1);
    EXPECT_FALSE(game->layer);
    EXPECT_TRUE(std::filesystem::file_size(dir.File("cfg/gadgets.cfg")) > 0);
}

// Escape as the keyboard sends it: the key and its control character among the typed ones.
void PressEscape() {
    TInput::PostSystemEvent(EVENT_KEYDOWN, 27);
    TInput::PostSystemEvent(EVENT_KEYCHAR, TInput::charEscape);
    TInput::PostSystemEvent(EVENT_KEYUP, 27);
}

TEST_F(GameTest, EscapeClosesAnOpenTextFieldAndOnTheMapLeavesWithTheCityAutosaved) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    InFolder here(dir.path);
    ASSERT_TRUE(CreateDir("cfg"));
    TTextFieldTool& field = *game->guiElements->textFieldTool;
    game->guiElements->mainTool->onCmdName();
    Frame();
    EXPECT_EQ(field.haveToGrabKeys(), 1);  // the field holds the keyboard the moment it opens
    PressEscape();
    Frame();  // the key reaches the snapshot
    game->_updateKeys();
    Frame();
    EXPECT_EQ(std::make_pair(field.isVisible(), game->_haveToBeStopped), std::make_pair(0, 0));
    // A field behind another panel is closed by Escape too, still without leaving.
    game->guiElements->mainTool->onCmdName();
    game->guiElements->mainTool->cmdMove->gadget->SetInFront();
    Frame();
    ASSERT_EQ(std::make_pair(field.isVisible(), field.haveToGrabKeys()), std::make_pair(1, 0));
    PressEscape();
    Frame();
    game->_updateKeys();
    EXPECT_EQ(std::make_pair(field.isVisible(), game->_haveToBeStopped), std::make_pair(0, 0));
    // On the map Escape leaves, and the city is kept as the autosave.
    game->layer->setCityName("Ostheim");
    PressEscape();
    Frame();
    testing::internal::CaptureStdout();
    game->run();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Automatisch gespeichert: saves/autosave.sav\n");
    std::string reason;
    auto kept = TLayer::Load("saves/autosave.sav", reason);
    ASSERT_TRUE(kept) << reason;
    EXPECT_EQ(kept->getCityName(), "Ostheim");
    kept->Destroy();
}

TEST_F(GameTest, AScreenshotMakesItsFolderAndNamesTheFile) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    InFolder here(dir.path);
    game->takeScreenShot();
    testing::internal::CaptureStdout();
    Frame();
    const std::string said = testing::internal::GetCapturedStdout();
    const size_t at = said.find("Foto gespeichert: screens/pic_");
    ASSERT_NE(at, std::string::npos) << said;
    const size_t from = at + 18;
    EXPECT_EQ(FileType(said.substr(from, said.find('\n', from) - from)), FILETYPE_FILE);
}

TEST_F(GameTest, InfoModeDescribesTheRoadUnderThePointer) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    auto plugin = std::make_shared<TStreetPlugin>();
    plugin->Name = "Landstraße";
    auto road = game->layer->RoadLayer->_SetTile(TStreet::CreateFromPlugin(plugin), 10, 12, {});
    float sx = 0, sy = 0;
    game->layer->iso->ToIso(10.5f, 12.5f, sx, sy);
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, int32_t(sx), int32_t(sy));
    Frame();  // the pointer reaches the snapshot (and the frame's traffic step has passed)
    road->traffic = 0.657f;
    road->useLevel = 3;
    game->infoMode = 1;
    game->_updateInfoMode();
    EXPECT_EQ(game->alternateTooltipp,
              (std::vector<std::string>{"Straße:", "Landstraße", "(65% Belastung)", "Level 3"}));
    EXPECT_EQ(game->alternateTooltippId, "road 10,12");

    // A building beside it: its state while it is built, then its people and satisfaction.
    auto kind = std::make_shared<TPicturePlugin>();
    kind->SetStructure("residentalbuilding");
    kind->Name = "Wohnhaus";
    kind->SizeX[0] = kind->SizeY[0] = 1;
    kind->population = 6;
    kind->constructionTime = 10;
    auto house = game->layer->BuildingLayer->_SetTile(10, 13, kind);
    ASSERT_TRUE(house);
    game->layer->iso->ToIso(10.5f, 13.5f, sx, sy);
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, int32_t(sx), int32_t(sy));
    Frame();
    struct Case {
        int32_t startDay, inBuild;
        float progress;
        std::vector<std::string> lines;
    } cases[] = {
        {-1, 1, 0.0f, {"Gebäude:", "Wohnhaus", "Bau wird vorbereitet"}},
        {4, 1, 0.25f, {"Gebäude:", "Wohnhaus", "Im Bau, 25% abgeschlossen", "7 Tage verbleiben"}},
        {4, 0, 1.0f, {"Gebäude:", "Wohnhaus", "(0/6 Einwohner)", "Gebäudezufriedenheit: 75%"}},
    };
    for (const auto& c : cases) {
        house->buildStartDay = c.startDay;
        house->inBuildMode = c.inBuild;
        house->buildingProgress = c.progress;
        house->satisfactionAverage = 0.75f;
        game->_updateInfoMode();
        EXPECT_EQ(game->alternateTooltipp, c.lines);
        EXPECT_EQ(game->alternateTooltippId, "building 10,13");
    }
}

TEST_F(GameTest, PanelsKeepClicksOffTheMapAndTheTouchPointerStandsInForTheMouse) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    // The mouse reaches the panels as a touch point.
    vesko::TMultiTouch::Init(1, 1, 0);
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    TGameGUIElements& tools = *game->guiElements;
    const auto plugin = std::make_shared<TStreetPlugin>();  // outlives its street, as in the registry
    auto road = game->layer->RoadLayer->_SetTile(TStreet::CreateFromPlugin(plugin), 10, 12, {});
    const auto click = [&](int32_t x, int32_t y) {
        TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, x, y);
        Frame();
        TInput::PostSystemEvent(EVENT_MOUSEDOWN, 1, x, y);
        Frame();  // the press reaches the snapshot
        const int32_t hitOnMap = game->MouseHit(1);
        Frame();  // the touch objects take it
        TInput::PostSystemEvent(EVENT_MOUSEUP, 1, x, y);
        Frame();
        Frame();
        return hitOnMap;
    };
    // Key 8 starts demolition although the build row is folded in.
    TInput::PostSystemEvent(EVENT_KEYDOWN, 56);
    Frame();
    Frame();
    TInput::PostSystemEvent(EVENT_KEYUP, 56);
    ASSERT_EQ(game->layer->destroymode, 1);
    ASSERT_EQ(tools.mft->cmdBuild->gadget->State, 0);

    // A click on the menu's build button over the road's tile: the row unfolds, the road stays.
    float sx = 0, sy = 0;
    game->layer->iso->ToIso(10.5f, 12.5f, sx, sy);
    tools.mft->SetPosition(sx, sy - 34);  // the build button's centre lies 34 pixels below the handle
    Frame();
    EXPECT_EQ(game->PointerOverGUI(int32_t(sx), int32_t(sy)), 1);
    EXPECT_EQ(click(int32_t(sx), int32_t(sy)), 0);
    EXPECT_EQ(tools.mft->cmdBuild->gadget->State, 1);
    EXPECT_TRUE(road->IsValid());
    EXPECT_EQ(click(600, 200), 1);  // open map

    // The same click through the touch pointer's OK button lands on the map at its spot.
    tools.mft->SetPosition(20, 20);
    tools.tmt->SHOW();
    tools.tmt->SetPosition(sx, sy);
    Frame();
    float okX = 0, okY = 0;
    tools.tmt->cmdOk->gadget->GetPosition(okX, okY, 1);
    EXPECT_EQ(click(int32_t(okX), int32_t(okY)), 0);
    // The gadget fires a frame after the release, the world takes the click the frame after, and
    // the demolition follows its confirmation.
    Frame();
    Frame();
    EXPECT_FALSE(road->IsValid());
    vesko::TMultiTouch::Deinit();
}

TEST_F(GameTest, F1OpensTheConsoleWhoseWordsReachTheWorld) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    TTextFieldTool& field = *game->guiElements->textFieldTool;
    ASSERT_EQ(field.isVisible(), 0);
    TInput::PostSystemEvent(EVENT_KEYDOWN, 112);
    Frame();
    game->_updateKeys();
    TInput::PostSystemEvent(EVENT_KEYUP, 112);
    ASSERT_EQ(field.isVisible(), 1);
    EXPECT_EQ(field.cmdTextField->tooltip, std::vector<std::string>{"Konsole"});
    // An unknown word keeps the console open; "notime" is taken and closes it.
    field.currentText = "nichts";
    field.onCmdOk();
    EXPECT_EQ(std::make_tuple(field.isVisible(), game->layer->cheat->immediatelyBuild), std::make_tuple(1, 0));
    field.currentText = "NoTime";
    field.onCmdOk();
    EXPECT_EQ(std::make_tuple(field.isVisible(), game->layer->cheat->immediatelyBuild), std::make_tuple(0, 1));
}

TEST(SaveFolderTest, SafeNamesKeepLettersDigitsDashesAndWriteOutGermanLetters) {
    const std::pair<std::string, std::string> rows[] = {
        {"Neustadt", "Neustadt"},
        {"  Bad Kösen  ", "Bad_Koesen"},
        {"ÄÖÜ äöü ß", "AeOeUe_aeoeue_ss"},
        {"a/b\\c:d*?\"<>|.e", "abcde"},
        {"../../etc/passwd", "etcpasswd"},
        {"Ève-Stadt_2", "ve-Stadt_2"},
        {"\xff\xfe", "Stadt"},
        {"", "Stadt"},
        {"   ", "Stadt"},
        {std::string(50, 'x'), std::string(40, 'x')},
        {std::string(39, 'x') + "ä", std::string(39, 'x') + "a"},
    };
    for (const auto& [name, safe] : rows) EXPECT_EQ(TSaveFolder::SafeName(name), safe) << name;
    EXPECT_EQ(TSaveFolder::PathOf("Neustadt"), "saves/Neustadt.sav");
}

TEST_F(GameTest, SavingThroughTheTextFieldWritesTheSafeNameAndSaysSoForThreeSeconds) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    InFolder here(dir.path);
    game->layer->setCityName("Groß Ärach");
    game->guiElements->runSaveTool();
    testing::internal::CaptureStdout();
    game->guiElements->textFieldTool->onCmdOk();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Gespeichert: Gross_Aerach\n");
    EXPECT_EQ(FileType("saves/Gross_Aerach.sav"), FILETYPE_FILE);
    EXPECT_EQ(game->message.lines, std::vector<std::string>{"Gespeichert: Gross_Aerach"});
    // Escape in the open field cancels the save and leaves the game running; then it ends it.
    game->guiElements->runSaveTool();
    for (int32_t stops : {0, 1}) {
        PressEscape();
        Frame();  // the key reaches the snapshot
        game->_updateKeys();
        Frame();
        EXPECT_EQ(std::make_pair(game->_haveToBeStopped, game->guiElements->textFieldTool->isVisible()),
                  std::make_pair(stops, 0));
    }
    EXPECT_EQ(ReadDir("saves").size(), 3u);  // ".", ".." and the one save
    Frame();                                 // shown from here on
    clock->Advance(2800);
    Frame();
    EXPECT_FALSE(game->message.lines.empty());
    clock->Advance(200);
    Frame();
    EXPECT_TRUE(game->message.lines.empty());
}

TEST_F(GameTest, AFailedSaveSaysSoAndLeavesWhatWasThere) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    InFolder here(dir.path);
    struct Case {
        const char* file;  // stays as it was
        std::function<void()> setUp;
    } cases[] = {
        {"saves", [] { Put("saves", "a file, not a folder"); }},
        {"saves/Neustadt.sav",
         [] {
             std::filesystem::remove("saves");
             std::filesystem::create_directories("saves/Neustadt.sav.tmp");  // no temporary file can be made
             Put("saves/Neustadt.sav", "an older save");
         }},
    };
    for (const auto& c : cases) {
        c.setUp();
        const std::string before = Bytes(c.file);
        testing::internal::CaptureStdout();
        EXPECT_EQ(game->saveCity("Neustadt"), 0) << c.file;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Speichern fehlgeschlagen: saves/Neustadt.sav\n");
        EXPECT_EQ(Bytes(c.file), before);
    }
}

TEST_F(GameTest, EachNewMonthSavesAndKeepsThePreviousAutosave) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    InFolder here(dir.path);
    const std::string latest = "saves/autosave.sav", older = "saves/autosave.1.sav";
    Frame();  // the first frame only notes the time, the second runs the first day
    Frame();
    EXPECT_EQ(FileType("saves"), FILETYPE_NONE);
    game->layer->dateMonth += 1;
    Frame();
    EXPECT_EQ(std::make_pair(FileType(latest), FileType(older)),
              std::make_pair(int(FILETYPE_FILE), int(FILETYPE_NONE)));
    EXPECT_EQ(game->message.lines, std::vector<std::string>{"Automatisch gespeichert: saves/autosave.sav"});
    Put(latest, "month 2");
    game->layer->dateMonth += 1;
    Frame();
    EXPECT_EQ(Bytes(older), "month 2");
    EXPECT_NE(Bytes(latest), "month 2");
    // The older one cannot move aside: the latest is not written over.
    Put(latest, "month 3");
    std::filesystem::remove(older);
    std::filesystem::create_directory(older);
    game->layer->dateMonth += 1;
    testing::internal::CaptureStdout();
    Frame();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Automatisches Speichern fehlgeschlagen\n");
    EXPECT_EQ(Bytes(latest), "month 3");
}

TEST_F(GameTest, TheLoadToolListsSavesNewestFirstByPagesAndARefusedFileKeepsTheCity) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    InFolder here(dir.path);
    TLoadTool& tool = *game->guiElements->loadTool;
    tool.SHOW();
    EXPECT_EQ(tool.shownNames(), std::vector<std::string>{"Keine Spielstände"});
    tool.hideTool();
    ASSERT_TRUE(CreateDir("saves/folder.sav"));
    Put("saves/notes.txt", "");
    Put("saves/half.sav.tmp", "");
    const auto now = std::filesystem::file_time_type::clock::now();
    for (int32_t i = 9; i >= 0; --i) {  // Stadt0 is the newest
        const std::string path = "saves/Stadt" + std::to_string(i) + ".sav";
        Put(path, "kein Spielstand");
        std::filesystem::last_write_time(path, now - std::chrono::hours(i));
    }
    tool.SHOW();
    const auto shown = [&](const std::shared_ptr<TGUIGadget>& g) { return g->gadget->isShowed() ? 1 : 0; };
    struct Page {
        std::vector<std::string> names;
        int32_t previous, next, lastBar;
    } pages[] = {{{"Stadt0", "Stadt1", "Stadt2", "Stadt3", "Stadt4", "Stadt5", "Stadt6", "Stadt7"}, 0, 1, 1},
                 {{"Stadt8", "Stadt9"}, 1, 0, 0}};
    for (const auto& p : pages) {
        EXPECT_EQ(tool.shownNames(), p.names);
        EXPECT_EQ(std::make_tuple(shown(tool.cmdPrv), shown(tool.cmdNext), shown(tool.cmdEntries.back())),
                  std::make_tuple(p.previous, p.next, p.lastBar));
        tool.nextPage();
    }
    // A touch on a name loads it; this file is refused, so the city goes on and the list stays.
    tool.onCmdEntry(1);
    ASSERT_EQ(game->message.lines.size(), 1u);
    EXPECT_TRUE(game->message.lines[0].starts_with("Laden fehlgeschlagen: ")) << game->message.lines[0];
    EXPECT_EQ(std::make_tuple(game->_haveToBeStopped, bool(game->nextWorld), tool.isVisible()),
              std::make_tuple(0, false, 1));
}

TEST_F(GameTest, SavingRefusesABlankNameAndAsksOnceBeforeWritingOverASave) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    InFolder here(dir.path);
    TTextFieldTool& field = *game->guiElements->textFieldTool;
    const std::string blank = "Bitte einen Namen eingeben", written = "Gespeichert: Neustadt",
                      asked = "Spielstand „Neustadt“ gibt es schon – nochmal Speichern zum Überschreiben";
    // Whether "Speichern" was chosen anew, the name confirmed, and then: whether the field is
    // still open, what the message line says and whether saves/Neustadt.sav was written.
    const struct {
        bool reopen;
        std::string name;
        int32_t open;
        std::string message;
        bool neustadt;
    } steps[] = {
        {true, "", 1, blank, false},
        {false, "   ", 1, blank, false},
        {false, "Neustadt", 0, written, true},  // a new save is written at once
        {true, "Neustadt", 1, asked, false},
        {false, "Neustadt", 0, written, true},  // the second OK writes over it
        {true, "Neustadt", 1, asked, false},
        {false, "Altstadt", 0, "Gespeichert: Altstadt", false},
        {true, "Neustadt", 1, asked, false},      // asked again in a new edit
        {false, " Neustadt ", 0, written, true},  // the same save
    };
    float money = 0;
    for (const auto& step : steps) {
        game->layer->setMoney(money += 100);  // every save differs from the one before
        const std::string before = Bytes("saves/Neustadt.sav");
        if (step.reopen) game->guiElements->runSaveTool();
        field.currentText = step.name;
        game->message.lines.clear();
        field.onCmdOk();
        EXPECT_EQ(field.isVisible(), step.open) << step.name;
        EXPECT_EQ(game->message.lines, std::vector<std::string>{step.message}) << step.name;
        EXPECT_EQ(Bytes("saves/Neustadt.sav") != before, step.neustadt) << step.name;
    }
}

TEST_F(GameTest, TheLoadToolShowsEachSavesNameDateInhabitantsAndMoney) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    InFolder here(dir.path);
    TLayer& world = *game->layer;
    for (int32_t i = 0; i < 3; ++i) world.habitantPool->_addActiveHabitant(std::make_shared<THabitant>());
    world.setMoney(1234.5f);
    world.dateWeekDay = 2;
    world.dateDay = 5;
    world.dateMonth = 3;
    world.dateYear = 1;
    ASSERT_EQ(game->saveCity("Altstadt"), 1);
    // A save from before the count was kept: the same without it.
    auto older = vesko::TDataFile::Load("saves/Altstadt.sav");
    ASSERT_TRUE(older && older->ReadIn());
    auto main = older->findHeader("main", 0);
    ASSERT_TRUE(main && main->findFlag("inhabitants"));
    main->remFlag(main->findFlag("inhabitants"));
    older->setFilename("saves/Frueher.sav");
    ASSERT_TRUE(older->WriteOut() && older->Save());
    Put("saves/Kaputt.sav", "kein Spielstand");
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& [name, hours] : {std::pair{"Altstadt", 0}, std::pair{"Frueher", 1}, std::pair{"Kaputt", 2}})
        std::filesystem::last_write_time("saves/" + std::string(name) + ".sav", now - std::chrono::hours(hours));
    TLoadTool& tool = *game->guiElements->loadTool;
    tool.SHOW();
    EXPECT_EQ(tool.shownEntries(), (std::vector<TLoadTool::TShownEntry>{
                                       {"Altstadt", "1.234,50", "Mi. 5.3. Jahr 1", "3 Einwohner"},
                                       {"Frueher", "1.234,50", "Mi. 5.3. Jahr 1", ""},
                                       {"Kaputt", "", "", ""},
                                   }));
}

TEST_F(GameTest, ALoadedWorldKeepsItsNamesMoneyCameraAndSpeed) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    auto world = TLayer::Create(32, 32, vesko::TFastRandom::Create(3));
    ASSERT_TRUE(world);
    world->setCityName("Altstadt");
    world->setMayorName("Berta");
    world->setMoney(1234.0f);
    world->setGameSpeed(TMainTool::gameSpeeds[4]);
    world->SetPosition(100, 50, 0, 0);
    const float camX = world->GetX(), camY = world->GetY();
    auto other = TLayer::Create(8, 8, vesko::TFastRandom::Create(4));  // made later: the current one
    game = TGame::CreateLoaded(world, app.get());
    ASSERT_TRUE(game && game->guiElements);
    EXPECT_EQ(TLayer::Current(), world.get());
    EXPECT_EQ(std::make_tuple(world->getCityName(), world->getMayorName(), world->getMoney()),
              std::make_tuple(std::string("Altstadt"), std::string("Berta"), 1234.0f));
    EXPECT_EQ(std::make_pair(world->GetX(), world->GetY()), std::make_pair(camX, camY));
    EXPECT_EQ(game->guiElements->mainTool->getSelectedSpeedButton(), 4);
    EXPECT_EQ(world->getGameSpeed(), TMainTool::gameSpeeds[4]);
    EXPECT_EQ(world->getRealMoney(-500), "-500,00");  // the game's callbacks are connected
    other->Destroy();
}

TEST_F(GameTest, ASavedCityIsLoadedWhileTheGameRunsAndTakenWhenItEnds) {
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    InFolder here(dir.path);
    game->layer->setCityName("Altstadt");
    game->layer->setMoney(4321.0f);
    ASSERT_EQ(game->saveCity("Altstadt"), 1);
    ASSERT_EQ(game->loadCity("saves/Altstadt.sav"), 1);
    EXPECT_EQ(game->_haveToBeStopped, 1);
    EXPECT_EQ(game->nextMessage, "Geladen: Altstadt");
    ASSERT_TRUE(game->nextWorld);
    EXPECT_NE(game->nextWorld, game->layer);
    EXPECT_EQ(std::make_pair(game->nextWorld->getCityName(), game->nextWorld->getMoney()),
              std::make_pair(std::string("Altstadt"), 4321.0f));
}

TEST_F(GameTest, AStartCityThatCannotBeLoadedGivesTheReasonAndNoWorld) {
    auto menu = TMenu::Create(app.get());
    std::string message = "old";
    EXPECT_FALSE(menu->_loadStartCity(message));
    EXPECT_EQ(message, "");
    app->loadPath = dir.File("missing.sav");
    EXPECT_FALSE(menu->_loadStartCity(message));
    EXPECT_TRUE(message.starts_with("Laden fehlgeschlagen")) << message;
}

TEST_F(GameTest, TheFirstClickAfterSwitchingToolsReachesTheMapAndPanelsKeepTheirs) {
    TGadgets::SetDefaults();
    app->_prepareGUI();
    vesko::TMultiTouch::Init(1, 1, 0);
    const auto plugin = std::make_shared<TStreetPlugin>();  // outlives its street, as in the registry
    plugin->Name = "Weg";
    TStreet::streets = {TStreet::CreateFromPlugin(plugin)};
    TStreet::streets[0]->price = 1;
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    TGameGUIElements& tools = *game->guiElements;
    TLayer& world = *game->layer;
    const auto press = [&](int32_t button, int32_t x, int32_t y) {
        TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, x, y);
        Frame();
        TInput::PostSystemEvent(EVENT_MOUSEDOWN, button, x, y);
        Frame();  // the press reaches the snapshot
        Frame();  // the world and the panels take it
    };
    const auto release = [&](int32_t button, int32_t x, int32_t y) {
        TInput::PostSystemEvent(EVENT_MOUSEUP, button, x, y);
        for (int32_t i = 0; i < 3; ++i) Frame();  // a button fires the frame after the release
    };
    const auto click = [&](float x, float y) {
        press(1, int32_t(x), int32_t(y));
        release(1, int32_t(x), int32_t(y));
    };
    const auto at = [&](float mx, float my) {
        float sx = 0, sy = 0;
        world.iso->ToIso(mx, my, sx, sy);
        return std::pair{sx, sy};
    };
    auto kind = std::make_shared<TPicturePlugin>();
    kind->SetStructure("residentalbuilding");
    kind->Name = "Wohnhaus";
    kind->SizeX[0] = kind->SizeY[0] = 1;
    ASSERT_TRUE(world.BuildingLayer->_SetTile(10, 13, kind));

    // Info mode: a click on the house opens its info, whose close button puts it away.
    game->infoMode = 1;
    const auto [hx, hy] = at(10.5f, 13.5f);
    click(hx, hy);
    ASSERT_EQ(tools.buildingTool->isVisible(), 1);
    for (int32_t i = 0; i < 40; ++i) Frame();  // its opening spiral ends
    const auto& close = *tools.buildingTool->cmdClose->gadget;
    click(close.GetX(1), close.GetY(1));
    ASSERT_EQ(tools.buildingTool->isVisible(), 0);

    // Key 1: the road tool; the very first click on the map is the road's start, the second its end.
    TInput::PostSystemEvent(EVENT_KEYDOWN, 49);
    Frame();
    Frame();
    TInput::PostSystemEvent(EVENT_KEYUP, 49);
    ASSERT_EQ(std::make_pair(world.roadmode, game->infoMode), std::make_pair(1, 0));
    const auto [ax, ay] = at(12.5f, 14.5f);
    click(ax, ay);
    EXPECT_EQ(std::make_tuple(world.rm_mode, world.rm_sx, world.rm_sy), std::make_tuple(1, 12, 14));
    const auto [bx, by] = at(16.5f, 14.5f);
    click(bx, by);
    EXPECT_NE(world.RoadLayer->_GetTile(14, 14), nullptr);

    // A click on the road tool's panel stays the panel's: no road starts under it, and a
    // right-button drag begun on the panel leaves the map where it is.
    for (int32_t i = 0; i < 40; ++i) Frame();
    const auto& level = *tools.buildTool->cmdTechlevel[0]->gadget;
    click(level.GetX(1), level.GetY(1));
    EXPECT_EQ(world.rm_mode, 0);
    const float panX = world.iso->moveX, panY = world.iso->moveY;
    press(2, int32_t(level.GetX(1)), int32_t(level.GetY(1)));
    TInput::PostSystemEvent(EVENT_MOUSEMOVE, 0, int32_t(level.GetX(1)) + 80, int32_t(level.GetY(1)) + 40);
    Frame();
    Frame();
    EXPECT_EQ(std::make_pair(world.iso->moveX, world.iso->moveY), std::make_pair(panX, panY));
    release(2, int32_t(level.GetX(1)) + 80, int32_t(level.GetY(1)) + 40);
    vesko::TMultiTouch::Deinit();
}

TEST_F(GameTest, AutosaveOffSkipsTheMonthlySaveButLeavingStillSaves) {
    InFolder here(dir.path);
    for (const int32_t autosave : {1, 0}) {
        TSettings::Autosave = autosave;
        std::filesystem::remove_all("saves");
        game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
        ASSERT_TRUE(game);
        Frame();
        Frame();
        game->layer->dateMonth += 1;
        Frame();
        EXPECT_EQ(FileType("saves/autosave.sav") == FILETYPE_FILE, autosave != 0) << autosave;
        game->onExit();
        EXPECT_EQ(FileType("saves/autosave.sav"), FILETYPE_FILE) << autosave;
        game.reset();
    }
    TSettings::SetDefaults();
}

TEST_F(GameTest, TheOptionsRowOpensTheSettingsAndANewScaleLaysTheGameOutAfterTheFrame) {
    std::string options;
    ASSERT_TRUE(LoadBytes("cfg/options.cfg", options));
    InFolder here(dir.path);
    ASSERT_TRUE(CreateDir("cfg"));
    Put("cfg/options.cfg", options);
    TGadgets::SetDefaults();
    app->_prepareGUI();
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game && game->guiElements);
    Frame();
    for (const auto& g : TGUIGadget::All()) {
        if (!g->tooltip.empty() && g->tooltip[0] == "Einstellungen") g->callGameFunc();
    }
    TSettingsTool& tool = *game->guiElements->settingsTool;
    ASSERT_TRUE(tool.isVisible());
    for (const auto& [direction, factor] : {std::pair{+1, 1.25f}, {+1, 1.5f}, {-1, 1.25f}}) {
        const int32_t generation = app->sizeGeneration;
        const float before = TInterfaceSpace::Factor();
        tool.step(TSettingsChoices::InterfaceScale, direction);
        EXPECT_EQ(TInterfaceSpace::Factor(), before);
        Frame();
        Frame();
        EXPECT_EQ(std::make_tuple(TInterfaceSpace::Factor(), app->sizeGeneration, game->laidOutGeneration),
                  std::make_tuple(factor, generation + 1, generation + 1));
        EXPECT_EQ(std::make_pair(app->gui->xmax, app->gui->ymax),
                  std::make_pair(TInterfaceSpace::Width(), TInterfaceSpace::Height()));
        float l = 0, t = 0, r = 0, b = 0;
        ASSERT_TRUE(tool.GetBounds(l, t, r, b));
        EXPECT_LE(b, float(app->gui->ymax)) << factor;
    }
    // A window size chosen in the panel is what the file holds, so leaving does not write over it.
    tool.step(TSettingsChoices::WindowSize, +1);
    EXPECT_EQ(std::make_pair(app->savedWidth, app->savedHeight),
              std::make_pair(TSettings::ResolutionHorizontal, TSettings::ResolutionVertical));
    TSettings::SetDefaults();
    TSettings::ReadIn("cfg");
    EXPECT_EQ(std::make_tuple(TSettings::UIScale, TSettings::ResolutionHorizontal), std::make_tuple(1.25f, 800));
    game.reset();
    TInterfaceSpace::SetFactor(1);
    TSettings::SetDefaults();
}

namespace {

// A director over a recorder and a one-sample sound of every name.
TRecordingAudioBackend* HearWithRecorder(TApplication& app) {
    auto recorder = std::make_unique<TRecordingAudioBackend>();
    TRecordingAudioBackend* heard = recorder.get();
    std::vector<std::shared_ptr<const TSound>> sounds;
    for (const char* name : TSoundDirector::names) sounds.push_back(std::make_shared<TSound>(TSound{name, {1}}));
    app.sound = std::make_unique<TSoundDirector>(std::move(recorder), sounds);
    TSettings::Sound = 1;
    TSettings::SoundVolume = 80;
    TSettings::AmbienceVolume = 50;
    return heard;
}

TEST_F(GameTest, ASessionSoundsFromItsPlacesSofterZoomedOutAndAtPauseOnlyTheInterfaceAndWeather) {
    TRecordingAudioBackend* heard = HearWithRecorder(*app);
    game = TGame::CreateFromImage(app.get(), dir.File("map.png"));
    ASSERT_TRUE(game);
    Frame();
    TLayer& world = *game->layer;
    const auto panOf = [&](int32_t x, int32_t y) {
        float sx = 0, sy = 0;
        world.iso->ToIso(float(x) + 0.5f, float(y) + 0.5f, sx, sy);
        return TSoundDirector::PanAt(sx, float(world.viewWidth));
    };
    const auto demolishTree = [&](int32_t x, int32_t y) {
        world._PlantTree(x, y, 0);
        world.RunCommand(std::make_unique<TDestroyCommand>(x, y, 1));
    };
    const float left = panOf(2, 2), right = panOf(29, 29);
    heard->ClearLog();
    demolishTree(2, 2);                                              // towards the left of the screen
    demolishTree(29, 29);                                            // towards the right
    world.RunCommand(std::make_unique<TDestroyCommand>(10, 10, 1));  // nothing there: refused
    world.SetMapScale(0.5f, 0.5f, 1);
    const float middle = panOf(16, 16);
    demolishTree(16, 16);
    world.setGameSpeed(0);
    demolishTree(16, 16);                                            // paused: the city is silent ...
    world.RunCommand(std::make_unique<TDestroyCommand>(10, 10, 1));  // ... the interface is not
    TApplication::_clicked(app.get());
    struct TExpected {
        const char* name;
        float volume, pan;
    } expected[] = {
        {"demolish", 0.8f, left},   {"demolish", 0.8f, right}, {"refused", 0.8f, 0.0f},
        {"demolish", 0.4f, middle}, {"refused", 0.8f, 0.0f},   {"click", 0.8f, 0.0f},
    };
    ASSERT_EQ(heard->plays.size(), std::size(expected)) << testing::PrintToString(heard->Names());
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(heard->plays[i].name, expected[i].name) << i;
        EXPECT_NEAR(heard->plays[i].volume, expected[i].volume, 1e-4) << i;
        EXPECT_NEAR(heard->plays[i].pan, expected[i].pan, 1e-4) << i;
    }
    EXPECT_LT(heard->plays[0].pan, -0.1f);
    EXPECT_GT(heard->plays[1].pan, 0.1f);

    // A storm at pause: rain and the storm's wind go on, the city's loops are silent.
    world.WeatherLayer->currentMode = world.WeatherLayer->lastMode = 6;
    game->censusCountdown = 0;
    Frame();
    ASSERT_NE(heard->Loop("rain"), nullptr);
    EXPECT_NEAR(heard->Loop("rain")->volume, 0.5f, 1e-4);
    ASSERT_NE(heard->Loop("wind"), nullptr);
    EXPECT_NEAR(heard->Loop("wind")->volume, 0.35f, 1e-4);
    for (const char* silent : {"birds", "hum", "traffic"}) {
        const auto* loop = heard->Loop(silent);
        EXPECT_TRUE(!loop || loop->volume == 0.0f) << silent;
    }
    // "Sound" off: every loop stops and nothing new plays.
    TSettings::Sound = 0;
    heard->ClearLog();
    Frame();
    TApplication::_clicked(app.get());
    for (int32_t i = TSoundDirector::firstLoop; i < TSoundDirector::SoundCount; ++i)
        EXPECT_EQ(heard->Loop(TSoundDirector::names[size_t(i)]), nullptr) << TSoundDirector::names[size_t(i)];
    EXPECT_TRUE(heard->plays.empty());
    TSettings::SetDefaults();
}

TEST(SoundDirectorTest, AmbienceFollowsNatureCityTrafficAndWeather) {
    struct TCase {
        const char* what;
        TSoundView view;
        TSoundDirector::TLevels levels;  // birds, wind, hum, traffic, rain
    } cases[] = {
        {"forest", {1.0f, 0, 0, 0, 0, false}, {1.0f, 0.6f, 0, 0, 0}},
        {"forest in rain", {1.0f, 0, 0, 1.0f, 0, false}, {0, 0.6f, 0, 0, 1.0f}},
        {"half a city, jammed", {0, 30, 50, 0, 0, false}, {0, 0, 0.5f, 1.0f, 0}},
        {"a big city", {0, 600, 10, 0, 0, false}, {0, 0, 1.0f, 0.4f, 0}},
        {"paused in a storm", {1.0f, 60, 25, 1.0f, 1.0f, true}, {0, 0.7f, 0, 0, 1.0f}},
    };
    for (const TCase& c : cases) {
        const TSoundDirector::TLevels levels = TSoundDirector::AmbienceLevels(c.view);
        for (size_t i = 0; i < levels.size(); ++i) EXPECT_NEAR(levels[i], c.levels[i], 1e-5) << c.what << " " << i;
    }
    EXPECT_EQ(TSoundDirector::Softening(2.0f), 1.0f);
    EXPECT_EQ(TSoundDirector::Softening(0.5f), 0.5f);
    EXPECT_EQ(TSoundDirector::Softening(0.1f), TSoundDirector::softestScale);
    EXPECT_EQ(TSoundDirector::PanAt(320, 640), 0.0f);
    EXPECT_EQ(TSoundDirector::PanAt(-50, 640), -TSoundDirector::widestPan);
    EXPECT_EQ(TSoundDirector::PanAt(640, 640), TSoundDirector::widestPan);
}

TEST(SoundDirectorTest, WithoutDeviceOrSoundsEverythingIsQuietlyIgnored) {
    TSoundDirector silent(nullptr, {});
    silent.Interface(TSoundDirector::Click);
    silent.Frame({1.0f, 60, 25, 1.0f, 1.0f, false}, 0);
    silent.Silence();
    auto recorder = std::make_unique<TRecordingAudioBackend>();
    TRecordingAudioBackend* heard = recorder.get();
    TSoundDirector withoutFiles(std::move(recorder), {});
    withoutFiles.Interface(TSoundDirector::Click);
    withoutFiles.Frame({1.0f, 60, 25, 1.0f, 1.0f, false}, 0);
    EXPECT_TRUE(heard->plays.empty());
}

}  // namespace
