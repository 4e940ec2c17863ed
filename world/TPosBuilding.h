#pragma once
#include <cstdint>
#include <memory>
#include <vector>

class TBuilding;

// A candidate work place with its straight-line distance from the house that looks for work;
// kept in lists sorted by that distance.
class TPosBuilding {
public:
    static std::shared_ptr<TPosBuilding> Create(const std::shared_ptr<TBuilding>& building, float dis);
    // Inserts before the first entry with a strictly larger distance, else at the end, so that
    // equally distant candidates keep the order in which they were offered.
    static void AddSortedToList(const std::shared_ptr<TPosBuilding>& entry,
                                std::vector<std::shared_ptr<TPosBuilding>>& list);

    std::shared_ptr<TBuilding> building;
    float dis = 0;
};
