// A saved world: the map's size and view, then the ground, road and building sections, in that
// order, written through a temporary file so a failed save leaves an older file alone; and the
// summary the list of saves reads from the file's start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "../support/TempDir.h"
#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"
#include "persistence/TFileFlag.h"
#include "persistence/TFileHeader.h"
#include "platform/TStream.h"
#include "plugins/TStreetPlugin.h"
#include "world/TCitySummary.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

namespace {

class LayerSaveTest : public testing::Test {
protected:
    void SetUp() override {
        TLayer::Init(640, 480);
        layer = TLayer::Create(24, 16, vesko::TFastRandom::Create(3));
        ASSERT_TRUE(layer);
    }
    void TearDown() override {
        layer->Destroy();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
    }
    TempDir dir;
    std::shared_ptr<TLayer> layer;
};

TEST_F(LayerSaveTest, SectionsAndFlagsOfASmallWorldWithThreeRoads) {
    const auto plugin = std::make_shared<TStreetPlugin>();  // outlives its street, as in the registry
    auto street = TStreet::CreateFromPlugin(plugin);
    for (int32_t x : {3, 4, 5}) layer->RoadLayer->_SetTile(street, x, 7, {});
    layer->iso->moveX = -12.5f;
    layer->iso->moveY = 40.0f;
    layer->iso->ScaleX = layer->iso->ScaleY = 2.0f;
    ASSERT_EQ(layer->Save(dir.File("city.dat")), 1);

    auto file = vesko::TDataFile::Load(dir.File("city.dat"));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->ReadIn(), 1);
    std::vector<std::string> names;
    for (int32_t i = 0; i < file->countHeaders(); ++i) names.push_back(file->getHeader(i)->GetName());
    // The described sections first and in order; the rest of the city follows them.
    EXPECT_EQ(names, (std::vector<std::string>{"main", "ground", "road", "road0", "road1", "road2", "buildung",
                                               "habitants", "cars", "influence", "weather", "calendar", "history"}));
    std::vector<std::pair<std::string, std::string>> main;
    for (const auto& f : file->getHeader(0)->Flags) main.emplace_back(f->getName(), f->getValue());
    main.resize(8);
    EXPECT_EQ(main, (std::vector<std::pair<std::string, std::string>>{{"width", "24"},
                                                                      {"height", "16"},
                                                                      {"camx", "-12.5000000"},
                                                                      {"camy", "40.0000000"},
                                                                      {"scalex", "2.00000000"},
                                                                      {"scaley", "2.00000000"},
                                                                      {"game", "Vallmora"},
                                                                      {"version", std::to_string(TLayer::saveVersion)}}));
    file->findHeader("road", 1);
    file->findFlag("count", 1);
    EXPECT_EQ(file->getFlagValueInt(-1), 3);
    // Each road's section names its tile; the second lies at (4, 7).
    auto road1 = file->findHeader("road1", 0);
    ASSERT_TRUE(road1);
    EXPECT_EQ(road1->findFlag("x")->getValue(), "4");
    EXPECT_EQ(road1->findFlag("y")->getValue(), "7");
}

TEST_F(LayerSaveTest, AFailedSaveLeavesTheOlderFileAsItWas) {
    ASSERT_EQ(layer->Save(dir.File("city.dat")), 1);
    const auto size = std::filesystem::file_size(dir.File("city.dat"));
    EXPECT_EQ(layer->Save(dir.File("missing/folder/city.dat")), 0);
    std::filesystem::create_directory(dir.File("taken.dat"));  // a folder where the file should go
    EXPECT_EQ(layer->Save(dir.File("taken.dat")), 0);
    EXPECT_EQ(std::filesystem::file_size(dir.File("city.dat")), size);
}

TEST_F(LayerSaveTest, ASummaryReadsNamesMoneyDateAndInhabitantsFromTheStartOfASave) {
    layer->setMayorName("Berta");
    layer->setMoney(-250.5f);
    layer->dateWeekDay = 4;
    layer->dateDay = 28;
    layer->dateMonth = 12;
    layer->dateYear = 3;
    for (int32_t i = 0; i < 2; ++i) layer->habitantPool->_addActiveHabitant(std::make_shared<THabitant>());
    // A name for "main" alone, then a name so long that "main" needs more than the start of the
    // file is read at first.
    for (const std::string& city : {std::string("Altstadt"), std::string(40000, 'x')}) {
        layer->setCityName(city);
        ASSERT_EQ(layer->Save(dir.File("city.sav")), 1);
        TCitySummary s;
        ASSERT_TRUE(TLayer::ReadSummary(dir.File("city.sav"), s)) << city.size();
        EXPECT_EQ(std::make_tuple(s.city, s.mayor, s.money, s.inhabitants), std::make_tuple(city, "Berta", -250.5f, 2));
        EXPECT_EQ(std::make_tuple(s.dateWeekDay, s.dateDay, s.dateMonth, s.dateYear), std::make_tuple(4, 28, 12, 3));
    }
    layer->habitantPool->activeHabitant.Clear();
}

TEST_F(LayerSaveTest, ASummaryOfAFileThatIsNoReadableSaveIsRefused) {
    layer->setCityName("Altstadt");
    ASSERT_EQ(layer->Save(dir.File("city.sav")), 1);
    std::string bytes;
    ASSERT_TRUE(LoadBytes(dir.File("city.sav"), bytes));
    // A change to "main", and whether a summary still comes of it.
    const auto changed = [](const char* flag, const char* value) {
        return [=](vesko::TFileHeader& main) { main.findFlag(flag)->value = value; };
    };
    const struct {
        const char* what;
        std::function<void(vesko::TFileHeader&)> change;
        bool read;
        int32_t inhabitants;
    } cases[] = {
        {"as saved", [](vesko::TFileHeader&) {}, true, 0},
        {"written before the count", [](vesko::TFileHeader& m) { m.remFlag(m.findFlag("inhabitants")); }, true, -1},
        {"another game", changed("game", "Sim"), false, -1},
        {"a newer format", changed("version", "99"), false, -1},
        {"a broken date", changed("day", "1 0.5 3"), false, -1},
        {"money that is no number", changed("money", "viel"), false, -1},
        {"a negative count", changed("inhabitants", "-3"), false, -1},
    };
    for (const auto& c : cases) {
        auto file = vesko::TDataFile::Load(dir.File("city.sav"));
        ASSERT_TRUE(file && file->ReadIn());
        c.change(*file->getHeader(0));
        file->setFilename(dir.File("changed.sav"));
        ASSERT_TRUE(file->WriteOut() && file->Save());
        TCitySummary s;
        EXPECT_EQ(TLayer::ReadSummary(dir.File("changed.sav"), s), c.read) << c.what;
        EXPECT_EQ(std::make_pair(s.city, s.inhabitants),
                  std::make_pair(std::string(c.read ? "Altstadt" : ""), c.inhabitants))
            << c.what;
    }
    // Cut short, empty, missing, or no data file at all.
    for (const std::string& content : {bytes.substr(0, 60), std::string(), std::string("kein Spielstand")}) {
        std::ofstream(dir.File("other.sav"), std::ios::binary) << content;
        TCitySummary s;
        EXPECT_FALSE(TLayer::ReadSummary(dir.File("other.sav"), s)) << content.size();
    }
    TCitySummary s;
    EXPECT_FALSE(TLayer::ReadSummary(dir.File("missing.sav"), s));
}

}  // namespace
