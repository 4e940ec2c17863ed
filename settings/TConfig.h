#pragma once
#include <cstdint>
#include <string>

// Tuning values of the world (cfg/vallmora.cfg). Every value holds its built-in default from
// program start; ReadIn overwrites the values whose keys the file holds.
class TConfig {
public:
    static inline int32_t tilewidth = 32;
    static inline int32_t tileheight = 16;
    static inline int32_t scrollspeed = 16;
    static inline int32_t treePercentage = 10;
    static inline float smokeSpeedYMin = 0.25f;
    static inline float smokeSpeedYMax = 0.7f;
    static inline int32_t smokeMaxFrames = 8;
    static inline float smokeStartVariationXMin = 2.0f;
    static inline float smokeStartVariationXMax = 4.0f;
    static inline float smokeVariationXMin = 0.015f;
    static inline float smokeVariationXMax = 0.1f;
    static inline float smokeChangeFrameSpeedMin = 0.03f;
    static inline float smokeChangeFrameSpeedMax = 0.07f;
    static inline int32_t wind = 1;
    static inline int32_t windDir = 3;
    static inline int32_t windDirTimerMin = 120000;
    static inline int32_t windDirTimerMax = 360000;
    static inline float windPowerMax = 3.0f;
    static inline int32_t windPowerTimerMin = 30000;
    static inline int32_t windPowerTimerMax = 90000;
    static inline float waterMinSpeed = 0.3f;
    static inline float waterMaxSpeed = 0.4f;
    static inline int32_t waterTimerImageChangeMin = 250;
    static inline int32_t waterTimerImageChangeMax = 1000;
    static inline int32_t waterGenerateTimerMin = 4000;
    static inline int32_t waterGenerateTimerMax = 10000;
    static inline int32_t waterTileTimerImageChangeMin = 1000;
    static inline int32_t waterTileTimerImageChangeMax = 10000;
    static inline float waterTexture01Speed = 0.4f;
    static inline float waterTexture02Speed = 0.26f;
    static inline float minimapAlpha = 0.99f;
    static inline int32_t minimapScreenBorderWidth = 4;
    static inline int32_t minimapScreenBorderColorR = 155;
    static inline int32_t minimapScreenBorderColorG = 155;
    static inline int32_t minimapScreenBorderColorB = 155;

    // Reads folder + "/vallmora.cfg"; returns 0 (also when the file cannot be opened).
    static int32_t ReadIn(const std::string& folder);
    // Puts every value back to its built-in default.
    static void SetDefaults();

    static constexpr int32_t maxTileSize = 1024;

private:
    // Replaces values that would break the program (a tile size of 0 divides by zero) and says so.
    static void _Clamp();
};
