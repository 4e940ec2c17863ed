#pragma once
#include <cstdint>

#include "platform/TScreenSpace.h"

// The interface scale. Panels, buttons, tooltips, the on-screen keyboard and texts are laid
// out in interface units; one unit is Factor() back-buffer pixels, so the whole interface
// grows or shrinks with one number while the map keeps drawing in back-buffer pixels. Touch
// points arrive in interface units (the multitouch module divides by the factor).
//
// While one of these lives, draws are in interface units: the screen space of TScreenSpace,
// and every vertex and the viewport multiplied by the factor on their way to the device.
class TInterfaceSpace {
public:
    static constexpr float minFactor = 0.75f, maxFactor = 3.0f;
    // The smallest screen, in units, the panels are laid out for (the smallest window).
    static constexpr int32_t minWidth = 320, minHeight = 240;
    // The factor for a wanted one on a back buffer of width x height: the wanted factor, made
    // smaller where the screen would hold fewer units than the panels need.
    static float FactorFor(float wanted, int32_t width, int32_t height);
    // The factor from now on (taken into [minFactor, maxFactor]).
    static void SetFactor(float factor);
    static float Factor();
    // The back buffer's size in interface units (whole units, at least 1).
    static int32_t Width();
    static int32_t Height();
    // Back-buffer pixels to interface units and back.
    static float ToUnits(float pixels) { return pixels / Factor(); }
    static float ToPixels(float units) { return units * Factor(); }

    TInterfaceSpace();
    ~TInterfaceSpace();
    TInterfaceSpace(const TInterfaceSpace&) = delete;
    TInterfaceSpace& operator=(const TInterfaceSpace&) = delete;

private:
    TScreenSpace screen;
    float previous;
};
