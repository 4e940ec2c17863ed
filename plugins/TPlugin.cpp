#include "plugins/TPlugin.h"

#include <algorithm>

#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "plugins/TCarPlugin.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TSoundPlugin.h"
#include "plugins/TStreetPlugin.h"

void TPlugin::Init() {
    RegisterKind("picture", &TPicturePlugin::_Load);
    RegisterKind("sound", &TSoundPlugin::_Load);
    RegisterKind("street", &TStreetPlugin::_Load);
    RegisterKind("car", &TCarPlugin::_Load);
    TPicturePlugin::Init();
}

void TPlugin::SetTileSize(int32_t width, int32_t height) {
    // A tile of no size would cut no frames at all; the settings already refuse such values.
    tileWidth = std::max(width, 1);
    tileHeight = std::max(height, 1);
}

void TPlugin::RegisterKind(const std::string& plugintyp, TKindLoader loader) { kindLoaders[plugintyp] = loader; }

TPlugin::TKindLoader TPlugin::GetKindLoader(const std::string& plugintyp) {
    const auto it = kindLoaders.find(plugintyp);
    return it == kindLoaders.end() ? nullptr : it->second;
}

int32_t TPlugin::ReadIn(const std::string& folder, TLoadingCallback callback) {
    const std::vector<std::string> entries = ReadDir(folder);
    int32_t sum = 0;
    for (const std::string& entry : entries) {
        if (entry == "." || entry == "..") continue;
        const std::string path = folder + "/" + entry;
        // A plain file here cannot be listed as a folder and yields 0: only sub-folders are loaded.
        if (FileType(path) != FILETYPE_NONE) sum += Load(path, callback);
    }
    return sum;
}

int32_t TPlugin::Load(const std::string& folder, TLoadingCallback callback) { return _Load(folder, callback, 0); }

int32_t TPlugin::_Load(const std::string& folder, const TLoadingCallback& callback, int32_t depth) {
    if (depth > maxFolderDepth) {
        Print("Plugin folder nested too deeply, skipped: " + folder);
        return 0;
    }
    const std::vector<std::string> entries = ReadDir(folder);
    int32_t sum = 0;
    for (const std::string& entry : entries) {
        if (entry == "." || entry == "..") continue;
        const std::string path = folder + "/" + entry;
        const int type = FileType(path);
        if (type == FILETYPE_FILE && path.size() >= 4 && path.compare(path.size() - 4, 4, ".ini") == 0) {
            if (callback.IsSet()) callback(path);
            sum += _LoadINI(path);
        } else if (type == FILETYPE_DIR) {
            // Files of deeper folders are loaded, but their count does not enter the sum.
            _Load(path, callback, depth + 1);
        }
    }
    return sum;
}

int32_t TPlugin::_LoadINI(const std::string& path) {
    // Images of plugin records are loaded with magenta (255, 0, 255) as the transparent colour;
    // _LoadStrip applies that mask for the kind loaders.
    std::shared_ptr<TPluginReader> reader = TPluginReader::read(path);
    if (!reader) return 0;

    // File names inside the plugin resolve against its folder; the process folder is not changed.
    const std::string previousFolder = currentFolder;
    currentFolder = _GetPath(path);

    if (reader->GetTitle().empty()) {
        currentFolder = previousFolder;
        return 0;
    }
    const int32_t n = reader->CountScopes();
    if (n < 0) Print("Plugin file with unbalanced scope markers, no record read: " + path);
    for (int32_t s = 1; s <= n; ++s) {
        const TKindLoader loader = GetKindLoader(reader->GetPluginTyp(s));
        std::shared_ptr<TPlugin> plugin = loader ? loader(reader, s) : nullptr;
        if (!plugin) _ReportRejected(path);
    }
    currentFolder = previousFolder;
    return n;
}

void TPlugin::_ReportRejected(const std::string& path) {
    Print("Fehler beim Einlesen des Plugins: " + path + "\r\n" +
          "Verfügbare Zusatzinformationen dazu: " + pluginErrorDetail + "\r\n" +
          "***Fehlterhafte Plugins können zu Problemen innerhalb des Spiels führen!***" + "\r\n");
}

void TPlugin::_add(const std::shared_ptr<TPlugin>& plugin) {
    if (!plugin) return;
    pluginList.push_back(plugin);
    pluginMap[plugin->id] = plugin;
}

std::shared_ptr<TPlugin> TPlugin::Get(const std::string& id) {
    const auto it = pluginMap.find(id);
    return it == pluginMap.end() ? nullptr : it->second;
}

bool TPlugin::_IdIsFree(const std::string& id) {
    if (!Get(id)) return true;
    pluginErrorDetail = "Plugin-Id bereits in Verwendung! (" + id + ")";
    return false;
}

void TPlugin::LinkCars() {
    for (const auto& [id, plugin] : pluginMap) {
        const std::shared_ptr<TPicturePlugin> picture = std::dynamic_pointer_cast<TPicturePlugin>(plugin);
        if (!picture) continue;
        picture->car.clear();
        for (const std::string& carId : picture->carIds) {
            if (carId.empty()) continue;
            const std::shared_ptr<TCarPlugin> car = std::dynamic_pointer_cast<TCarPlugin>(Get(carId));
            if (car && car->carVehicle) picture->car.push_back(car->carVehicle);
        }
    }
}

std::shared_ptr<TImage> TPlugin::_LoadStrip(const std::string& name, int32_t frames, int32_t cellWidth,
                                            int32_t cellHeight) {
    if (name.empty() || frames <= 0) return nullptr;
    const std::shared_ptr<TPixmap> pixmap = LoadPixmap(ResolvePath(name));
    if (!pixmap) return nullptr;
    const int32_t w = cellWidth > 0 ? cellWidth : pixmap->width / frames;
    const int32_t h = cellHeight > 0 ? cellHeight : pixmap->height;
    int32_t r, g, b;
    GetMaskColor(r, g, b);
    SetMaskColor(255, 0, 255);
    std::shared_ptr<TImage> image = TImage::FromAnimPixmap(pixmap, w, h, 0, frames);
    SetMaskColor(r, g, b);
    return image;
}

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::string unified = path;
    std::replace(unified.begin(), unified.end(), '\\', '/');
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t slash = unified.find('/', start);
        if (slash == std::string::npos) {
            parts.push_back(unified.substr(start));
            return parts;
        }
        parts.push_back(unified.substr(start, slash - start));
        start = slash + 1;
    }
}

}  // namespace

std::string TPlugin::_GetPath(const std::string& path) {
    const std::vector<std::string> parts = SplitPath(path);
    std::string folder;
    for (size_t i = 0; i + 1 < parts.size(); ++i) folder += parts[i] + "/";
    return folder;
}

std::string TPlugin::_GetFileName(const std::string& path) { return SplitPath(path).back(); }

std::string TPlugin::ResolvePath(const std::string& name) {
    if (name.empty()) return name;
    std::string unified = name;
    std::replace(unified.begin(), unified.end(), '\\', '/');
    const bool absolute = unified[0] == '/' || (unified.size() > 1 && unified[1] == ':');
    return absolute ? unified : currentFolder + unified;
}

std::vector<std::string> TPlugin::SplitList(const std::string& value) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t at = value.find(seperator, start);
        if (at == std::string::npos) {
            parts.push_back(value.substr(start));
            return parts;
        }
        parts.push_back(value.substr(start, at - start));
        start = at + seperator.size();
    }
}

void TPlugin::ClearRegistry() {
    pluginList.clear();
    pluginMap.clear();
    pluginErrorDetail.clear();
    TCarVehicle::_clear();
}
