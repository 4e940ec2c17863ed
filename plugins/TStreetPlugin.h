#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugins/TPlugin.h"

class TImage;
class TStreet;

// A road kind: its 40 road pictures, traffic lights, the bridges it can build and its pollution.
class TStreetPlugin : public TPlugin {
public:
    static constexpr int32_t streetFrames = 40;
    static constexpr int32_t trafficLightFrames = 4;
    static constexpr int32_t bridgeFrames = 19;

    // Makes the street type of a street plugin; null when it cannot be built. The road layer lives
    // above the plugins, so it installs its maker here before the plugins load.
    using TStreetFactory = std::shared_ptr<TStreet> (*)(const std::shared_ptr<TStreetPlugin>& plugin);

    std::string Name = "unnamed street";
    uint8_t level = 0;
    float price = 0.0f;
    std::shared_ptr<TImage> image;
    std::shared_ptr<TImage> trafficLightsImg;
    std::vector<std::shared_ptr<TImage>> bridgeImages;
    std::vector<std::string> bridgeNames;
    std::vector<uint8_t> bridgeHeights;
    int32_t maxBridgeLength = 0;
    float bridgePrice = 0.0f;
    float carSpeed = 0.0f;
    uint8_t nearWater = 0;
    uint8_t airPollutionValue = 0;
    uint8_t airPollutionRadius = 0;
    uint8_t noiseValue = 0;
    uint8_t noiseRadius = 0;
    std::shared_ptr<TStreet> street;

    // Reads one street record; registers and returns it, or returns null (with the error detail
    // set, except when the street type itself cannot be built).
    static std::shared_ptr<TPlugin> _Load(const std::shared_ptr<TPluginReader>& reader, int32_t scope);

    // Without a maker (no road layer in this program) street plugins load with no street type.
    static void SetStreetFactory(TStreetFactory factory) { streetFactory = factory; }
    static TStreetFactory GetStreetFactory() { return streetFactory; }

private:
    static inline TStreetFactory streetFactory = nullptr;
};
