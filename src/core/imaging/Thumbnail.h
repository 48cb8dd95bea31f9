#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/DibBuffer.h"

namespace vx {

/// The 128 x 128 picture of a layout's stored preview (JPEG bytes), top row first;
/// other sizes are scaled to 128 x 128. Null when the bytes cannot be decoded, and also
/// when memory is short, which is shown as 10413 "Nicht genügend Speicher.".
DibBufferPtr CreateThumbnailDIB(const uint8_t* jpegBytes, size_t length);

}  // namespace vx
