#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/TGadgetConfig.h"

// The positions and visibility of the GUI panels (cfg/gadgets.cfg): ten records that exist
// from program start with their defaults, read at start and written back when the game ends.
class TGadgets {
public:
    // Reads folder + "/gadgets.cfg" into the ten records; 1 after reading, 0 when the file cannot be
    // opened (the records keep their values).
    static int32_t ReadIn(const std::string& folder);
    // Writes the ten records in order to folder + "/gadgets.cfg"; 1 on success, 0 otherwise (the old
    // file is then left as it was).
    static int32_t Save(const std::string& folder);

    // The records in file order: textfieldtool, multifunctionaltool, minimaptool, buildtool,
    // buildtoolinfo, touchmousetool, maintool, hidetool, bridgetool, buildingtool.
    static const std::vector<std::shared_ptr<TGadgetConfig>>& Records();
    // The record of a panel by name; null for an unknown name.
    static std::shared_ptr<TGadgetConfig> Get(const std::string& name);
    // Puts every record back to its default position and visibility.
    static void SetDefaults();

private:
    static std::vector<std::shared_ptr<TGadgetConfig>>& _records();
};
