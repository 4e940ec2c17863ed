#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "plugins/TPluginReader.h"

// Reading and writing of the three settings files in one folder (the program passes the settings
// folder, TPaths), and the typed lookups they share: the current value is handed to the lookup as
// the default text, so a missing key leaves the value as it was.
class TSettingsFiles {
public:
    // vallmora.cfg, options.cfg and gadgets.cfg, in this order (what the world's LoadSettings does).
    static void LoadSettings(const std::string& folder);
    // Writes gadgets.cfg (what the world's SaveGagdgetSettings does); 1 on success, 0 otherwise.
    static int32_t SaveGagdgetSettings(const std::string& folder);
    // Sets the values of keys in a settings file of "- key" lines each followed by its value
    // line, keeping every other byte of the file (a key not in it is appended), through a
    // temporary file. 1 on success, 0 when the file cannot be read or written (it stays as it was).
    static int32_t SaveValues(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values);

    static void ReadInt(const TPluginReader& reader, const std::string& key, int32_t& value);
    static void ReadFloat(const TPluginReader& reader, const std::string& key, float& value);
    static void ReadString(const TPluginReader& reader, const std::string& key, std::string& value);
    // An int value written as a decimal number: read as a float and truncated toward zero.
    static void ReadTruncatedFloat(const TPluginReader& reader, const std::string& key, int32_t& value);
    // A float value read with the int rule ("30.7" gives 30.0).
    static void ReadWholeNumber(const TPluginReader& reader, const std::string& key, float& value);

    // Replaces value by the nearest bound when outside [low, high] and prints one line saying so.
    static void ClampInt(const std::string& file, const std::string& key, int32_t& value, int32_t low, int32_t high);
    // Replaces value by replacement when outside [low, high] and prints one line saying so.
    static void ReplaceInt(const std::string& file, const std::string& key, int32_t& value, int32_t low, int32_t high,
                           int32_t replacement);
    static void ReportReplaced(const std::string& file, const std::string& key, const std::string& oldValue,
                               const std::string& newValue);
};
