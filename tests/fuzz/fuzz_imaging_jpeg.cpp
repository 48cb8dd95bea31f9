// JPEG data from image files, Exif thumbnails and layout previews is untrusted: read
// its markers (ICC chunks, Exif IFD0, EFF), decode it whole from memory, scaled from a
// stream and as a preview thumbnail, and walk the bytes as an Exif block.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "imaging/ExifIfd.h"
#include "imaging/JpegDecompressor.h"
#include "imaging/JpegReader.h"
#include "imaging/Thumbnail.h"

namespace {

// Decoding larger pictures from a few bytes only measures the machine's memory and time;
// the decoder's own limits are tested by the unit tests.
constexpr uint64_t kMaxPixels = 1024 * 1024;

bool SmallEnough(const uint8_t* data, size_t size) {
    vx::JpegDecompressor d;
    if (!d.Open(data, size) || !d.ReadHeader()) return false;
    return uint64_t(d.Info().image_width) * d.Info().image_height <= kMaxPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        vx::JpegDecompressor d;
        vx::JpegFileInfo info;
        if (d.Open(data, size)) (void)vx::ReadJpegInfo(d, info);
    }
    {
        vx::ExifRecord record;
        vx::ParseExifIfd(record, data, size);
    }
    if (!SmallEnough(data, size)) return 0;
    (void)vx::DecodeJpegFromMemory(data, size);
    (void)vx::CreateThumbnailDIB(data, size);
    if (std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb")) {
        vx::Rect16 target;
        target.Set(0, 0, 300, 200);
        int messageId = 0;
        (void)vx::DecodeJpegStream(f, &target, messageId);
        std::fclose(f);
    }
    return 0;
}
