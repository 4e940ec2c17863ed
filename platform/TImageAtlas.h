#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/TImage.h"

// Puts many small single-frame images into shared atlas images, so drawing them one after
// another (buttons, icons) stays in one batch instead of costing one per picture.
class TImageAtlas {
public:
    // Copies every single-frame image into an atlas whose texture is at most maxSize pixels a
    // side and makes the image draw from there; it keeps its size, handle, flags and pixmap.
    // Null entries, images with more frames and images too large for an atlas are left alone.
    // Images with and without FILTEREDIMAGE go to separate atlases, and when an atlas is full
    // the rest go to another one. Returns the atlases made; the packed images keep them alive.
    static std::vector<std::shared_ptr<TImage>> Pack(const std::vector<std::shared_ptr<TImage>>& images,
                                                     int32_t maxSize = 2048);
};
