#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A CPU pixel buffer of 32-bit ARGB values (0xAARRGGBB).
class TPixmap {
public:
    enum { PF_ARGB8888 = 6 };
    // Largest side and pixel count a loader or Create accepts.
    static constexpr int32_t MaxSide = 16384;
    static constexpr int64_t MaxPixels = int64_t(1) << 27;

    static std::shared_ptr<TPixmap> Create(int32_t width, int32_t height, int32_t format = PF_ARGB8888);

    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;  // bytes from one row to the next
    int32_t format = PF_ARGB8888;
    int32_t capacity = 0;  // bytes owned by the buffer, -1 for a window into another pixmap
    // The picture this pixmap came from carried alpha of its own (masking is skipped then).
    bool sourceHasAlpha = true;

    // Pixels outside the pixmap read as 0 and ignore writes.
    uint32_t ReadPixel(int32_t x, int32_t y) const;
    void WritePixel(int32_t x, int32_t y, uint32_t argb);
    uint32_t* Row(int32_t y) const { return pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch / 4); }
    // A view sharing this pixmap's pixels (clipped to it); null when nothing remains.
    std::shared_ptr<TPixmap> Window(int32_t x, int32_t y, int32_t w, int32_t h);
    std::shared_ptr<TPixmap> Copy() const;
    // Copies src into this pixmap with its top left at (x, y), clipped.
    void Paste(const TPixmap& src, int32_t x, int32_t y);
    std::shared_ptr<TPixmap> Convert(int32_t newFormat) const;
    void ClearPixels(uint32_t argb);

private:
    std::shared_ptr<std::vector<uint32_t>> storage;
};

// PNG, JPEG or BMP by content; null (and no crash) on a missing, broken or oversized file.
std::shared_ptr<TPixmap> LoadPixmap(const std::string& path);
std::shared_ptr<TPixmap> DecodePixmap(const std::string& bytes);
std::shared_ptr<TPixmap> DecodePNG(const std::string& bytes);
std::shared_ptr<TPixmap> DecodeJPEG(const std::string& bytes);
// Writes RGBA, or RGB when the pixmap has no alpha of its own (sourceHasAlpha false).
bool SavePixmapPNG(const TPixmap& pixmap, const std::string& path, int compression = 5);
