#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "tools/TCanvas.h"

// One generated picture: the file it goes to (relative to its family's folder) and how it is
// painted. Files ending in ".jpg" are written as JPEG; other pictures as PNG with alpha, or,
// when keyed, as PNG without alpha where magenta (255, 0, 255) marks the transparent pixels.
// frames tells the contact sheet how the picture is cut (a strip of equal frames, left to right).
struct TArtPicture {
    std::string fileName;
    std::function<TCanvas()> paint;
    int32_t frames = 1;
    bool keyed = false;
};
