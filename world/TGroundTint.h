#pragma once
#include <cstdint>
#include <memory>
#include <vector>

class TInfluenceLayer;
class TInfluenceMask;

// The influence view's colours, baked into the ground: one multiplier per map tile (white where
// no mask is shown). The ground copies a tile's pictures into its block cache multiplied by it
// and draws a changed tile on screen in it, so the coloured ground costs a frame no more than the
// plain one. Only the tiles whose multiplier changes (another mask, new influence values, the
// mask taken away) are drawn and cached again.
class TGroundTint {
public:
    static constexpr uint32_t white = 0xFFFFFFFFu;

    // Brings the multipliers up to the mask (null: none shown) and the influence values, and
    // calls changed(x, y) for every tile whose multiplier changed.
    template <typename F>
    void Update(TInfluenceLayer* influence, const std::shared_ptr<TInfluenceMask>& mask, F&& changed) {
        std::vector<uint32_t> before;
        if (!_Update(influence, mask, before)) return;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const size_t i = size_t(y) * size_t(width) + size_t(x);
                const uint32_t was = before.empty() ? white : before[i];
                if (was != (texels.empty() ? white : texels[i])) changed(x, y);
            }
        }
    }
    // The multiplier of tile (x, y): white without a mask or off the map.
    uint32_t At(int32_t x, int32_t y) const {
        return texels.empty() || x < 0 || y < 0 || x >= width || y >= height
                   ? white
                   : texels[size_t(y) * size_t(width) + size_t(x)];
    }
    // Drops the multipliers (the world goes; its cache goes with it).
    void Forget();
    // The multiplier for a mask colour (0xAARRGGBB): a colour drawn at its alpha over a pixel is
    // that pixel times this texel.
    static uint32_t Texel(uint32_t colour);
    // A pixel (0xAARRGGBB) times a multiplier, channel by channel; the alpha stays.
    static uint32_t Multiply(uint32_t pixel, uint32_t texel);

private:
    // Works out the multipliers again when the mask, the values or the map's size changed; the
    // old ones go to `before` (empty: all white). False when nothing changed.
    bool _Update(TInfluenceLayer* influence, const std::shared_ptr<TInfluenceMask>& mask,
                 std::vector<uint32_t>& before);

    std::vector<uint32_t> texels;  // row-major, index y * width + x; empty: all white
    int32_t width = 0, height = 0;
    std::shared_ptr<TInfluenceMask> shownMask;
    uint64_t shownGeneration = 0;
};
