#include "settings/TSettingsFolder.h"

#include <vector>

#include "platform/TPaths.h"
#include "platform/TStream.h"
#include "plugins/TPluginReader.h"

std::string TSettingsFolder::Damage(const std::string& bytes) {
    if (bytes.empty()) return "it is empty";
    if (bytes.size() > TPluginReader::maxFileBytes) return "it is too large";
    if (bytes.find('\0') != std::string::npos) return "it holds bytes that are no text";
    // A setting is a key line ("- key") followed by its value line.
    for (size_t from = 0; from < bytes.size();) {
        const size_t end = bytes.find('\n', from);
        if (end == std::string::npos) break;
        if (bytes[from] == '-' && end + 1 < bytes.size()) return "";
        from = end + 1;
    }
    return "it holds no setting";
}

void TSettingsFolder::Prepare(const std::string& folder, const std::string& shipped) {
    std::vector<std::string> copied;
    for (const char* name : files) {
        const std::string path = TPaths::Join(folder, name), original = TPaths::Join(shipped, name);
        const bool isShipped = FileType(original) == FILETYPE_FILE;
        if (FileType(path) == FILETYPE_NONE) {
            if (!isShipped) continue;
            if (CopyFile(original, path)) {
                copied.push_back(name);
            } else {
                Print("Settings file " + original + " could not be copied to " + folder + ": its defaults are used");
            }
            continue;
        }
        std::string bytes;
        const std::string damage = LoadBytes(path, bytes) ? Damage(bytes) : "it cannot be read";
        if (damage.empty()) continue;
        const std::string aside = path + ".damaged";
        if (!RenameFile(path, aside)) {
            Print("Settings file " + path + " is damaged (" + damage +
                  ") and cannot be moved aside: its defaults are used");
            continue;
        }
        const bool restored = isShipped && CopyFile(original, path);
        Print("Settings file " + path + " was damaged (" + damage + "): kept as " + aside + ", " +
              (restored ? "the shipped one is used again" : "its defaults are used"));
    }
    if (copied.empty()) return;
    std::string names;
    for (const std::string& name : copied) names += (names.empty() ? "" : ", ") + name;
    Print("Settings copied to " + folder + ": " + names);
}
