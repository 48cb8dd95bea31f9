#include "imaging/JpegEncoder.h"

#include <cstdlib>
#include <cstring>

#include "imaging/JpegError.h"
#include "imaging/JpegMemory.h"

namespace vx {
namespace {

/// Only trivial locals here: JpegErrorExit jumps back into this function.
bool Compress(jpeg_compress_struct* info, JpegErrorManager* errors, const uint8_t* rgb, int width,
              int height, uint8_t** block, size_t* size) {
    info->err = InitJpegErrorManager(*errors);
    if (setjmp(errors->jump)) {
        FreeJpegMemoryDestination(info);
        jpeg_destroy_compress(info);
        return false;
    }
    jpeg_create_compress(info);
    SetJpegMemoryDestination(info);
    info->image_width = JDIMENSION(width);
    info->image_height = JDIMENSION(height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, 75, FALSE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + size_t(info->next_scanline) * size_t(width) * 3);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    const bool ok = GetJpegMemoryDestinationBuffer(info, block, size);
    jpeg_destroy_compress(info);
    return ok;
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodeJpegToMemory(int width, int height, const uint8_t* pixels) {
    if (width <= 0 || height <= 0 || width > 65500 || height > 65500 || !pixels) return std::nullopt;
    std::vector<uint8_t> rgb;
    try {
        rgb.resize(size_t(width) * size_t(height) * 3);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i)
        std::memcpy(&rgb[i * 3], pixels + i * 4, 3);

    jpeg_compress_struct info{};
    JpegErrorManager errors{};
    uint8_t* block = nullptr;
    size_t size = 0;
    if (!Compress(&info, &errors, rgb.data(), width, height, &block, &size)) return std::nullopt;
    std::optional<std::vector<uint8_t>> out;
    try {
        out.emplace(block, block + size);
    } catch (const std::bad_alloc&) {
        out.reset();
    }
    std::free(block);
    return out;
}

}  // namespace vx
