#include "world/TMapPatch.h"

#include <algorithm>
#include <variant>

#include "world/TAlign.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TTree.h"

namespace {
template <typename List, typename T>
size_t IndexIn(const List& list, const std::shared_ptr<T>& item) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == item) return i;
    }
    return list.size();
}
}  // namespace

bool TMapPatch::_Has(const std::shared_ptr<TRoad>& road) const {
    return std::any_of(roads.begin(), roads.end(), [&](const auto& k) { return k.object == road; });
}

bool TMapPatch::_Has(const std::shared_ptr<TBuilding>& building) const {
    return std::any_of(buildings.begin(), buildings.end(), [&](const auto& k) { return k.object == building; });
}

void TMapPatch::_KeepRoad(const TLayer& world, const std::shared_ptr<TRoad>& road) {
    if (!road || _Has(road)) return;
    roads.push_back({road, IndexIn(world.RoadLayer->arrRoad, road)});
}

void TMapPatch::Take(const TLayer& world, int32_t px, int32_t py, int32_t pw, int32_t ph) {
    x = px, y = py, w = pw, h = ph;
    roads.clear(), buildings.clear(), trees.clear(), sides.clear();
    const TRoadLayer& rl = *world.RoadLayer;
    const TBuildingLayer& bl = *world.BuildingLayer;
    const auto items = bl.arrBuilding.Items();
    for (int32_t i = x; i < x + w; ++i) {
        for (int32_t j = y; j < y + h; ++j) {
            if (auto r = rl._GetTile(i, j)) {
                // A bridge leaves and comes back whole.
                if (r->bridge) {
                    auto head = r->BridgeHead();
                    _KeepRoad(world, head);
                    for (const auto& c : head->b_childs) _KeepRoad(world, c);
                }
                _KeepRoad(world, r);
            }
            const TBuildingLayer::TObject o = bl._GetTile(i, j, 1);
            if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o); b && *b && !_Has(*b)) {
                buildings.push_back({*b, IndexIn(items, *b)});
            } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o); t && *t) {
                trees.push_back(*t);
            }
        }
    }
    // Laying or removing a road opens or closes the sides of its neighbours.
    for (int32_t i = x - 1; i <= x + w; ++i) {
        for (int32_t j = y - 1; j <= y + h; ++j) {
            if (auto r = rl._GetTile(i, j)) sides.emplace_back(r, r->getIgn());
        }
    }
    // A bridge reaching beyond the rectangle opens the sides of its neighbours there too.
    for (const auto& k : roads) {
        for (int32_t d = 0; d < 4; ++d) {
            auto r = rl._GetTile(k.object->x + TAlign::StepX(d), k.object->y + TAlign::StepY(d));
            if (r) sides.emplace_back(r, r->getIgn());
        }
        sides.emplace_back(k.object, k.object->getIgn());
    }
}

void TMapPatch::Restore(TLayer& world) const {
    TRoadLayer& rl = *world.RoadLayer;
    TBuildingLayer& bl = *world.BuildingLayer;
    // What came since goes the way everything leaves the map.
    std::vector<TLayer::TThing> added;
    for (int32_t i = x; i < x + w; ++i) {
        for (int32_t j = y; j < y + h; ++j) {
            if (auto r = rl._GetTile(i, j); r && !_Has(r)) added.emplace_back(r);
            const TBuildingLayer::TObject o = bl._GetTile(i, j, 1);
            if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o); b && *b && !_Has(*b)) {
                added.emplace_back(*b);
            } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o);
                       t && *t && std::find(trees.begin(), trees.end(), *t) == trees.end()) {
                added.emplace_back(*t);
            }
        }
    }
    world._Demolish(added);
    // Back into the lists in the order they held, so each lands on its old entry.
    auto byIndex = [](const auto& a, const auto& b) { return a.index < b.index; };
    std::vector<TKept<TRoad>> goneRoads;
    for (const auto& k : roads) {
        if (!k.object->IsValid()) goneRoads.push_back(k);
    }
    std::sort(goneRoads.begin(), goneRoads.end(), byIndex);
    for (const auto& k : goneRoads) rl._Revive(k.object, k.index);
    std::vector<TKept<TBuilding>> goneBuildings;
    for (const auto& k : buildings) {
        if (!k.object->IsValid()) goneBuildings.push_back(k);
    }
    std::sort(goneBuildings.begin(), goneBuildings.end(), byIndex);
    for (const auto& k : goneBuildings) bl._Revive(k.object, k.index);
    for (const auto& t : trees) {
        if (std::holds_alternative<std::monostate>(bl._GetTile(t->x, t->y, 0))) bl._SetTile_(t->x, t->y, t);
    }
    for (const auto& [road, ign] : sides) {
        if (road->IsValid()) road->setIgn(ign);
    }
    for (int32_t i = x - 1; i <= x + w; ++i) {
        for (int32_t j = y - 1; j <= y + h; ++j) rl._UpdateTile(i, j);
    }
    for (const auto& [road, ign] : sides) rl._UpdateTile(road->x, road->y);
}
