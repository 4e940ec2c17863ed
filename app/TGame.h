#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/TLayer.h"

class TApplication;
class TGameArea;
class TGameGUIElements;
struct TGameCommands;

// The one game: builds the world from the map image, answers the world's money and text
// callbacks, and runs the frame loop (world update and drawing, money pop-ups, camera
// controls, info mode, presentation, screenshots) until the player leaves.
class TGame {
public:
    // One floating money pop-up over a building or road.
    struct TBuildingMoneyInfo {
        float money = 0;
        TLayer::TThing thing;
        std::string text;
        int32_t r = 255, g = 255, b = 255;
        int32_t ms = 0;
    };

    static constexpr float popupLifeMS = 2000.0f;
    static constexpr float popupRise = 50.0f;
    static constexpr float startMoney = 100000.0f;

    static std::shared_ptr<TGame> CreateFromImage(TApplication* app, const std::string& url);
    static std::shared_ptr<TGame> Create(const std::shared_ptr<TLayer>& layer, TApplication* app);
    int32_t generate(const std::shared_ptr<TLayer>& layer, TApplication* app);
    ~TGame();

    void run();
    // While F1 is held: the demand per level as debug lines.
    void _writeDemandLines();
    // The cheat console: the text field with the cheat words as its accept callback.
    void openConsole();
    // The info mode's lines for a building; its commuters' routes are marked this frame.
    void _describeBuilding(const std::shared_ptr<TBuilding>& b);
    void _stop() { _haveToBeStopped = 1; }
    void gameExit() { _haveToBeStopped = 1; }
    void onExit();
    void saveGadgetSettings();
    // The game's commands for the GUI's buttons, with this game as their context.
    TGameCommands Commands();
    void startProgrammingCheats() {}

    // --- pointer ---
    int32_t MouseX() const;
    int32_t MouseY() const;
    // A press of the button in this frame over the map (not over a panel).
    int32_t MouseHit(int32_t button) const;
    // Whether a panel, not the map, lies under the screen point.
    int32_t PointerOverGUI(int32_t x, int32_t y) const;
    std::vector<int32_t> getTooltipMousePos(int32_t force) const;

    // --- world services ---
    int32_t enoughMoneyToBuy(float cost) const;
    int32_t expendMoney(float cost);
    static std::string GetRealMoney(float amount);
    static std::string GetRealDate(int32_t weekday, int32_t day, int32_t month, int32_t year);
    void AddShowMoneyInfo(const TLayer::TThing& thing, float amount);
    static int32_t _enoughMoneyToBuy(void* context, float cost);
    static int32_t _expendMoney(void* context, float cost);
    static std::string _getRealMoney(void* context, float amount);
    static std::string _getRealDate(void* context, int32_t weekday, int32_t day, int32_t month, int32_t year);
    static int32_t _showMoneyInfo(void* context, float amount, const TLayer::TThing& thing);

    // --- commands (button actions of the GUI tools) ---
    void zoomIn();
    void zoomOut();
    void centerMap();
    void takeScreenShot() { _doScreenshot = 1; }
    void changeInfoModeState() { infoMode = 1 - infoMode; }
    int32_t inInfoMode() const { return infoMode; }
    static int32_t _zoomIn(void* context);
    static int32_t _zoomOut(void* context);
    static int32_t _exitGame(void* context);
    static int32_t _centerMap(void* context);
    static int32_t _takeScreenShot(void* context);
    static int32_t _changeInfoModeState(void* context);
    static int32_t _inInfoMode(void* context);
    // The cheat console's accept callback; 0 rejects the text.
    static int32_t _cheatCallback(void* context, const std::string& text);

    // --- steps of a frame ---
    // Escape ends the game; F1 held lists the demand, F1 hit opens the console.
    void _updateKeys();
    void _render();
    void _updateLayer();
    // With the shell's printDays: one line per new game day on standard output.
    void _printDay();
    void ShowMoneyInfo();
    void _updateRightClickMovement();
    void _updateMouseWheelZoom();
    void _updateMouseInCornerMovement();
    void _updateKeyMovement();
    void _updateInfoMode();
    void _updateAfterRendering();
    // The screenshot file name for a date text and a clock value.
    static std::string ScreenshotName(int32_t ms);

    TApplication* app = nullptr;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TGameArea> gameArea;
    std::shared_ptr<TGameGUIElements> guiElements;
    int32_t _haveToBeStopped = 0;
    float gameSpeed = 0.0f;
    float money = 0.0f;
    std::vector<std::string> alternateTooltipp;
    std::string alternateTooltippId;
    int32_t _doScreenshot = 0;
    int32_t infoMode = 0;
    int32_t printedDay = -1;
    std::vector<TBuildingMoneyInfo> listLayerInfos;
};
