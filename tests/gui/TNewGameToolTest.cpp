#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gui/TNewGameTool.h"
#include "gui/TTextFieldTool.h"
#include "platform/TPixmap.h"
#include "tests/gui/GUIFixture.h"
#include "tests/support/TempDir.h"

namespace {
void WriteMap(const std::string& path, int32_t w, int32_t h) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    auto pix = TPixmap::Create(w, h);
    ASSERT_TRUE(SavePixmapPNG(*pix, path));
}

struct TStarted {
    int32_t count = 0;
    TNewGame game;
};

void Started(void* context, const TNewGame& game) {
    auto* s = static_cast<TStarted*>(context);
    ++s->count;
    s->game = game;
}
}  // namespace

// Map images in nested folders are offered sorted by path; what is no picture, or too small or
// too large for a city, is left out.
TEST(NewGameMaps, UsableImagesOnlySortedByPath) {
    TempDir dir;
    WriteMap(dir.File("b/128/zwei.png"), 128, 128);
    WriteMap(dir.File("a/eins.png"), 64, 32);
    WriteMap(dir.File("klein.png"), TNewGameTool::minMapSize - 1, 64);
    WriteMap(dir.File("gross.png"), TNewGameTool::maxMapSize + 1, 64);
    std::ofstream(dir.File("kaputt.png")) << "no picture";
    std::ofstream(dir.File("notiz.txt")) << "not a map";
    const auto maps = TNewGameTool::ListMaps(dir.path);
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].path, dir.File("a/eins.png"));
    EXPECT_EQ(maps[0].name, "eins");
    EXPECT_EQ(maps[0].width, 64);
    EXPECT_EQ(maps[0].height, 32);
    EXPECT_EQ(maps[1].name, "zwei");
    EXPECT_TRUE(TNewGameTool::ListMaps(dir.File("fehlt")).empty());
}

// Starting at once gives the defaults; each bar steps through its values and round again, and the
// painted map is offered after the images.
TEST_F(GUITest, NewGamePanelStepsThroughItsChoices) {
    TStarted started;
    TNewGame defaults;
    defaults.seed = 42;
    auto tool = TNewGameTool::Create(gui, 20, nullptr, Started, &started, nullptr, defaults);
    ASSERT_TRUE(tool);
    tool->SHOW();
    ASSERT_FALSE(tool->maps.empty());
    EXPECT_EQ(tool->maps[tool->mapIndex].path, TNewGame::startMap);
    tool->start();
    ASSERT_EQ(started.count, 1);
    EXPECT_EQ(started.game.mapPath, TNewGame::startMap);
    EXPECT_EQ(started.game.seed, 42u);

    // Back from the first image comes the painted map, whose size steps 128 → 256 → 512 → 128.
    tool->mapIndex = 0;
    tool->nextMap(-1);
    EXPECT_TRUE(tool->paintedMap());
    EXPECT_EQ(tool->choice.mapPath, "");
    EXPECT_EQ(tool->rowTexts()[0], "Karte: Zufällige Karte");
    const int32_t sizes[] = {512, 128, 256};
    for (int32_t size : sizes) {
        tool->nextSize();
        EXPECT_EQ(tool->choice.mapSize, size);
    }
    EXPECT_EQ(tool->rowTexts()[1], "Größe: 256 × 256");
    tool->nextMap(1);
    EXPECT_EQ(tool->mapIndex, 0u);

    tool->nextRules();
    EXPECT_EQ(tool->choice.rules, "classic");
    EXPECT_EQ(tool->rowTexts()[5], "Regeln: Klassisch");
    tool->nextRules();
    EXPECT_EQ(tool->choice.rules, "growth");
    const float money[] = {250000.0f, 50000.0f, 100000.0f};
    for (float m : money) {
        tool->nextMoney();
        EXPECT_EQ(tool->choice.money, m);
    }
    tool->Destroy();
}

// Typed names and seeds: blanks at the ends go, an empty name and a seed that is no 32-bit whole
// number are refused and change nothing.
TEST_F(GUITest, NewGamePanelTakesTypedNamesAndSeeds) {
    auto tool = TNewGameTool::Create(gui, 20, nullptr, nullptr, nullptr, nullptr, TNewGame());
    tool->SHOW();
    struct TCase {
        size_t row;
        const char* text;
        int32_t accepted;
        const char* shown;
    } cases[] = {
        {2, " 4294967295 ", 1, "Startwert: 4294967295"}, {2, "4294967296", 0, "Startwert: 4294967295"},
        {2, "12a", 0, "Startwert: 4294967295"},          {2, "", 0, "Startwert: 4294967295"},
        {3, "  Neustadt ", 1, "Stadt: Neustadt"},        {3, "   ", 0, "Stadt: Neustadt"},
        {4, "Ilse", 1, "Bürgermeister: Ilse"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(tool->acceptText(c.row, c.text), c.accepted) << c.text;
        EXPECT_EQ(tool->rowTexts()[c.row], c.shown) << c.text;
    }
    tool->Destroy();
}

// Without any map image the painted map is chosen, so "Starten" always has a map to start.
TEST_F(GUITest, NewGamePanelWithoutMapImagesPaintsTheMap) {
    TempDir dir;
    TStarted started;
    auto tool = TNewGameTool::Create(gui, 20, nullptr, Started, &started, nullptr, TNewGame());
    tool->mapsFolder = dir.path;
    tool->SHOW();
    EXPECT_TRUE(tool->maps.empty());
    tool->start();
    EXPECT_EQ(started.game.mapPath, "");
    tool->Destroy();
}
