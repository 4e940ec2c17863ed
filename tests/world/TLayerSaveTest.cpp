// A saved world: the map's size and view, then the ground, road and building sections, in that
// order, written through a temporary file so a failed save leaves an older file alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/TempDir.h"
#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"
#include "persistence/TFileFlag.h"
#include "persistence/TFileHeader.h"
#include "plugins/TStreetPlugin.h"
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
                                               "habitants", "cars", "influence", "weather", "calendar"}));
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
                                                                      {"version", "1"}}));
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

}  // namespace
