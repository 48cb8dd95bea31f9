#include <gtest/gtest.h>

#include <fstream>

#include "model/TextAndPathHelpers.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

TEST(TextAndPathHelpers, CountDisplayCharsCountsCodePointsWithoutLineBreaks) {
    struct Case { const char* text; size_t chars; };
    for (const Case& c : {Case{"ab\r\ncd", 4}, Case{"Größe\r\n€", 6}, Case{"a\xFF" "b", 3}, Case{"", 0},
                          Case{"\r\n\r\n", 0}, Case{"\xE2\x82", 2} /* a cut sequence: two bytes */,
                          Case{"日本語", 3}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CountDisplayChars(c.text), c.chars);
    }
}

TEST(TextAndPathHelpers, MultiByteTypeTellsLeadFromContinuationBytes) {
    const std::string text = "aö€\xFF";  // a, C3 B6, E2 82 AC, FF
    const int expected[] = {0, 1, 2, 1, 2, 2, 0};
    for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(MultiByteType(text, i), expected[i]) << i;
    EXPECT_EQ(MultiByteType(text, 7), 0);
    EXPECT_EQ(MultiByteType("\x82\x82", 0), 0);  // a stray continuation byte belongs to nothing
}

TEST(TextAndPathHelpers, FileExistsAndParentFolderName) {
    test::TestRoot root;
    const auto file = root.Path() / "Photos" / "a.jpg";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file.parent_path()));
    EXPECT_FALSE(FileExists(root.Path() / "Photos" / "*.jpg"));
    EXPECT_FALSE(FileExists(""));

    EXPECT_EQ(GetParentFolderName(file), "/Photos");
    EXPECT_EQ(GetParentFolderName("/a.jpg"), "/");
    EXPECT_EQ(GetParentFolderName("a.jpg"), "/");
    EXPECT_EQ(GetParentFolderName("Urlaub/a.jpg"), "/Urlaub");
}

}  // namespace
}  // namespace vx
