#include "platform/TImage.h"

#include <algorithm>

#include "platform/TGraphics.h"
#include "platform/TPixmap.h"
#include "platform/TRenderBackend.h"
#include "platform/TSpriteBatch.h"

namespace {
struct TImageLoadState {
    int32_t maskR = 0, maskG = 0, maskB = 0;
    int32_t autoFlags = MASKEDIMAGE | FILTEREDIMAGE;
    bool autoMidHandle = false;
    std::vector<std::weak_ptr<TImage>>* collect = nullptr;
};

TImageLoadState& LoadState() {
    static TImageLoadState state;
    return state;
}

int32_t ResolveFlags(int32_t flags) { return flags == -1 ? LoadState().autoFlags : flags; }

// Masked pictures without alpha of their own turn the mask colour fully transparent.
void ApplyMask(TPixmap& p, int32_t flags, int32_t r, int32_t g, int32_t b) {
    if (!(flags & MASKEDIMAGE) || p.sourceHasAlpha) return;
    const uint32_t mask = (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
    for (int32_t y = 0; y < p.height; ++y) {
        uint32_t* row = p.Row(y);
        for (int32_t x = 0; x < p.width; ++x) {
            if ((row[x] & 0xFFFFFFu) == mask) row[x] = 0;
        }
    }
    p.sourceHasAlpha = true;
}
}  // namespace

void SetMaskColor(int32_t r, int32_t g, int32_t b) {
    LoadState().maskR = r;
    LoadState().maskG = g;
    LoadState().maskB = b;
}

void GetMaskColor(int32_t& r, int32_t& g, int32_t& b) {
    r = LoadState().maskR;
    g = LoadState().maskG;
    b = LoadState().maskB;
}

void AutoImageFlags(int32_t flags) { LoadState().autoFlags = flags; }
int32_t GetAutoImageFlags() { return LoadState().autoFlags; }
void AutoMidHandle(bool enable) { LoadState().autoMidHandle = enable; }
void CollectLoadedImages(std::vector<std::weak_ptr<TImage>>* into) { LoadState().collect = into; }

TImage::~TImage() { ReleaseTexture(); }

std::shared_ptr<TImage> TImage::Create(int32_t width, int32_t height, int32_t count, int32_t flags) {
    if (width <= 0 || height <= 0 || count <= 0) return nullptr;
    std::shared_ptr<TImage> img(new TImage());
    img->width = width;
    img->height = height;
    img->flags = ResolveFlags(flags) | DYNAMICIMAGE;
    GetMaskColor(img->mask_r, img->mask_g, img->mask_b);
    for (int32_t i = 0; i < count; ++i) {
        auto p = TPixmap::Create(width, height);
        if (!p) return nullptr;
        img->pixmaps.push_back(p);
    }
    img->frames.resize(static_cast<size_t>(count));
    img->seqs.assign(static_cast<size_t>(count), 1);
    img->uploadedSeqs.assign(static_cast<size_t>(count), 0);
    if (LoadState().autoMidHandle) img->MidHandle();
    return img;
}

std::shared_ptr<TImage> TImage::Load(const std::string& path, int32_t flags) {
    return FromPixmap(LoadPixmap(path), flags);
}

std::shared_ptr<TImage> TImage::LoadAnim(const std::string& path, int32_t cellWidth, int32_t cellHeight, int32_t first,
                                         int32_t count, int32_t flags) {
    return FromAnimPixmap(LoadPixmap(path), cellWidth, cellHeight, first, count, flags);
}

std::shared_ptr<TImage> TImage::FromPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t flags) {
    if (!pixmap) return nullptr;
    return FromAnimPixmap(pixmap, pixmap->width, pixmap->height, 0, 1, flags);
}

std::shared_ptr<TImage> TImage::FromAnimPixmap(const std::shared_ptr<TPixmap>& pixmap, int32_t cellWidth,
                                               int32_t cellHeight, int32_t first, int32_t count, int32_t flags) {
    if (!pixmap || cellWidth <= 0 || cellHeight <= 0 || first < 0 || count <= 0) return nullptr;
    const int32_t perRow = pixmap->width / cellWidth;
    const int32_t rows = pixmap->height / cellHeight;
    if (perRow <= 0 || rows <= 0 || int64_t(first) + count > int64_t(perRow) * rows) return nullptr;
    const int32_t resolved = ResolveFlags(flags);
    std::shared_ptr<TImage> img(new TImage());
    img->width = cellWidth;
    img->height = cellHeight;
    img->flags = resolved;
    GetMaskColor(img->mask_r, img->mask_g, img->mask_b);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t cell = first + i;
        auto window = pixmap->Window((cell % perRow) * cellWidth, (cell / perRow) * cellHeight, cellWidth, cellHeight);
        auto frame = window ? window->Copy() : nullptr;
        if (!frame) return nullptr;
        ApplyMask(*frame, resolved, img->mask_r, img->mask_g, img->mask_b);
        img->pixmaps.push_back(frame);
    }
    img->frames.resize(static_cast<size_t>(count));
    img->seqs.assign(static_cast<size_t>(count), 1);
    img->uploadedSeqs.assign(static_cast<size_t>(count), 0);
    if (LoadState().autoMidHandle) img->MidHandle();
    if (LoadState().collect) LoadState().collect->push_back(img);
    return img;
}

std::shared_ptr<TPixmap> TImage::Lock(int32_t frame, bool, bool) {
    if (frame < 0 || frame >= FrameCount()) return nullptr;
    return pixmaps[static_cast<size_t>(frame)];
}

// New pixels leave the atlas: the image goes back to a texture of its own, which costs one
// small upload instead of re-sending the whole shared atlas on every change.
void TImage::Unlock(int32_t frame) {
    if (frame < 0 || frame >= FrameCount()) return;
    atlas.reset();
    ++seqs[static_cast<size_t>(frame)];
}

void TImage::UnlockIntoNewTexture(int32_t frame) {
    if (frame < 0 || frame >= FrameCount()) return;
    Unlock(frame);
    // Batched triangles still draw from the old texture, so they go to the device first.
    if (texture) TSpriteBatch::Instance().Flush();
    ReleaseTexture();
}

void TImage::SetPixmap(int32_t frame, const std::shared_ptr<TPixmap>& pixmap) {
    if (frame < 0 || frame >= FrameCount() || !pixmap) return;
    auto copy = TPixmap::Create(width, height);
    if (!copy) return;
    copy->Paste(*pixmap, 0, 0);
    pixmaps[static_cast<size_t>(frame)] = copy;
    atlas.reset();
    ++seqs[static_cast<size_t>(frame)];
}

void TImage::SetHandle(float x, float y) {
    handle_x = x;
    handle_y = y;
}

void TImage::MidHandle() { SetHandle(width / 2.0f, height / 2.0f); }

void TImage::ReleaseTexture() {
    if (texture && textureGeneration == TGraphics::Generation() && TGraphics::Backend()) {
        // Through the batch's device: a part of the frame being collected draws what it has first.
        TSpriteBatch& batch = TSpriteBatch::Instance();
        (batch.Backend() ? batch.Backend() : TGraphics::Backend())->DeleteTexture(texture);
        batch.TextureDeleted(texture);
    }
    texture = 0;
}

bool TImage::EnsureTexture() {
    TRenderBackend* backend = TGraphics::Backend();
    if (!backend) return false;
    if (texture && textureGeneration == TGraphics::Generation()) return true;
    if (textureGeneration != TGraphics::Generation()) {
        // The device was re-opened: everything has to go up again.
        texture = 0;
        textureFailed = false;
        std::fill(uploadedSeqs.begin(), uploadedSeqs.end(), 0);
    }
    if (textureFailed) return false;
    const int32_t maxSize = backend->MaxTextureSize();
    const int32_t cellW = width + 2, cellH = height + 2;
    const int32_t count = FrameCount();
    columns = std::max(1, std::min(count, maxSize / cellW));
    const int32_t rows = (count + columns - 1) / columns;
    textureWidth = columns * cellW;
    textureHeight = rows * cellH;
    if (cellW > maxSize || textureHeight > maxSize) {
        textureFailed = true;
        return false;
    }
    texture = backend->CreateTexture(textureWidth, textureHeight, (flags & FILTEREDIMAGE) != 0);
    textureGeneration = TGraphics::Generation();
    for (int32_t i = 0; i < count; ++i) {
        TImageFrame& f = frames[static_cast<size_t>(i)];
        const int32_t cx = (i % columns) * cellW + 1, cy = (i / columns) * cellH + 1;
        f.texture = texture;
        f.u0 = float(cx) / float(textureWidth);
        f.v0 = float(cy) / float(textureHeight);
        f.u1 = float(cx + width) / float(textureWidth);
        f.v1 = float(cy + height) / float(textureHeight);
    }
    return texture != 0;
}

// The cell holds the frame plus a border that repeats its edge pixels, so filtered drawing
// never samples a neighbouring frame.
void TImage::CopyCell(const TPixmap& src, uint32_t* dst, int32_t pitchPixels) {
    for (int32_t y = 0; y < src.height + 2; ++y) {
        const uint32_t* row = src.Row(std::clamp(y - 1, 0, src.height - 1));
        uint32_t* out = dst + static_cast<size_t>(y) * static_cast<size_t>(pitchPixels);
        for (int32_t x = 0; x < src.width + 2; ++x) out[x] = row[std::clamp(x - 1, 0, src.width - 1)];
    }
}

void TImage::Upload(int32_t frame) {
    // Triangles already batched must still see the old pixels. A frame going up for the
    // first time cannot be among them, so only a re-upload ends the batch.
    if (uploadedSeqs[static_cast<size_t>(frame)] != 0) TSpriteBatch::Instance().Flush();
    const int32_t cellW = width + 2, cellH = height + 2;
    std::vector<uint32_t> cell(static_cast<size_t>(cellW) * static_cast<size_t>(cellH));
    CopyCell(*pixmaps[static_cast<size_t>(frame)], cell.data(), cellW);
    TGraphics::Backend()->UploadTexture(texture, (frame % columns) * cellW, (frame / columns) * cellH, cellW, cellH,
                                        cell.data(), cellW);
    TSpriteBatch::Instance().TextureChanged(texture);
    uploadedSeqs[static_cast<size_t>(frame)] = seqs[static_cast<size_t>(frame)];
}

const TImage::TTrim& TImage::Trim(int32_t frame) {
    const size_t f = static_cast<size_t>(frame);
    if (trims.size() != pixmaps.size()) {
        trims.assign(pixmaps.size(), TTrim{});
        trimSeqs.assign(pixmaps.size(), 0);
    }
    if (trimSeqs[f] == seqs[f]) return trims[f];
    if (!pixmaps[f]) {  // pixels kept only on the device: the whole frame
        trims[f] = TTrim{0, 0, width, height};
        return trims[f];
    }
    const TPixmap& p = *pixmaps[f];
    int32_t x0 = p.width, y0 = p.height, x1 = 0, y1 = 0;
    for (int32_t y = 0; y < p.height; ++y) {
        const uint32_t* row = p.Row(y);
        for (int32_t x = 0; x < p.width; ++x) {
            if ((row[x] >> 24) == 0) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x + 1);
            y0 = std::min(y0, y);
            y1 = y + 1;
        }
    }
    trims[f] = x1 > x0 ? TTrim{std::max(0, x0 - 1), std::max(0, y0 - 1), std::min(width, x1 + 1),
                               std::min(height, y1 + 1)}
                       : TTrim{};
    trimSeqs[f] = seqs[f];
    return trims[f];
}

const TImageFrame* TImage::Frame(int32_t index) {
    if (index < 0 || index >= FrameCount()) return nullptr;
    if (atlas) {
        if (!TGraphics::Backend()) return nullptr;
        if (const TImageFrame* a = atlas->Frame(0)) {
            // The atlas frame spans the atlas pixmap; each frame of this image is a rectangle inside it.
            const float du = (a->u1 - a->u0) / float(atlas->width), dv = (a->v1 - a->v0) / float(atlas->height);
            const auto [ax, ay] = atlasPlaces[static_cast<size_t>(index)];
            TImageFrame& f = frames[static_cast<size_t>(index)];
            f.texture = a->texture;
            f.u0 = a->u0 + du * float(ax);
            f.v0 = a->v0 + dv * float(ay);
            f.u1 = a->u0 + du * float(ax + width);
            f.v1 = a->v0 + dv * float(ay + height);
            return &f;
        }
        atlas.reset();  // the atlas does not fit this device: draw from a texture of our own
    }
    if (!EnsureTexture()) return nullptr;
    if (uploadedSeqs[static_cast<size_t>(index)] != seqs[static_cast<size_t>(index)]) Upload(index);
    return &frames[static_cast<size_t>(index)];
}
