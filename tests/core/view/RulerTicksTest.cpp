#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "view/RulerTicks.h"

namespace vx {
namespace {

// A4 width 2976 units (210 mm, 8.267 inch) over 793 pixels at 100%.
constexpr int32_t kA4Width = 2976;

std::vector<RulerTick> OfLevel(const std::vector<RulerTick>& ticks, int level) {
    std::vector<RulerTick> out;
    for (const RulerTick& t : ticks)
        if (t.level == level) out.push_back(t);
    return out;
}

std::vector<int64_t> Labels(const std::vector<RulerTick>& ticks) {
    std::vector<int64_t> out;
    for (const RulerTick& t : OfLevel(ticks, 1)) out.push_back(t.label);
    return out;
}

TEST(RulerTicks, MillimetresAtFullSizeMarkTwentiesTensAndFives) {
    const std::vector<RulerTick> ticks = ComputeRulerTicks(true, kA4Width, 100, 893, 1.0);
    EXPECT_EQ(Labels(ticks), (std::vector<int64_t>{20, 40, 60, 80, 100, 120, 140, 160, 180, 200}));
    // Positions from the ordinal, not summed: 100 + trunc(i x 200 / 2100 x 793).
    EXPECT_EQ(OfLevel(ticks, 1)[0].position, 100 + 75);
    EXPECT_EQ(OfLevel(ticks, 1)[9].position, 100 + 755);
    // 10 mm between the majors (10 .. 190, and 210 in the interval past the last major,
    // which its truncation puts one pixel inside the page), 5 mm between those.
    EXPECT_EQ(OfLevel(ticks, 2).size(), 11u);
    EXPECT_EQ(OfLevel(ticks, 2).back().position, 892);
    EXPECT_EQ(OfLevel(ticks, 2)[0].position, 100 + 37);
    EXPECT_EQ(OfLevel(ticks, 3).size(), 21u);
    EXPECT_EQ(OfLevel(ticks, 3)[0].position, 100 + 18);
    EXPECT_TRUE(OfLevel(ticks, 4).empty());
    for (const RulerTick& t : ticks) EXPECT_LT(t.position, 893);
}

TEST(RulerTicks, InchRowsByZoom) {
    struct Case {
        double zoom;
        int32_t interval;
        std::vector<int> levelCounts;  // ticks per level 1..4 over 8.267 inch
    };
    // At 1: inches 1..8, halves .5..7.5, tenths inside each half up to 8.2. At 1/3:
    // 2 inch 2..8, 1 inch 1..7, halves .5..7.5, quarters .25..8.25.
    for (const Case& c : {Case{1.0, 1, {8, 8, 16 * 4 + 2, 0}}, Case{1.0 / 3, 2, {4, 4, 8, 17}},
                          Case{16.0, 1, {8, 8, 16 * 4 + 2, 0}}}) {
        SCOPED_TRACE(c.zoom);
        const RulerRow& row = ChooseRulerRow(false, c.zoom);
        EXPECT_EQ(row.majorInterval, c.interval);
        const int32_t span = int32_t(793 * c.zoom);
        const std::vector<RulerTick> ticks = ComputeRulerTicks(false, kA4Width, 0, span, c.zoom);
        for (int level = 1; level <= 4; ++level)
            EXPECT_EQ(int(OfLevel(ticks, level).size()), c.levelCounts[size_t(level - 1)]) << "level " << level;
    }
    EXPECT_EQ(ChooseRulerRow(true, 16.0).majorInterval, 10);
    EXPECT_EQ(ChooseRulerRow(true, 16.0).subdivisions, (std::array<int, 3>{5, 1, 1}));
}

TEST(RulerTicks, NothingAtOrPastThePageEdge) {
    // 200 mm exactly: the 200 mm major lies on the edge and is not drawn.
    const int32_t units = 2835;  // 200.03 mm -> 2000 tenths
    const std::vector<RulerTick> ticks = ComputeRulerTicks(true, units, 0, 756, 1.0);
    EXPECT_EQ(Labels(ticks).back(), 180);
    for (const RulerTick& t : ticks) EXPECT_LT(t.position, 756);
}

TEST(RulerTicks, BigPaperAtThreePercentEndsAt900Millimetres) {
    // 1189 mm = 16852 units, 136 pixels at 1/33.
    const std::vector<RulerTick> ticks = ComputeRulerTicks(true, 16852, 0, 136, 1.0 / 33);
    EXPECT_EQ(Labels(ticks), (std::vector<int64_t>{300, 600, 900}));
    EXPECT_EQ(OfLevel(ticks, 3).size(), 0u);
}

TEST(RulerTicks, DamagedSizesDrawNothing) {
    EXPECT_TRUE(ComputeRulerTicks(true, 0, 0, 500, 1.0).empty());         // no paper length
    EXPECT_TRUE(ComputeRulerTicks(true, kA4Width, 50, 50, 1.0).empty());  // no span
    EXPECT_TRUE(ComputeRulerTicks(true, -10, 0, 500, 1.0).empty());
    // Majors closer than 2 pixels: a huge paper on a small span.
    EXPECT_TRUE(ComputeRulerTicks(true, INT32_MAX, 0, 100, 16.0).empty());
    EXPECT_EQ(RulerLength(2976, true), 2100);
    EXPECT_EQ(RulerLength(360, false), 1000);
}

}  // namespace
}  // namespace vx
