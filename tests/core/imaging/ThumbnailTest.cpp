#include <gtest/gtest.h>

#include <vector>

#include "imaging/Thumbnail.h"
#include "JpegFixtures.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

TEST(CreateThumbnailDIB, GivesA128PixelSquareOrNothing) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    for (int side : {128, 64, 300}) {
        SCOPED_TRACE(side);
        test::JpegFixture fixture;
        fixture.width = fixture.height = side;
        fixture.pixel = [side](int x, int y, uint8_t* rgb) {
            // Top half blue, bottom half green: the rows must stay top first.
            const bool top = y < side / 2;
            rgb[0] = 0;
            rgb[1] = top ? 0 : 255;
            rgb[2] = top ? 255 : 0;
        };
        const std::vector<uint8_t> jpeg = test::EncodeJpeg(fixture);
        DibBufferPtr b = CreateThumbnailDIB(jpeg.data(), jpeg.size());
        ASSERT_TRUE(b);
        ASSERT_EQ(DibBuffer::GetRect(b.get()), DibBuffer::GetRect(b.get()));
        EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 128);
        EXPECT_EQ(DibBuffer::GetRect(b.get()).Height(), 128);
        const uint8_t* top = DibBuffer::GetBits(b.get()) + (10 * 128 + 64) * 4;
        const uint8_t* bottom = DibBuffer::GetBits(b.get()) + (118 * 128 + 64) * 4;
        EXPECT_GT(top[0], 200);     // blue
        EXPECT_GT(bottom[1], 200);  // green
    }
    const std::vector<uint8_t> garbage(500, 0x5A);
    EXPECT_FALSE(CreateThumbnailDIB(garbage.data(), garbage.size()));
    EXPECT_FALSE(CreateThumbnailDIB(nullptr, 0));
    EXPECT_TRUE(messages.shown.empty()) << "undecodable bytes are not the user's concern";
}

}  // namespace
}  // namespace vx
