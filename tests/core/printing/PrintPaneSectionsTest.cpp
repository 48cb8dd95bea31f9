#include <gtest/gtest.h>

#include "printing/PrintPaneSections.h"

namespace vx::test {
namespace {

// The pane's controls at their dialog-unit places, taken one to one as pixels.
std::array<PaneRect, kPaneControlCount> Captured() {
    return {{{5, 5, 8, 8},      {15, 5, 65, 10},    {15, 21, 50, 10},   {70, 19, 107, 85},  {15, 36, 50, 10},
             {70, 34, 107, 82}, {15, 51, 50, 10},   {70, 49, 107, 90},  {77, 80, 38, 8},    {118, 76, 11, 14},
             {134, 77, 35, 47}, {70, 66, 107, 31},  {15, 103, 50, 10},  {70, 101, 107, 90}, {15, 120, 50, 10},
             {70, 120, 18, 21}, {92, 120, 18, 21},  {134, 143, 43, 14}, {5, 157, 172, 2},   {5, 162, 8, 8},
             {15, 162, 59, 8},  {15, 177, 50, 10},  {70, 174, 107, 87}, {134, 193, 43, 14}, {5, 207, 172, 2},
             {5, 212, 8, 8},    {15, 212, 78, 8},   {15, 225, 162, 161}, {16, 392, 162, 31}}};
}

TEST(PrintPaneSections, SectionStatesDecidePlaces) {
    struct Case {
        std::array<bool, 3> expanded;
        int clientHeight;
        int separator1, section2Button, profileLabel, separator2, list, scrollHeight;
        bool section1Visible, profileVisible, listVisible;
    };
    const Case cases[] = {
        // All closed: folded to 25 pixels each; the last control is the third title.
        {{false, false, false}, 1000, 25, 30, 177, 50, 225, 0, false, false, false},
        {{false, false, false}, 60, 25, 30, 177, 50, 225, 55 + 8 + 16, false, false, false},
        // Section 1 open: what follows starts at the captured top of the second button.
        {{true, false, false}, 1000, 162, 167, 177, 187, 225, 0, true, false, false},
        {{true, true, true}, 1000, 162, 167, 182, 217, 235, 0, true, true, true},
        {{true, true, true}, 300, 162, 167, 182, 217, 235, 217 + 185 + 31 + 16, true, true, true},
        {{false, true, true}, 1000, 25, 30, 45, 80, 98, 0, false, true, true},
    };
    for (const Case& c : cases) {
        const PaneArrangement a = ArrangeSections(Captured(), c.expanded, {c.clientHeight, 2, 16});
        const auto name = ::testing::Message() << c.expanded[0] << c.expanded[1] << c.expanded[2] << " h "
                                               << c.clientHeight;
        EXPECT_EQ(a.places[kPaneSeparator1], (PanePlace{5, c.separator1, true})) << name;
        EXPECT_EQ(a.places[kPaneSection2Button].y, c.section2Button) << name;
        EXPECT_EQ(a.places[kPaneSeparator2], (PanePlace{5, c.separator2, true})) << name;
        EXPECT_EQ(a.places[kPaneProfileLabel].visible, c.profileVisible) << name;
        if (c.profileVisible) EXPECT_EQ(a.places[kPaneProfileLabel].y, c.profileLabel) << name;
        EXPECT_EQ(a.places[kPaneTemplateList].visible, c.listVisible) << name;
        if (c.listVisible) EXPECT_EQ(a.places[kPaneTemplateList].y, c.list) << name;
        for (int i = kPanePrinterLabel; i <= kPaneMorePrint; ++i) EXPECT_EQ(a.places[i].visible, c.section1Visible);
        EXPECT_EQ(a.places[kPaneSection1Button], (PanePlace{5, 5, true})) << name;
        EXPECT_TRUE(a.places[kPaneSection3Title].visible);
        EXPECT_EQ(a.scrollHeight, c.scrollHeight) << name;
        EXPECT_EQ(a.scrollWidth, 328) << name;
    }
}

TEST(PrintPaneSections, RollLengthNumber) {
    EXPECT_EQ(RollLengthNumber(12700, 0), "1270.00");
    EXPECT_EQ(RollLengthNumber(12700, 1), "50.000");
    EXPECT_EQ(RollLengthNumber(0, 1), "0.000");
    EXPECT_EQ(RollLengthNumber(-5, 0), "-0.50");
}

}  // namespace
}  // namespace vx::test
