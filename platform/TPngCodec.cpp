// PNG reading and writing through libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/TPixmap.h"
#include "platform/TStream.h"

std::shared_ptr<TPixmap> DecodePNG(const std::string& bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return nullptr;
    const bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    if (image.width == 0 || image.height == 0 || image.width > TPixmap::MaxSide || image.height > TPixmap::MaxSide ||
        int64_t(image.width) * image.height > TPixmap::MaxPixels) {
        png_image_free(&image);
        return nullptr;
    }
    // BGRA in memory is 0xAARRGGBB on a little-endian machine.
    image.format = PNG_FORMAT_BGRA;
    auto p = TPixmap::Create(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
    if (!p) {
        png_image_free(&image);
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, p->pixels, p->pitch, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    p->sourceHasAlpha = hasAlpha;
    return p;
}

namespace {
void WriteToStream(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<TStream*>(png_get_io_ptr(png));
    if (!stream->Write(data, length)) png_error(png, "write failed");
}
void FlushStream(png_structp) {}
}  // namespace

bool SavePixmapPNG(const TPixmap& pixmap, const std::string& path, int compression) {
    if (pixmap.width <= 0 || pixmap.height <= 0) return false;
    std::shared_ptr<TStream> stream = TStream::WriteFile(path);
    if (!stream) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        stream->Discard();
        return false;
    }
    // Pixels that came without alpha of their own are written without it (RGB).
    const bool alpha = pixmap.sourceHasAlpha;
    const int channels = alpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(pixmap.width) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        stream->Discard();
        return false;
    }
    png_set_write_fn(png, stream.get(), WriteToStream, FlushStream);
    png_set_compression_level(png, compression);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixmap.width), static_cast<png_uint_32>(pixmap.height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < pixmap.height; ++y) {
        const uint32_t* src = pixmap.Row(y);
        for (int32_t x = 0; x < pixmap.width; ++x) {
            const uint32_t c = src[x];
            uint8_t* out = &row[static_cast<size_t>(x) * channels];
            out[0] = static_cast<uint8_t>(c >> 16);
            out[1] = static_cast<uint8_t>(c >> 8);
            out[2] = static_cast<uint8_t>(c);
            if (alpha) out[3] = static_cast<uint8_t>(c >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return stream->Close();
}
