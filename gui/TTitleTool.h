#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"
#include "gui/TGameCommands.h"
#include "gui/TNewGameTool.h"
#include "gui/TSettingsCommands.h"

class TGUI;
class TInputSnapshot;
class TLoadTool;
class TSettingsTool;
class TTextFieldTool;

namespace vesko {
class TCGroup;
class TTouchPoint;
}  // namespace vesko

// What the title screen's buttons ask of the program that shows it.
struct TTitleCommands {
    void* context = nullptr;
    // Goes on with the newest saved city.
    TGUIGadget::TGameFunc continueGame = nullptr;
    // Ends the program.
    TGUIGadget::TGameFunc quit = nullptr;
    // Loads a saved city and starts it; 0 when the file is refused (the title screen stays).
    TGameCommands::TFileFunc loadGame = nullptr;
    TNewGameTool::TStartFunc startGame = nullptr;
    TNewGameTool::TMoneyText moneyText = nullptr;
    decltype(TGameCommands::dateText) dateText = nullptr;
    TGameCommands::TTextFunc showMessage = nullptr;
    // The shell's answer to an option the settings panel changed.
    TSettingsCommands settings{};
};

// The title screen's buttons: a column of bars — "Weiterspielen" (with the newest saved city's
// name and date under it, only when there is one), "Neues Spiel", "Laden", "Einstellungen",
// "Beenden" — and the panels they open: the new game, the list of saved cities and the text
// field the new game's names are typed into, and the settings.
class TTitleTool : public TGUIElement {
public:
    using TTouchPoints = std::span<const std::shared_ptr<vesko::TTouchPoint>>;
    enum TBar : size_t { barContinue, barNewGame, barLoad, barSettings, barQuit, barCount };

    static std::shared_ptr<TTitleTool> Create(const std::shared_ptr<TGUI>& gui, TInputSnapshot* event,
                                              const TTitleCommands& commands, const TNewGame& defaults);
    // The second line of "Weiterspielen"; empty hides the bar.
    void SetContinue(const std::string& what);
    // Writes the bars' texts (and the new game's rows) again in the language now in use.
    void UpdateTexts();
    // Puts the column at the left of the screen, a little below the middle.
    void Layout();
    // Draws the GUI and runs its touch objects and gadgets for one frame.
    void Update(TTouchPoints touchPoints, const std::vector<int32_t>& tooltipPos, TGUIGadget::TKeyHits keyHits);
    // Whether a panel (or the text field) is open over the column.
    bool PanelOpen() const;
    // Closes the front-most open panel (the text field first); false when none was open.
    bool CloseOpenPanel();
    void Destroy() override;

    std::shared_ptr<TGUI> gui;
    TTitleCommands commands;
    std::array<std::shared_ptr<TGUIGadget>, barCount> bars;
    std::shared_ptr<TTextFieldTool> textFieldTool;
    std::shared_ptr<TNewGameTool> newGameTool;
    std::shared_ptr<TLoadTool> loadTool;
    std::shared_ptr<TSettingsTool> settingsTool;
    float barWidth = 0, barHeight = 0;

private:
    void generate(const std::shared_ptr<TGUI>& gui, TInputSnapshot* event, const TTitleCommands& commands,
                  const TNewGame& defaults);
    void _setText(size_t bar, const std::string& text, const std::string& second = {});
    // The panels the column opens, front-most first.
    std::vector<TGUIElement*> _panels() const;

    std::array<std::shared_ptr<vesko::TCGroup>, barCount> _texts;
    std::string _continueWhat;
};
