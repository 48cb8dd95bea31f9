#pragma once
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/DibBuffer.h"

namespace vx::test {

/// A zeroed buffer of width x height pixels.
inline DibBufferPtr MakeBuffer(int width, int height) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    return DibBufferPtr(raw);
}

/// B,G,R,A of one pixel.
inline std::array<uint8_t, 4> PixelAt(const DibBuffer* b, int x, int y) {
    const uint8_t* p = DibBuffer::GetBits(b) + (size_t(y) * size_t(DibBuffer::GetRect(b).Width()) + size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

/// Every pixel's B,G,R,A, top row first.
inline std::vector<uint8_t> AllPixels(const DibBuffer* b) {
    const uint8_t* p = DibBuffer::GetBits(b);
    return std::vector<uint8_t>(p, p + (DibBuffer::GetSize(b) - DibBuffer::kHeaderBytes));
}

}  // namespace vx::test
