#include "world/TBuildingPlace.h"

std::shared_ptr<TBuildingPlace> TBuildingPlace::Create(const std::shared_ptr<TBuilding>& building, int32_t X,
                                                       int32_t Y) {
    auto p = std::make_shared<TBuildingPlace>();
    p->b = building;
    p->X = X;
    p->Y = Y;
    return p;
}
