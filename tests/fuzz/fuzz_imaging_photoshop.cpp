// Photoshop files are untrusted: read the header, the thumbnail and the ICC profile from
// a file, as the program does.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/MemoryByteSource.h"
#include "imaging/PsdReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::MemoryByteSource header(data, size);
    uint32_t code = 0;
    uint16_t depth = 0;
    (void)vx::ReadPsdHeader(header, code, depth);

    const int fd = memfd_create("fuzz.psd", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        (void)vx::ReadPsdThumbnail(path);
        std::vector<uint8_t> profile;
        (void)vx::LoadPsdIccProfile(path, profile);
    }
    close(fd);
    return 0;
}
