#include <gtest/gtest.h>

#include "printing/SectionButtonGeometry.h"

namespace vx::test {
namespace {

TEST(SectionButtonGeometry, SizesRoundDownToEvenSquares) {
    struct Case { int w, h, side; };
    for (const Case& c : {Case{13, 11, 10}, Case{11, 13, 10}, Case{10, 10, 10}, Case{1, 9, 0}, Case{0, 0, 0},
                          Case{-3, 8, 0}})
        EXPECT_EQ(SectionButtonSide(c.w, c.h), c.side) << c.w << " x " << c.h;
    EXPECT_EQ(EvenDown(13), 12);
    EXPECT_EQ(EvenDown(-13), -12);  // towards zero
}

TEST(SectionButtonGeometry, TrianglePerDirection) {
    using T = SectionTriangle;
    EXPECT_EQ(SectionButtonTriangle(0, 10), (T{{{5, 0}, {10, 10}, {0, 10}}}));
    EXPECT_EQ(SectionButtonTriangle(1, 10), (T{{{5, 10}, {0, 0}, {10, 0}}}));
    EXPECT_EQ(SectionButtonTriangle(2, 10), (T{{{0, 5}, {10, 0}, {10, 10}}}));
    EXPECT_EQ(SectionButtonTriangle(3, 10), (T{{{10, 5}, {0, 10}, {0, 0}}}));
    EXPECT_EQ(SectionButtonTriangle(7, 10), SectionButtonTriangle(3, 10));
}

TEST(SectionButtonGeometry, FocusTriangleIsInsetAndTurned) {
    using T = SectionTriangle;
    EXPECT_EQ(SectionFocusTriangle(0, 40), (T{{{20, 12}, {31, 34}, {9, 34}}}));
    for (int state = 0; state < 4; ++state) {
        const SectionTriangle outer = SectionButtonTriangle(state, 40);
        for (const SectionPoint& p : SectionFocusTriangle(state, 40))
            EXPECT_TRUE(PointInSectionTriangle(outer, p.x, p.y)) << state;
    }
}

// Clicks only count inside the triangle: corners of the square fall outside of it.
TEST(SectionButtonGeometry, HitTestFollowsTheTriangle) {
    struct Case { int state, x, y; bool inside; };
    for (const Case& c : {Case{3, 1, 5, true}, Case{3, 9, 1, false}, Case{3, 10, 5, true}, Case{3, 0, 0, true},
                          Case{1, 5, 9, true}, Case{1, 1, 9, false}, Case{0, 5, 1, true}, Case{0, 0, 0, false},
                          Case{2, 1, 1, false}, Case{2, 9, 9, true}, Case{1, 5, 11, false}})
        EXPECT_EQ(PointInSectionTriangle(SectionButtonTriangle(c.state, 10), c.x, c.y), c.inside)
            << c.state << " at " << c.x << ", " << c.y;
}

}  // namespace
}  // namespace vx::test
