#include "platform/TFlipPacer.h"

void TFlipPacer::Start(int32_t rate, uint32_t now) {
    hertz = rate > 0 ? rate : 60;
    step = 1000 / hertz;
    remainder = 1000 - step * hertz;
    accumulated = 0;
    target = now;
}

int32_t TFlipPacer::NextDelay(uint32_t now) {
    target += static_cast<uint32_t>(step);
    accumulated += remainder;
    if (accumulated >= hertz) {
        target += 1;
        accumulated -= hertz;
    }
    // Signed difference so that the wrap of the 32-bit clock does no harm.
    const int32_t delay = static_cast<int32_t>(target - now);
    if (delay <= 0) {
        target = now;
        return 0;
    }
    return delay;
}
