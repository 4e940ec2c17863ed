#pragma once
#include <string>

// Where the program reads its data and keeps the player's files, in one of two layouts:
// - source: started in a folder holding data/ (the repository, as scripts/run-game starts it):
//   data/, cfg/, saves/ and screens/ are folders of the working folder, every path as written.
// - installed: the executable in <prefix>/bin beside <prefix>/share/vallmora, which holds data/
//   and the shipped settings in cfg/ (read only); the player's settings in
//   $XDG_CONFIG_HOME/vallmora (~/.config/vallmora), saves/ and screens/ in $XDG_DATA_HOME/vallmora
//   (~/.local/share/vallmora).
// Inside the program a data file is named as it lies in the source folder ("data/maps/128/001r.png"):
// replays record such names and the new game offers them, and Resolve turns one into the file's
// place when it is opened. Until Use is called the source layout holds (tests, benchmarks).
class TPaths {
public:
    enum class TLayout { Source, Installed };

    // What the layout is decided from.
    struct TSituation {
        std::string workingFolder = ".";
        // The running executable's folder; empty when unknown.
        std::string executableFolder;
        // $HOME (or the account's home folder), $XDG_CONFIG_HOME and $XDG_DATA_HOME; empty when unset.
        std::string home, configHome, dataHome;
        // The running program's.
        static TSituation Current();
    };

    struct TPlaces {
        TLayout layout = TLayout::Source;
        // The folder holding data/ and the shipped cfg/; empty for the working folder.
        std::string shared;
        // The settings folder: where the settings are written, and read unless settingsRead says otherwise.
        std::string config = "cfg";
        // Where the settings are read from.
        std::string settingsRead = "cfg";
        // The folder holding saves/ and screens/; empty for the working folder.
        std::string user;
        // Why there is no data folder; empty when there is one.
        std::string missing;
    };

    // The installed layout when the executable's ../share/vallmora is a folder, else the source
    // layout; `missing` says so when that layout's data/ is not there.
    static TPlaces Find(const TSituation& situation);
    static void Use(const TPlaces& places);
    static const TPlaces& Places();

    // A data file's name ("data/…") as the path of the file; every other path as it is.
    static std::string Resolve(const std::string& name);
    // A settings file's path for writing ("cfg/options.cfg" in the source layout).
    static std::string Config(const std::string& file);
    // A folder or file of the player's (saves, screens).
    static std::string User(const std::string& name);
    // The folder of the shipped settings.
    static std::string ShippedConfig(const TPlaces& places);
    // The line said at start: which layout, and where data, settings and the player's files are.
    static std::string Describe(const TPlaces& places, const std::string& workingFolder);
    // Makes the folder with its parents. Empty when a file can be written in it, else why not.
    static std::string MakeWritable(const std::string& folder);
    // Folder and name joined by '/'; the name alone for an empty folder.
    static std::string Join(const std::string& folder, const std::string& name);
};
