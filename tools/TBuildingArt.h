#pragma once
#include <cstdint>
#include <string>

#include "tools/TCanvas.h"

// Buildings, parks and monuments. A picture of an n × n building is 32·n pixels wide; the
// footprint's bottom corner is the middle of its bottom row (the game's building anchor), and
// everything above it is the building. Colour families: residential green and red roofs,
// commercial blue glass, industrial yellow-grey, public grey stone, parks green, awards gold.
class TBuildingArt {
public:
    struct TRequest {
        std::string style;    // painter name, e.g. "cottage", "office", "factory", "church"
        int32_t size = 1;     // footprint n × n
        int32_t height = 32;  // picture height in pixels
        int32_t frames = 1;   // animation frames, side by side
        int32_t level = 1;    // tech level 1 … 5 (richer detail and lit windows higher up)
        int32_t seed = 0;     // variation
        std::string layer;    // "" the building, "deco" its decoration, "decoanim" its animated decoration
    };
    // The strip of request.frames frames; an unknown style paints a plain block (and says so).
    static TCanvas Paint(const TRequest& request);
    static bool Knows(const std::string& style);
};
