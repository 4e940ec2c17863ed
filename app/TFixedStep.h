#pragma once
#include <cstdint>

// Turns the real time between frames into whole simulation steps: the time is summed, every
// full step of it is one step to run, the rest waits for the next frame. A frame may run at most
// maxSteps; what a slower frame would ask beyond them is dropped, so a slow machine runs the
// city slower instead of falling further behind with every frame.
class TFixedStep {
public:
    TFixedStep(int32_t stepMs, int32_t maxSteps) : stepMs(stepMs), maxSteps(maxSteps) {}
    // The steps to run for a frame at the time nowMs (a 32-bit millisecond counter that may
    // wrap). The first call, and the first after Restart, starts the count and runs none.
    int32_t StepsFor(uint32_t nowMs);
    // Forgets the time summed so far (a city was loaded, the program was stopped in a debugger).
    void Restart() { started = false; }

private:
    int32_t stepMs, maxSteps;
    bool started = false;
    uint32_t last = 0;
    int64_t pending = 0;
};
