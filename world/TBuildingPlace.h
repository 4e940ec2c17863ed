#pragma once
#include <cstdint>
#include <memory>

class TBuilding;

// Fills one footprint tile of a building other than its origin tile, so that a lookup by tile
// finds the building without drawing it twice.
class TBuildingPlace {
public:
    static std::shared_ptr<TBuildingPlace> Create(const std::shared_ptr<TBuilding>& building, int32_t X, int32_t Y);

    // The owner; weak because the building holds its places.
    std::weak_ptr<TBuilding> b;
    int32_t X = 0;
    int32_t Y = 0;
};
