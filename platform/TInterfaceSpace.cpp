#include "platform/TInterfaceSpace.h"

#include <algorithm>
#include <cmath>

#include "platform/TDrawState.h"
#include "platform/TGraphics.h"

namespace {
float& CurrentFactor() {
    static float factor = 1.0f;
    return factor;
}

int32_t InUnits(int32_t pixels) { return std::max(1, static_cast<int32_t>(std::floor(float(pixels) / CurrentFactor()))); }
}  // namespace

float TInterfaceSpace::FactorFor(float wanted, int32_t width, int32_t height) {
    const float room = std::min(float(width) / float(minWidth), float(height) / float(minHeight));
    return std::clamp(std::min(std::isfinite(wanted) ? wanted : 1.0f, room), minFactor, maxFactor);
}

void TInterfaceSpace::SetFactor(float factor) {
    CurrentFactor() = std::isfinite(factor) ? std::clamp(factor, minFactor, maxFactor) : 1.0f;
}

float TInterfaceSpace::Factor() { return CurrentFactor(); }

int32_t TInterfaceSpace::Width() { return InUnits(TGraphics::GraphicsWidth()); }

int32_t TInterfaceSpace::Height() { return InUnits(TGraphics::GraphicsHeight()); }

TInterfaceSpace::TInterfaceSpace() : previous(GetInterfaceScale()) { SetInterfaceScale(CurrentFactor()); }

TInterfaceSpace::~TInterfaceSpace() { SetInterfaceScale(previous); }
