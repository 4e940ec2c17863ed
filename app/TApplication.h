#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/TFastRandom.h"
#include "gui/TSettingsCommands.h"
#include "platform/TGraphics.h"

class TEventReceiver;
class TFPSCounter;
class TGUI;
class TImage;
class TImageFont;
class TMenu;
class TPixmap;
class TRenderFilter;
class TSoundDirector;
class TTimer;

// The shell: opens the window, loads content behind the loading screen, prepares the GUI
// resources, runs the game and presents every frame (render).
class TApplication {
public:
    static constexpr int32_t MouseFrame_Default = 0;
    static constexpr int32_t MouseFrame_Move = 1;
    static constexpr int32_t MouseFrame_InfoMode = 2;
    // Console lines kept while the debug display is off (the oldest are dropped beyond this).
    static constexpr size_t maxStdOutLines = 200;

    static std::shared_ptr<TApplication> Create();
    ~TApplication();
    int32_t generate();
    void Init();
    void Deinit();
    // False (with a line on standard output) when no window could be opened.
    bool InitWindow();
    void DeInitWindow();
    void loadResources(int32_t withLoadingScreen);
    void run();
    void Stop();

    void prepareLoadingScreen();
    void drawLoadingScreen(const std::string& text);
    void releaseLoadingScreen();
    static void _drawLoadingScreen(void* context, const std::string& text);

    void render(int32_t updateInputs, int32_t drawPointers, int32_t waitTimer, int32_t drawGamma, int32_t drawFilters,
                int32_t drawInfo);
    void setMouseFrame(int32_t frame) { mouseFrame = frame; }
    void writeToStdOut(const std::string& line);
    std::shared_ptr<TPixmap> getPixmap();
    void addFilter(const std::shared_ptr<TRenderFilter>& filter);
    // Takes a new window size reported since the last frame: the drawing area, xmax and ymax
    // follow and sizeGeneration counts up, so the game lays itself out again. True when the
    // size changed.
    bool applyWindowSize();
    // Writes the window's size into options.cfg (TPaths::Config) when the player resized the window (not
    // in full screen), so the next start opens it at that size.
    void saveWindowSize();
    int32_t sizeGeneration = 0;
    // The window size cfg/options.cfg holds (read at start, or written by the settings panel).
    int32_t savedWidth = 0, savedHeight = 0;

    // Applies an option the settings panel changed, named by its key in options.cfg (TSettings
    // holds the new value, the file is written): the window's size, full screen, the interface
    // scale (laid out anew after the frame) and the language. The others are read every frame.
    void applySetting(const std::string& key);
    static void _applySetting(void* context, const std::string& key);
    // The settings panel's commands, with this shell as their context.
    TSettingsCommands SettingsCommands();

    std::shared_ptr<TEventReceiver> event;
    // The sound, opened with the window (silent without a device); null before and in tests
    // that open no window.
    std::unique_ptr<TSoundDirector> sound;
    // Every gadget that fires clicks.
    static void _clicked(void* context);
    std::shared_ptr<TImage> mouseImg;
    int32_t mouseFrame = MouseFrame_Default;
    std::shared_ptr<TMenu> menu;
    std::string appName;
    TGraphicsDriver Driver = TGraphicsDriver::D3D9;
    int32_t xmax = 0, ymax = 0;
    // The interface factor asked for ("UI scale", or the display's for 0); the one in use may be smaller.
    float wantedInterfaceFactor = 1.0f;
    int32_t depth = 0;
    std::shared_ptr<TTimer> timer;
    int32_t Sync = -1;
    std::shared_ptr<TFPSCounter> FPS;
    std::shared_ptr<TImageFont> infoFont;
    std::shared_ptr<TImage> fingerLightImg;
    std::vector<std::string> stdOut;
    std::shared_ptr<TGUI> gui;
    std::shared_ptr<vesko::TFastRandom> random;
    std::vector<std::shared_ptr<TRenderFilter>> currentFilterList;
    std::shared_ptr<TImage> loadingTitleImg;
    // With --daily the game prints one line about the city per game day.
    int32_t printDays = 0;
    // With --load FILE the game starts with that saved city instead of the start map.
    std::string loadPath;
    // With --record FILE the first city's game is recorded as a replay for vallmora-sim.
    std::string recordPath;
    // --new: a new game with the defaults at once, without the title screen.
    int32_t newGame = 0;
    // "--frames N": the game started draws N frames as fast as it can, reports them and ends.
    int32_t timeDemoFrames = 0;
    // The seed of a time demo's new city: its sky stays clear for the demo's first days.
    static constexpr int32_t timeDemoSeed = 5;
    // The seed of a new city's generator (taken from the clock at start).
    int32_t seed = 0;

    void _updateInputs();
    void _showVersionAndFPS();
    void _renderFingerLights();
    void _drawMouse(float x, float y);
    void _renderFilter();
    void _renderGamma();
    void _prepareGUI();
    // The interface factor for the window's size (smaller in a window too small for the wanted one).
    void _fitInterface();
    // A new "UI scale" from the settings panel, taken after the frame; the game lays itself out
    // again when the factor changed.
    void _applyInterfaceScale();
    bool interfaceScaleChanged = false;
    void _LoadGUIFonts();
    void _LoadGUIImages();
    void _SetGuiTextColors();
    void _PrepareTooltips();
    void _PackGUIImages();

    // The back end a driver name selects ("dx7", "dx9", "ogl"; anything else Direct3D 9).
    static TGraphicsDriver DriverFromName(const std::string& name);
    // The interface factor for the configured "UI scale": as configured, or for 0 the quarter
    // step nearest to the display's density (1 when it is unknown), said on standard output.
    static float InterfaceFactor(float configured, float dpi);

private:
    bool windowOpen = false;
    bool stopped = false;
};
