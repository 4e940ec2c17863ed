// The cars of the building layer: buildings start them as their people fill them, every drawn
// frame moves the active ones and drops the others, and a building's cars fade out when it goes.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "framework/TFastRandom.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCar.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"

void TBuildingLayer::_UpdateCars(const std::shared_ptr<TBuilding>& b) {
    if (!b || b->work != 1 || !layer || !layer->random) return;
    const float m = b->getMaxCars();
    const float n = float(b->car.Count());
    if (!(m > 0.0f)) return;
    if (n > 0) {
        // One chance in ten a day to add what is missing.
        if (m > n && layer->random->GetIntIn(0, 9) == 0) {
            for (const auto& car : _AddCars(static_cast<int32_t>(m - n), _CarKinds(*b), b->x, b->y, b))
                b->car.Append(car);
        }
        return;
    }
    for (const auto& car : _AddCars(static_cast<int32_t>(m), _CarKinds(*b), b->x, b->y, b)) b->car.Append(car);
}

std::vector<std::shared_ptr<TCarVehicle>> TBuildingLayer::_CarKinds(const TBuilding& b) {
    if (!b.p) return {};
    if (!b.p->car.empty()) return b.p->car;
    const auto& level = TCarVehicle::CarsOfLevel(b.p->techlevel - 1);
    if (!level.empty()) return level;
    std::vector<std::shared_ptr<TCarVehicle>> all;
    for (int32_t i = 0; i < TCarVehicle::countLevels; ++i) {
        const auto& list = TCarVehicle::CarsOfLevel(i);
        all.insert(all.end(), list.begin(), list.end());
    }
    return all;
}

std::vector<std::shared_ptr<TCar>> TBuildingLayer::_AddCars(int32_t count,
                                                            const std::vector<std::shared_ptr<TCarVehicle>>& kinds,
                                                            int32_t x, int32_t y, const std::shared_ptr<TBuilding>& b) {
    std::vector<std::shared_ptr<TCar>> cars;
    if (kinds.empty() || !layer || !layer->random) return cars;
    for (int32_t i = 0; i < count; ++i) {
        const auto& kind = kinds[size_t(layer->random->GetIntIn(0, int32_t(kinds.size()) - 1))];
        if (auto car = _AddCar(kind, x, y, b)) cars.push_back(car);
    }
    return cars;
}

std::shared_ptr<TCar> TBuildingLayer::_AddCar(const std::shared_ptr<TCarVehicle>& kind, int32_t x, int32_t y,
                                              const std::shared_ptr<TBuilding>& b) {
    int32_t px = 0, py = 0;
    if (!_GetPlaceForCar(x, y, px, py)) return nullptr;
    return _AddCar_(kind, px, py, b);
}

std::shared_ptr<TCar> TBuildingLayer::_AddCar_(const std::shared_ptr<TCarVehicle>& kind, int32_t x, int32_t y,
                                               const std::shared_ptr<TBuilding>& b) {
    if (!_InField(x, y) || !std::holds_alternative<std::monostate>(arr[_Index(x, y)])) return nullptr;
    if (!layer || !layer->RoadLayer) return nullptr;
    auto road = layer->RoadLayer->_GetTile(x, y);
    if (!road) return nullptr;
    auto car = TCar::Create(kind, road, *layer->RoadLayer, b, -1);
    if (car) arrCar.Append(car);
    return car;
}

bool TBuildingLayer::_GetPlaceForCar(int32_t x, int32_t y, int32_t& px, int32_t& py) const {
    if (!layer || !layer->RoadLayer) return false;
    const TRoadLayer& roads = *layer->RoadLayer;
    if (x == -1 && y == -1) {
        std::vector<const TRoad*> free;
        for (const auto& r : roads.arrRoad) {
            if (r->CarFree()) free.push_back(r.get());
        }
        if (free.empty() || !layer->random) return false;
        const TRoad* pick = free[size_t(layer->random->GetIntIn(0, int32_t(free.size()) - 1))];
        px = pick->x;
        py = pick->y;
        return true;
    }
    // The nearest road with room; among equally near roads the later one in the road list. The
    // square rings of tiles around (x, y) are searched outwards (the road list holds exactly
    // the roads on the grid), until no tile of the next ring can be as near as the best found.
    const int32_t w = roads.Width, h = roads.Height;
    const int32_t reach = std::max({std::abs(x), std::abs(w - 1 - x), std::abs(y), std::abs(h - 1 - y)});
    float best = std::numeric_limits<float>::infinity();
    std::vector<const TRoad*> nearest;
    auto look = [&](int32_t tx, int32_t ty) {
        if (tx < 0 || ty < 0 || tx >= w || ty >= h) return;
        const TRoad* r = roads.arr[size_t(tx) * size_t(h) + size_t(ty)].get();
        if (!r || !r->CarFree()) return;
        // The distance as the whole list's scan measured it, so equal stays equal.
        const float dx = float(tx - x), dy = float(ty - y);
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d < best) {
            best = d;
            nearest.clear();
        }
        if (d == best) nearest.push_back(r);
    };
    // A tile of ring k lies at least k away; one ring more covers any rounding of the floats.
    for (int32_t k = 0; k <= reach && !(float(k) - 1.0f > best); ++k) {
        if (k == 0) {
            look(x, y);
            continue;
        }
        for (int32_t d = -k; d <= k; ++d) {
            look(x + d, y - k);
            look(x + d, y + k);
        }
        for (int32_t d = -k + 1; d <= k - 1; ++d) {
            look(x - k, y + d);
            look(x + k, y + d);
        }
    }
    if (nearest.empty()) return false;
    const TRoad* pick = nearest.front();
    if (nearest.size() > 1) {
        for (auto it = roads.arrRoad.rbegin(); it != roads.arrRoad.rend(); ++it) {
            if (std::find(nearest.begin(), nearest.end(), it->get()) != nearest.end()) {
                pick = it->get();
                break;
            }
        }
    }
    px = pick->x;
    py = pick->y;
    return true;
}

void TBuildingLayer::__UpdateCars() {
    if (!layer || !layer->RoadLayer) return;
    const TRoadLayer& grid = *layer->RoadLayer;
    for (const auto& car : arrCar.Items()) {
        if (car->IsActive() && !car->mustDeleted) {
            car->Update(grid, layer->Width, layer->Height);
        } else {
            _delCar(car);
        }
    }
}

void TBuildingLayer::_removecars(const std::shared_ptr<TBuilding>& b, int32_t fade) {
    if (!b) return;
    for (const auto& car : b->car.Items()) {
        if (fade) {
            car->fadeOut();
        } else {
            _delCar(car);
        }
    }
}

void TBuildingLayer::_delCar(const std::shared_ptr<TCar>& car) {
    if (!car) return;
    arrCar.Remove(car);
    car->remove();
    if (auto owner = car->b.lock()) owner->car.Remove(car);
}
