#include "platform/TImageAtlas.h"

#include <algorithm>

#include "platform/TPixmap.h"
#include "platform/TSpriteBatch.h"

namespace {
struct TPlace {
    int32_t x, y;
};

// Shelf packing of cells (frame plus border) in the given order into a square of `limit`
// pixels; stops at the first cell that no longer fits. Sets the width and height used.
std::vector<TPlace> Shelves(const std::vector<const TImage*>& cells, int32_t limit, int32_t& width, int32_t& height) {
    std::vector<TPlace> places;
    int32_t x = 0, y = 0, shelf = 0;
    width = 0;
    for (const TImage* img : cells) {
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
            if (img && img->FrameCount() > 0 && !img->Atlas() && (img->flags & FILTEREDIMAGE) == filter &&
                img->width + 2 <= limit && img->height + 2 <= limit &&
                std::find(pending.begin(), pending.end(), img) == pending.end()) {
                pending.push_back(img);
            }
        }
        // Tallest first keeps the shelves tight.
        std::stable_sort(pending.begin(), pending.end(),
                         [](const auto& a, const auto& b) { return a->height > b->height; });
        while (!pending.empty()) {
            // One cell per frame; an image's frames all go to the same atlas.
            std::vector<const TImage*> cells;
            for (const auto& img : pending) cells.insert(cells.end(), size_t(img->FrameCount()), img.get());
            // Full-width shelves make the fewest atlases; the atlas is cut to the space used.
            int32_t width = 0, height = 0;
            std::vector<TPlace> places = Shelves(cells, limit, width, height);
            size_t whole = 0, used = 0;
            while (whole < pending.size() && used + size_t(pending[whole]->FrameCount()) <= places.size()) {
                used += size_t(pending[whole++]->FrameCount());
            }
            if (whole == 0) {  // more frames than an atlas holds: it keeps its own texture
                pending.erase(pending.begin());
                continue;
            }
            if (used < places.size()) {  // the frames of an image cut off go to the next atlas
                places.resize(used);
                cells.resize(used);
                width = height = 0;
                for (size_t i = 0; i < used; ++i) {
                    width = std::max(width, places[i].x + cells[i]->width + 2);
                    height = std::max(height, places[i].y + cells[i]->height + 2);
                }
            }
            auto atlas = TImage::Create(width, height, 1, filter);
            if (!atlas) break;  // no memory for it: the rest keep their own textures
            TPixmap& pix = *atlas->pixmaps[0];
            size_t cell = 0;
            for (size_t i = 0; i < whole; ++i) {
                TImage& img = *pending[i];
                img.ReleaseTexture();
                // Should the image leave the atlas again, its own texture starts empty.
                std::fill(img.uploadedSeqs.begin(), img.uploadedSeqs.end(), 0);
                img.atlas = atlas;
                img.atlasPlaces.clear();
                for (int32_t f = 0; f < img.FrameCount(); ++f, ++cell) {
                    TImage::CopyCell(*img.pixmaps[size_t(f)], pix.Row(places[cell].y) + places[cell].x, pix.pitch / 4);
                    img.atlasPlaces.emplace_back(places[cell].x + 1, places[cell].y + 1);
                }
            }
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(whole));
            atlases.push_back(atlas);
        }
    }
    return atlases;
}
