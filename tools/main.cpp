// vallmora_artgen <repo-root>: regenerates the interface art under <repo-root>/data/gfx/gui,
// the world content (pictures, plugin files, start map, name list) from <repo-root>/content
// into <repo-root>/data, and the contact sheets docs/contact_sheet_gui.png and
// docs/contact_sheet_world.png.
#include <string>

#include "platform/TStream.h"
#include "tools/TArtGenerator.h"

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
    return ok && world ? 0 : 1;
}
