// vallmora_artgen <repo-root>: regenerates the interface art under <repo-root>/data/gfx/gui
// and the contact sheet <repo-root>/docs/contact_sheet_gui.png.
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
    const bool ok =
        TArtGenerator::WriteAll(guiDir + "/" + TArtGenerator::FontFile, guiDir, root + "/docs/contact_sheet_gui.png");
    Print(ok ? "Interface art written to " + guiDir : "Interface art written with errors to " + guiDir);
    return ok ? 0 : 1;
}
