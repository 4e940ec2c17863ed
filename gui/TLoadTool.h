#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"
#include "gui/TGameCommands.h"
#include "gui/TSaveFolder.h"
#include "platform/TCatalogue.h"
#include "world/TCitySummary.h"

class TGUI;
class TLayer;

namespace vesko {
class TCGroup;
}

// The list of saved cities: a move button with a column of bars beside it, newest save first, a
// page at a time, and previous, close and next under the column. Each bar shows the save's name
// with its money, and under it the game date and the inhabitants, read from the start of the
// file (a file that is no readable save shows only its name, one written before the count was
// kept no inhabitants). A touched bar loads that city through the game's load command; the
// panel closes when the game takes the file and stays open (the game says why) when it refuses
// it. The folder is read anew each time the panel opens.
class TLoadTool : public TGUIElement {
public:
    static constexpr size_t pageSize = 8;
    static inline const std::string emptyText = TrNoop("Keine Spielstände");

    // What a bar shows of a save: its name, and when it could be read, money, date and
    // inhabitants ("" for what is unknown).
    struct TShownEntry {
        std::string name, money, date, inhabitants;
        bool operator==(const TShownEntry&) const = default;
    };

    // Money and dates are written as the world's game writes them.
    static std::shared_ptr<TLoadTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const TGameCommands& game, const std::shared_ptr<TLayer>& layer = nullptr);
    // Reads the folder, shows the first page and keeps the panel on screen.
    void SHOW() override;

    // Reads the save folder again; the page stays where it was as far as it still exists.
    void refresh();
    void nextPage();
    void previousPage();
    int32_t pageCount() const;
    // The names the bars show now (the empty text when there are no saves).
    std::vector<std::string> shownNames() const;
    // What the bars of the current page show (none when there are no saves).
    std::vector<TShownEntry> shownEntries();
    // Loads the save shown at a bar of the current page.
    void onCmdEntry(size_t slot);

    static int32_t _onCmdEntry(void* context);
    static int32_t _nextPage(void* context);
    static int32_t _previousPage(void* context);
    static int32_t _close(void* context);

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    TGameCommands game;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TGUIGadget> cmdMove, cmdPrv, cmdClose, cmdNext;
    std::array<std::shared_ptr<TGUIGadget>, pageSize> cmdEntries;
    float barWidth = 0, barHeight = 0;
    std::vector<TSaveFolder::TEntry> files;
    // Parallel to files, read when their page is first shown.
    std::vector<TCitySummary> summaries;
    int32_t page = 0;

private:
    // A bar's button context: the panel and the bar's place in the column.
    struct TSlot {
        TLoadTool* tool = nullptr;
        size_t index = 0;
    };

    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, const TGameCommands& game,
                  const std::shared_ptr<TLayer>& layer);
    // The bar of files[index]; its file is read the first time.
    TShownEntry _entry(size_t index);
    // Writes the current page into the bars and shows only the bars and page buttons in use.
    void _updateEntries();
    // Where the row of buttons lies under a column of that many bars.
    float _rowY(size_t bars) const;

    std::array<TSlot, pageSize> _slots;
    std::array<std::shared_ptr<vesko::TCGroup>, pageSize> _texts;
    // Per file: 0 not read yet, 1 summarised, −1 no readable save.
    std::vector<int8_t> _summaryState;
};
