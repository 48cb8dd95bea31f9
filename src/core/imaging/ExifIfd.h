#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/ExifRecord.h"

namespace vx {

/// Parses a TIFF-structured Exif block held in memory (a JPEG APP1 marker's data after
/// its "Exif\0\0" header): sets `presence` to ExifRecord::kExifIfd, then, when the block
/// starts "II" or "MM", reads from IFD0 the maker (271), model (272) and resolution (282,
/// 283, 296). Anything that does not fit the block is skipped.
void ParseExifIfd(ExifRecord& record, const uint8_t* block, size_t length);

}  // namespace vx
