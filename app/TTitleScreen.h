#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/TMessageLine.h"
#include "gui/TNewGameTool.h"

class TApplication;
class TImage;
class TLayer;
class TTitleTool;

// The title screen: our title picture under the column of "Weiterspielen", "Neues Spiel",
// "Laden", "Einstellungen" and "Beenden", run frame by frame until the player chose. A saved
// city is read here already, so a file that is refused only brings a message and the title
// screen stays.
class TTitleScreen {
public:
    enum class TChoice { quit, newGame, loaded };
    // Printed once the title screen is drawn and takes input.
    static inline const char* const readyLine = "Title ready";

    explicit TTitleScreen(TApplication* app);
    ~TTitleScreen();
    // Runs until the player chose; after newGame, newGame holds the choices, after loaded,
    // world the city and message what to tell the player.
    TChoice run();

    // Reads the newest saved city (the autosave among them) for "Weiterspielen".
    void updateContinue();
    void draw();
    void continueGame();
    int32_t loadCity(const std::string& path);
    // The new game's defaults: the start map, the seed of the program's start and the rule set of
    // the settings.
    TNewGame Defaults() const;

    static int32_t _continueGame(void* context);
    static int32_t _quit(void* context);
    static int32_t _loadGame(void* context, const std::string& path);
    static void _startGame(void* context, const TNewGame& game);
    static void _showMessage(void* context, const std::string& text);

    TApplication* app = nullptr;
    std::shared_ptr<TTitleTool> tool;
    std::shared_ptr<TImage> background;
    TMessageLine message;
    TNewGame newGame;
    std::shared_ptr<TLayer> world;
    std::string loadMessage;
    // The newest save's path, empty without one.
    std::string continuePath;
    int32_t laidOutGeneration = -1;
    bool chosen = false;
    TChoice choice = TChoice::quit;
};
