#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/DibBuffer.h"

namespace vx {

/// Thumbnails are small; a JPEG inside a file's metadata that claims more than this on
/// a side is not decoded (the caller then decodes the picture itself).
inline constexpr int kMaxThumbnailSide = 2048;

/// Decodes the JPEG of an Exif or Photoshop thumbnail held in memory; null when it is
/// damaged or larger than kMaxThumbnailSide.
DibBufferPtr DecodeEmbeddedThumbnail(const uint8_t* jpeg, size_t length);

/// The thumbnail of a block of Photoshop image resources: the first resource 1036, or
/// 1033 (whose pixels are stored blue-green-red and come back swapped), after its
/// 28-byte header, the JPEG no longer than that header says nor than the resource.
/// Null when there is none or it cannot be decoded.
DibBufferPtr DecodeResourceThumbnail(std::span<const uint8_t> resources);

/// Exchanges the first and third byte of every pixel (blue and red).
void SwapRedBlue(DibBuffer* buffer);

}  // namespace vx
