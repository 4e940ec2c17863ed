#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/TArtPicture.h"

// Everything the world is made of, gathered from the sources: the shared world pictures, and
// for every plugin file under content/plugins the pictures its records name (painted as their
// "art" entries describe) and the file itself as the game reads it (8-bit text, "art" entries
// removed). Paths are relative to data/.
class TContentCatalogue {
public:
    explicit TContentCatalogue(const std::string& contentDir);

    const std::vector<TArtPicture>& Pictures() const { return pictures; }
    // Plugin file path → its bytes (ISO-8859-1, CR LF line ends).
    const std::map<std::string, std::string>& PluginFiles() const { return pluginFiles; }
    // The name list as the game reads it (ISO-8859-1).
    const std::string& NameList() const { return nameList; }
    // Problems met while reading the sources (unknown painters, unreadable files).
    const std::vector<std::string>& Problems() const { return problems; }

private:
    void ReadPluginFile(const std::string& folder, const std::string& file, const std::string& bytes);

    std::vector<TArtPicture> pictures;
    std::map<std::string, std::string> pluginFiles;
    std::string nameList;
    std::vector<std::string> problems;
};
