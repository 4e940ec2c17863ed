#pragma once
#include "gui/TGUIGadget.h"

// What the panels may ask of the game that owns them: the game's command functions with the
// game as their context. The GUI lies below the game and reaches it only through these.
struct TGameCommands {
    void* game = nullptr;
    TGUIGadget::TGameFunc zoomIn = nullptr;
    TGUIGadget::TGameFunc zoomOut = nullptr;
    TGUIGadget::TGameFunc exitGame = nullptr;
    TGUIGadget::TGameFunc centerMap = nullptr;
    TGUIGadget::TGameFunc takeScreenShot = nullptr;
    TGUIGadget::TGameFunc changeInfoModeState = nullptr;
    TGUIGadget::TGameFunc inInfoMode = nullptr;
};
