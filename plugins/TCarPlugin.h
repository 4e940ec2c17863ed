#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugins/TPlugin.h"

class TCarVehicle;
class TImage;

// A car: its pictures (one 4-direction image each), the levels it drives at and the structure
// types it belongs to.
class TCarPlugin : public TPlugin {
public:
    static constexpr int32_t carFrames = 4;
    static inline const std::string defaultLevels = "1;2;3;4;5;6";
    static inline const std::string defaultKinds =
        "ground;publicpark;road;residentalbuilding;commercialbuilding;industrialbuilding;publicbuilding;award;water";

    std::string Name;
    std::vector<std::shared_ptr<TImage>> image;
    // Entry L - 1 is 1 when the car is available at level L (1 ... 6).
    std::array<uint8_t, 6> techLevel{};
    uint8_t bSTGround = 0;
    uint8_t bSTPublicPark = 0;
    uint8_t bSTRoad = 0;
    uint8_t bSTResidentalBuilding = 0;
    uint8_t bSTCommercialBuilding = 0;
    uint8_t bSTIndustrialBuilding = 0;
    uint8_t bSTPublicBuilding = 0;
    uint8_t bSTAward = 0;
    uint8_t bSTWater = 0;
    std::shared_ptr<TCarVehicle> carVehicle;

    // Reads one car record; registers and returns it, or returns null with the error detail set.
    static std::shared_ptr<TPlugin> _Load(const std::shared_ptr<TPluginReader>& reader, int32_t scope);
};
