#pragma once
#include <cstdint>
#include <memory>

class TImage;

// One image draw waiting to be copied into the ground block cache.
class TOPData {
public:
    // A pending draw of `frame` of `img` at plane position (x, y) on cache layer `layer`
    // (0 = black outer ring, 1 = ground); (ox, oy) is the screen position it was drawn at.
    // onlyFilledBlock: the image goes only into the block being drawn from the cache's source.
    // Its pixels are copied multiplied by `tint` (0xFFRRGGBB; white copies them as they are).
    static std::shared_ptr<TOPData> DrawImage(const std::shared_ptr<TImage>& img, float x, float y, int32_t frame,
                                              float ox, float oy, int32_t layer, bool onlyFilledBlock = false,
                                              uint32_t tint = 0xFFFFFFFFu);

    std::shared_ptr<TImage> img;
    float x = 0, y = 0;
    float ox = 0, oy = 0;
    int32_t Frame = 0;
    int32_t layer = 0;
    bool onlyFilledBlock = false;
    uint32_t tint = 0xFFFFFFFFu;
};
