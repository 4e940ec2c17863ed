#include "gui/TImageRect.h"

#include <algorithm>

#include "platform/TDraw.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"

std::shared_ptr<TImageRect> TImageRect::Load(const std::string& path) {
    if (path.empty()) return nullptr;
    return FromImage(TImage::Load(path));
}

std::shared_ptr<TImageRect> TImageRect::FromImage(const std::shared_ptr<TImage>& image) {
    if (!image || image->FrameCount() < 1 || image->width < 3 || image->height < 3) return nullptr;
    auto r = std::make_shared<TImageRect>();
    r->image = image;
    r->tilewidth = image->width / 3;
    r->TileHeight = image->height / 3;
    const TPixmap& src = *image->pixmaps[0];
    // Each cell is its own picture, so filtering at a stretched edge never reaches a neighbour.
    for (int32_t row = 0; row < 3; ++row) {
        for (int32_t col = 0; col < 3; ++col) {
            const int32_t x0 = col * r->tilewidth, y0 = row * r->TileHeight;
            const int32_t w = col == 2 ? image->width - x0 : r->tilewidth;
            const int32_t h = row == 2 ? image->height - y0 : r->TileHeight;
            auto pix = TPixmap::Create(w, h);
            if (!pix) return nullptr;
            for (int32_t y = 0; y < h; ++y) std::copy_n(src.Row(y0 + y) + x0, w, pix->Row(y));
            pix->sourceHasAlpha = true;
            r->cells[size_t(row * 3 + col)] = TImage::FromPixmap(pix, image->flags & ~MASKEDIMAGE);
        }
    }
    return r;
}

void TImageRect::Draw(float x, float y, float w, float h) const {
    const float tw = float(tilewidth), th = float(TileHeight);
    const float iw = std::max(w - 2 * tw, 0.0f), ih = std::max(h - 2 * th, 0.0f);
    const float xs[3] = {x, x + tw, x + tw + iw};
    const float ys[3] = {y, y + th, y + th + ih};
    const float ws[3] = {tw, iw, tw};
    const float hs[3] = {th, ih, th};
    for (int32_t row = 0; row < 3; ++row) {
        for (int32_t col = 0; col < 3; ++col) {
            if (ws[col] > 0 && hs[row] > 0) DrawImageRect(cells[size_t(row * 3 + col)], xs[col], ys[row], ws[col], hs[row]);
        }
    }
}
