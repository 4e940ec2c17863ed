#include "platform/TImageAtlas.h"

#include <algorithm>

#include "platform/TPixmap.h"
#include "platform/TSpriteBatch.h"

namespace {
struct TPlace {
    int32_t x, y;
};

// Shelf packing of cells (image plus border) in the given order into a square of `limit`
// pixels; stops at the first cell that no longer fits. Sets the width and height used.
std::vector<TPlace> Shelves(const std::vector<std::shared_ptr<TImage>>& images, int32_t limit, int32_t& width,
                            int32_t& height) {
    std::vector<TPlace> places;
    int32_t x = 0, y = 0, shelf = 0;
    width = 0;
    for (const auto& img : images) {
        const int32_t w = img->width + 2, h = img->height + 2;
        if (x + w > limit) {
            y += shelf;
            x = 0;
            shelf = 0;
        }
        if (y + h > limit) break;
        places.push_back(TPlace{x, y});
        x += w;
        width = std::max(width, x);
        shelf = std::max(shelf, h);
    }
    height = y + shelf;
    return places;
}
}  // namespace

std::vector<std::shared_ptr<TImage>> TImageAtlas::Pack(const std::vector<std::shared_ptr<TImage>>& images,
                                                       int32_t maxSize) {
    // An atlas is itself an image, and its texture adds a one-pixel border around its pixmap.
    const int32_t limit = maxSize - 2;
    // Packed images give up their own textures; triangles still waiting for those go first.
    TSpriteBatch::Instance().Flush();
    std::vector<std::shared_ptr<TImage>> atlases;
    for (const int32_t filter : {0, int32_t(FILTEREDIMAGE)}) {
        std::vector<std::shared_ptr<TImage>> pending;
        for (const auto& img : images) {
            if (img && img->FrameCount() == 1 && (img->flags & FILTEREDIMAGE) == filter && img->width + 2 <= limit &&
                img->height + 2 <= limit) {
                pending.push_back(img);
            }
        }
        // Tallest first keeps the shelves tight.
        std::stable_sort(pending.begin(), pending.end(),
                         [](const auto& a, const auto& b) { return a->height > b->height; });
        while (!pending.empty()) {
            // Full-width shelves make the fewest atlases; the atlas is cut to the space used.
            int32_t width = 0, height = 0;
            const std::vector<TPlace> places = Shelves(pending, limit, width, height);
            auto atlas = TImage::Create(width, height, 1, filter);
            if (!atlas) break;  // no memory for it: the rest keep their own textures
            TPixmap& pix = *atlas->pixmaps[0];
            for (size_t i = 0; i < places.size(); ++i) {
                TImage& img = *pending[i];
                TImage::CopyCell(*img.pixmaps[0], pix.Row(places[i].y) + places[i].x, pix.pitch / 4);
                img.ReleaseTexture();
                // Should the image leave the atlas again, its own texture starts empty.
                std::fill(img.uploadedSeqs.begin(), img.uploadedSeqs.end(), 0);
                img.atlas = atlas;
                img.atlasX = places[i].x + 1;
                img.atlasY = places[i].y + 1;
            }
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(places.size()));
            atlases.push_back(atlas);
        }
    }
    return atlases;
}
