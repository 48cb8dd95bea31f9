#include <gtest/gtest.h>

#include <cstring>

#include "imaging/CopyDib.h"
#include "TestBuffers.h"

namespace vx {
namespace {

/// A buffer whose pixel (x, y) holds x in its low and y in its high 16 bits.
DibBufferPtr Numbered(int width, int height) {
    DibBufferPtr b = test::MakeBuffer(width, height);
    uint8_t* bits = DibBuffer::GetBits(b.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t v = uint32_t(x) | uint32_t(y) << 16;
            std::memcpy(bits + (size_t(y) * size_t(width) + size_t(x)) * 4, &v, 4);
        }
    return b;
}

uint32_t PixelAt(const DibBuffer* b, int x, int y) {
    uint32_t v;
    const int width = DibBuffer::GetRect(b).Width();
    std::memcpy(&v, DibBuffer::GetBits(b) + (size_t(y) * size_t(width) + size_t(x)) * 4, 4);
    return v;
}

TEST(CopyDib, EqualSizesCopyTheBytes) {
    DibBufferPtr source = Numbered(5, 3);
    DibBufferPtr target = test::MakeBuffer(5, 3);
    ASSERT_TRUE(CopyDib(source.get(), target.get()));
    EXPECT_EQ(std::memcmp(DibBuffer::GetBits(source.get()), DibBuffer::GetBits(target.get()), 60), 0);
}

TEST(CopyDib, OtherSizesTakeTheNearestSourcePixel) {
    struct Case {
        int w, h, tw, th;
    };
    for (const Case& c : {Case{4000, 10, 900, 10}, Case{6, 4, 12, 8}, Case{7, 9, 3, 4}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " to " << c.tw << "x" << c.th);
        DibBufferPtr source = Numbered(c.w, c.h);
        DibBufferPtr target = test::MakeBuffer(c.tw, c.th);
        ASSERT_TRUE(CopyDib(source.get(), target.get()));
        for (int y = 0; y < c.th; ++y)
            for (int x = 0; x < c.tw; ++x) {
                const uint32_t want = uint32_t(int64_t(x) * c.w / c.tw) |
                                      uint32_t(int64_t(y) * c.h / c.th) << 16;
                ASSERT_EQ(PixelAt(target.get(), x, y), want) << "at " << x << "," << y;
            }
    }
}

TEST(CopyDib, NullBuffersFail) {
    DibBufferPtr b = Numbered(2, 2);
    EXPECT_FALSE(CopyDib(nullptr, b.get()));
    EXPECT_FALSE(CopyDib(b.get(), nullptr));
}

}  // namespace
}  // namespace vx
