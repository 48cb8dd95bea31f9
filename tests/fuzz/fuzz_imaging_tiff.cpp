// TIFF data is untrusted (the previews inside EPS files, TIFF files): describe it and
// decode what the description accepts, from memory as an EPS preview is read, and from
// a file in memory as a TIFF file is read (scaled to a target, with its ICC profile).

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/TiffMemoryStream.h"
#include "imaging/TiffReader.h"

namespace {

// Decoding larger pictures from a few bytes only measures the machine's memory and time.
constexpr int64_t kMaxPixels = 1024 * 1024;

bool Small(const vx::ImageDescription& description) {
    return int64_t(description.width) * description.height <= kMaxPixels;
}

void FromMemory(const uint8_t* data, size_t size) {
    vx::TiffMemoryStream stream = vx::TiffMemoryStream::ForReading(data, size);
    vx::TiffFile tiff = vx::OpenTiffFromMemory(stream);
    vx::ImageDescription description;
    bool icc = false;
    if (!tiff || !vx::DescribeTiff(tiff.get(), description, icc) || !Small(description)) return;
    int messageId = 0;
    (void)vx::DecodeTiff(tiff.get(), messageId);
}

void FromFile(const uint8_t* data, size_t size) {
    const int fd = memfd_create("fuzz.tif", MFD_CLOEXEC);
    if (fd < 0) return;
    if (write(fd, data, size) == ssize_t(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        vx::ImageDescription description;
        bool icc = false;
        int messageId = 0;
        if (vx::ReadTiffInfo(path, description, icc, &messageId) && Small(description)) {
            vx::Rect16 target;
            target.Set(0, 0, 30, 20);
            (void)vx::DecodeTiffImage(path, &target, messageId);
            std::vector<uint8_t> profile;
            (void)vx::LoadTiffIccProfile(path, profile);
        }
    }
    close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FromMemory(data, size);
    FromFile(data, size);
    return 0;
}
