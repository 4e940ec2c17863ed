#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/TSound.h"

// Loads the game's sounds by name from a folder (name + ".wav"). A file that is missing, cut
// short or of another kind gives one line on standard output naming it; that sound stays
// silent (null) and the others load as usual.
class TSoundBank {
public:
    static constexpr const char* ending = ".wav";

    // The sound in folder/name.wav, or null (with its line) when it cannot be used.
    static std::shared_ptr<const TSound> Load(const std::string& folder, const std::string& name);
    // Every name in order; a sound that failed stays null in its place.
    static std::vector<std::shared_ptr<const TSound>> LoadAll(const std::string& folder,
                                                              const std::vector<std::string>& names);
};
