#pragma once
#include <cstdint>
#include <memory>

// Counts ticks of a fixed rate on the millisecond clock: how many have passed since the last
// query. Used for frame-time factors and animations that must not depend on the frame rate.
class TTicker {
public:
    static std::shared_ptr<TTicker> Create(float fps);

    // Whole ticks passed since the last counted tick.
    int32_t Get();
    // Fractional ticks passed since the last counted tick; with peek != 0 the ticks since Reset,
    // and nothing is counted.
    float GetF(int32_t peek = 0);
    // Starts counting again from now (lastms keeps its value).
    void Reset();

    float FPS = 0;
    int32_t startms = 0;
    int32_t lastms = 0;
    float lasttick = 0;

private:
    // Ticks since startms at the clock reading now; 0 for rates of 0 or less.
    double TicksSinceStart(int32_t now) const;
};
