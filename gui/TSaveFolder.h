#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The folder of saved cities (saves/ in the player's folder, TPaths::User): how a city's name
// becomes a file name there, and which saved cities it holds.
class TSaveFolder {
public:
    // One saved city: its name (the file name without the ending), its path and when it was written.
    struct TEntry {
        std::string name;
        std::string path;
        int64_t time = 0;
    };

    static inline const std::string ending = ".sav";
    static inline const std::string fallbackName = "Stadt";
    static inline const std::string autosaveName = "autosave";
    // The autosave before the latest one.
    static inline const std::string olderAutosaveName = "autosave.1";
    static constexpr size_t maxNameLength = 40;

    // The folder's path ("saves" in the source layout).
    static std::string Folder();

    // A name that is safe as a file name on every system: without blanks at its ends, letters
    // A–Z and a–z, digits, '-' and '_' stay, a space becomes '_', German umlauts and ß are
    // written out (ä → ae, ß → ss), all else is dropped; at most maxNameLength characters,
    // fallbackName when nothing is left.
    static std::string SafeName(const std::string& name);
    // Folder()/name.sav
    static std::string PathOf(const std::string& safeName);
    // Whether a save of that (safe) name is in the folder.
    static bool Exists(const std::string& safeName);
    // The saved cities in the folder, newest first (equal times by name); empty without a folder.
    static std::vector<TEntry> List();
};
