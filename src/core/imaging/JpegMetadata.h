#pragma once
#include <filesystem>

#include "imaging/DibBuffer.h"
#include "imaging/ExifRecord.h"

namespace vx {

class ByteSource;

/// Walks the markers of a JPEG file up to its first scan, reading only the segments it
/// needs: the first APP1 that starts "Exif\0\0" fills `record` (which is cleared first)
/// through ReadExifIfdFromFile; other APP1s (XMP) are passed over; the first APP13
/// ("Photoshop 3.0") is searched for a thumbnail resource. The walk stops once it has
/// seen both. Returns the Exif IFD1 thumbnail, else the APP13 one, else null; null also
/// when the file is no JPEG (the record is then left alone).
DibBufferPtr ReadJpegMetadata(const std::filesystem::path& path, ExifRecord& record);
DibBufferPtr ReadJpegMetadata(ByteSource& file, ExifRecord& record);

/// Size and number of components (1, 3 or 4) of the first frame header (SOF0, SOF1 or
/// SOF2) before the first scan; false when there is none, or any other count.
bool ReadJpegFrameHeader(ByteSource& file, int& width, int& height, int& components);

}  // namespace vx
