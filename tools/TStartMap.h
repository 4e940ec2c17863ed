#pragma once
#include <cstdint>
#include <memory>

#include "platform/TPixmap.h"
#include "world/TMapColours.h"

// The start map data/maps/128/001r.png: one pixel per tile in the exact colours the world
// reads — a river with a lake, forests of the four tree colours, and a small town of both
// street colours whose main road stops at the river on both banks, waiting for a bridge.
class TStartMap {
public:
    static constexpr int32_t Size = 128;
    static constexpr uint32_t River = TMapColours::River;
    static constexpr uint32_t Lake = TMapColours::Lake;
    static constexpr uint32_t Land = TMapColours::Land;
    static constexpr uint32_t Street0 = TMapColours::Street0;
    static constexpr uint32_t Street1 = TMapColours::Street1;

    static std::shared_ptr<TPixmap> Paint();
    // The river's first water column in picture row y (its width is RiverWidth).
    static int32_t RiverLeft(int32_t y);
    static constexpr int32_t RiverWidth = 5;
    static constexpr int32_t MainRoadRow = 64;
};
