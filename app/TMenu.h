#pragma once
#include <cstdint>
#include <memory>

class TApplication;

// Starts the one game and stops the application when it ends (there is no start menu).
class TMenu {
public:
    static std::shared_ptr<TMenu> Create(TApplication* app);
    int32_t generate(TApplication* app);
    void run();
    void Close() {}
    void ExitMenu() { _haveToBeStopped = 1; }

    TApplication* app = nullptr;
    int32_t _haveToBeStopped = 0;

private:
    // Until the map can be played: black fade-in, version line, pointer and gamma until
    // Escape or the window is closed.
    void _presentationLoop();
};
