#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/gfx/Geom.h"

namespace vx::gfx::geom {
namespace {

TEST(Region, ContainsATurnedQuadrilateralButNotItsBoundingCorners) {
    // A 20 × 20 square turned by 45° about (50, 50).
    const Polygon diamond = RectanglePolygon(40, 40, 60, 60).Rotated({50, 50}, 45);
    Region region(diamond);
    const Box b = diamond.Bounds();
    EXPECT_NEAR(b.Width(), 20 * std::sqrt(2.0), 1e-9);
    for (Point p : {Point{50, 50}, Point{50, 37}, Point{63, 50}, Point{45, 45}}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_TRUE(region.Contains(p));
    }
    for (Point p : {Point{b.left + 1, b.top + 1}, Point{b.right - 1, b.top + 1}, Point{b.left + 1, b.bottom - 1},
                    Point{b.right - 1, b.bottom - 1}}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_FALSE(region.Contains(p));
    }
}

TEST(Region, IsTheUnionOfItsPolygons) {
    Region region;
    region.Add(RectanglePolygon(0, 0, 10, 10));
    region.Add(RectanglePolygon(20, 0, 30, 10));
    EXPECT_TRUE(region.Contains({5, 5}));
    EXPECT_TRUE(region.Contains({25, 5}));
    EXPECT_FALSE(region.Contains({15, 5}));
    EXPECT_FALSE(Region().Contains({0, 0}));
}

TEST(ArrowHeadPolygon, IsSymmetricAboutItsDirection) {
    for (double degrees : {0.0, 30.0, 90.0, 200.0}) {
        SCOPED_TRACE(degrees);
        const double a = degrees * std::numbers::pi / 180;
        const Point tip{100, 100};
        const Polygon head = ArrowHeadPolygon(tip, a, 2, 3.5, true, 4);
        ASSERT_EQ(head.points.size(), 3u);
        EXPECT_EQ(head.points[0], tip);
        const Point l = head.points[1], r = head.points[2];
        EXPECT_NEAR(std::hypot(l.x - tip.x, l.y - tip.y), std::hypot(r.x - tip.x, r.y - tip.y), 1e-9);
        // Base centre lies 3.5 pen widths behind the tip; the base is 2 × 2 pen widths.
        EXPECT_NEAR((l.x + r.x) / 2, tip.x - std::cos(a) * 14, 1e-9);
        EXPECT_NEAR((l.y + r.y) / 2, tip.y - std::sin(a) * 14, 1e-9);
        EXPECT_NEAR(std::hypot(l.x - r.x, l.y - r.y), 16, 1e-9);
        EXPECT_TRUE(Region(head).Contains({tip.x - std::cos(a) * 7, tip.y - std::sin(a) * 7}));
    }
}

}  // namespace
}  // namespace vx::gfx::geom
