#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/DibPixels.h"
#include "TestBuffers.h"

namespace vx {
namespace {

std::vector<uint8_t> Pixels(const DibBuffer* b) {
    const uint8_t* bits = DibBuffer::GetBits(b);
    return std::vector<uint8_t>(bits, bits + DibBuffer::GetSize(b) - DibBuffer::kHeaderBytes);
}

TEST(DibPixels, RgbRowsRoundTripThroughABuffer) {
    // 3 x 2, bottom row first, R,G,B.
    const std::vector<uint8_t> rows = {
        1,  2,  3,  4,  5,  6,  7,  8,  9,    // bottom
        10, 11, 12, 13, 14, 15, 16, 17, 18,   // top
    };
    DibBufferPtr buffer = CreateARGBBuffer(rows.data(), 3, 2);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(DibBuffer::GetRect(buffer.get()).Width(), 3);
    EXPECT_EQ(DibBuffer::GetRect(buffer.get()).Height(), 2);
    const std::vector<uint8_t> expected = {
        12, 11, 10, 255, 15, 14, 13, 255, 18, 17, 16, 255,  // top, B,G,R,A
        3,  2,  1,  255, 6,  5,  4,  255, 9,  8,  7,  255,
    };
    EXPECT_EQ(Pixels(buffer.get()), expected);

    std::unique_ptr<uint8_t[]> back = CopyToRGBRows(buffer.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(std::vector<uint8_t>(back.get(), back.get() + rows.size()), rows);
}

TEST(DibPixels, RgbConversionsRefuseWhatCannotBeABuffer) {
    const uint8_t rows[3] = {1, 2, 3};
    EXPECT_FALSE(CreateARGBBuffer(nullptr, 1, 1));
    EXPECT_FALSE(CreateARGBBuffer(rows, 1, 0));
    EXPECT_FALSE(CreateARGBBuffer(rows, 0, 1));
    EXPECT_FALSE(CreateARGBBuffer(rows, 65537, 1));  // would wrap to 1 in 16 bits
    EXPECT_FALSE(CopyToRGBRows(nullptr));
}

TEST(DibPixels, CopyBufferChannelMovesOneByteOfEveryPixel) {
    struct Case {
        ChannelCopy mode;
        int from, to;
    };
    const std::vector<Case> cases = {
        {ChannelCopy::BlueToBlue, 0, 0},
        {ChannelCopy::BlueToAlpha, 0, 3},
        {ChannelCopy::AlphaToBlue, 3, 0},
        {ChannelCopy::AlphaToAlpha, 3, 3},
    };
    DibBufferPtr source = test::MakeBuffer(3, 2);
    uint8_t* in = DibBuffer::GetBits(source.get());
    for (int i = 0; i < 24; ++i) in[i] = uint8_t(100 + i);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        DibBufferPtr target = test::MakeBuffer(3, 2);
        CopyBufferChannel(source.get(), target.get(), c.mode);
        const std::vector<uint8_t> out = Pixels(target.get());
        for (int p = 0; p < 6; ++p)
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(out[size_t(p * 4 + k)], k == c.to ? in[p * 4 + c.from] : 0)
                    << "pixel " << p << " byte " << k;
    }
    for (auto [w, h] : {std::pair{2, 3}, std::pair{3, 1}}) {
        DibBufferPtr other = test::MakeBuffer(w, h);
        CopyBufferChannel(source.get(), other.get(), ChannelCopy::AlphaToAlpha);
        EXPECT_EQ(Pixels(other.get()), std::vector<uint8_t>(size_t(w * h * 4), 0));
    }
}

TEST(DibPixels, SetOpaqueAlphaTouchesOnlyAlpha) {
    DibBufferPtr buffer = test::MakeBuffer(2, 2);
    SetOpaqueAlpha(buffer.get());
    const std::vector<uint8_t> out = Pixels(buffer.get());
    for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i], i % 4 == 3 ? 255 : 0) << i;
    SetOpaqueAlpha(nullptr);
}

/// Green 250 outside the inner rectangle, inside alternating 10 and 30 by column.
DibBufferPtr FramedGreen(int width, int height, int insetX, int insetY) {
    DibBufferPtr b = test::MakeBuffer(width, height);
    uint8_t* bits = DibBuffer::GetBits(b.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inside = x >= insetX && x < width - insetX && y >= insetY && y < height - insetY;
            bits[(y * width + x) * 4 + 1] = inside ? ((x - insetX) % 2 ? 30 : 10) : 250;
            bits[(y * width + x) * 4 + 0] = 200;  // blue is never counted
        }
    return b;
}

TEST(DibPixels, MeanChannelValueAveragesGreenInsideTheInset) {
    EXPECT_EQ(MeanChannelValue(FramedGreen(10, 10, 1, 1).get()), 20u);
    EXPECT_EQ(MeanChannelValue(FramedGreen(20, 7, 3, 1).get()), 20u);
    DibBufferPtr one = test::MakeBuffer(1, 1);
    EXPECT_EQ(MeanChannelValue(one.get()), 0u);
    DibBuffer::GetBits(one.get())[1] = 77;  // a single pixel has no inset
    EXPECT_EQ(MeanChannelValue(one.get()), 77u);
    EXPECT_EQ(MeanChannelValue(nullptr), 0u);
}

}  // namespace
}  // namespace vx
