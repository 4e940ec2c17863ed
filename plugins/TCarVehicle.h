#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "plugins/TVehicle.h"

class TCarPlugin;
class TImage;

// A car kind made from a car plugin: its pictures and the levels (1 ... 6) it drives at.
// Cars are also listed per level, per structure type and level, and untyped per level.
class TCarVehicle : public TVehicle {
public:
    static constexpr int32_t FrameHeight = 24;
    static constexpr int32_t countLevels = 6;

    // Entry L - 1 is 1 when the car drives at level L.
    std::array<uint8_t, countLevels> level{};
    std::vector<std::shared_ptr<TImage>> picture;
    float speed = 1.0f;

    // Builds the vehicle of a car plugin and registers it; null when the plugin has no picture.
    static std::shared_ptr<TCarVehicle> createFromPlugin(const TCarPlugin& plugin);
    static void _add(const std::shared_ptr<TCarVehicle>& vehicle);

    // The cars of a level index 0 ... 5 (the lists the building layer picks cars from); empty
    // outside that range, likewise for the other lists.
    static const std::vector<std::shared_ptr<TCarVehicle>>& CarsOfLevel(int32_t levelIndex);
    static const std::vector<std::shared_ptr<TCarVehicle>>& CarsOfTypeAndLevel(int32_t typeIndex, int32_t levelIndex);
    static const std::vector<std::shared_ptr<TCarVehicle>>& UntypedCarsOfLevel(int32_t levelIndex);
    // Empties the car lists and the vehicle lists (for tests and tools).
    static void _clear();

private:
    using TCarList = std::vector<std::shared_ptr<TCarVehicle>>;
    static inline std::array<TCarList, countLevels> carsByLevel;
    static inline std::array<std::array<TCarList, countLevels>, countStructureTypes> carsByTypeAndLevel;
    static inline std::array<TCarList, countLevels> untypedCarsByLevel;
};
