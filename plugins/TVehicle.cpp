#include "plugins/TVehicle.h"

int32_t TVehicle::StructureTypeIndex(std::string_view name) {
    for (int32_t t = 0; t < countStructureTypes; ++t) {
        if (structureTypeNames[t] == name) return t;
    }
    return -1;
}

void TVehicle::_add(const std::shared_ptr<TVehicle>& vehicle) {
    if (!vehicle) return;
    allVehicles.push_back(vehicle);
    bool typed = false;
    for (const std::string& type : vehicle->structureTypes) {
        const int32_t t = StructureTypeIndex(type);
        if (t < 0) continue;
        typedVehicles[t].push_back(vehicle);
        typed = true;
    }
    if (!typed) untypedVehicles.push_back(vehicle);
}

const std::vector<std::shared_ptr<TVehicle>>& TVehicle::VehiclesOfType(int32_t typeIndex) {
    static const std::vector<std::shared_ptr<TVehicle>> none;
    if (typeIndex < 0 || typeIndex >= countStructureTypes) return none;
    return typedVehicles[typeIndex];
}

void TVehicle::_clear() {
    allVehicles.clear();
    for (auto& list : typedVehicles) list.clear();
    untypedVehicles.clear();
}
