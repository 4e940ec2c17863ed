#pragma once
#include <cstdint>
#include <string>

#include "tools/TCanvas.h"

// Vehicles: a strip of 4 frames of 32 × 24, one per driving direction in the order the
// traffic uses (0 towards the upper right, 1 lower right, 2 lower left, 3 upper left), each
// standing with its middle at (16, 16) of its frame, the point the lane positions refer to.
class TCarArt {
public:
    // kind: "car", "sports", "van", "bus", "truck", "tanker"; colour as 0xRRGGBB.
    static TCanvas Vehicle(const std::string& kind, uint32_t colour);
};
