#pragma once
#include <functional>
#include <string>

#include "tools/TCanvas.h"

// A small town composed from the generated world pictures with the game's anchor rules
// (tiles and roads by their left corner at half a tile's height, bridges, cars and trees by
// their bottom minus half a tile, buildings by their footprint), drawn back to front, so that
// alignment can be judged before the world code draws it.
class TPreviewScene {
public:
    // picture: the painted canvas of a picture path relative to data/ (null when unknown).
    using TLookup = std::function<const TCanvas*(const std::string&)>;
    static TCanvas Paint(const TLookup& picture);
};
