#pragma once
#include <cstdint>
#include <memory>

namespace vesko {

// Counts ticks of a fixed rate on the millisecond clock: how many have passed since the last
// query. Drives animations independently of the frame rate.
class TCTimeEmitter {
public:
    static std::shared_ptr<TCTimeEmitter> Create(float fps);
    // Whole ticks passed since the last counted tick.
    int32_t Get();
    // Fractional ticks passed since the last counted tick (and counts them).
    float GetF();
    // Starts counting again from now (lastms keeps its value).
    void Reset();
    std::shared_ptr<TCTimeEmitter> Copy() const { return std::make_shared<TCTimeEmitter>(*this); }

    float FPS = 0;
    int32_t startms = 0;
    int32_t lastms = 0;
    float lasttick = 0;

protected:
    // Ticks since startms at the clock reading now; 0 for rates of 0 or less.
    double _TicksSinceStart(int32_t now) const;
};

}  // namespace vesko
