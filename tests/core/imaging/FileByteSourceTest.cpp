#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/FileByteSource.h"
#include "JpegFixtures.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

TEST(FileByteSource, GivesTheFilesBytesForEveryRangeInsideAndNothingOutside) {
    test::TestRoot root;
    std::vector<uint8_t> bytes(10000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 31 + i / 256);
    test::WriteBytes(root.Path() / "daten", bytes);
    FileByteSource file;
    ASSERT_TRUE(file.Open(root.Path() / "daten"));
    ASSERT_EQ(file.Size(), bytes.size());
    struct Range {
        uint64_t offset;
        size_t length;
        bool inside;
    };
    // Small reads come from the block read ahead; these cross its edges both ways.
    const std::vector<Range> ranges = {
        {0, 4, true},     {2, 2, true},       {4094, 4, true},   {4090, 12, true}, {100, 3, true},
        {9996, 4, true},  {9996, 5, false},   {10000, 0, true},  {10000, 1, false}, {5000, 4000, true},
        {0, 10000, true}, {4096, 512, true},  {8190, 100, true}, {UINT64_MAX - 1, 4, false},
    };
    for (const Range& r : ranges) {
        SCOPED_TRACE(testing::Message() << r.offset << " + " << r.length);
        std::vector<uint8_t> got(r.length + 1, 0xEE);
        ASSERT_EQ(file.Read(r.offset, got.data(), r.length), r.inside);
        if (r.inside) {
            EXPECT_EQ(0, std::memcmp(got.data(), bytes.data() + r.offset, r.length));
        }
    }
    EXPECT_LE(file.BytesRead(), 4u * bytes.size());

    FileByteSource missing;
    uint8_t b = 0;
    EXPECT_FALSE(missing.Open(root.Path() / "fehlt"));
    EXPECT_FALSE(missing.Read(0, &b, 1));
    EXPECT_FALSE(missing.Open(root.Path())) << "a folder";
}

}  // namespace
}  // namespace vx
