// TIFF data is untrusted (the previews inside EPS files, TIFF files): open it from memory,
// describe it and decode it, as the program does.

#include <cstddef>
#include <cstdint>

#include "imaging/TiffMemoryStream.h"
#include "imaging/TiffReader.h"

namespace {

// Decoding larger pictures from a few bytes only measures the machine's memory and time.
constexpr int64_t kMaxPixels = 1024 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::TiffMemoryStream stream = vx::TiffMemoryStream::ForReading(data, size);
    vx::TiffFile tiff = vx::OpenTiffFromMemory(stream);
    vx::ImageDescription description;
    bool icc = false;
    if (!tiff || !vx::DescribeTiff(tiff.get(), description, icc) ||
        int64_t(description.width) * description.height > kMaxPixels)
        return 0;
    tiff.reset();
    (void)vx::DecodeTiffFromMemory(data, size);
    return 0;
}
