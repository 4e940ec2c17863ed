#include "platform/TPixmap.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/TStream.h"

std::shared_ptr<TPixmap> TPixmap::Create(int32_t width, int32_t height, int32_t format) {
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) return nullptr;
    if (int64_t(width) * height > MaxPixels) return nullptr;
    auto p = std::make_shared<TPixmap>();
    p->storage = std::make_shared<std::vector<uint32_t>>(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    p->pixels = p->storage->data();
    p->width = width;
    p->height = height;
    p->pitch = width * 4;
    p->format = format;
    p->capacity = width * height * 4;
    return p;
}

uint32_t TPixmap::ReadPixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return Row(y)[x];
}

void TPixmap::WritePixel(int32_t x, int32_t y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    Row(y)[x] = argb;
}

std::shared_ptr<TPixmap> TPixmap::Window(int32_t x, int32_t y, int32_t w, int32_t h) {
    const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int32_t x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    if (x1 <= x0 || y1 <= y0) return nullptr;
    auto p = std::make_shared<TPixmap>();
    p->storage = storage;
    p->pixels = Row(y0) + x0;
    p->width = x1 - x0;
    p->height = y1 - y0;
    p->pitch = pitch;
    p->format = format;
    p->capacity = -1;
    p->sourceHasAlpha = sourceHasAlpha;
    return p;
}

std::shared_ptr<TPixmap> TPixmap::Copy() const {
    auto p = Create(width, height, format);
    if (!p) return nullptr;
    p->sourceHasAlpha = sourceHasAlpha;
    p->Paste(*this, 0, 0);
    return p;
}

void TPixmap::Paste(const TPixmap& src, int32_t x, int32_t y) {
    const int32_t sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int32_t sx1 = std::min(src.width, width - x), sy1 = std::min(src.height, height - y);
    if (sx1 <= sx0 || sy1 <= sy0) return;
    for (int32_t sy = sy0; sy < sy1; ++sy) {
        std::memmove(Row(sy + y) + sx0 + x, src.Row(sy) + sx0, static_cast<size_t>(sx1 - sx0) * 4);
    }
}

std::shared_ptr<TPixmap> TPixmap::Convert(int32_t newFormat) const {
    // Only one pixel format exists in memory; converting yields an independent copy.
    auto p = Copy();
    if (p) p->format = newFormat;
    return p;
}

void TPixmap::ClearPixels(uint32_t argb) {
    for (int32_t y = 0; y < height; ++y) std::fill(Row(y), Row(y) + width, argb);
}

namespace {
int64_t LittleEndian(const std::string& bytes, size_t at, int count) {
    uint64_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + size_t(i)]);
    return count == 4 ? int64_t(int32_t(uint32_t(v))) : int64_t(v);
}

// The size a BMP header declares is checked before the decoder allocates anything for it.
bool BmpSizeAcceptable(const std::string& bytes) {
    if (bytes.size() < 26) return false;
    const bool core = LittleEndian(bytes, 14, 4) == 12;
    const int64_t w = core ? LittleEndian(bytes, 18, 2) : LittleEndian(bytes, 18, 4);
    int64_t h = core ? LittleEndian(bytes, 20, 2) : LittleEndian(bytes, 22, 4);
    if (h < 0) h = -h;  // top-down rows
    return w > 0 && h > 0 && w <= TPixmap::MaxSide && h <= TPixmap::MaxSide && w * h <= TPixmap::MaxPixels;
}

std::shared_ptr<TPixmap> DecodeBMP(const std::string& bytes) {
    if (!BmpSizeAcceptable(bytes)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) return nullptr;
    SDL_Surface* surface = SDL_LoadBMP_RW(rw, 1);
    if (!surface) return nullptr;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    const bool hasAlpha = surface->format->Amask != 0;
    SDL_FreeSurface(surface);
    if (!argb) return nullptr;
    auto p = TPixmap::Create(argb->w, argb->h);
    if (p) {
        for (int32_t y = 0; y < p->height; ++y) {
            std::memcpy(p->Row(y), static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch,
                        static_cast<size_t>(p->width) * 4);
        }
        p->sourceHasAlpha = hasAlpha;
    }
    SDL_FreeSurface(argb);
    return p;
}
}  // namespace

std::shared_ptr<TPixmap> DecodePixmap(const std::string& bytes) {
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0) return DecodePNG(bytes);
    if (bytes.size() >= 3 && std::memcmp(bytes.data(), "\xff\xd8\xff", 3) == 0) return DecodeJPEG(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBMP(bytes);
    return nullptr;
}

std::shared_ptr<TPixmap> LoadPixmap(const std::string& path) {
    std::string bytes;
    if (!LoadBytes(path, bytes)) return nullptr;
    return DecodePixmap(bytes);
}
