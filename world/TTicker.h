#pragma once
#include <cstdint>
#include <memory>

#include "framework/TCTimeEmitter.h"

// The world's tick counter: the framework's time emitter, which can also tell the ticks since
// Reset without counting them. Used for frame-time factors and animations that must not depend
// on the frame rate.
class TTicker : public vesko::TCTimeEmitter {
public:
    static std::shared_ptr<TTicker> Create(float fps);

    // Fractional ticks passed since the last counted tick; with peek != 0 the ticks since Reset,
    // and nothing is counted.
    float GetF(int32_t peek = 0);
};
