#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"

class TGUI;
class TImage;
class TPixmap;
class TTextFieldTool;

namespace vesko {
class TCGroup;
}

// What a new city starts with. Every field has the default a new player gets, so starting
// without changing anything gives the start map.
struct TNewGame {
    static inline const std::string startMap = "data/maps/128/001r.png";

    // A map image (a data name like startMap, or a path); empty for a map painted from the seed.
    std::string mapPath = startMap;
    // The width and height of a painted map.
    int32_t mapSize = 256;
    uint32_t seed = 1;
    std::string cityName = "Vallmora City";
    std::string mayorName = "Vesko";
    // The rule set's id ("growth" or "classic").
    std::string rules = "growth";
    float money = 100000.0f;
};

// The panel "Neues Spiel": the map (each image under the maps folder with a small preview, or a
// map painted from a seed in one of three sizes), the city's name, the mayor, the rule set, the
// start money and the seed, each on a bar that steps through its values or opens the text field
// when touched, and "Starten". A map image that is no picture, or too small or too large for a
// city, is left out with a line on standard output.
class TNewGameTool : public TGUIElement {
public:
    using TStartFunc = void (*)(void* context, const TNewGame& game);
    using TMoneyText = std::string (*)(float amount);

    // One map image to choose.
    struct TMapChoice {
        std::string path;
        std::string name;
        int32_t width = 0, height = 0;
        std::shared_ptr<TPixmap> pixmap;
    };

    static constexpr int32_t minMapSize = 32;
    static constexpr int32_t maxMapSize = 1024;
    static constexpr std::array<int32_t, 3> paintedSizes = {128, 256, 512};
    static constexpr std::array<float, 3> moneyLevels = {50000.0f, 100000.0f, 250000.0f};
    static constexpr int32_t previewSize = 160;
    static constexpr size_t rowCount = 7;

    // The usable map images under a folder and its subfolders, sorted by path; the others are
    // named on standard output with the reason they are left out. A data name ("data/maps") is
    // looked for where TPaths::Resolve finds it, and the maps keep names under it.
    static std::vector<TMapChoice> ListMaps(const std::string& folder);

    static std::shared_ptr<TNewGameTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                TTextFieldTool* field, TStartFunc start, void* context,
                                                TMoneyText moneyText, const TNewGame& defaults);
    // Reads the maps folder again and shows the panel in the middle of the screen.
    void SHOW() override;

    // The choices in turn (the map list ends with the painted map).
    void nextMap(int32_t step);
    void nextSize();
    void nextRules();
    void nextMoney();
    // Opens the text field for the seed, the city's or the mayor's name.
    void editText(size_t row);
    // Takes a typed text for one of those rows (blanks at the ends dropped); 0 keeps the field
    // open: an empty name, or a seed that is no whole number of 32 bits.
    int32_t acceptText(size_t row, const std::string& text);
    void start();
    bool paintedMap() const { return mapIndex >= maps.size(); }
    // Writes the rows again (in the language now in use).
    void UpdateTexts();
    // What the rows show now, top to bottom.
    std::vector<std::string> rowTexts() const;

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    TTextFieldTool* field = nullptr;
    TStartFunc startFunc = nullptr;
    void* context = nullptr;
    TMoneyText moneyText = nullptr;
    TNewGame choice;
    // Where the map images are looked for when the panel opens.
    std::string mapsFolder = "data/maps";
    std::vector<TMapChoice> maps;
    size_t mapIndex = 0;
    std::shared_ptr<TGUIGadget> cmdMove, cmdPreview, cmdPrv, cmdNext, cmdStart, cmdClose;
    std::array<std::shared_ptr<TGUIGadget>, rowCount> rows;
    float barWidth = 0, barHeight = 0;

private:
    struct TSlot {
        TNewGameTool* tool = nullptr;
        size_t index = 0;
    };

    void generate(const std::shared_ptr<TGUI>& gui, float r, TTextFieldTool* field, TStartFunc start, void* context,
                  TMoneyText moneyText, const TNewGame& defaults);
    // The shown map and the rows after a change.
    void _update();
    void _updatePreview();
    static int32_t _onRow(void* context);
    static int32_t _onTextAccepted(void* context, const std::string& text);

    std::array<TSlot, rowCount> _slots;
    std::array<std::shared_ptr<vesko::TCGroup>, rowCount> _texts;
    std::shared_ptr<vesko::TCGroup> _previewGroup;
    std::shared_ptr<TImage> _previewImage;
    // The row whose text the field is editing.
    size_t _editedRow = 0;
};
