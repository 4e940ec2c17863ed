#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/TFixedStep.h"
#include "app/TMessageLine.h"
#include "app/TReplayRecorder.h"
#include "app/TSoundView.h"
#include "app/TTimeDemo.h"
#include "gui/TNewGameTool.h"
#include "platform/TDrawCache.h"
#include "platform/TKeyMap.h"
#include "world/TLayer.h"

class TApplication;
class TGameArea;
class TGameGUIElements;
class THabitantControl;
class TSoundDirector;
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
    // Screenshots go to this folder of the player's (TPaths::User).
    static constexpr const char* screenshotFolder = "screens";
    static constexpr int32_t keyZ = KeyOfLetter('Z');

    static std::shared_ptr<TGame> CreateFromImage(TApplication* app, const std::string& url);
    // A new city as the new-game panel chose it: the map (an image or one painted from the
    // seed), the world's generator from the seed, the names, the start money and the rule set.
    static std::shared_ptr<TGame> CreateNew(TApplication* app, const TNewGame& choice);
    // A new city on the world: the start names, money and a centred camera.
    static std::shared_ptr<TGame> Create(const std::shared_ptr<TLayer>& layer, TApplication* app);
    // A loaded city: the world keeps its own names, money, calendar and camera and becomes the
    // current one.
    static std::shared_ptr<TGame> CreateLoaded(const std::shared_ptr<TLayer>& layer, TApplication* app);
    // Connects the world to the game and builds the GUI; freshCity also gives the world the
    // set-up of a new city.
    int32_t generate(const std::shared_ptr<TLayer>& layer, TApplication* app, int32_t freshCity = 1);
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
    // Takes back the last editing command and says what it was (or that there is none).
    void undoCommand();
    static int32_t _undoCommand(void* context);
    // A refused editing action: the reason goes to the message line and standard output.
    static void _refused(void* context, const std::string& reason);

    // --- sound ---
    // The shell's sound, or null (headless tests, no shell).
    TSoundDirector* sound() const;
    // A command carried out sounds from its place: a road, a building, a demolition.
    static void _edited(void* context, const TEditCommand& command);
    static void _finished(void* context, const std::shared_ptr<TBuilding>& building);
    // A milestone: its message and its fanfare.
    static void _milestone(void* context, const std::string& text);
    // The sound of the kind at the map point (tile units).
    void soundAt(int32_t id, float mapX, float mapY);
    // Once a frame: the ambience follows the view (counted anew every censusFrames frames).
    void _updateSound();
    static constexpr int32_t censusFrames = 10;
    TSoundView soundView;
    int32_t censusCountdown = 0;
    // The cheat console's accept callback; 0 rejects the text. Its reply goes to the message line.
    static int32_t _cheatCallback(void* context, const std::string& text);

    // --- saved cities ---
    // Saves to TSaveFolder's <name made safe>.sav (creating the folder); says how it went. 1 when written.
    int32_t saveCity(const std::string& name);
    // Loads the file while this city goes on; when it is taken the game ends after this frame
    // and nextWorld holds the loaded city. A refused file leaves this city as it was and says why.
    int32_t loadCity(const std::string& path);
    // The older autosave moves aside (replacing the one before), then the city is saved anew.
    // Runs each new month and when the game ends.
    int32_t autosave();
    // What the player reads after a load: the save's name (or why it was refused), then the
    // objects that were left out.
    static std::string LoadMessage(const std::string& path, bool loaded, const std::string& reason);
    static int32_t _saveGame(void* context, const std::string& name);
    static int32_t _loadGame(void* context, const std::string& path);

    // --- message line ---
    // Shows a message (lines split at '\n') at the top of the screen and prints it.
    void ShowMessage(const std::string& text);
    static void _showMessage(void* context, const std::string& text);
    void _drawMessage();

    // --- steps of a frame ---
    // Escape ends the game, or closes an open text field instead; F1 held lists the demand,
    // F1 hit opens the console.
    void _updateKeys();
    // After the window changed size: the view, the camera (its centre stays), the map area
    // behind the panels and the panels (at their relative places, kept on screen) follow.
    void _updateWindowSize();
    void _render();
    // The city's steps for the real time since the last frame (TFixedStep), each followed by
    // its day line when the day changed.
    void _simulate();
    void _updateLayer();
    // Saves automatically when the world's month changed in this frame's update (unless the
    // "Autosave" option is off).
    void _updateAutosave();
    // With the shell's printDays: one line per new game day on standard output. A new reason
    // why the city does not grow goes to the message line.
    void _printDay();
    // The rule set options.cfg names for new cities ("growth" when it names none it knows).
    static std::shared_ptr<THabitantControl> RulesFromSettings();
    void ShowMoneyInfo();
    // A right-button drag that began on the map keeps the map point grabbed under the pointer.
    void _updateRightClickMovement();
    void _updateMouseWheelZoom();
    void _updateMouseInCornerMovement();
    // Held arrow keys scroll at TSettings::keyMovementSpeed screen pixels per second.
    void _updateKeyMovement();
    void _updateInfoMode();
    // While an editing mode cannot act where the pointer is on the map, the reason is the tooltip.
    void _updateModeReason();
    void _updateAfterRendering();
    // The screenshot file name for a date text and a clock value.
    static std::string ScreenshotName(int32_t ms);

    TApplication* app = nullptr;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TGameArea> gameArea;
    std::shared_ptr<TGameGUIElements> guiElements;
    int32_t _haveToBeStopped = 0;
    float gameSpeed = 0.0f;
    // The map point held by a right-button drag (map units); dragging is false between drags.
    bool dragging = false;
    float dragMapX = 0, dragMapY = 0;
    // The part of a pixel the arrow keys owe the camera, carried to the next frame.
    float keyScrollRestX = 0, keyScrollRestY = 0;
    float money = 0.0f;
    std::vector<std::string> alternateTooltipp;
    std::string alternateTooltippId;
    int32_t _doScreenshot = 0;
    int32_t infoMode = 0;
    int32_t printedDay = -1;
    // At most half a second of steps a frame: slower frames run the city slower.
    TFixedStep stepper{TLayer::stepMs, 25};
    std::string growthNote;
    // The shell's window size this game is laid out for.
    int32_t laidOutGeneration = 0;
    std::vector<TBuildingMoneyInfo> listLayerInfos;
    // The month seen after the last frame's update; −1 before the first frame.
    int32_t autosaveMonth = -1;
    TMessageLine message;
    // Set when the player closed the window: the program ends, not only this game.
    int32_t windowClosed = 0;
    // A loaded city the menu starts next, once this game has ended, and what to tell the
    // player then.
    std::shared_ptr<TLayer> nextWorld;
    // Records this game's changes as a replay (with --record); ends with the game.
    std::unique_ptr<TReplayRecorder> recorder;
    // Set while "--frames N" measures the drawing: frames are drawn without waiting.
    std::unique_ptr<TTimeDemo> timeDemo;
    std::string nextMessage;
    // The interface's panels, kept as one picture while they do not change.
    TDrawCache interfaceCache;
};
