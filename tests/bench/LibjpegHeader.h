#pragma once
// libjpeg's own jpeg_read_header over a file: what header reading is measured against.
#include <csetjmp>
#include <cstdio>

#include "imaging/JpegError.h"

namespace vx::bench {
namespace detail {

// Trivial locals only: libjpeg jumps back here on an error.
inline bool ReadHeaderOnly(jpeg_decompress_struct& d, JpegErrorManager& errors, std::FILE* in) {
    d.err = InitJpegErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_stdio_src(&d, in);
    jpeg_read_header(&d, TRUE);
    jpeg_destroy_decompress(&d);
    return true;
}

}  // namespace detail

/// Opens the file and reads its JPEG header with libjpeg alone; false on any error.
inline bool ReadJpegHeaderWithLibjpeg(const char* path) {
    std::FILE* in = std::fopen(path, "rb");
    if (!in) return false;
    jpeg_decompress_struct d{};
    JpegErrorManager errors{};
    const bool ok = detail::ReadHeaderOnly(d, errors, in);
    std::fclose(in);
    return ok;
}

}  // namespace vx::bench
