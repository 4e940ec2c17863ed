#pragma once
#include <cstdint>

// Paces frames to a refresh rate in whole milliseconds: each frame moves the target by
// 1000 / rate, plus one extra millisecond whenever the accumulated remainder
// (1000 - (1000 / rate) * rate per frame) reaches the rate. A late frame moves the target to now.
class TFlipPacer {
public:
    void Start(int32_t hertz, uint32_t now);
    // Advances the target by one frame; the milliseconds to sleep from now (0 when late).
    int32_t NextDelay(uint32_t now);
    uint32_t Target() const { return target; }

private:
    int32_t hertz = 0;
    int32_t step = 0;
    int32_t remainder = 0;
    int32_t accumulated = 0;
    uint32_t target = 0;
};
