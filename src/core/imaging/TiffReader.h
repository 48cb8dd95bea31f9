#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "imaging/DibBuffer.h"
#include "imaging/ImageDescription.h"
#include "imaging/TiffHandle.h"

namespace vx {

/// The kinds of TIFF the readers decode, all uncompressed, in strips, samples of a pixel
/// together (planar configuration 1), sides 1 to 32767, unsigned samples:
///   grey (photometric 0 or 1): 1 sample of 1, 8 or 16 bits, or 2 of 8 or 16 (grey, alpha);
///   RGB (2): 3 or 4 samples (alpha last) of 8 or 16 bits;
///   palette (3): 1 sample of 1, 4 or 8 bits;
///   CMYK (5): 4 samples of 8 or 16 bits;
///   YCbCr (6): 3 samples of 8 or 16 bits, not subsampled.
/// Anything else is refused when the file is described, so it is never decoded.

/// Describes an opened TIFF: codec "tiff", size, depth (bits per sample x samples),
/// resolution (72 without a unit or with a zero value), and whether it has an ICC
/// profile (tag 34675). False, `description` untouched, for a kind not decoded here or a
/// directory without its size; `messageId`, when given, then says which (10526, 10417).
bool DescribeTiff(TIFF* tiff, ImageDescription& description, bool& hasIccProfile,
                  int* messageId = nullptr);
/// The same for a file; 10417 as well when libtiff cannot open it.
bool ReadTiffInfo(const std::filesystem::path& path, ImageDescription& description,
                  bool& hasIccProfile, int* messageId = nullptr);

/// Converts every strip of an opened TIFF into `pixels`, which has the image's size:
/// B,G,R,A, top row first; CMYK pictures keep C,M,Y,K in bytes 0 to 3; 16-bit samples
/// give their high byte. False with messageId 10526 for a kind not decoded here, 10417
/// for a read error, a strip shorter than its rows or a directory without its size,
/// 10413 when memory is short.
bool ReadTiffPixels(TIFF* tiff, DibBuffer* pixels, int& messageId);

/// Decodes an opened TIFF at its own size; null with messageId set as above.
DibBufferPtr DecodeTiff(TIFF* tiff, int& messageId);

/// Decodes a TIFF file, scaled to the target when one is given. Null with messageId set:
/// 10417 when it cannot be opened or read, 10526 for a kind not decoded here, 10413.
DibBufferPtr DecodeTiffImage(const std::filesystem::path& path, const Rect16* target,
                             int& messageId);

/// Decodes a whole TIFF held in memory; null when it cannot.
DibBufferPtr DecodeTiffFromMemory(const uint8_t* data, size_t length);

/// The ICC profile of a TIFF file (tag 34675); false, profile empty, when there is none or
/// the file cannot be read.
bool LoadTiffIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile);

}  // namespace vx
