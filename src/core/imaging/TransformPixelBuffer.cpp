#include "imaging/TransformPixelBuffer.h"

#include <algorithm>
#include <cstddef>

namespace vx {
namespace {

// Square tiles keep both the rows read and the rows written in the cache.
constexpr int kTile = 64;

uint32_t* Pixels(DibBuffer* buffer) {
    // The pixels start 152 bytes into a malloc'd block, so they are word-aligned.
    return reinterpret_cast<uint32_t*>(DibBuffer::GetBits(buffer));
}

void MirrorRows(uint32_t* px, int width, int height) {
    for (int y = 0; y < height; ++y) std::reverse(px + size_t(y) * width, px + size_t(y + 1) * width);
}

void SwapRowsTopToBottom(uint32_t* px, int width, int height) {
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(px + size_t(top) * width, px + size_t(top + 1) * width,
                         px + size_t(bottom) * width);
}

/// Writes the transposed picture (height x width), with its columns and/or rows reversed.
void QuarterTurn(const uint32_t* in, uint32_t* out, int width, int height, bool reverseColumns,
                 bool reverseRows) {
    // Source pixel (c, r) goes to column x = r (or height-1-r) of row y = c (or width-1-c).
    for (int r0 = 0; r0 < height; r0 += kTile) {
        const int r1 = std::min(height, r0 + kTile);
        for (int c0 = 0; c0 < width; c0 += kTile) {
            const int c1 = std::min(width, c0 + kTile);
            for (int r = r0; r < r1; ++r) {
                const uint32_t* row = in + size_t(r) * width;
                const size_t x = size_t(reverseColumns ? height - 1 - r : r);
                for (int c = c0; c < c1; ++c) {
                    const size_t y = size_t(reverseRows ? width - 1 - c : c);
                    out[y * size_t(height) + x] = row[c];
                }
            }
        }
    }
}

}  // namespace

bool TransformPixelBuffer(DibBufferPtr& buffer, int code) {
    if (!buffer) return false;
    const Rect16 rect = DibBuffer::GetRect(buffer.get());
    const int width = rect.Width();
    const int height = rect.Height();
    uint32_t* px = Pixels(buffer.get());
    switch (code) {
        case 2: std::reverse(px, px + size_t(width) * size_t(height)); return true;
        case 8: MirrorRows(px, width, height); return true;
        case 10:
        case 16: SwapRowsTopToBottom(px, width, height); return true;
        case 1:
        case 4:
        case 9:
        case 12: break;
        default: return true;
    }

    Rect16 turned;
    turned.Set(0, 0, int16_t(height), int16_t(width));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, turned) != 0) return false;
    DibBufferPtr result(raw);
    QuarterTurn(px, Pixels(raw), width, height, /*reverseColumns=*/code == 1 || code == 9,
                /*reverseRows=*/code == 4 || code == 9);
    buffer = std::move(result);
    return true;
}

}  // namespace vx
