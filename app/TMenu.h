#pragma once
#include <cstdint>
#include <memory>

class TApplication;

// Starts the one game and stops the application when it ends (there is no start menu).
class TMenu {
public:
    static inline const char* const mapPath = "data/maps/128/001r.png";
    // Printed once the game has faded in and takes input.
    static inline const char* const readyLine = "Game ready";
    static int32_t _onGameShown(void* context);

    static std::shared_ptr<TMenu> Create(TApplication* app);
    int32_t generate(TApplication* app);
    void run();
    void Close() {}
    void ExitMenu() { _haveToBeStopped = 1; }

    TApplication* app = nullptr;
    int32_t _haveToBeStopped = 0;
};
