// Bitmap files are untrusted: probe, describe and decode one through the bitmap file
// library, whole and in bands, as the program does, from a file in memory.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/BmpReader.h"
#include "imaging/CBitmapFileReader.h"

namespace {

// Decoding larger pictures from a few bytes only measures the machine's memory and time.
constexpr int64_t kMaxPixels = 1024 * 1024;

void ReadInBands(const std::string& path) {
    std::unique_ptr<vx::CImageFileBase> reader = vx::OpenBitmapFileReader(path);
    vx::ImageFileInfo info;
    if (!reader || reader->GetInfo(info) != vx::kImageFileOk || int64_t(info.width) * info.height > kMaxPixels ||
        reader->LoadPalette() != vx::kImageFileOk)
        return;
    std::vector<uint8_t> rows(size_t(info.width) * 3 * 7);
    std::vector<uint8_t> alpha(size_t(info.width) * 7);
    for (int first = 0; first < info.height; first += 7)
        if (reader->ReadRows(rows.data(), alpha.data(), first, std::min(7, info.height - first)) != vx::kImageFileOk)
            break;
    reader->FreePalette();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = memfd_create("fuzz.bmp", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        vx::ImageDescription description;
        if (vx::ReadBmpInfo(path, description) && int64_t(description.width) * description.height <= kMaxPixels) {
            vx::Rect16 target;
            target.Set(0, 0, 30, 20);
            int messageId = 0;
            (void)vx::DecodeBitmapFile(path, &target, messageId);
            ReadInBands(path);
        }
    }
    close(fd);
    return 0;
}
