#pragma once
#include <cstdint>

// The four grid directions in map coordinates: 0 = (x, y - 1), 1 = (x + 1, y), 2 = (x, y + 1),
// 3 = (x - 1, y).
class TAlign {
public:
    // Direction of a one-step offset; 0 for anything that is not a straight step (0,0 and diagonals).
    static int32_t GetAlign(int32_t dx, int32_t dy);
    // The opposite direction. The second argument is kept for the callers' sake and not used.
    static int32_t Rotate(int32_t align, int32_t turns = 2);
    // The map offset of one step in a direction (taken mod 4).
    static int32_t StepX(int32_t align);
    static int32_t StepY(int32_t align);
};
