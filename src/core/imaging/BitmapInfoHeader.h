#pragma once
#include <cstdint>

namespace vx {

/// The 40-byte info header of a packed device-independent bitmap, in its file order.
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;  // positive; our buffers still hold the top row first
    uint16_t planes = 1;
    uint16_t bitCount = 32;
    uint32_t compression = 0;  // uncompressed
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

}  // namespace vx
