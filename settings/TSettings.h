#pragma once
#include <cstdint>
#include <string>

// The player's options (cfg/options.cfg) and the fixed switches that have no key.
// Every value holds its built-in default from program start.
class TSettings {
public:
    // The interface's language (TCatalogue): 1 Deutsch, 2 English.
    static inline int32_t Language = 1;
    // The rules new cities play by: "growth" (Wachstum) or "classic" (Klassisch).
    static inline std::string RuleSet = "growth";
    static inline int32_t GraphicMode = 2;
    static inline int32_t ResolutionHorizontal = 640;
    static inline int32_t ResolutionVertical = 480;
    static inline int32_t SaveHighscore = 0;
    static inline std::string Playername = "ORVANDELMARSKI";
    // "Sound": 1 plays sound, 0 keeps the game silent.
    static inline int32_t Sound = 1;
    // "Sound volume" (the events and the interface) and "Ambience volume" (birds, wind, the
    // city's hum, traffic, weather), in percent.
    static inline int32_t SoundVolume = 80;
    static inline int32_t AmbienceVolume = 60;
    static inline int32_t ShowFPSAndVersion = 1;
    static inline int32_t ShowDebugInfo = 0;
    static inline int32_t Startmenue = 1;
    static inline int32_t CheckUpdate = 0;
    static inline int32_t ShowTooltips = 1;
    static inline int32_t Gamma = 0;
    static inline int32_t Cheatmodus = 1;
    static inline int32_t DetailsParticles = 3;
    static inline int32_t ShowWaterImageChange = 1;
    static inline int32_t ShowWaterAnimation = 1;
    static inline int32_t ScrollWithMouse = 0;
    static inline float TargetFPS = 60.0f;
    // The interface's size: 1 = as designed, 2 = twice as large, 0 = chosen from the display.
    static inline float UIScale = 1.0f;
    // 1: the city is saved at the start of every game month (leaving the game always saves it).
    static inline int32_t Autosave = 1;

    // Fixed switches without a settings key.
    static inline std::string graphicsDriverName = "dx9";
    static inline uint8_t drawFingerLights = 1;
    static inline uint8_t showGadgetHover = 1;
    static inline uint8_t drawMouseShadow = 1;
    static inline uint8_t rightClickMovement = 1;
    static inline uint8_t mouseWheelZoom = 1;
    static inline int32_t cornerScrollBorder = 1;
    static inline uint8_t keyMovement = 1;
    // "scroll speed": screen pixels per second the map moves while an arrow key is held or the
    // pointer stands at the screen's edge.
    static inline float keyMovementSpeed = 600.0f;

    // Reads folder + "/options.cfg"; returns 0 (also when the file cannot be opened).
    // Values that would leave the program unusable are replaced afterwards, with one line each.
    static int32_t ReadIn(const std::string& folder);
    // Puts every option back to its built-in default.
    static void SetDefaults();

    // Accepted ranges; values outside are replaced after reading.
    static constexpr int32_t minResolutionHorizontal = 320;
    static constexpr int32_t minResolutionVertical = 240;
    static constexpr int32_t maxResolution = 16384;
    static constexpr int32_t maxGamma = 255;
    static constexpr int32_t maxTargetFPS = 1000;
    static constexpr int32_t maxVolume = 100;
    static constexpr float fallbackTargetFPS = 60.0f;
    static constexpr int32_t minScrollSpeed = 30, maxScrollSpeed = 10000;

private:
    static void _Clamp();
    static void _ReadUIScale(const std::string& text);
};
