#pragma once
#include <gtest/gtest.h>

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

}  // namespace vx::test
