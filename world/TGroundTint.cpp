#include "world/TGroundTint.h"

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"

uint32_t TGroundTint::Texel(uint32_t colour) {
    const uint32_t a = colour >> 24;
    // c * a + 255 * (1 - a), per channel, in 0 … 255 with rounding.
    auto channel = [a](uint32_t c) { return (c * a + 255u * (255u - a) + 127u) / 255u; };
    return 0xFF000000u | channel((colour >> 16) & 0xFFu) << 16 | channel((colour >> 8) & 0xFFu) << 8 |
           channel(colour & 0xFFu);
}

void TGroundTint::_Update(TInfluenceLayer& influence, const std::shared_ptr<TInfluenceMask>& mask) {
    const int32_t w = influence.Width, h = influence.Height;
    const bool sized = image && image->width == w && image->height == h;
    if (sized && mask == shownMask && influence.generation == shownGeneration) return;
    // Unfiltered: every tile shows its own colour up to its diamond's edge.
    if (!sized) image = TImage::Create(w, h, 1, DYNAMICIMAGE);
    if (!image) return;
    const std::vector<uint32_t>& colours = influence.GroundColours(mask);
    const std::shared_ptr<TPixmap> pixels = image->Lock(0, false, true);
    if (pixels) {
        for (int32_t y = 0; y < h; ++y) {
            uint32_t* row = pixels->Row(y);
            for (int32_t x = 0; x < w; ++x) row[x] = Texel(colours[size_t(y) * size_t(w) + size_t(x)]);
        }
    }
    image->Unlock(0);
    shownMask = mask;
    shownGeneration = influence.generation;
}

void TGroundTint::Draw(TInfluenceLayer& influence, const std::shared_ptr<TInfluenceMask>& mask, const TISO& iso) {
    if (!mask || influence.Width <= 0 || influence.Height <= 0) return;
    _Update(influence, mask);
    if (!image) return;
    // Map point (u, v) lies at ToIso(u, v) and tile (x, y) covers [x, x + 1] x [y, y + 1]: the map
    // is the parallelogram spanned from ToIso(0, 0) by the map's two edges.
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, x3 = 0, y3 = 0;
    iso.ToIso(0, 0, x0, y0);
    iso.ToIso(float(influence.Width), 0, x1, y1);
    iso.ToIso(0, float(influence.Height), x3, y3);
    const int32_t blend = GetBlend();
    const float alpha = GetAlpha();
    int32_t r = 255, g = 255, b = 255;
    GetColor(r, g, b);
    SetBlend(SHADEBLEND);
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    DrawImageQuad(image, x0, y0, x1, y1, x3, y3);
    SetBlend(blend);
    SetAlpha(alpha);
    SetColor(r, g, b);
}

void TGroundTint::Forget() {
    image.reset();
    shownMask.reset();
    shownGeneration = 0;
}
