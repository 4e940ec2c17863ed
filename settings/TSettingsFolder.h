#pragma once
#include <array>
#include <string>

// The player's settings folder of an installed game. At the first start it gets a copy of each
// shipped settings file; afterwards only those copies are read and written. A copy found damaged
// is kept aside as NAME.damaged and the shipped file takes its place again.
class TSettingsFolder {
public:
    // The settings files (TConfig, TSettings, TGadgets); gadgets.cfg is not shipped: the game writes it.
    static constexpr std::array<const char*, 3> files = {"vallmora.cfg", "options.cfg", "gadgets.cfg"};

    // Copies every shipped file the folder lacks and replaces the damaged ones, with a line on
    // standard output for each damaged file and one naming the files copied.
    static void Prepare(const std::string& folder, const std::string& shipped);
    // Why the bytes are no settings file ("it is empty", …), or empty when they are one.
    static std::string Damage(const std::string& bytes);
};
