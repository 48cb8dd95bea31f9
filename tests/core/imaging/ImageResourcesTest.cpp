#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EpsFixtures.h"
#include "imaging/ImageResources.h"

namespace vx {
namespace {

std::string Text(std::span<const uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ImageResourceReader, WalksNamesAndDataPaddedToEvenLengths) {
    const std::vector<uint8_t> block = test::ResourceBuilder()
                                           .Add(1005, "", {1, 2, 3})
                                           .Add(2000, "Pfad", {4, 5})
                                           .Add(2001, "Pfad 1", {})
                                           .Add(1036, "x", {9})
                                           .Bytes();
    ImageResourceReader reader(block);
    ImageResource r;
    struct Want {
        uint16_t id;
        std::string name;
        std::vector<uint8_t> data;
    };
    for (const Want& w : {Want{1005, "", {1, 2, 3}}, Want{2000, "Pfad", {4, 5}}, Want{2001, "Pfad 1", {}},
                          Want{1036, "x", {9}}}) {
        ASSERT_TRUE(reader.Next(r));
        EXPECT_EQ(r.id, w.id);
        EXPECT_EQ(Text(r.name), w.name);
        EXPECT_EQ(std::vector<uint8_t>(r.data.begin(), r.data.end()), w.data);
    }
    EXPECT_FALSE(reader.Next(r));
    EXPECT_FALSE(reader.Stopped());
    ASSERT_TRUE(FindImageResource(block, 2001));
    EXPECT_EQ(Text(FindImageResource(block, 2001)->name), "Pfad 1");
    EXPECT_FALSE(FindImageResource(block, 1039));

    std::vector<uint8_t> unpadded = test::ResourceBuilder().Add(1036, "", {7}).Bytes();
    unpadded.pop_back();  // the last pad byte may be missing
    ASSERT_TRUE(FindImageResource(unpadded, 1036));
}

TEST(ImageResourceReader, StopsAtWhatIsNoResourceOrDoesNotFit) {
    const std::vector<uint8_t> good = test::ResourceBuilder().Add(1005, "", {1, 2}).Bytes();
    struct Case {
        const char* what;
        std::vector<uint8_t> tail;
    };
    const std::vector<Case> cases = {
        {"another signature", {'M', 'e', 'S', 'a', 0x04, 0x0C, 0, 0, 0, 0, 0, 0}},
        {"a size past the block", {'8', 'B', 'I', 'M', 0x04, 0x0C, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF, 1, 2}},
        {"a name past the block", {'8', 'B', 'I', 'M', 0x04, 0x0C, 200, 'a'}},
        {"a few stray bytes", {'8', 'B'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> block = good;
        block.insert(block.end(), c.tail.begin(), c.tail.end());
        block.insert(block.end(), good.begin(), good.end());
        ImageResourceReader reader(block);
        ImageResource r;
        ASSERT_TRUE(reader.Next(r));
        EXPECT_EQ(r.id, 1005);
        EXPECT_FALSE(reader.Next(r));
        EXPECT_TRUE(reader.Stopped());
        EXPECT_FALSE(FindImageResource(block, 1036));
    }
    ImageResourceReader empty(nullptr, 10);
    ImageResource r;
    EXPECT_FALSE(empty.Next(r));
}

}  // namespace
}  // namespace vx
