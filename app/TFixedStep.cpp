#include "app/TFixedStep.h"

int32_t TFixedStep::StepsFor(uint32_t nowMs) {
    if (!started || stepMs <= 0) {
        started = true;
        last = nowMs;
        pending = 0;
        return 0;
    }
    // Unsigned difference: the wrap of the counter still counts as time passing.
    pending += int64_t(uint32_t(nowMs - last));
    last = nowMs;
    int64_t steps = pending / stepMs;
    pending -= steps * stepMs;
    if (steps > maxSteps) steps = maxSteps;
    return int32_t(steps);
}
