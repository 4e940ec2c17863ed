#include "tools/TContentCatalogue.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>

#include "platform/TCharset.h"
#include "platform/TStream.h"
#include "plugins/TPluginReader.h"
#include "tools/TBuildingArt.h"
#include "tools/TCarArt.h"
#include "tools/TStreetArt.h"
#include "tools/TTerrainArt.h"

namespace {

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, by)) parts.push_back(part);
    if (parts.empty()) parts.emplace_back();
    return parts;
}

// "painter key=value key=value": the painter's name and its settings.
struct TArt {
    std::string painter;
    std::map<std::string, std::string> values;
    int32_t Int(const std::string& key, int32_t fallback = 0) const {
        const auto it = values.find(key);
        return it == values.end() ? fallback : std::atoi(it->second.c_str());
    }
    std::string Text(const std::string& key) const {
        const auto it = values.find(key);
        return it == values.end() ? "" : it->second;
    }
};

TArt ParseArt(const std::string& text) {
    TArt art;
    std::stringstream in(text);
    std::string word;
    in >> art.painter;
    while (in >> word) {
        const size_t eq = word.find('=');
        if (eq != std::string::npos) art.values[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return art;
}

std::vector<std::string> ListSorted(const std::string& dir) {
    std::vector<std::string> entries = ReadDir(dir);
    entries.erase(
        std::remove_if(entries.begin(), entries.end(), [](const std::string& e) { return e == "." || e == ".."; }),
        entries.end());
    std::sort(entries.begin(), entries.end());
    return entries;
}

TColor WorkerColour(const std::string& type) {
    if (type == "commercialbuilding") return TColor::Hex(0x3E7FD0);
    if (type == "industrialbuilding") return TColor::Hex(0xE0A21E);
    if (type == "publicpark") return TColor::Hex(0x3E9A4A);
    if (type == "award") return TColor::Hex(0xC9A227);
    return TColor::Hex(0x6C737C);
}

}  // namespace

TContentCatalogue::TContentCatalogue(const std::string& contentDir) {
    TTerrainArt::AddTo(pictures);
    TStreetArt::AddTo(pictures);
    const std::string pluginDir = contentDir + "/plugins";
    for (const std::string& folder : ListSorted(pluginDir)) {
        if (FileType(pluginDir + "/" + folder) != FILETYPE_DIR) continue;
        for (const std::string& file : ListSorted(pluginDir + "/" + folder)) {
            if (file.size() < 4 || file.compare(file.size() - 4, 4, ".ini") != 0) continue;
            std::string bytes;
            if (!LoadBytes(pluginDir + "/" + folder + "/" + file, bytes)) {
                problems.push_back("cannot read " + folder + "/" + file);
                continue;
            }
            ReadPluginFile(folder, file, bytes);
        }
    }
    std::string names;
    if (LoadBytes(contentDir + "/names/name.txt", names)) {
        // The source is UTF-8 with LF; the game reads 8-bit text.
        std::string out;
        for (const std::string& line : Split(names, '\n'))
            if (!line.empty()) out += TCharset::Utf8ToLatin1(line) + "\r\n";
        nameList = out;
    } else {
        problems.push_back("cannot read names/name.txt");
    }
}

void TContentCatalogue::ReadPluginFile(const std::string& folder, const std::string& file, const std::string& bytes) {
    // Sources are UTF-8; the reader works on the 8-bit form the game will read.
    std::shared_ptr<TPluginReader> reader = TPluginReader::FromBytes(TCharset::Utf8ToLatin1(bytes));
    const std::string base = "plugins/" + folder + "/";
    std::set<std::string> painted;
    auto add = [&](const std::string& name, std::function<TCanvas()> paint, int32_t frames, bool keyed) {
        if (name.empty() || !painted.insert(name).second) return;
        pictures.push_back({base + name, std::move(paint), frames, keyed});
    };
    const int32_t scopes = reader->CountScopes();
    for (int32_t s = 1; s <= scopes; ++s) {
        const TArt art = ParseArt(reader->GetField("art", s));
        const std::string typ = reader->GetPluginTyp(s);
        if (typ == "picture") {
            const std::string structure = TCharset::ToLower(reader->GetStructureTyp(s));
            const int32_t v = art.Int("variant");
            if (art.painter == "ground") {
                add(
                    reader->getPicture(s, 0), [v] { return TTerrainArt::GroundTile(v); }, 1, true);
                add(
                    reader->getPicture(s, 1), [v] { return TTerrainArt::GroundSide(false, v); }, 1, true);
                add(
                    reader->getPicture(s, 2), [v] { return TTerrainArt::GroundSide(true, v); }, 1, true);
                continue;
            }
            if (art.painter == "water") {
                add(
                    reader->getPicture(s, 0), [v] { return TTerrainArt::WaterTile(v); }, 1, false);
                add(
                    reader->getPicture(s, 1), [] { return TTerrainArt::WaterSide(false); }, 1, false);
                add(
                    reader->getPicture(s, 2), [] { return TTerrainArt::WaterSide(true); }, 1, false);
                continue;
            }
            if (!TBuildingArt::Knows(art.painter)) {
                problems.push_back(folder + "/" + file + ": unknown painter \"" + art.painter + "\"");
                continue;
            }
            TBuildingArt::TRequest r;
            r.style = art.painter;
            r.size = std::max(1, std::atoi(reader->getSizeX(s, 0).c_str()));
            r.height = art.Int("px", 32 * r.size);
            r.frames = std::max(1, std::atoi(reader->GetAnimFrames(s).c_str()));
            r.level = std::atoi(reader->GetTechLevel(s).c_str());
            r.seed = art.Int("seed");
            const std::string picture = reader->getPicture(s, 0);
            add(
                picture, [r] { return TBuildingArt::Paint(r); }, r.frames, true);
            // Decorations are laid over picture 1 and have its frame size.
            const int32_t deco = std::atoi(reader->GetDecoFrames(s).c_str());
            if (deco > 0) {
                TBuildingArt::TRequest d = r;
                d.frames = deco;
                d.layer = "deco";
                add(
                    "deco_" + picture, [d] { return TBuildingArt::Paint(d); }, deco, true);
            }
            const int32_t decoAnim = std::atoi(reader->GetDecoAnimFrames(s).c_str());
            if (decoAnim > 0) {
                TBuildingArt::TRequest d = r;
                d.frames = decoAnim;
                d.layer = "decoanim";
                add(
                    "decoanim_" + picture, [d] { return TBuildingArt::Paint(d); }, decoAnim, true);
            }
            const std::string worker = reader->GetField("worker pic", s);
            const TColor clothes = WorkerColour(structure);
            add(
                worker, [clothes] { return TTerrainArt::Worker(24, clothes, TColor::Hex(0xF2C230)); }, 1, true);
        } else if (typ == "street") {
            const TStreetArt::TStyle style = TStreetArt::StyleNamed(art.painter);
            add(
                reader->GetField("image", s), [style] { return TStreetArt::Street(style); }, 40, true);
            add(
                reader->GetField("trafficlights", s), [] { return TStreetArt::TrafficLights(); }, 4, true);
            const std::vector<std::string> images = Split(reader->GetField("bridge images", s), ';');
            const std::vector<std::string> kinds = Split(reader->GetField("bridge art", s), ';');
            const std::vector<std::string> heights = Split(reader->GetField("bridge heights", s), ';');
            for (size_t k = 0; k < images.size(); ++k) {
                const std::string kind = k < kinds.size() ? kinds[k] : "concrete";
                const int32_t height = k < heights.size() ? std::atoi(heights[k].c_str()) : 8;
                add(
                    images[k], [style, kind, height] { return TStreetArt::Bridge(style, kind, height); }, 19, true);
            }
        } else if (typ == "car") {
            const std::vector<std::string> images = Split(reader->GetField("images", s), ';');
            const std::vector<std::string> colours = Split(art.Text("colours"), ';');
            for (size_t k = 0; k < images.size(); ++k) {
                const uint32_t colour =
                    static_cast<uint32_t>(std::strtoul(colours[k % colours.size()].c_str(), nullptr, 16));
                const std::string kind = art.painter;
                add(
                    images[k], [kind, colour] { return TCarArt::Vehicle(kind, colour); }, 4, true);
            }
        }
    }
    // The file as the game reads it: the "art" entries (and "bridge art") are for the generator only.
    std::string out;
    const std::vector<std::string>& lines = reader->line;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string key = TCharset::ToLower(lines[i]);
        if (key == "- art" || key == "- bridge art") {
            ++i;
            continue;
        }
        out += TCharset::Utf8ToLatin1(lines[i]) + "\r\n";
    }
    pluginFiles[base + file] = out;
}
