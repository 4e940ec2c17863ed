#include "world/TWay.h"

#include "world/TBuilding.h"
#include "world/TRoad.h"

std::shared_ptr<TWay> TWay::Create(const std::vector<std::shared_ptr<TRoad>>& roads,
                                   const std::shared_ptr<TBuilding>& start, const std::shared_ptr<TBuilding>& target) {
    auto way = std::make_shared<TWay>();
    way->Start = start;
    way->target = target;
    way->usePath(roads);
    return way;
}

void TWay::usePath(const std::vector<std::shared_ptr<TRoad>>& roads) {
    road = roads;
    map.clear();
    for (const auto& r : road) map.insert(r.get());
    Length = int32_t(road.size());
}

int32_t TWay::containsRoad(const std::shared_ptr<TRoad>& r) const { return r && map.count(r.get()) ? 1 : 0; }
