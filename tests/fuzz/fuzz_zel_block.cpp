// The Zel block and the Exif data beside it come from untrusted JPEG and TIFF files:
// read the facts of the bytes as a file, and parse them as a block on their own.

#include <cstddef>
#include <cstdint>

#include "imaging/MemoryByteSource.h"
#include "zel/ZelFileFacts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::MemoryByteSource file(data, size);
    (void)vx::ReadZelFileFacts(file).Level();
    (void)vx::ParseZelBlock({data, size});
    return 0;
}
