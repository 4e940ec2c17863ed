#pragma once
#include <cstdint>
#include <memory>

// A small spiral a gadget runs once: it jumps out by `strength` pixels and winds back to its
// place over `targetTime` milliseconds, turning `angle` times. Each step yields the change of
// the offset since the previous step, so the steps of a whole run add up to nothing.
class TGadgetAnimator {
public:
    static std::shared_ptr<TGadgetAnimator> Create(int32_t durationMs, float angle, float strength);

    // The offset change since the last step; the clock starts at the first step. The step
    // that reaches the end brings the offset back to exactly zero.
    void Step(float& dx, float& dy);
    // False once a step has reached the end of the run.
    bool isValid() const { return !finished; }

    int32_t startMS = -1;
    float last_x = 0, last_y = 0;
    float targetAngle = 0;
    float targetTime = 1;
    float strength = 0;

private:
    bool finished = false;
};
