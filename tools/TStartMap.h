#pragma once
#include <cstdint>
#include <memory>

#include "platform/TPixmap.h"

// The start map data/maps/128/001r.png: one pixel per tile in the exact colours the world
// reads — a river with a lake, forests of the four tree colours, and a small town of both
// street colours whose main road stops at the river on both banks, waiting for a bridge.
class TStartMap {
public:
    static constexpr int32_t Size = 128;
    static constexpr uint32_t River = 0x008080;
    static constexpr uint32_t Lake = 0x000080;
    static constexpr uint32_t Land = 0x6E9F3E;
    static constexpr uint32_t TreeColours[4] = {0x004000, 0x005000, 0x006000, 0x007000};
    static constexpr uint32_t Street0 = 0x282828;
    static constexpr uint32_t Street1 = 0x636363;

    static std::shared_ptr<TPixmap> Paint();
    // The river's first water column in picture row y (its width is RiverWidth).
    static int32_t RiverLeft(int32_t y);
    static constexpr int32_t RiverWidth = 5;
    static constexpr int32_t MainRoadRow = 64;
};
