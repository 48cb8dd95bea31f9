#pragma once
#include <cstdint>
#include <filesystem>

#include "imaging/DibBuffer.h"
#include "imaging/ExifRecord.h"

namespace vx {

class ByteSource;

/// Reads the Exif record of a TIFF file (IFD0, its Exif IFD) with ReadExifIfdFromFile;
/// `record` is cleared once the file is open. With `thumbnail`, also gives the JPEG
/// thumbnail of IFD1, else the one in the Photoshop image resources (tag 0x8649), or
/// null. False when the file cannot be opened or is no TIFF; what was read stays.
bool ReadTiffMetadata(const std::filesystem::path& path, ExifRecord& record,
                      DibBufferPtr* thumbnail = nullptr);

/// The colour space of a TIFF from tag 262 of its first IFD: 0 and 1 "GRAY", 2, 3 and 6
/// "RGB ", 5 "CMYK", 8 "Lab ". False for any other value, a missing tag or no TIFF.
bool ReadTiffColorSpace(ByteSource& file, uint32_t& code);

}  // namespace vx
