#pragma once
#include <cstdint>
#include <memory>
#include <string>

class TApplication;
class TGame;
class TLayer;

// Starts the game, switches to a city the game loaded when it ends for that, and stops the
// application when the player leaves (there is no start menu).
class TMenu {
public:
    static inline const char* const mapPath = "data/maps/128/001r.png";
    // Printed once the game has faded in and takes input.
    static inline const char* const readyLine = "Game ready";
    static int32_t _onGameShown(void* context);

    static std::shared_ptr<TMenu> Create(TApplication* app);
    int32_t generate(TApplication* app);
    // Games in turn: the saved city of the shell's loadPath or else the start map first, then
    // each city a game loaded before it ended; every game fades in from black.
    void run();
    // The city of the shell's loadPath; null without one or when it is refused, with what to
    // tell the player in message either way.
    std::shared_ptr<TLayer> _loadStartCity(std::string& message);
    // With --record: the game's recorder, its header saying how the city began (the first
    // city only: the path is cleared once it is used).
    void _record(TGame& game, bool loaded);
    void Close() {}
    void ExitMenu() { _haveToBeStopped = 1; }

    TApplication* app = nullptr;
    int32_t _haveToBeStopped = 0;
};
