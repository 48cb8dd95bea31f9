// The Exif block of a JPEG's APP1 marker is untrusted: walk it with both parsers, the
// full one decoding its IFD1 thumbnail too.

#include <cstddef>
#include <cstdint>

#include "imaging/ExifIfd.h"
#include "imaging/MemoryByteSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::ExifRecord record;
    vx::ParseExifIfd(record, data, size);
    vx::MemoryByteSource block(data, size);
    vx::DibBufferPtr thumbnail;
    (void)vx::ReadExifIfdFromFile(record, block, &thumbnail);
    return 0;
}
