#pragma once
#include <vector>

#include "tools/TArtPicture.h"
#include "tools/TTextRenderer.h"

// The icons drawn on round buttons: commands, build categories, hide toggles, game speed,
// tech levels, tabs, the day clock and the influence symbols.
class TButtonIconArt {
public:
    static constexpr int32_t IconSize = 40;       // fits a button of radius 20
    static constexpr float IconMargin = 6.0f;     // keeps the symbol inside the button's rim
    static constexpr int32_t InfluenceSize = 24;  // fits the influence gadgets of radius 12

    static void AddTo(std::vector<TArtPicture>& pictures, const TTextRenderer& text);
};
