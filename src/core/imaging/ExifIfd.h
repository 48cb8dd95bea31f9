#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/DibBuffer.h"
#include "imaging/ExifRecord.h"

namespace vx {

class ByteSource;

/// Parses a TIFF-structured Exif block held in memory (a JPEG APP1 marker's data after
/// its "Exif\0\0" header): sets `presence` to ExifRecord::kExifIfd, then, when the block
/// starts "II" or "MM", reads from IFD0 the maker (271), model (272) and resolution (282,
/// 283, 296). Anything that does not fit the block is skipped.
void ParseExifIfd(ExifRecord& record, const uint8_t* block, size_t length);

/// The full parser over a TIFF-structured block (a JPEG's Exif block, a whole TIFF
/// file): from IFD0 maker, model, resolution and orientation; entering the Exif IFD (tag
/// 0x8769) sets `presence` to ExifRecord::kExifIfd and then reads its fifteen values,
/// each with its presence bit. With `thumbnail`, it also decodes the JPEG thumbnail of
/// IFD1 (the IFD after IFD0), else the one in the Photoshop image resources of tag
/// 0x8649; null when there is none. False when the block has no TIFF header or IFD0
/// cannot be read; what was read stays in the record either way.
bool ReadExifIfdFromFile(ExifRecord& record, ByteSource& block, DibBufferPtr* thumbnail = nullptr);

}  // namespace vx
