#include "world/TOPPanel.h"

#include <algorithm>
#include <cmath>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TSpriteBatch.h"
#include "settings/TConfig.h"
#include "world/TGroundTint.h"
#include "world/TOPData.h"

namespace {
constexpr int64_t blockPixels = int64_t(TOPPanel::blockSize) * TOPPanel::blockSize;
// Side of the small images that stand in for one-colour blocks.
constexpr int32_t uniformSide = 4;

int32_t FloorDiv(int32_t v, int32_t d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }

// A source pixel as it goes into a block; most copies are untinted and skip the multiplication.
uint32_t Tinted(uint32_t pixel, uint32_t tint) {
    return tint == TGroundTint::white ? pixel : TGroundTint::Multiply(pixel, tint);
}
}  // namespace

bool TOPPanel::TBlock::OnDeviceOnly() const { return image && !image->pixmaps.empty() && !image->pixmaps[0]; }

void TOPPanel::_Clear() {
    for (auto& layer : blocks) layer.clear();
    lockedBlocks.clear();
    pending.clear();
    uniformImages.clear();
}

void TOPPanel::Prepare() {
    _Clear();
    source = {};
    fills = 0;
}

void TOPPanel::DePrepare() {
    Prepare();
    pixelBudget = defaultPixelBudget;
    blockBudget = defaultBlockBudget;
    keepPixelCopies = false;
}

void TOPPanel::SetSource(const TFill& fill) {
    if (fill.function == source.function && fill.context == source.context) return;
    // Blocks already drawn this frame may still wait in the batch; their textures go now.
    TSpriteBatch::Instance().Flush();
    _Clear();
    source = fill;
}

int32_t TOPPanel::BlockIndex(float v) { return static_cast<int32_t>(std::floor(v / float(blockSize))); }

const TOPPanel::TBlock* TOPPanel::GetBlock(int32_t i, int32_t j, int32_t layer) const {
    if (layer < 0 || layer >= layerCount) return nullptr;
    auto it = blocks[layer].find(_Key(i, j));
    return it == blocks[layer].end() ? nullptr : &it->second;
}

size_t TOPPanel::BlockCount(int32_t layer) const { return layer < 0 || layer >= layerCount ? 0 : blocks[layer].size(); }

size_t TOPPanel::PixelBlockCount(int32_t layer) const {
    if (layer < 0 || layer >= layerCount) return 0;
    size_t n = 0;
    for (const auto& entry : blocks[layer]) n += entry.second.image ? 1 : 0;
    return n;
}

size_t TOPPanel::PixelCopyCount(int32_t layer) const {
    if (layer < 0 || layer >= layerCount) return 0;
    size_t n = 0;
    for (const auto& entry : blocks[layer]) n += entry.second.image && !entry.second.OnDeviceOnly() ? 1 : 0;
    return n;
}

void TOPPanel::addImage(const std::shared_ptr<TImage>& img, float x, float y, int32_t frame, float ox, float oy,
                        int32_t layer, TReach reach, uint32_t tint) {
    if (!img || layer < 0 || layer >= layerCount) return;
    pending.push_back(TOPData::DrawImage(img, x, y, frame, ox, oy, layer, reach == filledBlock, tint));
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
            const TKey key = _Key(i, j);
            if (d.onlyFilledBlock && !(filling && d.layer == fillLayer && key == fillKey)) continue;
            TBlock* block = nullptr;
            if (source.IsSet()) {
                // Only blocks the cache holds are written; any other is drawn in full from the
                // source when it comes into view. Only the block being drawn from the source has
                // a pixel copy: another one that changes is dropped, to be drawn again from its
                // tiles.
                auto it = blocks[d.layer].find(key);
                if (it == blocks[d.layer].end()) continue;
                const bool target = filling && d.layer == fillLayer && key == fillKey;
                const int32_t bx = px - i * blockSize, by = py - j * blockSize;
                const TBlock& held = it->second;
                if (!target && !keepPixelCopies &&
                    (held.OnDeviceOnly() || (!held.image && _WouldChange(held, *src, bx, by, d.tint)))) {
                    _Drop(d.layer, key);
                    continue;
                }
                block = &it->second;
            } else {
                block = _GetOrCreate(i, j, d.layer);
            }
            _drawOnBlock(*block, key, d.layer, *src, px - i * blockSize, py - j * blockSize, d.tint);
        }
    }
}

int64_t TOPPanel::_drawOnPixmap(const TPixmap& source, TPixmap& target, int32_t x, int32_t y, uint32_t tint) {
    const int32_t sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int32_t sx1 = std::min(source.width, target.width - x), sy1 = std::min(source.height, target.height - y);
    int64_t written = 0;
    for (int32_t sy = sy0; sy < sy1; ++sy) {
        const uint32_t* in = source.Row(sy);
        uint32_t* out = target.Row(sy + y) + x;
        for (int32_t sx = sx0; sx < sx1; ++sx) {
            // Negative as a signed value: alpha 128 or more.
            if (static_cast<int32_t>(in[sx]) < 0) {
                out[sx] = Tinted(in[sx], tint);
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
    if (block.OnDeviceOnly()) return nullptr;
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

bool TOPPanel::_WouldChange(const TBlock& block, const TPixmap& src, int32_t x, int32_t y, uint32_t tint) {
    const int32_t sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int32_t sx1 = std::min(src.width, blockSize - x), sy1 = std::min(src.height, blockSize - y);
    for (int32_t sy = sy0; sy < sy1; ++sy) {
        const uint32_t* in = src.Row(sy);
        for (int32_t sx = sx0; sx < sx1; ++sx) {
            if (static_cast<int32_t>(in[sx]) < 0 && Tinted(in[sx], tint) != block.colour) return true;
        }
    }
    return false;
}

void TOPPanel::_drawOnBlock(TBlock& block, TKey key, int32_t layer, const TPixmap& src, int32_t x, int32_t y,
                            uint32_t tint) {
    const int32_t sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int32_t sx1 = std::min(src.width, blockSize - x), sy1 = std::min(src.height, blockSize - y);
    if (sx1 <= sx0 || sy1 <= sy0) return;
    // A one-colour block stays without pixels while what is written is that same colour.
    if (!block.image && !_WouldChange(block, src, x, y, tint)) return;
    TPixmap* target = _Materialise(block, key, layer);
    if (!target) return;
    block.written += _drawOnPixmap(src, *target, x, y, tint);
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
    // Opaque pixels drawn at full alpha replace what lies below: the same pixels without the
    // blend, which spares the device reading the target.
    const int32_t blend = GetBlend();
    const bool opaque =
        GetAlpha() >= 1.0f && blend == ALPHABLEND && (block.image ? block.opaque : (block.colour >> 24) == 0xFF);
    if (opaque) SetBlend(SOLIDBLEND);
    if (block.image) {
        DrawImage(block.image, x, y, 0);
    } else if ((block.colour >> 24) != 0) {  // a fully transparent block shows nothing
        const auto img = _UniformImage(block.colour);
        const float f = float(blockSize) / float(uniformSide);
        SetScale(scaleX * f, scaleY * f);
        DrawImage(img, x, y, 0);
        SetScale(scaleX, scaleY);
    }
    SetBlend(blend);
}

void TOPPanel::_KeepOnDeviceOnly(TBlock& block) {
    if (!block.image || block.locked || keepPixelCopies || !source.IsSet()) return;
    // Without a device the pixels stay, as they could not be drawn otherwise.
    if (!block.image->Frame(0)) return;
    const TPixmap* pix = block.image->pixmaps.empty() ? nullptr : block.image->pixmaps[0].get();
    block.opaque = pix != nullptr;
    for (int32_t y = 0; pix && y < pix->height && block.opaque; ++y) {
        const uint32_t* row = pix->Row(y);
        uint32_t all = 0xFF000000u;
        for (int32_t x = 0; x < pix->width; ++x) all &= row[x];
        block.opaque = (all >> 24) == 0xFF;
    }
    block.image->pixmaps[0].reset();
    block.generation = TGraphics::Generation();
}

void TOPPanel::_Fill(int32_t i, int32_t j, int32_t layer) {
    // Draws queued before go first, so every image lands in the order it was queued.
    performRendering();
    const TKey key = _Key(i, j);
    blocks[layer][key] = TBlock{};
    filling = true;
    fillLayer = layer;
    fillKey = key;
    source(i, j, layer);
    performRendering();
    filling = false;
    ++fills;
    auto it = blocks[layer].find(key);
    if (it != blocks[layer].end()) _KeepOnDeviceOnly(it->second);
}

void TOPPanel::DropBlock(int32_t i, int32_t j, int32_t layer) {
    if (layer >= 0 && layer < layerCount) _Drop(layer, _Key(i, j));
}

void TOPPanel::_Drop(int32_t layer, TKey key) {
    auto it = blocks[layer].find(key);
    if (it == blocks[layer].end()) return;
    if (it->second.image) TSpriteBatch::Instance().Flush();
    blocks[layer].erase(it);
}

void TOPPanel::_Evict(size_t room) {
    size_t all = room, withPixels = room;
    for (const auto& layer : blocks) {
        all += layer.size();
        for (const auto& entry : layer) withPixels += entry.second.image ? 1 : 0;
    }
    if (withPixels <= pixelBudget && all <= blockBudget) return;
    struct TCandidate {
        uint64_t lastUse;
        int32_t layer;
        TKey key;
        bool pixels;
    };
    std::vector<TCandidate> candidates;
    for (int32_t layer = 0; layer < layerCount; ++layer) {
        for (const auto& [key, block] : blocks[layer]) {
            if (block.lastUse != lastDraw[layer] && !block.locked)
                candidates.push_back({block.lastUse, layer, key, block.image != nullptr});
        }
    }
    // Least recently drawn first; the rest of the order only makes the choice repeatable.
    std::sort(candidates.begin(), candidates.end(), [](const TCandidate& a, const TCandidate& b) {
        if (a.lastUse != b.lastUse) return a.lastUse < b.lastUse;
        if (a.layer != b.layer) return a.layer < b.layer;
        return a.key < b.key;
    });
    for (const auto& c : candidates) {
        const bool tooMany = all > blockBudget, tooManyPixels = withPixels > pixelBudget;
        if (!tooMany && !tooManyPixels) break;
        // Over the budget of pixel blocks only: one-colour blocks cost nothing and stay.
        if (!tooMany && !c.pixels) continue;
        _Drop(c.layer, c.key);
        --all;
        if (c.pixels) --withPixels;
    }
}

void TOPPanel::Draw(float x, float y, int32_t layer) {
    performRendering();
    if (layer < 0 || layer >= layerCount || (blocks[layer].empty() && !source.IsSet())) return;
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
    if (source.IsSet()) {
        // A degenerate origin or scale would ask for more blocks than any screen shows.
        if (!(span >= 1) || span > 4096 || std::fabs(i0) > 1e8 || std::fabs(j0) > 1e8) return;
        const uint64_t serial = ++drawSerial;
        lastDraw[layer] = serial;
        // A held block is usable unless its texture went with an earlier device.
        auto held = [this, layer](int32_t i, int32_t j) -> TBlock* {
            auto it = blocks[layer].find(_Key(i, j));
            if (it == blocks[layer].end()) return nullptr;
            if (it->second.OnDeviceOnly() && it->second.generation != TGraphics::Generation()) return nullptr;
            return &it->second;
        };
        // Room is made before the missing blocks are drawn, so the blocks held never go beyond
        // the budget (or the blocks on screen).
        size_t missing = 0;
        for (int32_t j = int32_t(j0); j <= int32_t(j1); ++j) {
            for (int32_t i = int32_t(i0); i <= int32_t(i1); ++i) {
                if (!visible(x + float(i) * bw, y + float(j) * bh)) continue;
                if (TBlock* block = held(i, j)) {
                    block->lastUse = serial;
                } else {
                    ++missing;
                }
            }
        }
        _Evict(missing);
        // Blocks on screen that the cache does not hold are drawn from the source. Drawing one
        // can drop another whose pixels are only on the device (a changed tile reaches into it),
        // so this repeats until all are there; each round leaves fewer tiles to be drawn again,
        // so it ends.
        for (int32_t round = 0; round < 16; ++round) {
            bool filled = false;
            for (int32_t j = int32_t(j0); j <= int32_t(j1); ++j) {
                for (int32_t i = int32_t(i0); i <= int32_t(i1); ++i) {
                    if (!visible(x + float(i) * bw, y + float(j) * bh) || held(i, j)) continue;
                    _Fill(i, j, layer);
                    if (TBlock* block = held(i, j)) block->lastUse = serial;
                    filled = true;
                }
            }
            if (!filled) break;
        }
        for (int32_t j = int32_t(j0); j <= int32_t(j1); ++j) {
            for (int32_t i = int32_t(i0); i <= int32_t(i1); ++i) {
                const float bx = x + float(i) * bw, by = y + float(j) * bh;
                if (!visible(bx, by)) continue;
                auto it = blocks[layer].find(_Key(i, j));
                if (it == blocks[layer].end()) continue;
                _DrawBlock(it->second, bx, by, sx, sy);
            }
        }
        return;
    }
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
