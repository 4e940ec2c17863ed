#pragma once
#include <array>
#include <cstdint>
#include <memory>

// Which street frame a road tile shows for each combination of connected sides (c0 … c3 for the
// directions 0 … 3), per street type index, and how many cars may hold the same align on a tile
// of a frame. Shared by all street types.
class TStreetFrame {
public:
    static constexpr int32_t typeCount = 10;
    static constexpr int32_t alignCount = 64;

    static std::shared_ptr<TStreetFrame> Create();

    // typ < 0 sets the frame for all type indices.
    void add(int32_t c0, int32_t c1, int32_t c2, int32_t c3, int32_t typ, int32_t frame, int32_t aligns);
    // The frame for the connections (any nonzero flag counts as connected); 0 for a bad type index.
    int32_t Get(int32_t c0, int32_t c1, int32_t c2, int32_t c3, int32_t typ) const;
    // straight != 0: the straight piece along direction d. Otherwise only side d connected
    // (allBut = 0), or every side but d (allBut != 0).
    int32_t GetFromAlign(int32_t d, int32_t typ, int32_t straight, int32_t allBut) const;
    int32_t GetAligns(int32_t frame) const;

    // [c0][c1][c2][c3][typ]
    std::array<std::array<std::array<std::array<std::array<int32_t, typeCount>, 2>, 2>, 2>, 2> data{};
    std::array<int32_t, alignCount> Frameai{};
};
