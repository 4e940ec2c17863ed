#include <gtest/gtest.h>

#include "platform/TImage.h"
#include "plugins/TCarPlugin.h"
#include "plugins/TInfluenceContainer.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "tests/plugins/PluginFiles.h"

using namespace PluginFiles;

namespace {

class TPicturePluginTest : public PluginKindTest {
protected:
    std::shared_ptr<TPicturePlugin> Picture(const std::string& id) {
        return std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(id));
    }
};

}  // namespace

TEST_F(TPicturePluginTest, AbsentKeysGiveTheDefaults) {
    Png(dir.File("a.png"), 64, 32);
    EXPECT_EQ(LoadFile("p.ini", Record({"plugintyp", "picture", "id1", "a", "picture1", "a.png"})), "");
    const auto p = Picture("a");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->title, "Test plugins");
    EXPECT_EQ(p->author, "A. Author");
    EXPECT_EQ(p->homepage, "example.org");
    EXPECT_EQ(p->plugintyp, "picture");
    EXPECT_EQ(p->structuretyp, "");
    EXPECT_EQ(p->techlevel, 1);
    EXPECT_EQ(p->price, 0);
    EXPECT_EQ(p->alimony, 0);
    EXPECT_EQ(p->animframes, 1);
    EXPECT_EQ(p->animspeed, 0.125f);
    EXPECT_EQ(p->decoanimframes, 0);
    EXPECT_EQ(p->decoanimspeed, 0.125f);
    EXPECT_EQ(p->decoframes, 0);
    EXPECT_EQ(p->constructionTime, 30.0f);
    EXPECT_EQ(p->carIds, std::vector<std::string>{""});
    EXPECT_EQ(p->smokehandlerid, std::vector<int32_t>{-1});
    EXPECT_FALSE(p->HasSmokeEmitter(0));
    EXPECT_FALSE(p->workerpic);
    EXPECT_FALSE(p->deco);
    EXPECT_FALSE(p->decoanim);
    EXPECT_FALSE(p->picture[1]);
    EXPECT_EQ(p->minwater, 0.0f);
    EXPECT_EQ(p->maxwater, 0.0f);
    ASSERT_TRUE(p->picture[0]);
    EXPECT_EQ(p->picture[0]->FrameCount(), 1);
    EXPECT_EQ(p->picture[0]->width, 64);
}

TEST_F(TPicturePluginTest, NumbersAreClampedAndSpeedsReplaced) {
    Png(dir.File("a.png"), 8, 8);
    const auto rec = [](const std::string& id, const std::string& tech, const std::string& speed,
                        const std::string& frames, const std::string& construction) {
        return Record({"plugintyp",
                       "picture",
                       "id1",
                       id,
                       "picture1",
                       "a.png",
                       "techlevel",
                       tech,
                       "anim speed",
                       speed,
                       "deco anim speed",
                       speed,
                       "anim frames",
                       frames,
                       "deco anim frames",
                       frames,
                       "deco frames",
                       frames,
                       "construction time",
                       construction,
                       "StructureTyp",
                       "Residentalbuilding",
                       "alimony",
                       "abc",
                       "price",
                       "$10"});
    };
    EXPECT_EQ(LoadFile("p.ini", rec("nine", "9", "0", "0", "-12.5") + rec("zero", "0", "-1", "-3", "x") +
                                    rec("ok", "3", "0.5", "1", "7")),
              "");
    const auto nine = Picture("nine"), zero = Picture("zero"), ok = Picture("ok");
    ASSERT_TRUE(nine && zero && ok);
    EXPECT_EQ(nine->techlevel, 5);
    EXPECT_EQ(zero->techlevel, 1);
    EXPECT_EQ(ok->techlevel, 3);
    EXPECT_EQ(nine->animspeed, 0.125f);
    EXPECT_EQ(zero->animspeed, 0.125f);
    EXPECT_EQ(zero->decoanimspeed, 0.125f);
    EXPECT_EQ(ok->animspeed, 0.5f);
    EXPECT_EQ(ok->decoanimspeed, 0.5f);
    EXPECT_EQ(nine->animframes, 1);
    EXPECT_EQ(zero->animframes, 1);
    EXPECT_EQ(zero->decoanimframes, 0);
    EXPECT_EQ(zero->decoframes, 0);
    EXPECT_EQ(nine->constructionTime, 12.5f);
    EXPECT_EQ(zero->constructionTime, 0.0f);
    EXPECT_EQ(ok->structuretyp, "residentalbuilding");
    EXPECT_EQ(ok->structure, TPicturePlugin::TStructure::Residential);
    EXPECT_EQ(ok->alimony, 0);
    EXPECT_EQ(ok->price, 16);
}

TEST_F(TPicturePluginTest, StructureTypesNameTheirKindOnce) {
    using S = TPicturePlugin::TStructure;
    for (const auto& [typ, kind] : {std::pair{"ground", S::Ground},
                                    {"water", S::Water},
                                    {"residentalbuilding", S::Residential},
                                    {"commercialbuilding", S::Commercial},
                                    {"industrialbuilding", S::Industrial},
                                    {"publicbuilding", S::Public},
                                    {"publicpark", S::Park},
                                    {"award", S::Award},
                                    {"", S::Other},
                                    {"residential", S::Other},
                                    {"Award", S::Other}})
        EXPECT_EQ(TPicturePlugin::StructureOf(typ), kind) << typ;
}

TEST_F(TPicturePluginTest, PicturesAreCutIntoFramesAndAnchoredOnTheFootprint) {
    Png(dir.File("house.png"), 128, 40);
    Png(dir.File("big.png"), 200, 50);
    EXPECT_EQ(
        LoadFile("p.ini",
                 Record({"plugintyp",     "picture",  "id1",     "h",           "id2",     "h-two",   "picture1",
                         "house.png",     "picture2", "big.png", "anim frames", "4",       "Size-x1", "2",
                         "Size-y1",       "1",        "Size-x2", "3",           "Size-y2", "3",       "structuretyp",
                         "publicbuilding"})),
        "");
    const auto p = Picture("h");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->_id[0], "h");
    EXPECT_EQ(p->_id[1], "h-two");
    ASSERT_TRUE(p->picture[0]);
    EXPECT_EQ(p->picture[0]->FrameCount(), 4);
    EXPECT_EQ(p->picture[0]->width, 32);
    EXPECT_EQ(p->picture[0]->height, 40);
    EXPECT_EQ(p->SizeX[0], 2);
    EXPECT_EQ(p->SizeY[0], 1);
    EXPECT_FLOAT_EQ(p->picture[0]->handle_x, 32 * 0.5f - 2 * 0.5f * 32);
    EXPECT_FLOAT_EQ(p->picture[0]->handle_y, 40 - 1 * 0.5f * 16);
    // Further pictures are anchored against the first picture's size with their own footprint.
    ASSERT_TRUE(p->picture[1]);
    EXPECT_EQ(p->picture[1]->width, 50);
    EXPECT_FLOAT_EQ(p->picture[1]->handle_x, 16 - 3 * 16);
    EXPECT_FLOAT_EQ(p->picture[1]->handle_y, 40 - 3 * 8);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(p->mxpos[i], 0.75f);
        EXPECT_FLOAT_EQ(p->mypos[i], 0.75f);
    }
    // Picture files too narrow for the frame count are not loaded.
    Png(dir.File("thin.png"), 3, 10);
    EXPECT_NE(
        LoadFile("q.ini", Record({"plugintyp", "picture", "id1", "thin", "picture1", "thin.png", "anim frames", "4"}))
            .find("Es konnte kein Primärbild geladen werden! (thin.png)"),
        std::string::npos);
}

TEST_F(TPicturePluginTest, GroundAndWaterOverlaysSitOnTheTileCorner) {
    TPlugin::SetTileSize(64, 32);
    for (const char* name : {"g1.png", "g2.png", "g3.png", "g4.png"}) Png(dir.File(name), 64, 48);
    const auto rec = [](const std::string& id, const std::string& type) {
        return Record({"plugintyp", "picture", "id1",      id,       "structuretyp", type,     "picture1", "g1.png",
                       "picture2",  "g2.png",  "picture3", "g3.png", "picture4",     "g4.png", "Size-x1",  "1",
                       "Size-y1",   "1",       "Size-x4",  "1",      "Size-y4",      "1"});
    };
    EXPECT_EQ(LoadFile("p.ini", rec("w", "WATER") + rec("g", "ground") + rec("b", "award")), "");
    for (const char* id : {"w", "g"}) {
        const auto p = Picture(id);
        ASSERT_TRUE(p);
        EXPECT_FLOAT_EQ(p->picture[0]->handle_x, 0.0f);
        EXPECT_FLOAT_EQ(p->picture[0]->handle_y, 48 - 16);
        for (int i : {1, 2}) {
            EXPECT_FLOAT_EQ(p->picture[i]->handle_x, 0.0f);
            EXPECT_FLOAT_EQ(p->picture[i]->handle_y, 16.0f);
        }
        EXPECT_FLOAT_EQ(p->picture[3]->handle_y, 48 - 16);
    }
    // Other types keep the footprint anchor (size 0 here for pictures 2 and 3).
    const auto b = Picture("b");
    EXPECT_FLOAT_EQ(b->picture[1]->handle_x, 32.0f);
    EXPECT_FLOAT_EQ(b->picture[1]->handle_y, 48.0f);
}

TEST_F(TPicturePluginTest, MagentaIsTransparentWhateverTheMaskColourWas) {
    SetMaskColor(0, 0, 0);
    MaskedBmp(dir.File("m.bmp"), 8, 4);
    EXPECT_EQ(LoadFile("p.ini", Record({"plugintyp", "picture", "id1", "m", "picture1", "m.bmp"})), "");
    const auto p = Picture("m");
    ASSERT_TRUE(p);
    const auto pixels = p->picture[0]->pixmaps[0];
    EXPECT_EQ(pixels->ReadPixel(1, 1) >> 24, 0u);
    EXPECT_EQ(pixels->ReadPixel(6, 1), 0xFF808080u);
    int32_t r, g, b;
    GetMaskColor(r, g, b);
    EXPECT_EQ(r + g + b, 0);
}

TEST_F(TPicturePluginTest, MissingPrimaryPictureIsReportedAndTheFileGoesOn) {
    Png(dir.File("two.png"), 16, 16);
    int32_t n = 0;
    const std::string out =
        LoadFile("p.ini",
                 Record({"plugintyp", "picture", "id1", "a", "picture1", "gone.png", "picture2", "two.png"}) +
                     Record({"plugintyp", "picture", "id1", "b", "picture2", "two.png"}) +
                     Record({"plugintyp", "picture", "id1", "c", "picture1", "two.png"}),
                 &n);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(out, Report(dir.File("p.ini"), "Es konnte kein Primärbild geladen werden! (gone.png)") +
                       Report(dir.File("p.ini"), "Es konnte kein Primärbild geladen werden! ()"));
    EXPECT_FALSE(TPlugin::Get("a"));
    EXPECT_FALSE(TPlugin::Get("b"));
    ASSERT_EQ(TPlugin::PluginList().size(), 1u);
    EXPECT_EQ(TPlugin::PluginList()[0]->id, "c");
}

TEST_F(TPicturePluginTest, DuplicateIdsKeepTheFirstRecord) {
    Png(dir.File("a.png"), 16, 16);
    Png(dir.File("b.png"), 20, 16);
    LoadFile("first.ini", Record({"plugintyp", "picture", "id1", "same", "picture1", "a.png", "name", "First"}));
    const std::string out =
        LoadFile("second.ini", Record({"plugintyp", "picture", "id1", "same", "picture1", "b.png", "name", "Second"}));
    EXPECT_EQ(out, Report(dir.File("second.ini"), "Plugin-Id bereits in Verwendung! (same)"));
    EXPECT_EQ(Picture("same")->Name, "First");
    EXPECT_EQ(TPlugin::PluginList().size(), 1u);
}

TEST_F(TPicturePluginTest, DecorationsFollowTheLastPictureName) {
    Png(dir.File("gfx/p1.png"), 96, 40);
    Png(dir.File("gfx/p2.png"), 32, 40);
    Png(dir.File("gfx/deco_p2.png"), 3 * 96, 40);
    Png(dir.File("deco.png"), 64, 40);
    Png(dir.File("decoanim.png"), 3 * 96, 40);
    Png(dir.File("gfx/decoanim_p2.png"), 32, 40);  // too small for three frames
    EXPECT_EQ(LoadFile("p.ini", Record({"plugintyp", "picture", "id1", "d", "picture1", "gfx/p1.png", "picture2",
                                        "gfx/p2.png", "anim frames", "1", "deco frames", "3", "deco anim frames", "3",
                                        "Size-x1", "1", "Size-y1", "2"}) +
                                    Record({"plugintyp", "picture", "id1", "e", "picture1", "gfx/p1.png", "deco frames",
                                            "2", "deco anim frames", "0"})),
              "");
    const auto d = Picture("d");
    ASSERT_TRUE(d);
    // "deco_" goes before the file name, inside the picture's folder; frames have picture 1's size.
    ASSERT_TRUE(d->deco);
    EXPECT_EQ(d->deco->FrameCount(), 3);
    EXPECT_EQ(d->deco->width, 96);
    EXPECT_FLOAT_EQ(d->deco->handle_x, 48 - 16);
    EXPECT_FLOAT_EQ(d->deco->handle_y, 40 - 16);
    // The own animated decoration does not hold three frames: the shared "decoanim.png" is taken.
    ASSERT_TRUE(d->decoanim);
    EXPECT_EQ(d->decoanim->FrameCount(), 3);
    EXPECT_EQ(d->decoanim->width, 96);

    const auto e = Picture("e");
    ASSERT_TRUE(e);
    // No "gfx/deco_p1.png": "deco.png" cut into two frames of 96 x 40 does not fit (64 wide) either.
    EXPECT_FALSE(e->deco);
    EXPECT_FALSE(e->decoanim);
}

TEST_F(TPicturePluginTest, SmokeEmittersNeedAnIdAndAllThreeOtherEntries) {
    Png(dir.File("a.png"), 8, 8);
    LoadFile("p.ini",
             Record({"plugintyp", "picture", "id1", "s", "picture1", "a.png", "smoke handler id", "1;;2;0",
                     "smoke handler x", "5;6;7;8", "smoke handler y", "-3;9;4", "smoke handler geschw", "2;2;2;2"}));
    const auto p = Picture("s");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->smokehandlerid, (std::vector<int32_t>{1, -1, 2, 0}));
    EXPECT_EQ(p->smokehandlery, (std::vector<int32_t>{-3, 9, 4}));
    EXPECT_TRUE(p->HasSmokeEmitter(0));
    EXPECT_FALSE(p->HasSmokeEmitter(1));
    EXPECT_TRUE(p->HasSmokeEmitter(2));
    EXPECT_FALSE(p->HasSmokeEmitter(3));
    EXPECT_FALSE(p->HasSmokeEmitter(4));
}

TEST_F(TPicturePluginTest, HousesTakeTheirLevelsNuisancesAndTheirOwnServiceNeeds) {
    Png(dir.File("a.png"), 8, 8);
    LoadFile("p.ini",
             Record({"plugintyp", "picture", "id1", "res", "picture1", "a.png", "structuretyp", "residentalbuilding",
                     "techlevel", "2", "sport needed", "50", "noise value", "300", "noise radius", "4"}) +
                 Record({"plugintyp", "picture", "id1", "pub", "picture1", "a.png", "structuretyp", "publicbuilding",
                         "sport needed", "50", "airpollution needed", "20"}));
    const auto res = Picture("res");
    ASSERT_TRUE(res);
    // A house asks for the services its record names and bears the nuisances of its level.
    EXPECT_EQ(res->influenceMask->neededValue[2], 50);
    EXPECT_EQ(res->influenceMask->neededValue[0], 0);
    for (size_t k = 12; k < 15; ++k)
        EXPECT_EQ(res->influenceMask->neededValue[k], TPicturePlugin::ResidentialMasks()[1]->neededValue[k]) << k;
    EXPECT_EQ(res->influences->neededInfluenceValue[2], 50);
    EXPECT_EQ(res->influences->influenceValue[14], 44);
    EXPECT_EQ(res->influences->influenceRadius[14], 4);
    EXPECT_EQ(res->defaultInfluenceMask->bBuilding, 0);
    EXPECT_EQ(res->defaultInfluenceMask->neededValue, res->influenceMask->neededValue);

    const auto pub = Picture("pub");
    ASSERT_TRUE(pub);
    EXPECT_EQ(pub->influenceMask->bBuilding, 1);
    EXPECT_EQ(pub->influenceMask->neededValue[2], 50);
    EXPECT_EQ(pub->influenceMask->neededValue[12], 20);
    EXPECT_EQ(pub->defaultInfluenceMask->bBuilding, 0);
}

TEST_F(TPicturePluginTest, WorkerPictureIsMidAnchoredAndOptional) {
    Png(dir.File("a.png"), 8, 8);
    Png(dir.File("w.png"), 10, 6);
    LoadFile("p.ini",
             Record({"plugintyp", "picture", "id1", "a", "picture1", "a.png", "worker pic", "w.png", "worker name",
                     "Bäcker", "population", "12", "max. cars", "3", "height", "2", "no road needed", "1"}) +
                 Record({"plugintyp", "picture", "id1", "b", "picture1", "a.png", "worker pic", "none.png"}));
    const auto a = Picture("a");
    ASSERT_TRUE(a && a->workerpic);
    EXPECT_FLOAT_EQ(a->workerpic->handle_x, 5.0f);
    EXPECT_FLOAT_EQ(a->workerpic->handle_y, 3.0f);
    EXPECT_EQ(a->workername, "Bäcker");
    EXPECT_EQ(a->population, 12);
    EXPECT_EQ(a->maxcars, 3);
    EXPECT_EQ(a->Height, 2);
    EXPECT_EQ(a->noroadneeded, 1);
    ASSERT_TRUE(Picture("b"));
    EXPECT_FALSE(Picture("b")->workerpic);
}

TEST_F(TPicturePluginTest, LinkCarsHandsOverTheVehiclesOfCarIds) {
    Png(dir.File("a.png"), 8, 8);
    Png(dir.File("car.png"), 128, 24);
    Png(dir.File("road.png"), 32 * 40, 16);
    LoadFile("p.ini", Record({"plugintyp", "picture", "id1", "house", "picture1", "a.png", "car ids",
                              "bus;;nope;road;house;taxi"}) +
                          Record({"plugintyp", "car", "id", "taxi", "images", "car.png"}) +
                          Record({"plugintyp", "car", "id", "bus", "images", "car.png"}) +
                          Record({"plugintyp", "street", "id", "road", "image", "road.png"}));
    const auto house = Picture("house");
    ASSERT_TRUE(house);
    EXPECT_TRUE(house->car.empty());
    TPlugin::LinkCars();
    const auto bus = std::dynamic_pointer_cast<TCarPlugin>(TPlugin::Get("bus"));
    const auto taxi = std::dynamic_pointer_cast<TCarPlugin>(TPlugin::Get("taxi"));
    ASSERT_TRUE(bus && taxi);
    ASSERT_EQ(house->car.size(), 2u);
    EXPECT_EQ(house->car[0], bus->carVehicle);
    EXPECT_EQ(house->car[1], taxi->carVehicle);
    // A second call does not double the list.
    TPlugin::LinkCars();
    EXPECT_EQ(house->car.size(), 2u);
}
