// vallmora_artgen <repo-root>: regenerates the interface art under <repo-root>/data/gfx/gui,
// the world content (pictures, plugin files, start map, name list) from <repo-root>/content
// into <repo-root>/data, the contact sheets docs/contact_sheet_gui.png and
// docs/contact_sheet_world.png, the program's icon in its sizes into <repo-root>/packaging/icons,
// and the sounds from tools/TSoundRecipes.cpp into <repo-root>/data/sounds.
#include <string>

#include "platform/TStream.h"
#include "tools/TArtGenerator.h"
#include "tools/TSoundGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        Print("Usage: vallmora_artgen <repo-root>");
        return 2;
    }
    const std::string root = argv[1];
    const std::string guiDir = root + "/data/gfx/gui";
    if (!TArtGenerator::InstallFont(TArtGenerator::SystemFont, TArtGenerator::SystemFontLicence, guiDir)) {
        Print("No interface font in " + guiDir + "; lettering cannot be drawn.");
        return 1;
    }
    const std::string font = guiDir + "/" + TArtGenerator::FontFile;
    const bool ok = TArtGenerator::WriteAll(font, guiDir, root + "/docs/contact_sheet_gui.png");
    Print(ok ? "Interface art written to " + guiDir : "Interface art written with errors to " + guiDir);
    const bool world =
        TArtGenerator::WriteWorld(root + "/content", root + "/data", font, root + "/docs/contact_sheet_world.png");
    Print(world ? "World content written to " + root + "/data"
                : "World content written with errors to " + root + "/data");
    const std::string iconDir = root + "/packaging/icons";
    const bool icons = TArtGenerator::WriteIcons(iconDir);
    Print(icons ? "Icons written to " + iconDir : "Icons written with errors to " + iconDir);
    const std::string soundDir = root + "/data/sounds";
    const bool sounds = TSoundGenerator::WriteAll(soundDir);
    Print(sounds ? "Sounds written to " + soundDir : "Sounds written with errors to " + soundDir);
    return ok && world && icons && sounds ? 0 : 1;
}
