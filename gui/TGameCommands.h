#pragma once
#include <cstdint>
#include <string>

#include "gui/TGUIGadget.h"
#include "gui/TSettingsCommands.h"

// What the panels may ask of the game that owns them: the game's command functions with the
// game as their context. The GUI lies below the game and reaches it only through these.
struct TGameCommands {
    // A command about a saved city: the name to save it under, or the file to load.
    using TFileFunc = int32_t (*)(void* context, const std::string& text);
    // A line for the player.
    using TTextFunc = void (*)(void* context, const std::string& text);

    void* game = nullptr;
    TGUIGadget::TGameFunc zoomIn = nullptr;
    TGUIGadget::TGameFunc zoomOut = nullptr;
    TGUIGadget::TGameFunc exitGame = nullptr;
    TGUIGadget::TGameFunc centerMap = nullptr;
    TGUIGadget::TGameFunc takeScreenShot = nullptr;
    TGUIGadget::TGameFunc changeInfoModeState = nullptr;
    TGUIGadget::TGameFunc inInfoMode = nullptr;
    // Saves the city under a name (made safe as a file name by the game); 1 when it was written.
    TFileFunc saveGame = nullptr;
    // Loads the saved city at a path and switches to it after this frame; 0 (the running city
    // stays) when the file is refused.
    TFileFunc loadGame = nullptr;
    // Takes back the last editing command (road, building, demolition) and says what it was.
    TGUIGadget::TGameFunc undo = nullptr;
    // Shows a message in the line at the top of the screen (and on standard output) for a few
    // seconds; lines are split at '\n'.
    TTextFunc showMessage = nullptr;
    // How money and game dates are written where no world is at hand (the title screen's list
    // of saves); a world writes them through its own callbacks.
    std::string (*moneyText)(float amount) = nullptr;
    std::string (*dateText)(int32_t weekday, int32_t day, int32_t month, int32_t year) = nullptr;
    // The shell's answer to an option the settings panel changed.
    TSettingsCommands settings{};

    // The message through showMessage; nothing without one.
    void message(const std::string& text) const {
        if (showMessage) showMessage(game, text);
    }
};
