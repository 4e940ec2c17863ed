#include "world/TAlign.h"

namespace {
// Direction codes index arrays (road neighbours, side flags), so a code out of 0..3 must never
// come back negative.
int32_t Wrap4(int32_t v) { return ((v % 4) + 4) % 4; }
}  // namespace

int32_t TAlign::GetAlign(int32_t dx, int32_t dy) {
    if (dx == 0 && dy < 0) return 0;
    if (dx > 0 && dy == 0) return 1;
    if (dx == 0 && dy > 0) return 2;
    if (dx < 0 && dy == 0) return 3;
    return 0;
}

int32_t TAlign::Rotate(int32_t align, int32_t /*turns*/) {
    // Computed in 64 bits: align + 2 must not overflow for the largest codes.
    return Wrap4(static_cast<int32_t>((int64_t(align) + 2) % 4));
}

int32_t TAlign::StepX(int32_t align) {
    const int32_t a = Wrap4(align);
    return (a == 1) - (a == 3);
}

int32_t TAlign::StepY(int32_t align) {
    const int32_t a = Wrap4(align);
    return (a == 2) - (a == 0);
}
