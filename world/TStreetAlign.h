#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// For each street frame and each of the four lane positions of a tile, the directions a car may
// take next. Shared by all street types.
class TStreetAlign {
public:
    static constexpr int32_t frameCount = 40;

    static std::shared_ptr<TStreetAlign> Create();

    void AddAlign(int32_t frame, const std::vector<int32_t>& l0, const std::vector<int32_t>& l1,
                  const std::vector<int32_t>& l2, const std::vector<int32_t>& l3);
    // The directions for a frame and lane position; empty for anything out of range.
    const std::vector<int32_t>& GetAlign(int32_t frame, int32_t position) const;

    std::array<std::array<std::vector<int32_t>, 4>, frameCount> tree;
};
