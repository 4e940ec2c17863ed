#pragma once
#include <string>

#include "platform/TPixmap.h"

// Writes the interface art: every picture of the catalogue into the gui folder (PNG with
// alpha, the title picture as JPEG) and, when asked, the contact sheet. The same sources
// always give the same bytes: nothing depends on clocks or unseeded randomness.
class TArtGenerator {
public:
    static constexpr const char* SystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    static constexpr const char* SystemFontLicence = "/usr/share/doc/fonts-dejavu-core/copyright";
    static constexpr const char* FontFile = "font.ttf";
    static constexpr const char* FontLicenceFile = "font-LICENSE.txt";
    static constexpr int JpegQuality = 92;

    // Paints the pictures with lettering from fontPath into guiDir, then the contact sheet
    // to sheetPath unless it is empty. Returns false when any file could not be written
    // (each failure is reported on standard output; the others are still written).
    static bool WriteAll(const std::string& fontPath, const std::string& guiDir, const std::string& sheetPath);
    // Paints the world content from the sources under contentDir into dataDir: shared world
    // pictures, plugin pictures and plugin files, the start map and the name list; then, unless
    // sheetPath is empty, the world contact sheet (fontPath letters it). False when anything
    // could not be written or a source had a problem (each reported on standard output).
    static bool WriteWorld(const std::string& contentDir, const std::string& dataDir, const std::string& fontPath,
                           const std::string& sheetPath);
    // Paints the program's icon in each of its sizes into iconDir (TAppIconArt::FileOf). False
    // when a file could not be written (reported on standard output).
    static bool WriteIcons(const std::string& iconDir);
    // Copies the interface font and its licence into guiDir. A missing source keeps an
    // existing copy and reports it; false only when guiDir ends up without a font.
    static bool InstallFont(const std::string& fontSource, const std::string& licenceSource, const std::string& guiDir);
    // Baseline JPEG of the pixmap's colours (alpha ignored).
    static bool SavePixmapJPEG(const TPixmap& pixmap, const std::string& path, int quality);
    // Creates the folder and any missing parents.
    static bool MakeDirs(const std::string& path);
};
