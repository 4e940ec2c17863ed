#include "world/TOPPanel.h"

#include <algorithm>
#include <cmath>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "settings/TConfig.h"
#include "world/TOPData.h"

namespace {
constexpr int64_t blockPixels = int64_t(TOPPanel::blockSize) * TOPPanel::blockSize;
// Side of the small images that stand in for one-colour blocks.
constexpr int32_t uniformSide = 4;

int32_t FloorDiv(int32_t v, int32_t d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }
}  // namespace

void TOPPanel::Prepare() { DePrepare(); }

void TOPPanel::DePrepare() {
    for (auto& layer : blocks) layer.clear();
    lockedBlocks.clear();
    pending.clear();
    uniformImages.clear();
}

int32_t TOPPanel::BlockIndex(float v) { return static_cast<int32_t>(std::floor(v / float(blockSize))); }

const TOPPanel::TBlock* TOPPanel::GetBlock(int32_t i, int32_t j, int32_t layer) {
    if (layer < 0 || layer >= layerCount) return nullptr;
    auto it = blocks[layer].find(_Key(i, j));
    return it == blocks[layer].end() ? nullptr : &it->second;
}

size_t TOPPanel::BlockCount(int32_t layer) { return layer < 0 || layer >= layerCount ? 0 : blocks[layer].size(); }

size_t TOPPanel::PixelBlockCount(int32_t layer) {
    if (layer < 0 || layer >= layerCount) return 0;
    size_t n = 0;
    for (const auto& entry : blocks[layer]) n += entry.second.image ? 1 : 0;
    return n;
}

void TOPPanel::addImage(const std::shared_ptr<TImage>& img, float x, float y, int32_t frame, float ox, float oy,
                        int32_t layer) {
    if (!img || layer < 0 || layer >= layerCount) return;
    pending.push_back(TOPData::DrawImage(img, x, y, frame, ox, oy, layer));
    if (pending.size() >= maxPending && !rendering) performRendering();
}

void TOPPanel::performRendering() {
    if (rendering) return;
    rendering = true;
    // Taken out first: a draw queued while copying waits for the next call.
    std::vector<std::shared_ptr<TOPData>> list;
    list.swap(pending);
    for (const auto& d : list) reallyDrawImage(*d);
    _UnlockAll();
    rendering = false;
}

void TOPPanel::reallyDrawImage(const TOPData& d) {
    if (!d.img || d.layer < 0 || d.layer >= layerCount) return;
    if (d.Frame < 0 || d.Frame >= d.img->FrameCount()) return;
    const auto& src = d.img->pixmaps[static_cast<size_t>(d.Frame)];
    if (!src || src->width <= 0 || src->height <= 0) return;
    // Plane positions are those of the tiles' anchors; images whose handle is not the tile's own
    // half-height anchor are moved so the cache shows them where a direct draw would.
    const float left = d.x - d.img->handle_x;
    const float top = d.y - d.img->handle_y + 0.5f * float(TConfig::tileheight);
    if (!std::isfinite(left) || !std::isfinite(top) || std::fabs(left) > 1e9f || std::fabs(top) > 1e9f) return;
    const int32_t px = static_cast<int32_t>(std::floor(left));
    const int32_t py = static_cast<int32_t>(std::floor(top));
    // Every block the image rectangle touches: four at a block corner, more for images larger
    // than a block.
    const int32_t i0 = FloorDiv(px, blockSize), i1 = FloorDiv(px + src->width - 1, blockSize);
    const int32_t j0 = FloorDiv(py, blockSize), j1 = FloorDiv(py + src->height - 1, blockSize);
    for (int32_t j = j0; j <= j1; ++j) {
        for (int32_t i = i0; i <= i1; ++i) {
            TBlock* block = _GetOrCreate(i, j, d.layer);
            _drawOnBlock(*block, _Key(i, j), d.layer, *src, px - i * blockSize, py - j * blockSize);
        }
    }
}

int64_t TOPPanel::_drawOnPixmap(const TPixmap& source, TPixmap& target, int32_t x, int32_t y) {
    const int32_t sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int32_t sx1 = std::min(source.width, target.width - x), sy1 = std::min(source.height, target.height - y);
    int64_t written = 0;
    for (int32_t sy = sy0; sy < sy1; ++sy) {
        const uint32_t* in = source.Row(sy);
        uint32_t* out = target.Row(sy + y) + x;
        for (int32_t sx = sx0; sx < sx1; ++sx) {
            // Negative as a signed value: alpha 128 or more.
            if (static_cast<int32_t>(in[sx]) < 0) {
                out[sx] = in[sx];
                ++written;
            }
        }
    }
    return written;
}

std::shared_ptr<TPixmap> TOPPanel::getPixmapForPos(float x, float y, int32_t layer) {
    if (layer < 0 || layer >= layerCount) return nullptr;
    const int32_t i = BlockIndex(x), j = BlockIndex(y);
    TBlock* block = _GetOrCreate(i, j, layer);
    if (!_Materialise(*block, _Key(i, j), layer)) return nullptr;
    return block->image->pixmaps[0];
}

TOPPanel::TBlock* TOPPanel::_GetOrCreate(int32_t i, int32_t j, int32_t layer) { return &blocks[layer][_Key(i, j)]; }

TPixmap* TOPPanel::_Materialise(TBlock& block, TKey key, int32_t layer) {
    if (!block.image) {
        block.image = TImage::Create(blockSize, blockSize, 1, DYNAMICIMAGE);
        if (!block.image) return nullptr;
        block.image->SetHandle(0, 0);
        block.image->pixmaps[0]->ClearPixels(block.colour);
        block.written = 0;
        block.checkedAt = 0;
        block.nextCheck = blockPixels;
    }
    if (!block.locked) {
        block.image->Lock(0, true, true);
        block.locked = true;
        lockedBlocks.emplace_back(layer, key);
    }
    return block.image->pixmaps[0].get();
}

void TOPPanel::_drawOnBlock(TBlock& block, TKey key, int32_t layer, const TPixmap& src, int32_t x, int32_t y) {
    const int32_t sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int32_t sx1 = std::min(src.width, blockSize - x), sy1 = std::min(src.height, blockSize - y);
    if (sx1 <= sx0 || sy1 <= sy0) return;
    if (!block.image) {
        // A one-colour block stays without pixels while what is written is that same colour.
        bool changes = false;
        for (int32_t sy = sy0; sy < sy1 && !changes; ++sy) {
            const uint32_t* in = src.Row(sy);
            for (int32_t sx = sx0; sx < sx1; ++sx) {
                if (static_cast<int32_t>(in[sx]) < 0 && in[sx] != block.colour) {
                    changes = true;
                    break;
                }
            }
        }
        if (!changes) return;
    }
    TPixmap* target = _Materialise(block, key, layer);
    if (!target) return;
    block.written += _drawOnPixmap(src, *target, x, y);
    // Once about a block's worth of pixels was written it may be one colour throughout; checked
    // now and then while a long queue is worked off (so the memory in use stays low), and once
    // more at the end of the queue.
    if (block.written >= block.nextCheck) _Compact(block);
}

void TOPPanel::_Compact(TBlock& block) {
    const TPixmap& p = *block.image->pixmaps[0];
    const uint32_t first = p.Row(0)[0];
    for (int32_t y = 0; y < p.height; ++y) {
        const uint32_t* row = p.Row(y);
        for (int32_t x = 0; x < p.width; ++x) {
            if (row[x] != first) {
                block.checkedAt = block.written;
                block.nextCheck = block.written + blockPixels / 4;
                return;
            }
        }
    }
    block.image.reset();
    block.colour = first;
    block.locked = false;
    block.written = 0;
}

void TOPPanel::_UnlockAll() {
    for (const auto& [layer, key] : lockedBlocks) {
        auto it = blocks[layer].find(key);
        if (it == blocks[layer].end()) continue;
        TBlock& block = it->second;
        if (block.image && block.written >= blockPixels && block.written != block.checkedAt) _Compact(block);
        if (block.locked && block.image) block.image->Unlock(0);
        block.locked = false;
    }
    lockedBlocks.clear();
}

std::shared_ptr<TImage> TOPPanel::_UniformImage(uint32_t colour) {
    auto& img = uniformImages[colour];
    if (!img) {
        img = TImage::Create(uniformSide, uniformSide, 1, DYNAMICIMAGE);
        if (!img) return nullptr;
        img->SetHandle(0, 0);
        img->pixmaps[0]->ClearPixels(colour);
    }
    return img;
}

void TOPPanel::_DrawBlock(const TBlock& block, float x, float y, float scaleX, float scaleY) {
    if (block.image) {
        DrawImage(block.image, x, y, 0);
        return;
    }
    if ((block.colour >> 24) == 0) return;  // fully transparent: nothing to see
    const auto img = _UniformImage(block.colour);
    const float f = float(blockSize) / float(uniformSide);
    SetScale(scaleX * f, scaleY * f);
    DrawImage(img, x, y, 0);
    SetScale(scaleX, scaleY);
}

void TOPPanel::Draw(float x, float y, int32_t layer) {
    performRendering();
    if (layer < 0 || layer >= layerCount || blocks[layer].empty()) return;
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    const float bw = sx * float(blockSize), bh = sy * float(blockSize);
    if (!(bw > 0) || !(bh > 0)) return;
    int32_t screenW = TGraphics::GraphicsWidth(), screenH = TGraphics::GraphicsHeight();
    if (screenW <= 0 || screenH <= 0) {
        int32_t vx = 0, vy = 0;
        GetViewport(vx, vy, screenW, screenH);
    }
    auto visible = [&](float bx, float by) {
        return bx < float(screenW) && bx + bw > 0 && by < float(screenH) && by + bh > 0;
    };
    const double i0 = std::floor(-double(x) / bw), i1 = std::floor((double(screenW) - x) / bw);
    const double j0 = std::floor(-double(y) / bh), j1 = std::floor((double(screenH) - y) / bh);
    const double span = (i1 - i0 + 1) * (j1 - j0 + 1);
    if (span <= double(blocks[layer].size())) {
        // Look up only the blocks under the screen: the cost follows the screen, not the map.
        for (int32_t j = int32_t(j0); j <= int32_t(j1); ++j) {
            for (int32_t i = int32_t(i0); i <= int32_t(i1); ++i) {
                auto it = blocks[layer].find(_Key(i, j));
                if (it == blocks[layer].end()) continue;
                const float bx = x + float(i) * bw, by = y + float(j) * bh;
                if (visible(bx, by)) _DrawBlock(it->second, bx, by, sx, sy);
            }
        }
        return;
    }
    for (const auto& [key, block] : blocks[layer]) {
        const int32_t i = int32_t(key >> 32), j = int32_t(uint32_t(key & 0xFFFFFFFF));
        const float bx = x + float(i) * bw, by = y + float(j) * bh;
        if (visible(bx, by)) _DrawBlock(block, bx, by, sx, sy);
    }
}
