#pragma once
#include <vector>

#include "tools/TArtPicture.h"

// The software mouse cursor strip, the finger light under touch points and the strip of
// satisfaction faces.
class TPointerArt {
public:
    static constexpr int32_t CursorCell = 32;
    static constexpr int32_t SmileyCell = 15;
    static constexpr int32_t SmileyCount = 5;

    static void AddTo(std::vector<TArtPicture>& pictures);
};
