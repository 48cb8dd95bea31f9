#include "imaging/EmbeddedThumbnail.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "imaging/ImageResources.h"
#include "imaging/JpegMetadata.h"
#include "imaging/JpegReader.h"
#include "imaging/MemoryByteSource.h"

namespace vx {
namespace {

constexpr uint16_t kThumbnailBgr = 1033;
constexpr uint16_t kThumbnail = 1036;
constexpr size_t kThumbnailHeaderBytes = 28;
constexpr size_t kCompressedSizeAt = 20;

}  // namespace

DibBufferPtr DecodeEmbeddedThumbnail(const uint8_t* jpeg, size_t length) {
    MemoryByteSource source(jpeg, length);
    int width = 0, height = 0, components = 0;
    if (!ReadJpegFrameHeader(source, width, height, components) || width > kMaxThumbnailSide ||
        height > kMaxThumbnailSide)
        return nullptr;
    return DecodeJpegFromMemory(jpeg, length);
}

DibBufferPtr DecodeResourceThumbnail(std::span<const uint8_t> resources) {
    std::optional<ImageResource> found;
    ImageResourceReader reader(resources);
    for (ImageResource r; !found && reader.Next(r);)
        if (r.id == kThumbnail || r.id == kThumbnailBgr) found = r;
    if (!found || found->data.size() < kThumbnailHeaderBytes) return nullptr;
    const uint8_t* data = found->data.data();
    const size_t length = std::min<size_t>(BigEndianValue(data + kCompressedSizeAt, 4),
                                           found->data.size() - kThumbnailHeaderBytes);
    DibBufferPtr thumbnail = DecodeEmbeddedThumbnail(data + kThumbnailHeaderBytes, length);
    if (found->id == kThumbnailBgr) SwapRedBlue(thumbnail.get());
    return thumbnail;
}

void SwapRedBlue(DibBuffer* buffer) {
    uint64_t bytes = 0;
    uint8_t* p = DibBuffer::GetBitsAndCount(buffer, &bytes);
    if (!p) return;
    for (uint64_t i = 0; i + 3 < bytes; i += 4) std::swap(p[i], p[i + 2]);
}

}  // namespace vx
