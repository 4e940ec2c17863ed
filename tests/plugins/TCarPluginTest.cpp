#include <gtest/gtest.h>

#include "platform/TImage.h"
#include "plugins/TCarPlugin.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TSoundPlugin.h"
#include "tests/plugins/PluginFiles.h"

using namespace PluginFiles;

namespace {

class TCarPluginTest : public PluginKindTest {
protected:
    void SetUp() override {
        PluginKindTest::SetUp();
        Png(dir.File("car.png"), 32 * 4, 24);
    }
    std::shared_ptr<TCarPlugin> Car(const std::string& id) {
        return std::dynamic_pointer_cast<TCarPlugin>(TPlugin::Get(id));
    }
};

using TCars = std::vector<std::shared_ptr<TCarVehicle>>;
using TVehicles = std::vector<std::shared_ptr<TVehicle>>;

}  // namespace

TEST_F(TCarPluginTest, ImagesAreCutIntoFourDirectionsAndMissingOnesSkipped) {
    Png(dir.File("van.png"), 32 * 4, 30);
    EXPECT_EQ(LoadFile("c.ini",
                       Record({"plugintyp", "car", "id", "c", "name", "Kombi", "images", "gone.png;;car.png;van.png"})),
              "");
    const auto c = Car("c");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Name, "Kombi");
    ASSERT_EQ(c->image.size(), 2u);
    EXPECT_EQ(c->image[0]->FrameCount(), 4);
    EXPECT_EQ(c->image[0]->width, 32);
    EXPECT_EQ(c->image[1]->height, 30);
    EXPECT_FLOAT_EQ(c->image[0]->handle_x, 0.0f);
    EXPECT_FLOAT_EQ(c->image[0]->handle_y, 16.0f);
    EXPECT_FLOAT_EQ(c->image[1]->handle_y, 22.0f);

    // Defaults: every level, every structure type.
    EXPECT_EQ(c->techLevel, (std::array<uint8_t, 6>{1, 1, 1, 1, 1, 1}));
    for (uint8_t flag : {c->bSTGround, c->bSTPublicPark, c->bSTRoad, c->bSTResidentalBuilding, c->bSTCommercialBuilding,
                         c->bSTIndustrialBuilding, c->bSTPublicBuilding, c->bSTAward, c->bSTWater}) {
        EXPECT_EQ(flag, 1);
    }
    // The vehicle shares the plugin's pictures and levels.
    ASSERT_TRUE(c->carVehicle);
    EXPECT_EQ(c->carVehicle->id, "c");
    EXPECT_EQ(c->carVehicle->Name, "Kombi");
    EXPECT_EQ(c->carVehicle->picture, c->image);
    EXPECT_EQ(c->carVehicle->level, c->techLevel);
    EXPECT_EQ(c->carVehicle->speed, 1.0f);
    EXPECT_EQ(c->carVehicle->structureTypes,
              (std::vector<std::string>{"ground", "publicpark", "road", "residentalbuilding", "commercialbuilding",
                                        "industrialbuilding", "publicbuilding", "award", "water"}));
}

TEST_F(TCarPluginTest, CarWithoutAnyPictureIsReportedWithItsList) {
    Png(dir.File("narrow.png"), 3, 24);
    const std::string out =
        LoadFile("c.ini", Record({"plugintyp", "car", "id", "none", "images", "gone.png;narrow.png"}) +
                              Record({"plugintyp", "car", "id", "empty"}));
    EXPECT_EQ(out, Report(dir.File("c.ini"), "Autobild(er) konnte(n) nicht geladen werden! (gone.png;narrow.png)") +
                       Report(dir.File("c.ini"), "Autobild(er) konnte(n) nicht geladen werden! ()"));
    EXPECT_TRUE(TPlugin::PluginList().empty());
    // A rejected car leaves no vehicle behind.
    EXPECT_TRUE(TVehicle::AllVehicles().empty());
    EXPECT_TRUE(TCarVehicle::CarsOfLevel(0).empty());
}

TEST_F(TCarPluginTest, LevelsAndKindsPickOnlyKnownEntries) {
    LoadFile("c.ini", Record({"plugintyp", "car", "id", "c", "images", "car.png", "levels", "0;7;3;x;-1", "kinds",
                              "ROAD; water;Award;park;"}));
    const auto c = Car("c");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->techLevel, (std::array<uint8_t, 6>{0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(c->bSTRoad, 1);
    EXPECT_EQ(c->bSTAward, 1);
    // " water" is not trimmed, "park" is no structure type.
    EXPECT_EQ(c->bSTWater, 0);
    EXPECT_EQ(c->bSTPublicPark, 0);
    EXPECT_EQ(c->bSTGround, 0);
    EXPECT_EQ(c->carVehicle->structureTypes, (std::vector<std::string>{"road", "award"}));
}

TEST_F(TCarPluginTest, VehiclesAreListedByLevelTypeAndUntyped) {
    LoadFile("c.ini",
             Record({"plugintyp", "car", "id", "a", "images", "car.png", "levels", "1;2", "kinds", "award;road"}) +
                 Record({"plugintyp", "car", "id", "b", "images", "car.png", "levels", "2;6", "kinds", "nothing"}) +
                 Record({"plugintyp", "car", "id", "c", "images", "car.png", "levels", "0", "kinds", "road"}));
    const auto a = Car("a")->carVehicle, b = Car("b")->carVehicle, c = Car("c")->carVehicle;
    const int road = TVehicle::StructureTypeIndex("road"), award = TVehicle::StructureTypeIndex("award");
    EXPECT_EQ(road, 2);
    EXPECT_EQ(award, 7);
    EXPECT_EQ(TVehicle::StructureTypeIndex("Road"), -1);

    EXPECT_EQ(TCarVehicle::CarsOfLevel(0), (TCars{a}));
    EXPECT_EQ(TCarVehicle::CarsOfLevel(1), (TCars{a, b}));
    EXPECT_EQ(TCarVehicle::CarsOfLevel(2), TCars{});
    EXPECT_EQ(TCarVehicle::CarsOfLevel(5), (TCars{b}));
    EXPECT_EQ(TCarVehicle::CarsOfLevel(6), TCars{});
    EXPECT_EQ(TCarVehicle::CarsOfLevel(-1), TCars{});
    EXPECT_EQ(TCarVehicle::CarsOfTypeAndLevel(road, 1), (TCars{a}));
    EXPECT_EQ(TCarVehicle::CarsOfTypeAndLevel(award, 0), (TCars{a}));
    EXPECT_EQ(TCarVehicle::CarsOfTypeAndLevel(road, 5), TCars{});
    EXPECT_EQ(TCarVehicle::CarsOfTypeAndLevel(9, 0), TCars{});
    EXPECT_EQ(TCarVehicle::UntypedCarsOfLevel(1), (TCars{b}));
    EXPECT_EQ(TCarVehicle::UntypedCarsOfLevel(0), TCars{});

    // The car of no level is still a vehicle.
    EXPECT_EQ(TVehicle::AllVehicles(), (TVehicles{a, b, c}));
    EXPECT_EQ(TVehicle::VehiclesOfType(road), (TVehicles{a, c}));
    EXPECT_EQ(TVehicle::VehiclesOfType(award), (TVehicles{a}));
    EXPECT_EQ(TVehicle::UntypedVehicles(), (TVehicles{b}));
    EXPECT_EQ(TVehicle::VehiclesOfType(-1), TVehicles{});

    TPlugin::ClearRegistry();
    EXPECT_TRUE(TVehicle::AllVehicles().empty());
    EXPECT_TRUE(TCarVehicle::CarsOfLevel(1).empty());
    EXPECT_TRUE(TCarVehicle::CarsOfTypeAndLevel(road, 1).empty());
}

TEST_F(TCarPluginTest, DuplicateCarIdKeepsTheFirstVehicleOnly) {
    LoadFile("a.ini", Record({"plugintyp", "car", "id", "c", "images", "car.png", "name", "Erster"}));
    const std::string out = LoadFile("b.ini", Record({"plugintyp", "car", "id", "c", "images", "car.png"}));
    EXPECT_EQ(out, Report(dir.File("b.ini"), "Plugin-Id bereits in Verwendung! (c)"));
    EXPECT_EQ(Car("c")->Name, "Erster");
    EXPECT_EQ(TVehicle::AllVehicles().size(), 1u);
}

TEST_F(TCarPluginTest, SoundRecordsLoadEmptyWithoutAnIdCheck) {
    int32_t n = 0;
    EXPECT_EQ(LoadFile("s.ini",
                       Record({"plugintyp", "sound", "id", "ding", "file", "ding.wav"}) +
                           Record({"plugintyp", "sound", "id", "dong"}),
                       &n),
              "");
    EXPECT_EQ(n, 2);
    ASSERT_EQ(TPlugin::PluginList().size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<TSoundPlugin>(TPlugin::Get("")));
    EXPECT_EQ(TPlugin::PluginList()[0]->id, "");
    EXPECT_EQ(TPlugin::PluginList()[0]->plugintyp, "");
    EXPECT_FALSE(TPlugin::Get("ding"));
}
