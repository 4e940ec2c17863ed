#include "plugins/TCarVehicle.h"

#include "plugins/TCarPlugin.h"

std::shared_ptr<TCarVehicle> TCarVehicle::createFromPlugin(const TCarPlugin& plugin) {
    if (plugin.image.empty()) return nullptr;
    std::shared_ptr<TCarVehicle> vehicle = std::make_shared<TCarVehicle>();
    vehicle->Name = plugin.Name;
    vehicle->id = plugin.id;
    vehicle->picture = plugin.image;
    vehicle->level = plugin.techLevel;
    const std::array<uint8_t, countStructureTypes> flags = {plugin.bSTGround,
                                                            plugin.bSTPublicPark,
                                                            plugin.bSTRoad,
                                                            plugin.bSTResidentalBuilding,
                                                            plugin.bSTCommercialBuilding,
                                                            plugin.bSTIndustrialBuilding,
                                                            plugin.bSTPublicBuilding,
                                                            plugin.bSTAward,
                                                            plugin.bSTWater};
    for (int32_t t = 0; t < countStructureTypes; ++t) {
        if (flags[t] != 0) vehicle->structureTypes.emplace_back(structureTypeNames[t]);
    }
    _add(vehicle);
    return vehicle;
}

void TCarVehicle::_add(const std::shared_ptr<TCarVehicle>& vehicle) {
    if (!vehicle) return;
    for (int32_t L = 0; L < countLevels; ++L) {
        if (vehicle->level[L] == 0) continue;
        carsByLevel[L].push_back(vehicle);
        bool typed = false;
        for (const std::string& type : vehicle->structureTypes) {
            const int32_t t = StructureTypeIndex(type);
            if (t < 0) continue;
            carsByTypeAndLevel[t][L].push_back(vehicle);
            typed = true;
        }
        if (!typed) untypedCarsByLevel[L].push_back(vehicle);
    }
    TVehicle::_add(vehicle);
}

namespace {
const std::vector<std::shared_ptr<TCarVehicle>>& NoCars() {
    static const std::vector<std::shared_ptr<TCarVehicle>> none;
    return none;
}
bool LevelInRange(int32_t levelIndex) { return levelIndex >= 0 && levelIndex < TCarVehicle::countLevels; }
}  // namespace

const std::vector<std::shared_ptr<TCarVehicle>>& TCarVehicle::CarsOfLevel(int32_t levelIndex) {
    return LevelInRange(levelIndex) ? carsByLevel[levelIndex] : NoCars();
}

const std::vector<std::shared_ptr<TCarVehicle>>& TCarVehicle::CarsOfTypeAndLevel(int32_t typeIndex,
                                                                                 int32_t levelIndex) {
    if (typeIndex < 0 || typeIndex >= countStructureTypes || !LevelInRange(levelIndex)) return NoCars();
    return carsByTypeAndLevel[typeIndex][levelIndex];
}

const std::vector<std::shared_ptr<TCarVehicle>>& TCarVehicle::UntypedCarsOfLevel(int32_t levelIndex) {
    return LevelInRange(levelIndex) ? untypedCarsByLevel[levelIndex] : NoCars();
}

void TCarVehicle::_clear() {
    for (auto& list : carsByLevel) list.clear();
    for (auto& perType : carsByTypeAndLevel) {
        for (auto& list : perType) list.clear();
    }
    for (auto& list : untypedCarsByLevel) list.clear();
    TVehicle::_clear();
}
