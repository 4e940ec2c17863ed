// A saved city, with the start map's content: everything it holds comes back from the file, and
// files that are no saved city or a damaged one are refused with a reason while the running city
// stays as it was. Objects whose plugins are gone are left out and named.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "../support/TempDir.h"
#include "app/TSimulator.h"
#include "persistence/TDataFile.h"
#include "persistence/TFileHeader.h"
#include "platform/TStream.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TTree.h"
#include "world/TWay.h"

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// How many of each kind of stored thing the world holds.
std::vector<std::pair<std::string, size_t>> Census(const TLayer& w) {
    size_t bridges = 0, trees = 0, employed = 0, routed = 0, parked = 0;
    for (const auto& r : w.RoadLayer->arrRoad) {
        bridges += r->bridge ? 1 : 0;
        for (const auto& c : r->carpos) parked += c ? 1 : 0;
    }
    for (const auto& cell : w.BuildingLayer->arr) trees += std::holds_alternative<std::shared_ptr<TTree>>(cell) ? 1 : 0;
    for (const auto& h : w.habitantPool->activeHabitant.Items()) {
        employed += h->job ? 1 : 0;
        routed += h->job && h->job->way && !h->job->way->road.empty() ? 1 : 0;
    }
    return {{"roads", w.RoadLayer->arrRoad.size()},
            {"bridge pieces", bridges},
            {"trees", trees},
            {"buildings", w.BuildingLayer->arrBuilding.Count()},
            {"inhabitants", w.habitantPool->activeHabitant.Count()},
            {"waiting", w.habitantPool->poolHabitant.Count()},
            {"employed", employed},
            {"routes", routed},
            {"cars", w.BuildingLayer->arrCar.Count()},
            {"cars in slots", parked}};
}

class CitySaveTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Init("data/maps/128/001r.png", 7));
        std::string script;
        ASSERT_TRUE(LoadBytes("tests/sim/town.script", script));
        // A bridge over the river as well.
        script += "road 64 70 74 70 street_avenue\ndays 3\n";
        std::ostringstream out, err;
        ASSERT_EQ(sim.RunScript(script, out, err), 0);
        ASSERT_EQ(sim.world->Save(saved), 1);
    }
    // A copy of the saved city with one change made to its sections.
    std::string Changed(const std::function<void(vesko::TDataFile&)>& change) {
        auto d = vesko::TDataFile::Load(saved);
        EXPECT_TRUE(d && d->ReadIn());
        change(*d);
        const std::string path = dir.File("changed" + std::to_string(++changes) + ".sav");
        d->setFilename(path);
        EXPECT_TRUE(d->WriteOut() && d->Save());
        return path;
    }
    static void Set(vesko::TDataFile& d, const std::string& section, const std::string& flag, const std::string& v) {
        auto s = d.findHeader(section, 0);
        ASSERT_TRUE(s) << section;
        auto f = s->findFlag(flag);
        ASSERT_TRUE(f) << section << " " << flag;
        f->setValue(v);
    }
    // The value of the first flag of that name in the section, with its first word replaced.
    static void SetFirstWord(vesko::TDataFile& d, const std::string& section, const std::string& flag,
                             const std::string& word) {
        for (const auto& f : d.findHeader(section, 0)->Flags) {
            if (f->Name != flag) continue;
            f->setValue(word + f->value.substr(f->value.find(' ')));
            return;
        }
        FAIL() << "no " << flag << " in " << section;
    }

    TempDir dir;
    int32_t changes = 0;
    std::string saved = dir.File("city.sav");
    TSimulator sim;
};

TEST_F(CitySaveTest, ALoadedCityHoldsEverythingAndSavesToTheSameBytes) {
    std::string message;
    auto loaded = TLayer::Load(saved, message);
    ASSERT_TRUE(loaded) << message;
    EXPECT_EQ(message, "");
    const auto before = Census(*sim.world);
    for (const auto& [kind, n] : before) EXPECT_GT(n, 0u) << kind << " missing from the test city";
    EXPECT_EQ(Census(*loaded), before);
    EXPECT_EQ(loaded->getCityName(), "Vallmora City");
    EXPECT_EQ(loaded->getMoney(), sim.world->getMoney());
    EXPECT_EQ(loaded->habitantPool->getTaxes(1), 0.35f);
    // Every stored value came back: the loaded city writes the very same file.
    ASSERT_EQ(loaded->Save(dir.File("again.sav")), 1);
    EXPECT_EQ(Bytes(dir.File("again.sav")), Bytes(saved));
    // It is not the current world until someone takes it.
    EXPECT_EQ(TLayer::Current(), sim.world.get());
    loaded->Destroy();
}

TEST_F(CitySaveTest, DamagedOrForeignFilesAreRefusedAndTheRunningCityStays) {
    const std::string whole = Bytes(saved);
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir.File(name), std::ios::binary) << bytes;
        return dir.File(name);
    };
    auto foreign = vesko::TDataFile::Create(dir.File("foreign.dat"));
    foreign->addHeader("main");
    foreign->addFlag("width", "10");
    ASSERT_TRUE(foreign->WriteOut() && foreign->Save());
    const struct {
        std::string name, path, reason;
    } cases[] = {
        {"missing", dir.File("none.sav"), "kann nicht gelesen werden"},
        {"empty", write("empty.sav", ""), "beschädigt oder unvollständig"},
        {"truncated", write("half.sav", whole.substr(0, whole.size() / 2)), "beschädigt oder unvollständig"},
        {"cut in its last bytes", write("short.sav", whole.substr(0, whole.size() - 3)), "beschädigt oder unvollständig"},
        {"foreign data file", dir.File("foreign.dat"), "kein Spielstand"},
        {"newer version", Changed([](auto& d) { Set(d, "main", "version", std::to_string(TLayer::saveVersion + 1)); }),
         "neueren Version (Format " + std::to_string(TLayer::saveVersion + 1) + ")"},
        {"huge map", Changed([](auto& d) { Set(d, "main", "width", "100000"); }), "zu groß"},
        {"money not a number", Changed([](auto& d) { Set(d, "main", "money", "viel"); }), "\"main\""},
        {"road off the map", Changed([](auto& d) { Set(d, "road3", "x", "4000"); }), "\"x\" in \"road3\""},
        {"absurd road count", Changed([](auto& d) { Set(d, "road", "count", "2000000000"); }), "\"count\" in \"road\""},
        {"more roads than sections", Changed([](auto& d) { Set(d, "road", "count", "5000"); }), "fehlt"},
        {"two roads on a tile",
         Changed([](auto& d) {
             Set(d, "road1", "x", d.findHeader("road0", 0)->findFlag("x")->value);
             Set(d, "road1", "y", d.findHeader("road0", 0)->findFlag("y")->value);
         }),
         "Zwei Straßen"},
        {"home that is not there", Changed([](auto& d) { SetFirstWord(d, "habitants", "lives", "99999"); }),
         "Gebäude Nr. 99999 fehlt"},
        {"ground cut short", Changed([](auto& d) { d.findHeader("ground", 0)->Flags.pop_back(); }), "\"ground\""},
        {"no cars section", Changed([](auto& d) { d.findHeader("cars", 0)->setName("autos"); }), "\"cars\" fehlt"},
    };
    const std::string line = sim.DayLine();
    for (const auto& c : cases) {
        std::string message;
        EXPECT_FALSE(TLayer::Load(c.path, message)) << c.name;
        EXPECT_NE(message.find(c.reason), std::string::npos) << c.name << ": " << message;
        EXPECT_EQ(TLayer::Current(), sim.world.get()) << c.name;
        EXPECT_EQ(sim.DayLine(), line) << c.name;
    }
    // The simulator says why and goes on with its city.
    EXPECT_NE(sim.Load(dir.File("half.sav")), "");
    EXPECT_EQ(TLayer::Current(), sim.world.get());
}

TEST_F(CitySaveTest, ObjectsOfPluginsThatAreGoneAreLeftOutAndNamed) {
    const auto path = Changed([](vesko::TDataFile& d) {
        SetFirstWord(d, "buildung", "b", "res_abgerissen");
        SetFirstWord(d, "cars", "c", "car_verschrottet");
        Set(d, "road0", "street", "street_gesperrt");
    });
    std::string message;
    auto loaded = TLayer::Load(path, message);
    ASSERT_TRUE(loaded) << message;
    for (const char* id : {"res_abgerissen", "car_verschrottet", "street_gesperrt"})
        EXPECT_NE(message.find(id), std::string::npos) << message;
    EXPECT_EQ(loaded->BuildingLayer->arrBuilding.Count() + 1, sim.world->BuildingLayer->arrBuilding.Count());
    EXPECT_EQ(loaded->RoadLayer->arrRoad.size() + 1, sim.world->RoadLayer->arrRoad.size());
    EXPECT_LE(loaded->BuildingLayer->arrCar.Count() + 1, sim.world->BuildingLayer->arrCar.Count());
    // The rest of the city runs on.
    auto old = sim.world;
    sim.world = loaded;
    loaded->MakeCurrent();
    std::ostringstream out;
    sim.Days(3, out);
    const std::string lines = out.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
    sim.world = old;
    old->MakeCurrent();
    loaded->Destroy();
}

}  // namespace
