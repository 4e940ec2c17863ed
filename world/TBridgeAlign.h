#pragma once
#include <array>
#include <cstdint>
#include <memory>

// The frames of a bridge tile by bridge direction d (0 … 3) and column k (0 = ramp, 1 … 3 = span
// pieces): the main frame and the frame drawn in front of cars (-1 = none).
class TBridgeAlign {
public:
    static std::shared_ptr<TBridgeAlign> Create();

    void AddFrame(int32_t d, int32_t k, int32_t main, int32_t second);
    // {-1, -1} out of range.
    std::array<int32_t, 2> getFrame(int32_t d, int32_t k) const;

    std::array<std::array<std::array<int32_t, 2>, 4>, 4> arr{};
};
