#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "gui/TNewGameTool.h"

class TApplication;
class TGame;
class TLayer;

// Runs the title screen and the games chosen there in turn, switches to a city a game loaded
// when it ends for that, and stops the application when the player leaves the title screen.
class TMenu {
public:
    // Printed once the game has faded in and takes input.
    static inline const char* const readyLine = "Game ready";
    static int32_t _onGameShown(void* context);

    static std::shared_ptr<TMenu> Create(TApplication* app);
    int32_t generate(TApplication* app);
    // Games in turn: the saved city of the shell's loadPath, or a new game at once with
    // newGame, or else the title screen first; then each city a game loaded before it ended,
    // and after a game left from the title screen, the title screen again. Every game fades
    // in from black.
    void run();
    // The city of the shell's loadPath; null without one or when it is refused, with what to
    // tell the player in message either way.
    std::shared_ptr<TLayer> _loadStartCity(std::string& message);
    // With --record: the game's recorder, its header saying how the city began (the first
    // city only: the path is cleared once it is used).
    void _record(TGame& game, bool loaded, const TNewGame& choice);
    void Close() {}
    void ExitMenu() { _haveToBeStopped = 1; }

    TApplication* app = nullptr;
    int32_t _haveToBeStopped = 0;
};
