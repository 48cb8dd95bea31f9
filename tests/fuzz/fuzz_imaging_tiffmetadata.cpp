// A TIFF file's IFDs are untrusted: read its Exif record and thumbnails from a file, as
// the program does, and its colour space.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/MemoryByteSource.h"
#include "imaging/TiffMetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::MemoryByteSource block(data, size);
    uint32_t code = 0;
    (void)vx::ReadTiffColorSpace(block, code);

    const int fd = memfd_create("fuzz.tif", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        vx::ExifRecord record;
        vx::DibBufferPtr thumbnail;
        (void)vx::ReadTiffMetadata("/proc/self/fd/" + std::to_string(fd), record, &thumbnail);
    }
    close(fd);
    return 0;
}
