#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class TBuilding;
class TLayer;
class TRoad;
class TTree;

// What stood on a rectangle of the map before an edit, so that the edit can be taken back:
// the roads there (a bridge with all its pieces), the buildings and trees, with their places in
// the world's lists, and the open sides of the roads on and around the rectangle.
class TMapPatch {
public:
    // Notes what stands on the rectangle now.
    void Take(const TLayer& world, int32_t x, int32_t y, int32_t w, int32_t h);
    // Removes what came onto the rectangle since Take and puts back what went, in its place in
    // the lists, with the roads' sides as they were.
    void Restore(TLayer& world) const;

private:
    template <typename T>
    struct TKept {
        std::shared_ptr<T> object;
        size_t index = 0;  // place in the world's list when taken
    };
    bool _Has(const std::shared_ptr<TRoad>& road) const;
    bool _Has(const std::shared_ptr<TBuilding>& building) const;
    void _KeepRoad(const TLayer& world, const std::shared_ptr<TRoad>& road);

    int32_t x = 0, y = 0, w = 0, h = 0;
    std::vector<TKept<TRoad>> roads;
    std::vector<TKept<TBuilding>> buildings;
    std::vector<std::shared_ptr<TTree>> trees;
    std::vector<std::pair<std::shared_ptr<TRoad>, std::vector<int32_t>>> sides;
};
