#include "world/TGroundTint.h"

#include "world/TInfluenceLayer.h"

uint32_t TGroundTint::Texel(uint32_t colour) {
    const uint32_t a = colour >> 24;
    // c * a + 255 * (1 - a), per channel, in 0 … 255 with rounding.
    auto channel = [a](uint32_t c) { return (c * a + 255u * (255u - a) + 127u) / 255u; };
    return 0xFF000000u | channel((colour >> 16) & 0xFFu) << 16 | channel((colour >> 8) & 0xFFu) << 8 |
           channel(colour & 0xFFu);
}

uint32_t TGroundTint::Multiply(uint32_t pixel, uint32_t texel) {
    auto channel = [pixel, texel](int shift) {
        return (((pixel >> shift) & 0xFFu) * ((texel >> shift) & 0xFFu) + 127u) / 255u << shift;
    };
    return (pixel & 0xFF000000u) | channel(16) | channel(8) | channel(0);
}

bool TGroundTint::_Update(TInfluenceLayer* influence, const std::shared_ptr<TInfluenceMask>& mask,
                          std::vector<uint32_t>& before) {
    const bool shown = mask && influence && influence->Width > 0 && influence->Height > 0;
    if (!shown) {
        if (texels.empty()) return false;
        before.swap(texels);
        shownMask.reset();
        return true;
    }
    const bool sized = influence->Width == width && influence->Height == height;
    if (sized && mask == shownMask && influence->generation == shownGeneration && !texels.empty()) return false;
    if (sized) before.swap(texels);
    width = influence->Width;
    height = influence->Height;
    const std::vector<uint32_t>& colours = influence->GroundColours(mask);
    texels.resize(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) texels[i] = Texel(colours[i]);
    shownMask = mask;
    shownGeneration = influence->generation;
    return true;
}

void TGroundTint::Forget() {
    texels.clear();
    width = height = 0;
    shownMask.reset();
    shownGeneration = 0;
}
