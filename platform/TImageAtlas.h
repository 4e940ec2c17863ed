#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/TImage.h"

// Puts many small images into shared atlas images, so drawing them one after another
// (buttons, icons, buildings, trees, cars) stays in one batch instead of costing one per picture.
class TImageAtlas {
public:
    // Copies every image (all its frames) into an atlas whose texture is at most maxSize pixels
    // a side and makes the image draw from there; it keeps its size, handle, flags and pixmaps.
    // Null entries, images already in an atlas, and images too large for one atlas are left
    // alone. Images with and without FILTEREDIMAGE go to separate atlases, and when an atlas is
    // full the rest go to another one. Returns the atlases made; the packed images keep them alive.
    static std::vector<std::shared_ptr<TImage>> Pack(const std::vector<std::shared_ptr<TImage>>& images,
                                                     int32_t maxSize = 2048);
};
