#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "tools/TCanvas.h"

// The program's icon for menus and launchers (installed under share/icons/hicolor): a piece of
// town on a blue tile (a tower, a shop and a house by a road, trees, the sun), painted from shapes
// at each size so that every size is sharp.
class TAppIconArt {
public:
    static constexpr std::array<int32_t, 4> sizes = {48, 64, 128, 256};

    static TCanvas Paint(int32_t size);
    // The picture's file under the icons folder: "<size>x<size>/vallmora.png", as hicolor names its folders.
    static std::string FileOf(int32_t size);
};
