#pragma once
#include <vector>

#include "tools/TArtPicture.h"

// Backgrounds the panels are built from: round and bar buttons, the text field, the
// tooltip frame, ring controls, the round preview window and its coloured borders.
class TWidgetArt {
public:
    static constexpr int32_t ButtonSize = 40;
    static constexpr int32_t RingSize = 140;  // preview window of radius 70

    static void AddTo(std::vector<TArtPicture>& pictures);
};
