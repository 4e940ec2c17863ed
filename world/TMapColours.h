#pragma once
#include <cstdint>

// The colours of a map image, one pixel per tile (24 bits; the world ignores alpha). Both water
// colours are water, the four tree colours plant trees of different kinds, the street colours lay
// a road of street level 0 or 1; any other colour is open land.
class TMapColours {
public:
    static constexpr uint32_t River = 0x008080;
    static constexpr uint32_t Lake = 0x000080;
    static constexpr uint32_t Land = 0x6E9F3E;
    static constexpr uint32_t Trees[4] = {0x004000, 0x005000, 0x006000, 0x007000};
    static constexpr uint32_t Street0 = 0x282828;
    static constexpr uint32_t Street1 = 0x636363;

    enum class TKind { Land, Water, Trees, Street };
    static constexpr TKind KindOf(uint32_t argb) {
        const uint32_t rgb = argb & 0xFFFFFFu;
        if (rgb == River || rgb == Lake) return TKind::Water;
        if (TreeKind(rgb) >= 0) return TKind::Trees;
        if (rgb == Street0 || rgb == Street1) return TKind::Street;
        return TKind::Land;
    }
    // 0 … 3 for the tree colours, -1 for any other colour.
    static constexpr int32_t TreeKind(uint32_t argb) {
        const uint32_t rgb = argb & 0xFFFFFFu;
        for (int32_t i = 0; i < 4; ++i)
            if (rgb == Trees[i]) return i;
        return -1;
    }
};
