#include "settings/TSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/TInterfaceSpace.h"
#include "platform/TNumberText.h"
#include "platform/TStream.h"
#include "plugins/TPluginReader.h"
#include "settings/TSettingsFiles.h"

int32_t TSettings::ReadIn(const std::string& folder) {
    std::shared_ptr<TPluginReader> reader = TPluginReader::read(folder + "/options.cfg");
    if (!reader) return 0;
    const TPluginReader& r = *reader;
    TSettingsFiles::ReadInt(r, "Language", Language);
    TSettingsFiles::ReadInt(r, "Graphic-Mode", GraphicMode);
    TSettingsFiles::ReadInt(r, "Resolution horizontal", ResolutionHorizontal);
    TSettingsFiles::ReadInt(r, "Resolution vertical", ResolutionVertical);
    TSettingsFiles::ReadInt(r, "Save Highscore", SaveHighscore);
    TSettingsFiles::ReadString(r, "Playername", Playername);
    TSettingsFiles::ReadInt(r, "Sound", Sound);
    TSettingsFiles::ReadInt(r, "Sound volume", SoundVolume);
    TSettingsFiles::ReadInt(r, "Ambience volume", AmbienceVolume);
    TSettingsFiles::ReadInt(r, "Show FPS and Version", ShowFPSAndVersion);
    TSettingsFiles::ReadInt(r, "Show Debug-Info", ShowDebugInfo);
    TSettingsFiles::ReadInt(r, "Startmenue", Startmenue);
    TSettingsFiles::ReadInt(r, "Check update", CheckUpdate);
    TSettingsFiles::ReadInt(r, "show tooltips", ShowTooltips);
    TSettingsFiles::ReadInt(r, "gamma", Gamma);
    TSettingsFiles::ReadInt(r, "cheatmodus", Cheatmodus);
    TSettingsFiles::ReadInt(r, "details particles", DetailsParticles);
    TSettingsFiles::ReadInt(r, "show water image change", ShowWaterImageChange);
    TSettingsFiles::ReadInt(r, "show water animation", ShowWaterAnimation);
    TSettingsFiles::ReadInt(r, "scroll with mouse", ScrollWithMouse);
    TSettingsFiles::ReadWholeNumber(r, "target FPS", TargetFPS);
    _ReadUIScale(r.GetField("UI scale", 0, "1"));
    TSettingsFiles::ReadString(r, "Rule set", RuleSet);
    TSettingsFiles::ReadWholeNumber(r, "scroll speed", keyMovementSpeed);
    TSettingsFiles::ReadInt(r, "Autosave", Autosave);
    _Clamp();
    return 0;
}

void TSettings::_Clamp() {
    const std::string file = "options.cfg";
    TSettingsFiles::ClampInt(file, "Resolution horizontal", ResolutionHorizontal, minResolutionHorizontal,
                             maxResolution);
    TSettingsFiles::ClampInt(file, "Resolution vertical", ResolutionVertical, minResolutionVertical, maxResolution);
    TSettingsFiles::ClampInt(file, "gamma", Gamma, -maxGamma, maxGamma);
    TSettingsFiles::ClampInt(file, "Sound volume", SoundVolume, 0, maxVolume);
    TSettingsFiles::ClampInt(file, "Ambience volume", AmbienceVolume, 0, maxVolume);
    // A map that stands still or runs away from the arrow keys is no speed to play with.
    const float slowest = float(minScrollSpeed), fastest = float(maxScrollSpeed);
    if (!(keyMovementSpeed >= slowest && keyMovementSpeed <= fastest)) {
        const float replacement = keyMovementSpeed > fastest ? fastest : slowest;
        TSettingsFiles::ReportReplaced(file, "scroll speed",
                                       TNumberText::FromInt(TNumberText::TruncToInt(keyMovementSpeed)),
                                       TNumberText::FromInt(int32_t(replacement)));
        keyMovementSpeed = replacement;
    }
    // The frame timer cannot tick zero or fewer times a second: fall back to the usual rate.
    if (TargetFPS <= 0.0f || TargetFPS > static_cast<float>(maxTargetFPS)) {
        const float replacement = TargetFPS <= 0.0f ? fallbackTargetFPS : static_cast<float>(maxTargetFPS);
        TSettingsFiles::ReportReplaced(file, "target FPS", TNumberText::FromInt(TNumberText::TruncToInt(TargetFPS)),
                                       TNumberText::FromInt(TNumberText::TruncToInt(replacement)));
        TargetFPS = replacement;
    }
}

void TSettings::_ReadUIScale(const std::string& text) {
    const std::string file = "options.cfg", key = "UI scale";
    const auto shown = [](float v) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", double(v));
        return std::string(buffer);
    };
    // A German decimal comma is read as a point.
    std::string number = text;
    std::replace(number.begin(), number.end(), ',', '.');
    const char* begin = number.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (end && *end == ' ') ++end;
    if (end == begin || !end || *end != '\0' || !std::isfinite(value)) {
        Print(file + ": \"" + key + "\" = " + text + " is not a number, using 1");
        UIScale = 1.0f;
        return;
    }
    UIScale = static_cast<float>(value);
    // 0 asks for the display's scale; a negative size has no meaning, so the designed one is used.
    float replacement = UIScale;
    if (UIScale < 0.0f) {
        replacement = 1.0f;
    } else if (UIScale > 0.0f) {
        replacement = std::clamp(UIScale, TInterfaceSpace::minFactor, TInterfaceSpace::maxFactor);
    }
    if (replacement == UIScale) return;
    TSettingsFiles::ReportReplaced(file, key, shown(UIScale), shown(replacement));
    UIScale = replacement;
}

void TSettings::SetDefaults() {
    Language = 1;
    RuleSet = "growth";
    GraphicMode = 2;
    ResolutionHorizontal = 640;
    ResolutionVertical = 480;
    SaveHighscore = 0;
    Playername = "ORVANDELMARSKI";
    Sound = 1;
    SoundVolume = 80;
    AmbienceVolume = 60;
    ShowFPSAndVersion = 1;
    ShowDebugInfo = 0;
    Startmenue = 1;
    CheckUpdate = 0;
    ShowTooltips = 1;
    Gamma = 0;
    Cheatmodus = 1;
    DetailsParticles = 3;
    ShowWaterImageChange = 1;
    ShowWaterAnimation = 1;
    ScrollWithMouse = 0;
    TargetFPS = 60.0f;
    UIScale = 1.0f;
    Autosave = 1;
    keyMovementSpeed = 600.0f;
}
