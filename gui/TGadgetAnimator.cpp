#include "gui/TGadgetAnimator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/TClock.h"

std::shared_ptr<TGadgetAnimator> TGadgetAnimator::Create(int32_t durationMs, float angle, float strength) {
    auto a = std::make_shared<TGadgetAnimator>();
    a->targetAngle = angle * 360.0f;
    a->targetTime = float(std::max(durationMs, 1));
    a->strength = strength;
    return a;
}

void TGadgetAnimator::Step(float& dx, float& dy) {
    dx = dy = 0;
    if (finished) return;
    const int32_t now = Millisecs();
    if (startMS < 0) startMS = now;
    float p = float(now - startMS) / targetTime;
    if (p >= 1.0f) {
        p = 1.0f;
        finished = true;
    }
    const float rest = 1.0f - p;
    const float rad = rest * targetAngle * std::numbers::pi_v<float> / 180.0f;
    // Offsets on a 1/1024-pixel grid: added to a position on that grid (whole pixels) below 8192 they
    // are exact, so the moves of a run bring the gadget back to exactly where it stood.
    const float tx = std::round(strength * rest * rest * std::cos(rad) * 1024.0f) / 1024.0f;
    const float ty = std::round(strength * rest * rest * std::sin(rad) * 1024.0f) / 1024.0f;
    // The last step returns whatever is left, so rounding never leaves the gadget displaced.
    dx = finished ? -last_x : tx - last_x;
    dy = finished ? -last_y : ty - last_y;
    last_x += dx;
    last_y += dy;
}
