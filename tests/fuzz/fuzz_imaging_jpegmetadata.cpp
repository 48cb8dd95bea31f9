// A JPEG file's markers are untrusted: walk them for the Exif record, its thumbnails and
// the frame header.

#include <cstddef>
#include <cstdint>

#include "imaging/JpegMetadata.h"
#include "imaging/MemoryByteSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::MemoryByteSource file(data, size);
    vx::ExifRecord record;
    (void)vx::ReadJpegMetadata(file, record);
    int width = 0, height = 0, components = 0;
    (void)vx::ReadJpegFrameHeader(file, width, height, components);
    return 0;
}
