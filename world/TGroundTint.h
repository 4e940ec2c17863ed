#pragma once
#include <cstdint>
#include <memory>

class TImage;
class TInfluenceLayer;
class TInfluenceMask;
class TISO;

// The influence view over the ground: one texel per map tile in the mask's colour for it, drawn
// as a single quad over the map's diamond in multiplying blend. Every ground pixel on screen is
// tinted in one pass, instead of a tinted ground picture per tile drawn over the ground cache.
// The texels are written again only when the mask or the influence values change.
class TGroundTint {
public:
    // Multiplies the ground drawn so far with the mask's colours, tile by tile.
    void Draw(TInfluenceLayer& influence, const std::shared_ptr<TInfluenceMask>& mask, const TISO& iso);
    // Drops the texels (the world goes).
    void Forget();
    // The texels: pixel (x, y) is tile (x, y); null before the first draw.
    const std::shared_ptr<TImage>& Image() const { return image; }
    // The texel for a mask colour (0xAARRGGBB): a colour drawn at its alpha over a pixel is that
    // pixel times this texel.
    static uint32_t Texel(uint32_t colour);

private:
    void _Update(TInfluenceLayer& influence, const std::shared_ptr<TInfluenceMask>& mask);

    std::shared_ptr<TImage> image;
    std::shared_ptr<TInfluenceMask> shownMask;
    uint64_t shownGeneration = 0;
};
