#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A kind of vehicle, with the structure types it belongs to. All vehicles are kept in global
// lists filled while the plugins load.
class TVehicle {
public:
    static constexpr int32_t countStructureTypes = 9;
    // The structure types in the order vehicles list them.
    static constexpr std::array<std::string_view, countStructureTypes> structureTypeNames = {
        "ground",         "publicpark", "road", "residentalbuilding", "commercialbuilding", "industrialbuilding",
        "publicbuilding", "award",      "water"};
    // Index of a structure type name, -1 when it is none.
    static int32_t StructureTypeIndex(std::string_view name);

    virtual ~TVehicle() = default;

    std::string Name;
    std::string id;
    std::vector<std::string> structureTypes;

    // Appends to the list of all vehicles and to the list of each of its types (or to the
    // untyped list when it has none).
    static void _add(const std::shared_ptr<TVehicle>& vehicle);

    static const std::vector<std::shared_ptr<TVehicle>>& AllVehicles() { return allVehicles; }
    // Empty for an index outside 0 ... 8.
    static const std::vector<std::shared_ptr<TVehicle>>& VehiclesOfType(int32_t typeIndex);
    static const std::vector<std::shared_ptr<TVehicle>>& UntypedVehicles() { return untypedVehicles; }
    // Empties the lists (for tests and tools).
    static void _clear();

private:
    static inline std::vector<std::shared_ptr<TVehicle>> allVehicles;
    static inline std::array<std::vector<std::shared_ptr<TVehicle>>, countStructureTypes> typedVehicles;
    static inline std::vector<std::shared_ptr<TVehicle>> untypedVehicles;
};
