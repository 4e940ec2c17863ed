#include "framework/TCTimeEmitter.h"

#include <cmath>

#include "platform/TClock.h"

namespace vesko {

std::shared_ptr<TCTimeEmitter> TCTimeEmitter::Create(float fps) {
    auto t = std::make_shared<TCTimeEmitter>();
    t->FPS = fps;
    t->Reset();
    return t;
}

double TCTimeEmitter::_TicksSinceStart(int32_t now) const {
    // Unsigned difference so the wrapping clock never turns it negative; elapsed × FPS / 1000
    // is exact at whole-tick boundaries.
    const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(startms));
    if (!(FPS > 0.0f)) return 0.0;
    return double(elapsed) * double(FPS) / 1000.0;
}

int32_t TCTimeEmitter::Get() {
    const int32_t now = Millisecs();
    const double t = std::trunc(_TicksSinceStart(now));
    if (t <= double(lasttick)) return 0;
    const double passed = t - double(lasttick);
    lasttick = float(t);
    lastms = now;
    return passed >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(passed);
}

float TCTimeEmitter::GetF() {
    const int32_t now = Millisecs();
    const double tf = _TicksSinceStart(now);
    if (tf <= double(lasttick)) return 0.0f;
    const float passed = float(tf - double(lasttick));
    lasttick = float(tf);
    lastms = now;
    return passed;
}

void TCTimeEmitter::Reset() {
    startms = Millisecs();
    lasttick = 0;
}

}  // namespace vesko
