#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/DibBuffer.h"

namespace vx {
namespace {

Rect16 MakeRect(int top, int left, int bottom, int right) {
    Rect16 r;
    r.Set(int16_t(left), int16_t(top), int16_t(right), int16_t(bottom));
    return r;
}

TEST(DibBuffer, OffsetRectangleGivesAZeroedBufferWithItsOwnOrigin) {
    DibBuffer* raw = nullptr;
    ASSERT_EQ(DibBuffer::Create(&raw, 32, MakeRect(5, 7, 15, 27)), 0);
    DibBufferPtr buffer(raw);

    EXPECT_EQ(DibBuffer::GetRect(raw), MakeRect(0, 0, 10, 20));
    EXPECT_EQ(DibBuffer::GetRectL(raw), (RectL{0, 0, 20, 10}));
    EXPECT_EQ(DibBuffer::GetSize(raw), 952u);
    EXPECT_EQ(DibBuffer::GetRowBytes(raw), 80);
    EXPECT_FALSE(DibBuffer::IsNotOwned(raw));

    const BitmapInfoHeader* h = DibBuffer::GetHeader(raw);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(h), reinterpret_cast<const uint8_t*>(raw) + 112);
    EXPECT_EQ(h->size, 40u);
    EXPECT_EQ(h->width, 20);
    EXPECT_EQ(h->height, 10);
    EXPECT_EQ(h->planes, 1);
    EXPECT_EQ(h->bitCount, 32);
    EXPECT_EQ(h->compression, 0u);
    EXPECT_EQ(h->xPelsPerMeter, 2834);
    EXPECT_EQ(h->yPelsPerMeter, 2834);

    uint64_t pixelBytes = 0, packedBytes = 0;
    Rect16 rect;
    int32_t rowBytes = 0;
    int bitCount = 0;
    BitmapInfoHeader* header = nullptr;
    uint8_t* bits = DibBuffer::GetInfo(raw, &pixelBytes, &packedBytes, &rect, &rowBytes,
                                       &bitCount, &header);
    EXPECT_EQ(bits, reinterpret_cast<uint8_t*>(raw) + 152);
    EXPECT_EQ(bits, DibBuffer::GetBits(raw));
    EXPECT_EQ(pixelBytes, 800u);
    EXPECT_EQ(packedBytes, 840u);
    EXPECT_EQ(rect, MakeRect(0, 0, 10, 20));
    EXPECT_EQ(rowBytes, 80);
    EXPECT_EQ(bitCount, 32);
    EXPECT_EQ(header, h);

    // Everything but the own rectangle and the info header is zero, pixels included.
    const uint8_t* block = reinterpret_cast<const uint8_t*>(raw);
    for (size_t i = 0; i < 952; ++i) {
        if ((i >= 16 && i < 24) || (i >= 112 && i < 152)) continue;
        ASSERT_EQ(block[i], 0) << "byte " << i;
    }
}

TEST(DibBuffer, BadSidesAndMissingOutputAreRefused) {
    struct Case {
        const char* what;
        Rect16 rect;
    };
    const std::vector<Case> cases = {
        {"width 0", MakeRect(0, 3, 10, 3)},
        {"height -1", MakeRect(4, 0, 3, 10)},
        {"width 32768", MakeRect(0, -16384, 1, 16384)},
        {"height 32768", MakeRect(-16384, 0, 16384, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibBuffer* out = reinterpret_cast<DibBuffer*>(&out);  // must be cleared
        EXPECT_EQ(DibBuffer::Create(&out, 32, c.rect), -1);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(DibBuffer::Create(nullptr, 32, MakeRect(0, 0, 1, 1)), -1);
}

TEST(DibBuffer, LargestBufferIsSizedIn64Bits) {
    DibBuffer* raw = nullptr;
    ASSERT_EQ(DibBuffer::Create(&raw, 32, MakeRect(0, 0, 32767, 32767)), 0);
    DibBufferPtr buffer(raw);
    EXPECT_EQ(DibBuffer::GetSize(raw), 32767ull * 32767ull * 4ull + 152ull);
    uint64_t pixelBytes = 0;
    uint8_t* bits = DibBuffer::GetBitsAndCount(raw, &pixelBytes);
    EXPECT_EQ(pixelBytes, 32767ull * 32767ull * 4ull);
    bits[pixelBytes - 1] = 7;  // the last byte is inside the block (ASan)
}

/// A malloc'd packed DIB of width x height whose pixel bytes count up from 1.
uint8_t* MakePackedDib(int width, int height, int32_t headerHeight, size_t* bytes) {
    *bytes = 40 + size_t(width) * size_t(height) * 4;
    auto* block = static_cast<uint8_t*>(std::malloc(*bytes));
    BitmapInfoHeader h;
    h.width = width;
    h.height = headerHeight;
    h.xPelsPerMeter = h.yPelsPerMeter = 3780;
    h.sizeImage = 12345;
    std::memcpy(block, &h, sizeof h);
    for (size_t i = 40; i < *bytes; ++i) block[i] = uint8_t(i - 39);
    return block;
}

TEST(DibBuffer, AdoptingAPackedDibKeepsItsPixelsAndRewritesItsHeader) {
    for (int32_t headerHeight : {2, -2}) {
        SCOPED_TRACE(headerHeight);
        size_t bytes = 0;
        uint8_t* block = MakePackedDib(3, 2, headerHeight, &bytes);
        DibBuffer* raw = nullptr;
        ASSERT_EQ(DibBuffer::Create(&raw, 32, MakeRect(0, 0, 2, 3), block, bytes), 0);
        DibBufferPtr buffer(raw);
        const BitmapInfoHeader* h = DibBuffer::GetHeader(raw);
        EXPECT_EQ(h->height, 2);
        EXPECT_EQ(h->xPelsPerMeter, 2834);
        EXPECT_EQ(h->yPelsPerMeter, 2834);
        EXPECT_EQ(h->sizeImage, 0u);
        EXPECT_EQ(DibBuffer::GetRect(raw), MakeRect(0, 0, 2, 3));
        const uint8_t* bits = DibBuffer::GetBits(raw);
        for (size_t i = 0; i < 24; ++i) ASSERT_EQ(bits[i], uint8_t(i + 1)) << "byte " << i;
    }
}

TEST(DibBuffer, AdoptedBlockThatDoesNotMatchIsFreedAndRefused) {
    struct Case {
        const char* what;
        int width, height;   // of the block
        size_t cut;          // bytes missing at its end
        Rect16 rect;
    };
    const std::vector<Case> cases = {
        {"shorter than its header says", 3, 2, 1, MakeRect(0, 0, 2, 3)},
        {"other size than the rectangle", 3, 2, 0, MakeRect(0, 0, 3, 3)},
        {"bad rectangle", 3, 2, 0, MakeRect(0, 0, 0, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t bytes = 0;
        uint8_t* block = MakePackedDib(c.width, c.height, c.height, &bytes);
        DibBuffer* out = nullptr;
        // The block is taken over: LeakSanitizer reports it unless it was freed.
        EXPECT_EQ(DibBuffer::Create(&out, 32, c.rect, block, bytes - c.cut), -1);
        EXPECT_EQ(out, nullptr);
    }
    size_t bytes = 0;
    EXPECT_EQ(DibBuffer::Create(nullptr, 32, MakeRect(0, 0, 1, 1), MakePackedDib(1, 1, 1, &bytes),
                                bytes),
              -1);
}

TEST(DibBuffer, FreeLeavesABufferThatIsNotOwnedAlone) {
    DibBuffer* raw = nullptr;
    ASSERT_EQ(DibBuffer::Create(&raw, 32, MakeRect(0, 0, 4, 4)), 0);
    // A view of the same bytes in memory that malloc never gave out.
    std::vector<uint8_t> view(DibBuffer::GetSize(raw));
    std::memcpy(view.data(), raw, view.size());
    auto* viewed = reinterpret_cast<DibBuffer*>(view.data());
    DibBuffer::SetNotOwned(viewed, true);
    EXPECT_TRUE(DibBuffer::IsNotOwned(viewed));
    EXPECT_EQ(DibBuffer::Free(viewed), 0);  // ASan: a free here is an invalid free
    EXPECT_EQ(DibBuffer::GetRect(viewed), MakeRect(0, 0, 4, 4));

    DibBuffer::SetNotOwned(raw, true);
    EXPECT_EQ(DibBuffer::Free(raw), 0);
    DibBuffer::GetBits(raw)[0] = 1;  // still alive (ASan)
    DibBuffer::SetNotOwned(raw, false);
    EXPECT_EQ(DibBuffer::Free(raw), 0);
    EXPECT_EQ(DibBuffer::Free(nullptr), -1);
}

TEST(DibBuffer, NullBufferGivesEmptyAnswers) {
    EXPECT_FALSE(DibBuffer::IsNotOwned(nullptr));
    DibBuffer::SetNotOwned(nullptr, true);
    EXPECT_EQ(DibBuffer::GetHeader(static_cast<DibBuffer*>(nullptr)), nullptr);
    EXPECT_EQ(DibBuffer::GetBits(static_cast<DibBuffer*>(nullptr)), nullptr);
    EXPECT_EQ(DibBuffer::GetRowBytes(nullptr), 0);
    EXPECT_EQ(DibBuffer::GetSize(nullptr), 0u);
    EXPECT_EQ(DibBuffer::GetRect(nullptr), Rect16{});
    uint64_t pixelBytes = 99;
    EXPECT_EQ(DibBuffer::GetInfo(nullptr, &pixelBytes), nullptr);
    EXPECT_EQ(pixelBytes, 0u);
}

}  // namespace
}  // namespace vx
