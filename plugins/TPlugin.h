#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/TCallback.h"
#include "plugins/TPluginReader.h"

class TImage;

// Base of every plugin kind, and the registry through which the game finds plugins by id.
// The loader walks "data/plugins", reads every ".ini" file in its sub-folders and hands each
// record (scope) to the loader registered for its `plugintyp`.
class TPlugin {
public:
    // Called with each plugin file's path just before it is read (progress display).
    using TLoadingCallback = TCallback<void(const std::string& path)>;
    // Builds one record of a kind from the reader's scope; registers it and returns it, or
    // returns null after setting pluginErrorDetail.
    using TKindLoader = std::shared_ptr<TPlugin> (*)(const std::shared_ptr<TPluginReader>& reader, int32_t scope);

    static inline const std::string seperator = ";";
    // Folder trees deeper than this are not walked (a symbolic link loop would never end).
    static constexpr int32_t maxFolderDepth = 32;

    virtual ~TPlugin() = default;

    std::string title;
    std::string author;
    std::string homepage;
    std::string plugintyp;
    std::string id;

    // Registers the four kinds ("picture", "street", "car", "sound") and builds the default
    // influence masks. Called once before any plugin is loaded.
    static void Init();
    // Tile size in pixels for cutting and anchoring plugin pictures. The world sets it from its
    // settings before loading (the settings live above this library); 32 x 16 until then.
    static void SetTileSize(int32_t width, int32_t height);
    static int32_t TileWidth() { return tileWidth; }
    static int32_t TileHeight() { return tileHeight; }

    // Kinds register their loader under their plugintyp text (compared exactly).
    static void RegisterKind(const std::string& plugintyp, TKindLoader loader);
    static TKindLoader GetKindLoader(const std::string& plugintyp);

    static int32_t ReadIn(const std::string& folder, TLoadingCallback callback = {});
    static int32_t ReadIn(const std::string& folder, TLoadingCallback::Function callback, void* context) {
        return ReadIn(folder, TLoadingCallback(callback, context));
    }
    static int32_t Load(const std::string& folder, TLoadingCallback callback = {});
    static int32_t _LoadINI(const std::string& path);

    static void _add(const std::shared_ptr<TPlugin>& plugin);
    static std::shared_ptr<TPlugin> Get(const std::string& id);
    // Used by the kind loaders before building a record: false (with the error detail set) when
    // the id is already registered, so the first record with an id wins.
    static bool _IdIsFree(const std::string& id);

    // Hands every picture plugin the car vehicles of its car ids. Called once after ReadIn;
    // calling it again rebuilds the lists instead of doubling them.
    static void LinkCars();

    static std::string _GetPath(const std::string& path);
    static std::string _GetFileName(const std::string& path);
    // A file name from the plugin file being read, resolved against that file's folder.
    // Absolute names stay as they are; backslashes become "/".
    static std::string ResolvePath(const std::string& name);
    // The folder of the plugin file being read ("" outside of _LoadINI).
    static const std::string& CurrentFolder() { return currentFolder; }

    // Loads a picture named in the plugin being read, magenta (255, 0, 255) transparent, cut into
    // `frames` cells of cellWidth x cellHeight left to right (a size of 0 takes the file width
    // divided by frames, or the file height). Null for an empty name, a file that does not load or
    // one too small for the cells.
    static std::shared_ptr<TImage> _LoadStrip(const std::string& name, int32_t frames, int32_t cellWidth = 0,
                                              int32_t cellHeight = 0);

    // A list value split at seperator; an empty value gives one empty element.
    static std::vector<std::string> SplitList(const std::string& value);

    static const std::vector<std::shared_ptr<TPlugin>>& PluginList() { return pluginList; }
    static const std::map<std::string, std::shared_ptr<TPlugin>>& PluginMap() { return pluginMap; }
    // Set by a kind loader when it rejects a record; never cleared by the loader.
    static inline std::string pluginErrorDetail;

    // Empties the registry and the vehicle lists (kinds stay registered). For tests and tools.
    static void ClearRegistry();

private:
    static int32_t _Load(const std::string& folder, const TLoadingCallback& callback, int32_t depth);
    static void _ReportRejected(const std::string& path);

    static inline std::vector<std::shared_ptr<TPlugin>> pluginList;
    static inline std::map<std::string, std::shared_ptr<TPlugin>> pluginMap;
    static inline std::map<std::string, TKindLoader> kindLoaders;
    static inline std::string currentFolder;
    static inline int32_t tileWidth = 32;
    static inline int32_t tileHeight = 16;
};
