#include "gui/TSaveFolder.h"

#include <algorithm>

#include "platform/TCharset.h"
#include "platform/TPaths.h"
#include "platform/TStream.h"

namespace {
// How a German letter outside A–Z is written in a file name.
const char* WrittenOut(uint32_t cp) {
    switch (cp) {
        case 0xE4: return "ae";
        case 0xF6: return "oe";
        case 0xFC: return "ue";
        case 0xC4: return "Ae";
        case 0xD6: return "Oe";
        case 0xDC: return "Ue";
        case 0xDF: return "ss";
        default: return nullptr;
    }
}

bool Kept(uint32_t cp) {
    return (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') || (cp >= '0' && cp <= '9') || cp == '-' || cp == '_';
}
}  // namespace

std::string TSaveFolder::SafeName(const std::string& name) {
    std::vector<uint32_t> chars = TCharset::Decode(name);
    // Blanks around the name would only become underscores at its ends.
    while (!chars.empty() && chars.back() == ' ') chars.pop_back();
    chars.erase(chars.begin(), std::find_if(chars.begin(), chars.end(), [](uint32_t cp) { return cp != ' '; }));
    std::string safe;
    for (uint32_t cp : chars) {
        if (Kept(cp)) {
            safe.push_back(char(cp));
        } else if (cp == ' ') {
            safe.push_back('_');
        } else if (const char* letters = WrittenOut(cp)) {
            safe += letters;
        }
    }
    // Only ASCII is left, so the cut counts characters.
    if (safe.size() > maxNameLength) safe.resize(maxNameLength);
    return safe.empty() ? fallbackName : safe;
}

std::string TSaveFolder::Folder() { return TPaths::User("saves"); }

std::string TSaveFolder::PathOf(const std::string& safeName) { return Folder() + "/" + safeName + ending; }

bool TSaveFolder::Exists(const std::string& safeName) { return FileType(PathOf(safeName)) == FILETYPE_FILE; }

std::vector<TSaveFolder::TEntry> TSaveFolder::List() {
    std::vector<TEntry> entries;
    const std::string folder = Folder();
    for (const std::string& file : ReadDir(folder)) {
        if (file.size() <= ending.size() || !file.ends_with(ending)) continue;
        TEntry e;
        e.name = file.substr(0, file.size() - ending.size());
        e.path = folder + "/" + file;
        e.time = FileTime(e.path);
        // A folder named like a save is none.
        if (e.time >= 0) entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(),
              [](const TEntry& a, const TEntry& b) { return a.time != b.time ? a.time > b.time : a.name < b.name; });
    return entries;
}
