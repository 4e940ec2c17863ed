#pragma once
#include <functional>
#include <string>

#include "tools/TCanvas.h"

// One generated picture: the file it goes to under data/gfx/gui and how it is painted.
// Files ending in ".jpg" are written as JPEG, all others as PNG with alpha.
struct TArtPicture {
    std::string fileName;
    std::function<TCanvas()> paint;
};
