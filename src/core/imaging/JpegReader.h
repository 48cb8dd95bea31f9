#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "imaging/DibBuffer.h"
#include "imaging/ExifRecord.h"
#include "imaging/ImageDescription.h"

namespace vx {

class JpegDecompressor;

/// What the header of a JPEG file says about it.
struct JpegFileInfo {
    /// Codec "EFF " when an APP5 marker holds "EFFHEAD", else "jpeg"; size; resolution
    /// from Exif, else JFIF, else 72; depth 8 per component.
    ImageDescription description;
    /// Filled from the first APP1 marker that starts "Exif\0\0"; presence 0 without one.
    ExifRecord exif;
    bool cmyk = false;  // a "jpeg" whose pixels come out as CMYK (CMYK or YCCK data)
    bool hasIccProfile = false;
};

/// Reads the header of a JPEG file, never its scan data. False when the file cannot be
/// opened or read, is no JPEG, or has a side above 32767 pixels; `info` is then
/// undefined and must not be used.
bool ReadJpegInfo(const std::filesystem::path& path, JpegFileInfo& info);
/// The same over an opened decompressor whose header has not been read yet.
bool ReadJpegInfo(JpegDecompressor& opened, JpegFileInfo& info);

/// Decodes a JPEG file. With a target it decodes at the largest DCT reduction (1/2, 1/4,
/// 1/8) the width ratio allows and scales the result to exactly the target's size (sides
/// below 1 count as 1); without one at full size. Null on failure, with messageId set:
/// 10417 unreadable or damaged, 10526 CMYK, YCCK or too large, 10413 out of memory.
DibBufferPtr DecodeJpegFile(const std::filesystem::path& path, const Rect16* target,
                            int& messageId);
/// The same over an open stream (which stays open).
DibBufferPtr DecodeJpegStream(std::FILE* file, const Rect16* target, int& messageId);
/// The same over an opened decompressor whose header has not been read yet.
DibBufferPtr DecodeJpeg(JpegDecompressor& opened, const Rect16* target, int& messageId);
/// Decodes a JPEG file at the largest DCT reduction (1/2, 1/4, 1/8) whose output still
/// covers `cover` on both sides (sides below 1 count as 1), else at full size, and
/// returns the decoded pixels unscaled. Failures as DecodeJpegFile.
DibBufferPtr DecodeJpegCovering(const std::filesystem::path& path, const Rect16& cover, int& messageId);

/// The largest DCT reduction (2, 4 or 8) whose output still covers coverWidth x
/// coverHeight (sides below 1 count as 1) on both sides, else 1: what DecodeJpegCovering
/// decodes at.
int JpegCoveringDenominator(uint32_t imageWidth, uint32_t imageHeight, int coverWidth, int coverHeight);

/// Decodes a whole JPEG held in memory; null when it cannot.
DibBufferPtr DecodeJpegFromMemory(const uint8_t* data, size_t length);

/// The ICC profile of a JPEG file from its APP2 markers; false (profile empty) when it
/// has none, an incomplete one, or cannot be read.
bool LoadJpegIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile);

}  // namespace vx
