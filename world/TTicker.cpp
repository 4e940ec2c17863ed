#include "world/TTicker.h"

#include <cmath>

#include "platform/TClock.h"

std::shared_ptr<TTicker> TTicker::Create(float fps) {
    auto ticker = std::make_shared<TTicker>();
    ticker->FPS = fps;
    ticker->Reset();
    return ticker;
}

double TTicker::TicksSinceStart(int32_t now) const {
    // The difference is taken on the unsigned counter so that the clock wrapping past 2^31 or
    // 2^32 milliseconds does not turn it negative. elapsed * FPS / 1000 is the same count as
    // elapsed / (1000 / FPS) but exact at whole-tick boundaries (1000 ms at 60 fps is 60, not 59.99).
    const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(startms));
    if (!(FPS > 0.0f)) return 0.0;
    return double(elapsed) * double(FPS) / 1000.0;
}

int32_t TTicker::Get() {
    const int32_t now = Millisecs();
    const double t = std::trunc(TicksSinceStart(now));
    if (t > double(lasttick)) {
        const double passed = t - double(lasttick);
        lasttick = float(t);
        lastms = now;
        return passed >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(passed);
    }
    return 0;
}

float TTicker::GetF(int32_t peek) {
    const int32_t now = Millisecs();
    const double tf = TicksSinceStart(now);
    if (tf <= double(lasttick)) return 0.0f;
    if (peek != 0) return float(tf);
    const float passed = float(tf - double(lasttick));
    lasttick = float(tf);
    lastms = now;
    return passed;
}

void TTicker::Reset() {
    startms = Millisecs();
    lasttick = 0;
}
