#include "settings/TSettingsChoices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/TCatalogue.h"
#include "platform/TStream.h"
#include "settings/TSettings.h"
#include "settings/TSettingsFiles.h"

namespace {
using TRow = TSettingsChoices::TRow;

// A window size as one number that sorts by width, then height.
constexpr double sizeBase = 100000.0;
double SizeNumber(int32_t w, int32_t h) { return double(w) * sizeBase + double(h); }
int32_t SizeWidth(double n) { return int32_t(std::floor(n / sizeBase)); }
int32_t SizeHeight(double n) { return int32_t(n - double(SizeWidth(n)) * sizeBase); }

// The arrow keys' usual speed, shown as 100 %.
constexpr double usualScrollSpeed = 600.0;

struct TRowText {
    const char* name;
    const char* note;
    const char* key;
};

const TRowText rowTexts[TSettingsChoices::RowCount] = {
    {TrNoop("Fenstergröße"), TrNoop("Größe des Fensters (im Vollbild gilt sie, sobald es wieder ein Fenster ist)"),
     "Resolution horizontal"},
    {TrNoop("Vollbild"), TrNoop("Das Bild bedeckt den ganzen Bildschirm (auch mit F11)"), "Graphic-Mode"},
    {TrNoop("UI-Skalierung"), TrNoop("Größe von Knöpfen und Texten; Automatisch richtet sich nach dem Bildschirm"),
     "UI scale"},
    {TrNoop("FPS-Anzeige"), TrNoop("Version und Bilder pro Sekunde oben links"), "Show FPS and Version"},
    {TrNoop("Helligkeit"), TrNoop("Hellt das ganze Bild auf oder dunkelt es ab"), "gamma"},
    {TrNoop("Scrollgeschwindigkeit"), TrNoop("Wie schnell Pfeiltasten und Bildschirmrand die Karte bewegen"),
     "scroll speed"},
    {TrNoop("Automatisch speichern"), TrNoop("Zu jedem Monatsbeginn; beim Verlassen wird die Stadt immer gespeichert"),
     "Autosave"},
    {TrNoop("Sprache"), TrNoop("Gilt für die übrigen Fenster ab dem nächsten Spiel"), "Language"},
    {TrNoop("Ton"), TrNoop("Geräusche der Stadt und der Knöpfe"), "Sound"},
    {TrNoop("Lautstärke"), TrNoop("Knöpfe, Bauen, Abreißen und was in der Stadt geschieht"), "Sound volume"},
    {TrNoop("Umgebungsgeräusche"), TrNoop("Vögel, Wind, Stadt, Verkehr und Wetter"), "Ambience volume"},
};

std::vector<double> Listed(TRow row) {
    switch (row) {
        case TSettingsChoices::WindowSize:
            return {SizeNumber(800, 600),  SizeNumber(1024, 768), SizeNumber(1280, 720),
                    SizeNumber(1366, 768), SizeNumber(1600, 900), SizeNumber(1920, 1080)};
        case TSettingsChoices::InterfaceScale: return {0, 0.75, 1, 1.25, 1.5, 2, 2.5, 3};
        case TSettingsChoices::Gamma: return {-64, -48, -32, -16, 0, 16, 32, 48, 64};
        case TSettingsChoices::ScrollSpeed: return {300, 450, 600, 900, 1200, 1800, 2400};
        case TSettingsChoices::Language: return {TCatalogue::german, TCatalogue::english};
        case TSettingsChoices::SoundVolume:
        case TSettingsChoices::AmbienceVolume: return {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
        default: return {0, 1};
    }
}

double CurrentNumber(TRow row) {
    switch (row) {
        case TSettingsChoices::WindowSize:
            return SizeNumber(TSettings::ResolutionHorizontal, TSettings::ResolutionVertical);
        case TSettingsChoices::FullScreen: return TSettings::GraphicMode == 1 ? 1 : 0;
        case TSettingsChoices::InterfaceScale: return TSettings::UIScale;
        case TSettingsChoices::FPSLine: return TSettings::ShowFPSAndVersion != 0 ? 1 : 0;
        case TSettingsChoices::Gamma: return TSettings::Gamma;
        case TSettingsChoices::ScrollSpeed: return TSettings::keyMovementSpeed;
        case TSettingsChoices::Autosave: return TSettings::Autosave != 0 ? 1 : 0;
        case TSettingsChoices::Language: return TSettings::Language;
        case TSettingsChoices::Sound: return TSettings::Sound != 0 ? 1 : 0;
        case TSettingsChoices::SoundVolume: return TSettings::SoundVolume;
        case TSettingsChoices::AmbienceVolume: return TSettings::AmbienceVolume;
        default: return 0;
    }
}

void Set(TRow row, double n) {
    switch (row) {
        case TSettingsChoices::WindowSize:
            TSettings::ResolutionHorizontal = SizeWidth(n);
            TSettings::ResolutionVertical = SizeHeight(n);
            break;
        case TSettingsChoices::FullScreen: TSettings::GraphicMode = n != 0 ? 1 : 2; break;
        case TSettingsChoices::InterfaceScale: TSettings::UIScale = float(n); break;
        case TSettingsChoices::FPSLine: TSettings::ShowFPSAndVersion = int32_t(n); break;
        case TSettingsChoices::Gamma: TSettings::Gamma = int32_t(n); break;
        case TSettingsChoices::ScrollSpeed: TSettings::keyMovementSpeed = float(n); break;
        case TSettingsChoices::Autosave: TSettings::Autosave = int32_t(n); break;
        case TSettingsChoices::Language: TSettings::Language = int32_t(n); break;
        case TSettingsChoices::Sound: TSettings::Sound = int32_t(n); break;
        case TSettingsChoices::SoundVolume: TSettings::SoundVolume = int32_t(n); break;
        case TSettingsChoices::AmbienceVolume: TSettings::AmbienceVolume = int32_t(n); break;
        default: break;
    }
}

std::string Percent(double value) { return std::to_string(int32_t(std::lround(value * 100.0))) + " %"; }

std::string Text(TRow row, double n) {
    switch (row) {
        case TSettingsChoices::WindowSize: return std::to_string(SizeWidth(n)) + " × " + std::to_string(SizeHeight(n));
        case TSettingsChoices::FullScreen:
        case TSettingsChoices::FPSLine:
        case TSettingsChoices::Autosave:
        case TSettingsChoices::Sound: return n != 0 ? Tr("an") : Tr("aus");
        case TSettingsChoices::SoundVolume:
        case TSettingsChoices::AmbienceVolume: return Percent(n / 100.0);
        case TSettingsChoices::InterfaceScale: return n == 0 ? Tr("Automatisch") : Percent(n);
        case TSettingsChoices::Gamma: return n == 0 ? Tr("Normal") : (n > 0 ? "+" : "") + std::to_string(int32_t(n));
        case TSettingsChoices::ScrollSpeed: return Percent(n / usualScrollSpeed);
        case TSettingsChoices::Language:
            // Each language is named in its own words, so it is found whichever is in use.
            if (n == TCatalogue::german) return "Deutsch";
            if (n == TCatalogue::english) return "English";
            return std::to_string(int32_t(n));
        default: return "";
    }
}

TSettingsChoices::TValues Values(TRow row, double n) {
    switch (row) {
        case TSettingsChoices::WindowSize:
            return {{"Resolution horizontal", std::to_string(SizeWidth(n))},
                    {"Resolution vertical", std::to_string(SizeHeight(n))}};
        case TSettingsChoices::FullScreen: return {{"Graphic-Mode", n != 0 ? "1" : "2"}};
        case TSettingsChoices::InterfaceScale: {
            char text[32];
            std::snprintf(text, sizeof text, "%g", double(float(n)));
            return {{"UI scale", text}};
        }
        default: return {{rowTexts[row].key, std::to_string(int32_t(n))}};
    }
}
}  // namespace

std::string TSettingsChoices::Name(TRow row) { return row >= 0 && row < RowCount ? Tr(rowTexts[row].name) : ""; }

std::string TSettingsChoices::Note(TRow row) { return row >= 0 && row < RowCount ? Tr(rowTexts[row].note) : ""; }

std::string TSettingsChoices::Key(TRow row) { return row >= 0 && row < RowCount ? rowTexts[row].key : ""; }

std::vector<TSettingsChoices::TChoice> TSettingsChoices::Choices(TRow row) const {
    std::vector<double> numbers = Listed(row);
    const double current = CurrentNumber(row);
    if (std::find(numbers.begin(), numbers.end(), current) == numbers.end())
        numbers.insert(std::upper_bound(numbers.begin(), numbers.end(), current), current);
    std::vector<TChoice> choices;
    for (double n : numbers) choices.push_back({n, Text(row, n), Values(row, n)});
    return choices;
}

size_t TSettingsChoices::Current(TRow row) const {
    const std::vector<TChoice> choices = Choices(row);
    const double current = CurrentNumber(row);
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].number == current) return i;
    }
    return 0;
}

std::string TSettingsChoices::ValueText(TRow row) const { return Text(row, CurrentNumber(row)); }

bool TSettingsChoices::CanStep(TRow row, int32_t direction) const {
    const size_t i = Current(row);
    return direction < 0 ? i > 0 : direction > 0 && i + 1 < Choices(row).size();
}

bool TSettingsChoices::Step(TRow row, int32_t direction) {
    if (!CanStep(row, direction)) return false;
    return _choose(row, direction < 0 ? Current(row) - 1 : Current(row) + 1);
}

bool TSettingsChoices::Cycle(TRow row) {
    const size_t count = Choices(row).size();
    if (count < 2) return false;
    return _choose(row, (Current(row) + 1) % count);
}

bool TSettingsChoices::_choose(TRow row, size_t index) {
    const std::vector<TChoice> choices = Choices(row);
    if (index >= choices.size()) return false;
    Set(row, choices[index].number);
    if (!TSettingsFiles::SaveValues(optionsPath, choices[index].values))
        Print("The settings could not be written to " + optionsPath);
    return true;
}
