#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBridgeAlign;
class TImage;
class TStreetAlign;
class TStreetFrame;
class TStreetPlugin;

// A street type, made from one street plugin. All street types share the frame, align, mask and
// bridge tables built once by Init. The registries list every street type in creation order and
// by street level.
class TStreet {
public:
    static constexpr int32_t levelCount = 100;
    static constexpr int32_t frameCount = 40;
    static constexpr int32_t maskFrameCount = 40;

    // Builds the shared tables and loads folder + "/direction_possible.png". Also installs the
    // street maker in the street plugin loader, so call it before the plugins load.
    static void Init(const std::string& folder, int32_t tileW, int32_t tileH);
    // Drops the shared tables and empties the registries (tests, end of program).
    static void DeInit();
    static std::shared_ptr<TStreet> CreateFromPlugin(const std::shared_ptr<TStreetPlugin>& plugin);
    static void _add(const std::shared_ptr<TStreet>& street);
    static void ClearRegistry();
    // The street at (level, index) of the registry by level; null when out of range.
    static std::shared_ptr<TStreet> GetByLevel(int32_t level, int32_t index);

    void generateFromPlugin(const std::shared_ptr<TStreetPlugin>& plugin);

    // The plugin this street type was made from; the plugin owns the street, so this is a plain
    // back-reference (a shared one would keep both alive forever).
    TStreetPlugin* plugin = nullptr;
    uint8_t level = 0;
    std::string Name;
    std::shared_ptr<TImage> image;
    uint8_t SizeX = 1, SizeY = 1;
    std::shared_ptr<TStreetAlign> sa;
    std::shared_ptr<TImage> maskimg;
    std::array<int32_t, maskFrameCount> maskframe{};
    float price = 0;
    int32_t bridgeAble = 0;
    float bridgePrice = 0;
    std::shared_ptr<TImage> trafficlights;
    int32_t typ = 0;
    std::shared_ptr<TStreetFrame> sf;
    std::vector<std::shared_ptr<TImage>> bridgeImages;
    std::vector<std::string> bridgeNames;
    std::vector<uint8_t> bridgeHeights;
    int32_t bridgeMaxLength = 0;
    std::shared_ptr<TBridgeAlign> bridgealign;
    uint8_t nearwater = 0;
    float speed = 0;
    uint8_t airPollutionValue = 0, airPollutionRadius = 0, noiseValue = 0, noiseRadius = 0;

    // Shared tables (type index 0; the second align and frame table serve type index 1).
    static inline std::shared_ptr<TStreetAlign> sharedAlign, sharedAlign1;
    static inline std::shared_ptr<TStreetFrame> sharedFrame, sharedFrame1;
    static inline std::shared_ptr<TBridgeAlign> sharedBridgeAlign;
    static inline std::shared_ptr<TImage> directionImg;
    static inline std::array<int32_t, maskFrameCount> maskTable{};

    // Registries.
    static inline std::vector<std::shared_ptr<TStreet>> streets;
    static inline std::array<std::vector<std::shared_ptr<TStreet>>, levelCount> streetsByLevel;

    // Builds the tables without loading any image (used by Init).
    static void _BuildTables();
};
