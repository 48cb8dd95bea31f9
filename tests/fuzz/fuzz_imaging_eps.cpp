// EPS files are untrusted: describe one, decode its pixels with the clipping path, read
// its thumbnail and ICC profile from a file in memory, and build a clipping mask from the
// bytes taken as image resources.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/EpsClipMask.h"
#include "imaging/EpsReader.h"

namespace {

// Decoding larger pictures from a few bytes only measures the machine's memory and time.
constexpr int64_t kMaxPixels = 1024 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> mask;
    (void)vx::BuildEpsClipMask(std::span<const uint8_t>(data, size), 64, 48, mask);

    const int fd = memfd_create("fuzz.eps", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        vx::ImageDescription description;
        bool icc = false;
        if (vx::ReadEpsInfo(path, description, icc) && int64_t(description.width) * description.height <= kMaxPixels) {
            vx::Rect16 target;
            target.Set(0, 0, 30, 20);
            int messageId = 0;
            (void)vx::DecodeEpsImage(path, &target, messageId);
        }
        (void)vx::ReadEpsThumbnail(path);
        std::vector<uint8_t> profile;
        (void)vx::LoadEpsIccProfile(path, profile);
    }
    close(fd);
    return 0;
}
