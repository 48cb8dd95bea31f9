#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/TransformPixelBuffer.h"
#include "TestBuffers.h"

namespace vx {
namespace {

/// A buffer whose pixels are the given letters, one row per string.
DibBufferPtr Letters(const std::vector<std::string>& rows) {
    DibBufferPtr b = test::MakeBuffer(int(rows[0].size()), int(rows.size()));
    uint32_t* px = reinterpret_cast<uint32_t*>(DibBuffer::GetBits(b.get()));
    for (const std::string& row : rows)
        for (char c : row) *px++ = uint32_t(uint8_t(c));
    return b;
}

std::vector<std::string> Rows(const DibBuffer* b) {
    const Rect16 r = DibBuffer::GetRect(b);
    const uint32_t* px = reinterpret_cast<const uint32_t*>(DibBuffer::GetBits(b));
    std::vector<std::string> rows(size_t(r.Height()));
    for (std::string& row : rows)
        for (int x = 0; x < r.Width(); ++x) row += char(*px++);
    return rows;
}

TEST(TransformPixelBuffer, TurnsAndMirrorsAsSeenOnScreen) {
    struct Case {
        int code;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {0, {"ABC", "DEF"}},
        {1, {"DA", "EB", "FC"}},  // a quarter turn clockwise
        {4, {"CF", "BE", "AD"}},  // anticlockwise
        {2, {"FED", "CBA"}},
        {8, {"CBA", "FED"}},
        {10, {"DEF", "ABC"}},
        {16, {"DEF", "ABC"}},
        {9, {"FC", "EB", "DA"}},
        {12, {"AD", "BE", "CF"}},
        {3, {"ABC", "DEF"}},  // no mapping: unchanged
        {17, {"ABC", "DEF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        DibBufferPtr b = Letters({"ABC", "DEF"});
        const DibBuffer* before = b.get();
        ASSERT_TRUE(TransformPixelBuffer(b, c.code));
        EXPECT_EQ(Rows(b.get()), c.expected);
        const bool turns = c.code == 1 || c.code == 4 || c.code == 9 || c.code == 12;
        EXPECT_EQ(b.get() == before, !turns) << "in-place codes keep their buffer";
    }
}

TEST(TransformPixelBuffer, QuarterTurnsBackAndForthGiveTheSamePicture) {
    // Larger than one cache tile in both directions, with odd sides.
    DibBufferPtr b = test::MakeBuffer(131, 67);
    uint32_t* px = reinterpret_cast<uint32_t*>(DibBuffer::GetBits(b.get()));
    for (uint32_t i = 0; i < 131u * 67u; ++i) px[i] = i * 2654435761u;
    const std::vector<uint32_t> original(px, px + 131 * 67);
    for (auto [first, second] : {std::pair{1, 4}, std::pair{4, 1}, std::pair{9, 9}, std::pair{12, 12},
                                 std::pair{2, 2}, std::pair{8, 8}}) {
        SCOPED_TRACE(testing::Message() << first << " then " << second);
        ASSERT_TRUE(TransformPixelBuffer(b, first));
        ASSERT_TRUE(TransformPixelBuffer(b, second));
        ASSERT_EQ(DibBuffer::GetRect(b.get()).Width(), 131);
        const uint32_t* now = reinterpret_cast<const uint32_t*>(DibBuffer::GetBits(b.get()));
        EXPECT_EQ(std::vector<uint32_t>(now, now + 131 * 67), original);
    }
}

TEST(TransformPixelBuffer, NullGivesFalse) {
    DibBufferPtr none;
    EXPECT_FALSE(TransformPixelBuffer(none, 1));
    EXPECT_FALSE(TransformPixelBuffer(none, 0));
}

}  // namespace
}  // namespace vx
