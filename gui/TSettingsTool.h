#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"
#include "gui/TSettingsCommands.h"
#include "settings/TSettingsChoices.h"

class TGUI;

namespace vesko {
class TCGroup;
}

// "Einstellungen": the options of cfg/options.cfg as a column of bars, one per row of
// TSettingsChoices, each with its name over its value and round buttons to the previous value
// at its left and the next at its right (each hidden at its end of the list); a tap on a bar
// goes to the next value, after the last the first. A change is written to the file at once and
// handed to the shell through the commands, which applies it. The header holds the move button,
// the title and the close button; a screen too short for every row shows them a page at a time,
// with page buttons in the header. Built on its own (the game's options row and a title screen
// open the same panel) and waits hidden in the middle of the screen.
class TSettingsTool : public TGUIElement {
public:
    using TRow = TSettingsChoices::TRow;
    static constexpr size_t slotCount = TSettingsChoices::RowCount;

    static std::shared_ptr<TSettingsTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                 const TSettingsCommands& commands);
    // Shows the values as they are now, fitted to the screen and kept on it.
    void SHOW() override;
    // While shown: follows a new screen height (rows per page), values changed elsewhere (F11, a
    // window dragged to a new size) and a new language, and keeps the panel on screen.
    void Update();

    // The row's value before (−1) or after (+1) the current one; the next one round for a tap.
    void step(TRow row, int32_t direction);
    void cycle(TRow row);
    void nextPage();
    void previousPage();
    int32_t pageCount() const;
    // The rows a page holds on this screen (all when they fit).
    size_t rowsPerPage() const;
    // The rows of the current page, top to bottom (slot i shows the i-th).
    std::vector<TRow> shownRows() const;

    static int32_t _onStepDown(void* context);
    static int32_t _onStepUp(void* context);
    static int32_t _onBar(void* context);
    static int32_t _nextPage(void* context);
    static int32_t _previousPage(void* context);
    static int32_t _close(void* context);

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    TSettingsCommands commands;
    TSettingsChoices choices;
    std::shared_ptr<TGUIGadget> cmdMove, cmdTitle, cmdClose, cmdPrvPage, cmdNextPage;
    std::array<std::shared_ptr<TGUIGadget>, slotCount> cmdBars, cmdDown, cmdUp;
    float barWidth = 0, barHeight = 0;
    int32_t page = 0;

private:
    // A slot's button context: the panel and the slot's place in the column.
    struct TSlot {
        TSettingsTool* tool = nullptr;
        size_t index = 0;
    };

    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, const TSettingsCommands& commands);
    // The row a slot shows on the current page; RowCount for an empty slot.
    TRow _rowAt(size_t slot) const;
    // Writes names, values and tooltips into the bars and shows only the gadgets in use.
    void _refresh();
    // What the panel shows now, to notice a change made elsewhere.
    std::string _shownState() const;

    std::array<TSlot, slotCount> _slots;
    std::array<std::shared_ptr<vesko::TCGroup>, slotCount> _texts;
    std::shared_ptr<vesko::TCGroup> _titleText;
    std::string _lastState;
    int32_t _laidOutHeight = -1;
};
