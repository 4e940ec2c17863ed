#pragma once
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

class TBuilding;
class TRoad;

// A route over the road grid from one building to another: the road tiles from the target end
// to the start end, with a set for quick "does it use this road" questions.
class TWay {
public:
    static std::shared_ptr<TWay> Create(const std::vector<std::shared_ptr<TRoad>>& roads,
                                        const std::shared_ptr<TBuilding>& start,
                                        const std::shared_ptr<TBuilding>& target);
    void usePath(const std::vector<std::shared_ptr<TRoad>>& roads);
    int32_t containsRoad(const std::shared_ptr<TRoad>& road) const;

    std::unordered_set<const TRoad*> map;
    std::vector<std::shared_ptr<TRoad>> road;
    // Weak: a route may outlive either end; users ask IsValid of what they lock.
    std::weak_ptr<TBuilding> Start;
    std::weak_ptr<TBuilding> target;
    int32_t Length = 0;
};
