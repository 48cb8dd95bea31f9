#include <gtest/gtest.h>

#include <vector>

#include "model/PaperSizes.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

TEST(LookupPaperSize, FindsTheDriverIdsOfTheTable) {
    struct Case { int32_t id; int32_t width, length; };
    const std::vector<Case> cases = {
        {9, 2100, 2970}, {8, 2970, 4200}, {1, 2159, 2794}, {600, 11180, 15800},
        {652, 10300, 7280}, {610, 8636, 11176}, {13, 1820, 2570},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        int32_t length = -1, width = -1;
        EXPECT_TRUE(LookupPaperSize(c.id, length, width));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(length, c.length);
    }
}

TEST(LookupPaperSize, UnknownIdLeavesTheOutputsUntouched) {
    for (int32_t id : {10, 0, -1, 11, 653}) {
        SCOPED_TRACE(id);
        int32_t length = 77, width = 88;
        EXPECT_FALSE(LookupPaperSize(id, length, width));
        EXPECT_EQ(length, 77);
        EXPECT_EQ(width, 88);
    }
}

TEST(PaperSizeTable, HoldsTwentyOneUniqueIdsWithOneLandscapePaper) {
    const auto table = PaperSizeTable();
    ASSERT_EQ(table.size(), 21u);
    std::vector<int32_t> landscape;
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].width > table[i].length) landscape.push_back(table[i].id);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(table[i].id, table[j].id);
    }
    EXPECT_EQ(landscape, std::vector<int32_t>{652});
}

class TenthsMmConversion : public testing::TestWithParam<const char*> {
protected:
    test::ScopedLocale mLocale{GetParam()};
};

TEST_P(TenthsMmConversion, GivesWhatTheMillimetreTextParsesTo) {
    if (!mLocale.Active()) GTEST_SKIP() << GetParam() << " not installed";
    EXPECT_EQ(TenthsMmToLayoutUnits(2100, 2970), (PaperLengthAndWidth{4209, 2976}));
    // Letter: 215.9 mm = 8.5 inch exactly.
    EXPECT_EQ(TenthsMmToLayoutUnits(2159, 2794), (PaperLengthAndWidth{3960, 3060}));
    EXPECT_EQ(TenthsMmToLayoutUnits(0, 1), (PaperLengthAndWidth{1, 0}));
}

TEST_P(TenthsMmConversion, PaperIdFormOrientsAndFillsMissingLengths) {
    if (!mLocale.Active()) GTEST_SKIP() << GetParam() << " not installed";
    struct Case { int32_t id; int orientation; int32_t length, width; LayoutPoint paper; };
    const std::vector<Case> cases = {
        {9, 1, 2970, 2100, {2976, 4209}},
        {9, 2, 2970, 2100, {4209, 2976}},
        {9, 1, 0, 0, {2976, 4209}},        // from the table
        {9, 2, 2970, 0, {4209, 2976}},     // one missing length takes both from the table
        {1, 1, 2970, 2100, {2976, 4209}},  // given lengths win over the id
        {10, 1, 0, 0, {0, 0}},             // unknown id, nothing to fill in
        {8, 0, 0, 0, {4209, 5953}},        // any orientation but 2 is portrait
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << '/' << c.orientation << '/' << c.length << '/' << c.width);
        EXPECT_EQ(TenthsMmToLayoutUnits(c.id, c.orientation, c.length, c.width), c.paper);
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, TenthsMmConversion, testing::Values("C", "de_DE.UTF-8"));

}  // namespace
}  // namespace vx
