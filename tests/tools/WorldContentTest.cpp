#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/TCharset.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "plugins/TPluginReader.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"
#include "tools/TArtGenerator.h"
#include "tools/TContentCatalogue.h"
#include "tools/TStartMap.h"

namespace {

namespace fs = std::filesystem;
constexpr uint32_t Magenta = 0xFF00FFu;

std::string Root() { return fs::current_path().string(); }
std::shared_ptr<TPixmap> Load(const std::string& path) { return DecodePNG(FileBytes(path)); }

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ';')) parts.push_back(part);
    if (parts.empty()) parts.emplace_back();
    return parts;
}

// A pixel the game shows: any alpha of its own, or (pictures without alpha) not magenta.
bool Visible(const TPixmap& p, int32_t x, int32_t y) {
    const uint32_t c = p.ReadPixel(x, y);
    return p.sourceHasAlpha ? (c >> 24) > 0 : (c & 0xFFFFFFu) != Magenta;
}
bool FrameHasPixels(const TPixmap& p, int32_t frame, int32_t frameWidth) {
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = frame * frameWidth; x < (frame + 1) * frameWidth; ++x)
            if (Visible(p, x, y)) return true;
    return false;
}

// One generator run into a temporary folder, shared by every test of this file.
class WorldContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir();
        written =
            TArtGenerator::WriteWorld(Root() + "/content", dir->path + "/data", Root() + "/data/gfx/gui/font.ttf", "");
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    static TempDir* dir;
    static bool written;
};
TempDir* WorldContent::dir = nullptr;
bool WorldContent::written = false;

std::vector<std::string> FilesUnder(const std::string& base) {
    std::vector<std::string> files;
    if (!fs::exists(base)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(base))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), base).string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(WorldContent, GeneratorOutputEqualsCommittedData) {
    ASSERT_TRUE(written);
    const std::string fresh = dir->path + "/data";
    const std::vector<std::string> files = FilesUnder(fresh);
    ASSERT_GT(files.size(), 100u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string committed = Root() + "/data/" + file;
        ASSERT_TRUE(fs::exists(committed)) << "run vallmora_artgen and commit data/";
        EXPECT_TRUE(FileBytes(fresh + "/" + file) == FileBytes(committed)) << "data/ drifted from tools/ and content/";
    }
    // Nothing stale: every world file in data/ comes from the generator.
    for (const char* folder : {"plugins", "gfx/natur", "gfx/felder", "gfx/verkehr", "gfx/wetter", "maps", "names"})
        for (const std::string& file : FilesUnder(Root() + "/data/" + folder))
            EXPECT_TRUE(fs::exists(fresh + "/" + folder + "/" + file)) << folder << "/" << file << " is not generated";
}

TEST_F(WorldContent, SharedPicturesHaveTheSizesTheLayersCut) {
    const std::string gfx = Root() + "/data/gfx/";
    struct TSize {
        const char* file;
        int32_t frames, frameWidth, height;
    };
    const TSize sizes[] = {{"natur/flussufer.png", 30, 32, 16},
                           {"natur/flussufer_earth.png", 60, 16, 48},
                           {"natur/trees.png", 16, 32, 32},
                           {"felder/way_path.png", 12, 32, 16},
                           {"verkehr/direction_possible.png", 40, 32, 16},
                           {"felder/black.png", 1, 32, 16},
                           {"wetter/clouds.png", 8, 512, 512},
                           {"felder/smoke_00.png", 8, 32, 32},
                           {"felder/smoke_03.png", 8, 32, 32},
                           {"felder/building/progress.png", 6, 32, 24},
                           {"felder/building/progress_grey.png", 6, 32, 24},
                           {"felder/building/crane.png", 4, 64, 64},
                           {"felder/building/crane_gray.png", 4, 64, 64},
                           {"felder/Res.png", 1, 32, 16},
                           {"felder/Def.png", 1, 32, 16},
                           {"felder/building/build_ind.png", 1, 32, 16}};
    for (const TSize& s : sizes) {
        SCOPED_TRACE(s.file);
        auto p = Load(gfx + s.file);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->width, s.frames * s.frameWidth);
        EXPECT_EQ(p->height, s.height);
        for (int32_t f = 0; f < s.frames; ++f) EXPECT_TRUE(FrameHasPixels(*p, f, s.frameWidth)) << "frame " << f;
    }
    for (const char* file :
         {"natur/tex_caustics_001.png", "natur/tex_caustics_002.png", "wetter/rain.png", "felder/no_road.png",
          "felder/unhappy.png", "felder/nojob.png", "felder/defaultworkerpic.png", "felder/delete.png"})
        EXPECT_TRUE(Load(gfx + file)) << file;
}

TEST_F(WorldContent, EveryCataloguedPictureIsCutIntoNonEmptyFramesAndKeyedOnlyOutsideTheTiles) {
    const TContentCatalogue catalogue(Root() + "/content");
    EXPECT_TRUE(catalogue.Problems().empty());
    for (const TArtPicture& picture : catalogue.Pictures()) {
        SCOPED_TRACE(picture.fileName);
        auto p = Load(Root() + "/data/" + picture.fileName);
        ASSERT_TRUE(p);
        ASSERT_EQ(p->width % picture.frames, 0);
        // Keyed pictures carry no alpha, so the game's magenta mask applies to them.
        EXPECT_EQ(p->sourceHasAlpha, !picture.keyed);
        for (int32_t f = 0; f < picture.frames; ++f)
            EXPECT_TRUE(FrameHasPixels(*p, f, p->width / picture.frames)) << "frame " << f << " is empty";
    }
    // Ground tiles: the whole diamond is painted, everything outside it is magenta.
    auto ground = Load(Root() + "/data/plugins/natur/ground_0.png");
    ASSERT_TRUE(ground);
    EXPECT_TRUE(Visible(*ground, 16, 8));
    EXPECT_TRUE(Visible(*ground, 3, 8));
    EXPECT_TRUE(Visible(*ground, 16, 1));
    EXPECT_FALSE(Visible(*ground, 0, 0));
    EXPECT_FALSE(Visible(*ground, 31, 15));
    // Pictures that fill their whole area never contain the mask colour.
    for (const char* file : {"gfx/natur/tex_caustics_001.png", "maps/128/001r.png"}) {
        auto p = Load(Root() + "/data/" + file);
        ASSERT_TRUE(p);
        for (int32_t y = 0; y < p->height; ++y)
            for (int32_t x = 0; x < p->width; ++x) ASSERT_NE(p->ReadPixel(x, y) & 0xFFFFFFu, Magenta) << file;
    }
}

// Checks one plugin record the way the plugin kinds load it; returns the faults found.
std::vector<std::string> RecordFaults(const TPluginReader& r, int32_t s, const std::string& folder,
                                      std::set<std::string>& ids) {
    std::vector<std::string> faults;
    auto fault = [&](const std::string& text) { faults.push_back(text); };
    auto picture = [&](const std::string& name) { return Load(folder + "/" + name); };
    const std::string typ = r.GetPluginTyp(s);
    const std::string id = typ == "picture" ? r.getID(s, 0) : r.GetField("id", s);
    if (id.empty() || !ids.insert(id).second) fault("missing or repeated id " + id);
    if (typ == "picture") {
        static const std::set<std::string> types = {
            "ground",     "water", "residentalbuilding", "commercialbuilding", "industrialbuilding", "publicbuilding",
            "publicpark", "award"};
        const std::string structure = TCharset::ToLower(r.GetStructureTyp(s));
        if (!types.count(structure)) fault("structuretyp " + structure);
        const int32_t frames = std::max(1, std::atoi(r.GetAnimFrames(s).c_str()));
        auto p1 = picture(r.getPicture(s, 0));
        if (!p1) return fault("picture1 missing: " + r.getPicture(s, 0)), faults;
        if (p1->width % frames != 0) fault("picture1 width does not fit the anim frames");
        const int32_t sx = std::atoi(r.getSizeX(s, 0).c_str()), sy = std::atoi(r.getSizeY(s, 0).c_str());
        if (sx < 1 || sy < 1 || sx > 4 || sy > 4) fault("footprint");
        if (p1->width / frames != 32 * sx) fault("frame width is not the footprint's width");
        if (structure == "ground" || structure == "water") {
            for (int32_t i = 1; i < 3; ++i)
                if (!picture(r.getPicture(s, i))) fault("side picture missing: " + r.getPicture(s, i));
            return faults;
        }
        const int32_t level = std::atoi(r.GetTechLevel(s).c_str());
        if (level < 1 || level > 5) fault("techlevel");
        if (std::atoi(r.GetPopulation(s).c_str()) <= 0) fault("population");
        if (std::atoi(r.GetPrice(s).c_str()) <= 0) fault("price");
        for (const auto& [key, prefix] :
             {std::pair<std::string, std::string>{"deco frames", "deco_"}, {"deco anim frames", "decoanim_"}}) {
            const int32_t n = std::atoi(r.GetField(key, s).c_str());
            if (n <= 0) continue;
            auto d = picture(prefix + r.getPicture(s, 0));
            if (!d || d->width != n * (p1->width / frames) || d->height != p1->height) fault(prefix + " picture size");
        }
        const std::string worker = r.GetField("worker pic", s);
        if (!worker.empty() && !picture(worker)) fault("worker pic missing");
        const std::vector<std::string> smokeIds = Split(r.GetSmokeHandlerId(s));
        for (const std::string& smoke : smokeIds) {
            const int32_t sid = smoke.empty() ? -1 : std::atoi(smoke.c_str());
            if (sid >= 0 && !fs::exists(Root() + "/data/gfx/felder/smoke_0" + std::to_string(sid) + ".png"))
                fault("smoke kind without picture");
        }
    } else if (typ == "street") {
        auto image = picture(r.GetField("image", s));
        if (!image || image->width != 40 * 32 || image->height != 16) fault("street image");
        const std::string lights = r.GetField("trafficlights", s);
        if (!lights.empty()) {
            auto l = picture(lights);
            if (!l || l->width != 4 * 32) fault("traffic lights");
        }
        const std::vector<std::string> bridges = Split(r.GetField("bridge images", s));
        const std::vector<std::string> names = Split(r.GetField("bridge names", s));
        const std::vector<std::string> heights = Split(r.GetField("bridge heights", s));
        for (const std::string& b : bridges) {
            if (b.empty()) continue;
            auto img = picture(b);
            if (!img || img->width != 19 * 32) fault("bridge image " + b);
        }
        if (!bridges[0].empty() && (names.size() != bridges.size() || heights.size() != bridges.size()))
            fault("bridge names and heights do not pair with the images");
    } else if (typ == "car") {
        for (const std::string& name : Split(r.GetField("images", s))) {
            auto img = picture(name);
            if (!img || img->width != 4 * 32 || img->height != 24) fault("car image " + name);
        }
    } else {
        fault("unknown plugintyp " + typ);
    }
    return faults;
}

TEST(WorldPlugins, EveryPluginFileIsValid) {
    std::set<std::string> ids;
    std::map<std::string, std::set<int32_t>> levelsOfType;
    std::set<std::string> services;
    int32_t records = 0, cars = 0, streets = 0;
    for (const std::string& file : FilesUnder(Root() + "/data/plugins")) {
        if (!file.ends_with(".ini")) continue;
        SCOPED_TRACE(file);
        const std::string path = Root() + "/data/plugins/" + file;
        auto reader = TPluginReader::read(path);
        ASSERT_TRUE(reader);
        EXPECT_FALSE(reader->GetTitle().empty());
        const int32_t scopes = reader->CountScopes();
        ASSERT_GT(scopes, 0);
        for (int32_t s = 1; s <= scopes; ++s) {
            ++records;
            for (const std::string& f : RecordFaults(*reader, s, fs::path(path).parent_path().string(), ids))
                ADD_FAILURE() << "record " << s << ": " << f;
            const std::string typ = reader->GetPluginTyp(s);
            cars += typ == "car";
            streets += typ == "street";
            levelsOfType[TCharset::ToLower(reader->GetStructureTyp(s))].insert(
                std::atoi(reader->GetTechLevel(s).c_str()));
            for (const char* service : {"water", "energy", "sport", "medic", "religion", "police", "firebrigade",
                                        "culture", "freetime", "education", "radio", "tv"})
                if (std::atoi(reader->GetField(std::string(service) + " value", s).c_str()) > 0)
                    services.insert(service);
        }
    }
    EXPECT_GT(records, 40);
    EXPECT_GE(cars, 6);
    EXPECT_GE(streets, 2);
    EXPECT_EQ(services.size(), 12u);
    for (const char* zone : {"residentalbuilding", "commercialbuilding", "industrialbuilding"})
        EXPECT_EQ(levelsOfType[zone], (std::set<int32_t>{1, 2, 3, 4, 5})) << zone;
    for (const char* other : {"publicbuilding", "publicpark", "award"}) EXPECT_FALSE(levelsOfType[other].empty());
}

// Every picture record of data/plugins, for the checks of the influence and money numbers.
struct TRecordFields {
    std::string id, structure;
    int32_t level = 0;
    std::map<std::string, int32_t> numbers;  // every field read as a whole number
};
std::vector<TRecordFields> PictureRecords() {
    std::vector<TRecordFields> records;
    for (const std::string& file : FilesUnder(Root() + "/data/plugins")) {
        auto reader = TPluginReader::read(Root() + "/data/plugins/" + file);
        if (!reader) continue;
        for (int32_t s = 1; s <= reader->CountScopes(); ++s) {
            if (reader->GetPluginTyp(s) != "picture") continue;
            TRecordFields r{reader->getID(s, 0),
                            TCharset::ToLower(reader->GetStructureTyp(s)),
                            std::atoi(reader->GetTechLevel(s).c_str()),
                            {}};
            for (const char* kind :
                 {"water", "energy", "sport", "medic", "religion", "police", "firebrigade", "culture", "freetime",
                  "education", "radio", "tv", "airpollution", "waterpollution", "noise"})
                for (const char* suffix : {" value", " radius", " needed"})
                    r.numbers[std::string(kind) + suffix] =
                        std::atoi(reader->GetField(std::string(kind) + suffix, s).c_str());
            r.numbers["price"] = std::atoi(reader->GetPrice(s).c_str());
            r.numbers["alimony"] = std::atoi(reader->GetField("alimony", s).c_str());
            records.push_back(r);
        }
    }
    return records;
}

const char* const serviceKinds[] = {"water",       "energy",  "sport",    "medic",     "religion", "police",
                                    "firebrigade", "culture", "freetime", "education", "radio",    "tv"};

TEST(WorldPlugins, HousesAskForTheServicesOfTheirLevelAndEveryOneCanBeMet) {
    // What a house of each level asks for, each level adding to the one below (docs/CONTENT.md).
    const std::map<int32_t, std::set<std::string>> table = {
        {1, {"water"}},
        {2, {"water", "energy", "education"}},
        {3, {"water", "energy", "education", "police", "firebrigade", "medic", "religion"}},
        {4,
         {"water", "energy", "education", "police", "firebrigade", "medic", "religion", "culture", "freetime",
          "sport"}},
        {5,
         {"water", "energy", "education", "police", "firebrigade", "medic", "religion", "culture", "freetime", "sport",
          "radio", "tv"}},
    };
    const std::vector<TRecordFields> records = PictureRecords();
    std::map<std::string, int32_t> strongest;  // the strongest supply of each service
    for (const auto& r : records)
        for (const char* kind : serviceKinds)
            strongest[kind] = std::max(strongest[kind], r.numbers.at(std::string(kind) + " value"));
    int32_t houses = 0;
    for (const auto& r : records) {
        if (r.structure != "residentalbuilding") continue;
        ++houses;
        std::set<std::string> asked;
        for (const char* kind : serviceKinds) {
            const int32_t need = r.numbers.at(std::string(kind) + " needed");
            if (need == 0) continue;
            asked.insert(kind);
            EXPECT_LE(need, strongest[kind]) << r.id << " asks for more " << kind << " than any building gives";
        }
        ASSERT_TRUE(table.count(r.level)) << r.id;
        EXPECT_EQ(asked, table.at(r.level)) << r.id;
    }
    EXPECT_EQ(houses, 6);
}

TEST(WorldPlugins, ServiceBuildingsPutUpWithNuisancesAndCostUpkeep) {
    // A service, park or award with a pollution "needed" of 0 would ask for none at all and
    // could not stand beside a street with traffic.
    int32_t services = 0;
    for (const auto& r : PictureRecords()) {
        SCOPED_TRACE(r.id);
        const bool service = r.structure == "publicbuilding" || r.structure == "publicpark";
        const bool zone = r.structure == "residentalbuilding" || r.structure == "commercialbuilding" ||
                          r.structure == "industrialbuilding";
        if (service || r.structure == "award") {
            for (const char* kind : {"airpollution", "waterpollution", "noise"})
                EXPECT_EQ(r.numbers.at(std::string(kind) + " needed"), 100) << kind;
        }
        // Houses, shops and factories earn money; services only cost it, every month.
        if (zone) {
            EXPECT_EQ(r.numbers.at("alimony"), 0);
        }
        if (service) {
            ++services;
            EXPECT_GT(r.numbers.at("alimony"), 0);
        }
    }
    EXPECT_EQ(services, 16);
}

TEST(WorldPlugins, TextsAreStoredAsEightBit) {
    const std::string bytes = FileBytes(Root() + "/data/plugins/verkehr/strassen.ini");
    EXPECT_NE(bytes.find(TCharset::Utf8ToLatin1("Autobahnbrücke")), std::string::npos);
    EXPECT_EQ(bytes.find("\xC3\xBC"), std::string::npos) << "UTF-8 found in an 8-bit file";
    EXPECT_EQ(bytes.find("- art"), std::string::npos) << "generator entries leaked into the game's file";
    auto reader = TPluginReader::read(Root() + "/data/plugins/oeffentlich/oeffentlich.ini");
    ASSERT_TRUE(reader);
    bool police = false;
    for (int32_t s = 1; s <= reader->CountScopes(); ++s) police |= reader->GetName(s) == "Polizeiwache";
    EXPECT_TRUE(police);
}

TEST(StartMap, HoldsOnlyMapColoursAndEveryFeature) {
    auto map = Load(Root() + "/data/maps/128/001r.png");
    ASSERT_TRUE(map);
    ASSERT_EQ(map->width, 128);
    ASSERT_EQ(map->height, 128);
    std::map<uint32_t, int32_t> counts;
    for (int32_t y = 0; y < 128; ++y)
        for (int32_t x = 0; x < 128; ++x) ++counts[map->ReadPixel(x, y) & 0xFFFFFFu];
    const std::set<uint32_t> allowed = {TStartMap::River, TStartMap::Lake,    TStartMap::Land,
                                        0x004000,         0x005000,           0x006000,
                                        0x007000,         TStartMap::Street0, TStartMap::Street1};
    for (const auto& [colour, n] : counts) EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
    for (uint32_t colour : allowed) EXPECT_GT(counts[colour], 0) << std::hex << colour;
    EXPECT_GT(counts[0x004000] + counts[0x005000] + counts[0x006000] + counts[0x007000], 800);
}

TEST(StartMap, RoadsFormOneNetworkPerBankAndStopAtTheRiver) {
    auto map = Load(Root() + "/data/maps/128/001r.png");
    ASSERT_TRUE(map);
    auto road = [&](int32_t x, int32_t y) {
        const uint32_t c = map->ReadPixel(x, y) & 0xFFFFFFu;
        return x >= 0 && y >= 0 && x < 128 && y < 128 && (c == TStartMap::Street0 || c == TStartMap::Street1);
    };
    auto water = [&](int32_t x, int32_t y) {
        const uint32_t c = map->ReadPixel(x, y) & 0xFFFFFFu;
        return c == TStartMap::River || c == TStartMap::Lake;
    };
    // Flood fill over 4-neighbours: one network on each bank.
    std::vector<int32_t> component(128 * 128, -1);
    int32_t networks = 0;
    for (int32_t y = 0; y < 128; ++y)
        for (int32_t x = 0; x < 128; ++x) {
            if (!road(x, y) || component[y * 128 + x] >= 0) continue;
            std::vector<std::pair<int32_t, int32_t>> stack{{x, y}};
            component[y * 128 + x] = networks;
            while (!stack.empty()) {
                auto [cx, cy] = stack.back();
                stack.pop_back();
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                    if (road(cx + dx, cy + dy) && component[(cy + dy) * 128 + cx + dx] < 0) {
                        component[(cy + dy) * 128 + cx + dx] = networks;
                        stack.push_back({cx + dx, cy + dy});
                    }
            }
            ++networks;
        }
    EXPECT_EQ(networks, 2);
    // The main road ends right at the water on both banks, on the same row: the first bridge.
    const int32_t row = TStartMap::MainRoadRow, left = TStartMap::RiverLeft(row);
    EXPECT_TRUE(road(left - 1, row));
    EXPECT_TRUE(road(left + TStartMap::RiverWidth, row));
    for (int32_t x = left; x < left + TStartMap::RiverWidth; ++x) EXPECT_TRUE(water(x, row));
    EXPECT_NE(component[row * 128 + left - 1], component[row * 128 + left + TStartMap::RiverWidth]);
}

TEST(NameList, HoldsHundredsOfWeightedSurnamesInEightBit) {
    const std::string bytes = FileBytes(Root() + "/data/names/name.dat");
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.find(TCharset::Utf8ToLatin1("Müller(9)")), std::string::npos);
    EXPECT_EQ(bytes.find("\xC3"), std::string::npos);
    // Parsed the way the name generator reads it: every line gets "(1)," appended, then split at ",".
    std::string text;
    std::stringstream in(bytes);
    std::string line;
    while (std::getline(in, line)) text += line + "(1),";
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    int32_t names = 0, weighted = 0;
    std::stringstream pieces(text);
    std::string piece;
    while (std::getline(pieces, piece, ',')) {
        const size_t open = piece.find('(');
        std::string name = piece.substr(0, open);
        name.erase(0, name.find_first_not_of(' '));
        if (name.empty()) continue;
        ++names;
        if (open != std::string::npos && std::atoi(piece.c_str() + open + 1) > 1) ++weighted;
    }
    EXPECT_GE(names, 300);
    EXPECT_GE(weighted, 20);
}

}  // namespace
