#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>

namespace vx {

/// A picture as 24-bit lines: R,G,B, no padding, bottom row first (as CreateARGBBuffer
/// takes them).
struct RgbRows {
    std::unique_ptr<uint8_t[]> bytes;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return bytes != nullptr; }
};

/// The pixels of a JPEG file as lines. With a minimum size libjpeg decodes at the
/// largest DCT reduction (1/2, 1/4, 1/8) that still gives at least that size; without
/// one (sides 0) at full size. Empty when the file cannot be decoded (CMYK included).
RgbRows DecodeYccJpeg(const std::filesystem::path& path, int minWidth = 0, int minHeight = 0);

/// Line kinds of DecodeTiffLines.
inline constexpr int kTiffLinesRgb8 = 0;
inline constexpr int kTiffLinesGrey8 = 1;
inline constexpr int kTiffLinesRgb16 = 2;

/// The pixels of a TIFF file as lines: RGB of 8 or 16 bits per sample (16-bit samples
/// keep their high byte; extra samples are dropped) or 8-bit grey, stored in strips
/// with contiguous samples. `encoding` is 602 for RGB, 601 for grey. Empty for any
/// other kind of TIFF; `error` is non-zero when a line could not be read.
RgbRows DecodeTiffLines(const std::filesystem::path& path, int& encoding, int& error);

/// The lines at another size (sides 1 to 32767): a copy when the sizes are equal, else
/// scaled by nearest pixel as CopyDib scales. Empty when memory is short.
RgbRows ResampleRgbRows(const RgbRows& rows, int width, int height);

}  // namespace vx
