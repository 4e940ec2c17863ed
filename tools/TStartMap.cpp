#include "tools/TStartMap.h"

#include <cmath>

#include "framework/TNoise.h"

int32_t TStartMap::RiverLeft(int32_t y) {
    return static_cast<int32_t>(std::lround(70.0 + 9.0 * std::sin(y / 17.0) + 4.0 * std::sin(y / 6.5 + 1.0)));
}

std::shared_ptr<TPixmap> TStartMap::Paint() {
    auto map = TPixmap::Create(Size, Size);
    if (!map) return nullptr;
    map->ClearPixels(0xFF000000u | Land);
    auto set = [&](int32_t x, int32_t y, uint32_t rgb) {
        if (x >= 0 && y >= 0 && x < Size && y < Size) map->WritePixel(x, y, 0xFF000000u | rgb);
    };
    auto get = [&](int32_t x, int32_t y) { return map->ReadPixel(x, y) & 0xFFFFFFu; };
    // River from the top edge to the bottom edge; a lake in the south-west.
    for (int32_t y = 0; y < Size; ++y)
        for (int32_t x = RiverLeft(y); x < RiverLeft(y) + RiverWidth; ++x) set(x, y, River);
    for (int32_t y = 0; y < Size; ++y)
        for (int32_t x = 0; x < Size; ++x) {
            const float dx = (x - 28) / 11.0f, dy = (y - 104) / 7.5f;
            const float wobble = (vesko::TNoise::Noise(x / 3.0f, y / 3.0f, 17) - 0.5f) * 0.35f;
            if (dx * dx + dy * dy < 1.0f + wobble) set(x, y, Lake);
        }
    // The town west of the river: a grid of level-0 streets along the main road (level 1).
    const int32_t row = MainRoadRow;
    const int32_t westEnd = RiverLeft(row) - 1, eastStart = RiverLeft(row) + RiverWidth;
    for (int32_t x = 14; x <= westEnd; ++x) set(x, row, Street1);
    for (int32_t x = eastStart; x <= 112; ++x) set(x, row, Street1);
    for (int32_t sx : {24, 38, 52}) {
        for (int32_t y = 50; y <= 78; ++y)
            if (get(sx, y) != Street1) set(sx, y, Street0);
    }
    for (int32_t sy : {50, 78})
        for (int32_t x = 24; x <= 52; ++x) set(x, sy, Street0);
    // A hamlet on the east bank.
    for (int32_t y = 55; y <= 74; ++y)
        if (get(96, y) != Street1) set(96, y, Street0);
    for (int32_t x = 88; x <= 104; ++x) set(x, 55, Street0);
    // Forests, kept off the water, the roads and the building land beside them.
    for (int32_t y = 0; y < Size; ++y) {
        for (int32_t x = 0; x < Size; ++x) {
            if (get(x, y) != Land) continue;
            bool nearWay = false;
            for (int32_t dy = -3; dy <= 3 && !nearWay; ++dy)
                for (int32_t dx = -3; dx <= 3 && !nearWay; ++dx) {
                    const int32_t c = static_cast<int32_t>(map->ReadPixel(x + dx, y + dy) & 0xFFFFFFu);
                    if (c == static_cast<int32_t>(Street0) || c == static_cast<int32_t>(Street1)) nearWay = true;
                }
            const bool town = (x >= 18 && x <= 60 && y >= 44 && y <= 84) || (x >= 84 && x <= 108 && y >= 50 && y <= 78);
            if (nearWay || town) continue;
            const float density = vesko::TNoise::Fbm(x / 13.0f, y / 13.0f, 31, 3);
            if (density < 0.55f || vesko::TNoise::Hash(x, y, 32) < 0.2f) continue;
            // The forest kind follows large regions: conifers in the north, birches by the lake...
            const float region = vesko::TNoise::Fbm(x / 40.0f, y / 40.0f, 45, 2);
            int32_t kind = region < 0.42f ? 0 : (region < 0.5f ? 1 : (region < 0.58f ? 2 : 3));
            if (y < 30) kind = 1;
            if (y > 90 && x < 50) kind = 2;
            set(x, y, TMapColours::Trees[kind]);
        }
    }
    return map;
}
