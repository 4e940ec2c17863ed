// JPEG reading through libjpeg-turbo.
// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "platform/TPixmap.h"

namespace {
struct TJpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}
}  // namespace

std::shared_ptr<TPixmap> DecodeJPEG(const std::string& bytes) {
    jpeg_decompress_struct info;
    TJpegError err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.output_message = OnJpegMessage;
    std::shared_ptr<TPixmap> p;
    std::vector<uint8_t> row;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    // Refused before the decoder sets up its buffers (a progressive file would get
    // buffers for the whole declared picture).
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > TPixmap::MaxSide ||
        info.image_height > TPixmap::MaxSide || int64_t(info.image_width) * info.image_height > TPixmap::MaxPixels) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    p = TPixmap::Create(static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height));
    if (!p || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    row.resize(static_cast<size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        uint8_t* rowPtr = row.data();
        const int32_t y = static_cast<int32_t>(info.output_scanline);
        jpeg_read_scanlines(&info, &rowPtr, 1);
        uint32_t* dst = p->Row(y);
        for (int32_t x = 0; x < p->width; ++x) {
            dst[x] = 0xFF000000u | (uint32_t(row[x * 3]) << 16) | (uint32_t(row[x * 3 + 1]) << 8) | row[x * 3 + 2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    p->sourceHasAlpha = false;
    return p;
}
