#include <gtest/gtest.h>

#include "platform/TImage.h"
#include "plugins/TStreetPlugin.h"
#include "tests/plugins/PluginFiles.h"

using namespace PluginFiles;

namespace {

class TStreetPluginTest : public PluginKindTest {
protected:
    void SetUp() override {
        PluginKindTest::SetUp();
        Png(dir.File("road.png"), 32 * 40, 16);
    }
    void TearDown() override {
        TStreetPlugin::SetStreetFactory(nullptr);
        PluginKindTest::TearDown();
    }
    std::shared_ptr<TStreetPlugin> Street(const std::string& id) {
        return std::dynamic_pointer_cast<TStreetPlugin>(TPlugin::Get(id));
    }
};

// The road layer makes the real street types; here a marker object stands in for one.
int streetToken = 0;
int factoryCalls = 0;
std::shared_ptr<TStreet> MakeStreet(const std::shared_ptr<TStreetPlugin>& plugin) {
    ++factoryCalls;
    if (plugin->level == 9) return nullptr;
    return std::shared_ptr<TStreet>(std::shared_ptr<void>(), reinterpret_cast<TStreet*>(&streetToken));
}

}  // namespace

TEST_F(TStreetPluginTest, RoadPictureIsCutIntoFortyTiles) {
    EXPECT_EQ(LoadFile("s.ini", Record({"plugintyp", "street", "id", "r", "image", "road.png"})), "");
    const auto s = Street("r");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Name, "unnamed street");
    EXPECT_EQ(s->level, 0);
    EXPECT_EQ(s->price, 0.0f);
    ASSERT_TRUE(s->image);
    EXPECT_EQ(s->image->FrameCount(), 40);
    EXPECT_EQ(s->image->width, 32);
    EXPECT_EQ(s->image->height, 16);
    EXPECT_FLOAT_EQ(s->image->handle_x, 0.0f);
    EXPECT_FLOAT_EQ(s->image->handle_y, 8.0f);
    EXPECT_FALSE(s->trafficLightsImg);
    EXPECT_TRUE(s->bridgeImages.empty());
    EXPECT_EQ(s->nearWater, 0);
    EXPECT_FALSE(s->street);
    // Only the plugin fields of streets are filled; the file header stays with picture records.
    EXPECT_EQ(s->title, "");

    // A strip of 39 tiles, or a missing file, is no road picture.
    Png(dir.File("short.png"), 32 * 39, 16);
    const std::string out = LoadFile("t.ini", Record({"plugintyp", "street", "id", "short", "image", "short.png"}) +
                                                  Record({"plugintyp", "street", "id", "gone", "image", "gone.png"}));
    EXPECT_EQ(out, Report(dir.File("t.ini"), "Straßen-Bilddatei konnte nicht geladen werden! (short.png)") +
                       Report(dir.File("t.ini"), "Straßen-Bilddatei konnte nicht geladen werden! (gone.png)"));
    EXPECT_EQ(TPlugin::PluginList().size(), 1u);
}

TEST_F(TStreetPluginTest, NumbersWrapAsBytesAndPollutionIsClamped) {
    LoadFile("s.ini", Record({"plugintyp",
                              "street",
                              "id",
                              "r",
                              "image",
                              "road.png",
                              "name",
                              "Allee",
                              "level",
                              "300",
                              "price",
                              "12.5",
                              "max bridge length",
                              "7",
                              "bridge price",
                              "99.5",
                              "car speed",
                              "1.5",
                              "air pollution value",
                              "250",
                              "air pollution radius",
                              "300",
                              "noise value",
                              "-1",
                              "noise radius",
                              "60"}));
    const auto s = Street("r");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Name, "Allee");
    EXPECT_EQ(s->level, 44);
    EXPECT_EQ(s->price, 12.5f);
    EXPECT_EQ(s->maxBridgeLength, 7);
    EXPECT_EQ(s->bridgePrice, 99.5f);
    EXPECT_EQ(s->carSpeed, 1.5f);
    EXPECT_EQ(s->airPollutionValue, 100);
    EXPECT_EQ(s->airPollutionRadius, 44);
    EXPECT_EQ(s->noiseValue, 100);
    EXPECT_EQ(s->noiseRadius, 60);
}

TEST_F(TStreetPluginTest, BridgesPairWithNamesInTheOrderTheyLoaded) {
    Png(dir.File("bridge.png"), 32 * 19, 40);
    Png(dir.File("lights.png"), 32 * 4, 30);
    LoadFile("s.ini", Record({"plugintyp", "street", "id", "r", "image", "road.png", "trafficlights", "lights.png",
                              "bridge images", "gone.png;bridge.png;;bridge.png", "bridge names", "Stein;Holz",
                              "bridge heights", "3;300"}) +
                          Record({"plugintyp", "street", "id", "plain", "image", "road.png", "trafficlights",
                                  "nolights.png", "bridge images", "bridge.png"}) +
                          Record({"plugintyp", "street", "id", "dry", "image", "road.png", "near water", "0"}) +
                          Record({"plugintyp", "street", "id", "wet", "image", "road.png", "near water", "2"}));
    const auto r = Street("r");
    ASSERT_TRUE(r);
    ASSERT_TRUE(r->trafficLightsImg);
    EXPECT_EQ(r->trafficLightsImg->FrameCount(), 4);
    EXPECT_EQ(r->trafficLightsImg->height, 30);
    EXPECT_FLOAT_EQ(r->trafficLightsImg->handle_y, 22.0f);
    ASSERT_EQ(r->bridgeImages.size(), 2u);
    EXPECT_EQ(r->bridgeImages[0]->FrameCount(), 19);
    EXPECT_EQ(r->bridgeImages[0]->width, 32);
    EXPECT_FLOAT_EQ(r->bridgeImages[0]->handle_y, 32.0f);
    // The first file did not load: the first name goes with the first bridge that did.
    EXPECT_EQ(r->bridgeNames, (std::vector<std::string>{"Stein", "Holz"}));
    EXPECT_EQ(r->bridgeHeights, (std::vector<uint8_t>{3, 44}));
    // A loaded bridge lets the street be built at the water.
    EXPECT_EQ(r->nearWater, 1);

    const auto plain = Street("plain");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->trafficLightsImg);
    // An absent names key is one empty element; absent heights are 0.
    EXPECT_EQ(plain->bridgeNames, std::vector<std::string>{""});
    EXPECT_EQ(plain->bridgeHeights, std::vector<uint8_t>{0});
    EXPECT_EQ(Street("dry")->nearWater, 0);
    EXPECT_EQ(Street("wet")->nearWater, 2);

    // More bridges than names: the rest are unnamed.
    TPlugin::ClearRegistry();
    LoadFile("u.ini", Record({"plugintyp", "street", "id", "u", "image", "road.png", "bridge images",
                              "bridge.png;bridge.png", "bridge names", "Eins", "bridge heights", "5"}));
    EXPECT_EQ(Street("u")->bridgeNames, (std::vector<std::string>{"Eins", "unnamed bridge"}));
    EXPECT_EQ(Street("u")->bridgeHeights, (std::vector<uint8_t>{5, 0}));
}

TEST_F(TStreetPluginTest, StreetTypeFromTheRoadLayerOrSilentRejection) {
    TStreetPlugin::SetStreetFactory(&MakeStreet);
    factoryCalls = 0;
    TPlugin::pluginErrorDetail = "older detail";
    const std::string out =
        LoadFile("s.ini", Record({"plugintyp", "street", "id", "ok", "image", "road.png"}) +
                              Record({"plugintyp", "street", "id", "bad", "image", "road.png", "level", "9"}));
    EXPECT_EQ(factoryCalls, 2);
    ASSERT_TRUE(Street("ok"));
    EXPECT_EQ(Street("ok")->street.get(), reinterpret_cast<TStreet*>(&streetToken));
    EXPECT_FALSE(TPlugin::Get("bad"));
    // The rejection records no detail of its own.
    EXPECT_EQ(out, Report(dir.File("s.ini"), "older detail"));
}

TEST_F(TStreetPluginTest, DuplicateIdIsRejectedBeforeAnythingLoads) {
    LoadFile("a.ini", Record({"plugintyp", "street", "id", "r", "image", "road.png", "name", "Erste"}));
    const std::string out = LoadFile("b.ini", Record({"plugintyp", "street", "id", "r", "image", "gone.png"}));
    EXPECT_EQ(out, Report(dir.File("b.ini"), "Plugin-Id bereits in Verwendung! (r)"));
    EXPECT_EQ(Street("r")->Name, "Erste");
}
