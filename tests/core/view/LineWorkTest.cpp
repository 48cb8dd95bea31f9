#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "RecordingView.h"
#include "ViewFixture.h"
#include "model/CLineObj.h"
#include "model/FreeLineItem.h"
#include "support/TestFolders.h"
#include "view/LineWork.h"

namespace vx {
namespace {

TEST(AutoCutLines, SingleImagesNeedAFullSizeAndOneLongSide) {
    struct Case {
        PixelRect image;
        int kind;
        size_t segments;
    } cases[] = {
        {{100, 100, 808, 1516}, 1, 4},  // 708 x 1416: four outer lines
        {{100, 100, 808, 808}, 0, 0},   // 708 x 708: none
        {{100, 100, 707, 1600}, 0, 0},  // too narrow
    };
    for (const Case& c : cases) {
        const AutoCutPlan plan = PlanAutoCutLines({c.image}, 1.0, 100);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.segments.size(), c.segments);
    }
    // Truncated device rectangles at screen scale still count as full size.
    const double s = 96.0 / 360;
    EXPECT_EQ(PlanAutoCutLines({{10, 10, 10 + int32_t(708 * s), 10 + int32_t(1416 * s)}}, s, 100).kind, 1);
    // Images closer than 70 units: nothing.
    EXPECT_EQ(PlanAutoCutLines({{0, 0, 800, 1500}, {850, 0, 1650, 1500}}, 1.0, 100).kind, 0);
    // A scale under a tenth: nothing.
    EXPECT_EQ(PlanAutoCutLines({{0, 0, 8, 15}}, 0.01, 100).kind, 0);
}

TEST(AutoCutLines, TwoRowsGiveARowCutColumnCutsPerBandAndExtraSegments) {
    const std::vector<PixelRect> images{
        {100, 100, 900, 1600}, {1000, 100, 1800, 1520},  // the second is shorter: an extra segment
        {100, 1700, 900, 3200}, {1000, 1700, 1800, 3200}};
    const AutoCutPlan plan = PlanAutoCutLines(images, 1.0, 100);
    ASSERT_EQ(plan.kind, 2);
    EXPECT_EQ(plan.box, (PixelRect{50, 50, 1850, 3250}));
    EXPECT_EQ(plan.rowCuts, std::vector<int32_t>{1600});
    ASSERT_EQ(plan.columnCuts.size(), 2u);
    EXPECT_EQ(plan.columnCuts[0], (std::vector<int32_t>{15, 885, 1785}));
    EXPECT_EQ(plan.columnCuts[1], (std::vector<int32_t>{15, 885, 1785}));
    EXPECT_EQ(plan.narrowSegments, std::vector<PixelRect>{(PixelRect{1000, 1555, 1800, 1555})});
    ASSERT_EQ(plan.segments.size(), 9u);
    EXPECT_EQ(plan.segments[0], (PixelRect{50, 1650, 1850, 1650}));
    EXPECT_EQ(plan.segments[1], (PixelRect{65, 85, 65, 1615}));
    EXPECT_EQ(plan.segments[4], (PixelRect{65, 1685, 65, 3215}));
    EXPECT_EQ(plan.segments[7], (PixelRect{85, 50, 1815, 50}));

    CutSegmentStrokes strokes;
    ASSERT_TRUE(CutSegmentGeometry({0, 100, 500, 100}, 1.0, false, strokes));
    EXPECT_EQ(strokes.first, (PixelRect{0, 85, 500, 85}));
    EXPECT_EQ(strokes.second, (PixelRect{0, 115, 500, 115}));
    EXPECT_EQ(strokes.width, 10);
    ASSERT_TRUE(CutSegmentGeometry({100, 0, 100, 500}, 1.0, true, strokes));
    EXPECT_EQ(strokes.first.left, 90);
    EXPECT_FALSE(CutSegmentGeometry({0, 0, 10, 10}, 1.0, false, strokes));
}

TEST(AutoCutLines, BandsTakeTheirImagesInTheGivenOrderWhateverTheRowOrder) {
    // Three rows given out of order; in each band the first image given decides which
    // of two columns closer than 70 units is kept. Rows of unequal images still leave
    // one gap each.
    const std::vector<PixelRect> images{
        {1000, 3400, 1800, 4900},  // third row, right
        {100, 100, 900, 1700},     // first row, left
        {1000, 1750, 1800, 3300},  // second row, right: starts higher
        {100, 3400, 900, 4900},    // third row, left
        {1000, 100, 1800, 1521},   // first row, right: ends well above the cut
        {100, 1800, 900, 3300},    // second row, left
    };
    const AutoCutPlan plan = PlanAutoCutLines(images, 1.0, 100);
    ASSERT_EQ(plan.kind, 2);
    EXPECT_EQ(plan.rowCuts, (std::vector<int32_t>{1675, 3300}));
    ASSERT_EQ(plan.columnCuts.size(), 3u);
    EXPECT_EQ(plan.columnCuts[0], (std::vector<int32_t>{15, 885, 1785}));
    EXPECT_EQ(plan.columnCuts[1], (std::vector<int32_t>{915, 1785, 15}));
    EXPECT_EQ(plan.columnCuts[2], (std::vector<int32_t>{915, 1785, 15}));
    // The first row's right image ends well above the cut: a narrow line under it.
    EXPECT_EQ(plan.narrowSegments, std::vector<PixelRect>{(PixelRect{1000, 1556, 1800, 1556})});
    ASSERT_EQ(plan.segments.size(), 13u);
    EXPECT_EQ(plan.segments[1], (PixelRect{50, 3350, 1850, 3350}));
    EXPECT_EQ(plan.segments[5], (PixelRect{965, 1760, 965, 3315}));
}

TEST(AutoCutLines, RowsFarApartCostNothingPerRowBetweenThem) {
    // A damaged position two billion pixels down: one cut halfway, no buffer per row.
    const AutoCutPlan plan =
        PlanAutoCutLines({{0, 0, 800, 1500}, {0, 2000000000, 800, 2000001500}}, 1.0, 100);
    ASSERT_EQ(plan.kind, 2);
    EXPECT_EQ(plan.rowCuts, (std::vector<int32_t>{1000000800}));
    EXPECT_EQ(plan.columnCuts.size(), 2u);
}

TEST(CornerMarks, TwelveLinesOutwardAndNoneUnderTwoPixels) {
    const std::vector<MarkLine> lines = CornerMarkLines({100, 100, 200, 160}, 1.0, 1.0, 10, 0);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0].x1, 99);
    EXPECT_EQ(lines[0].x2, 89);
    EXPECT_EQ(lines[1].y2, 89);
    EXPECT_EQ(lines[8].x1, 149.0);  // top-edge centre
    EXPECT_EQ(lines[9].y1, 129.0);  // right-edge centre
    EXPECT_EQ(lines[9].x2, 210.0);
    // An offset moves the reference rectangle inside.
    EXPECT_EQ(CornerMarkLines({100, 100, 200, 160}, 1.0, 1.0, 10, 5)[0].x1, 104);
    EXPECT_TRUE(CornerMarkLines({100, 100, 100, 150}, 1.0, 1.0, 10, 0).empty());
    EXPECT_FALSE(CornerMarkLines({100, 100, 101, 150}, 1.0, 1.0, 10, 0).empty());
}

std::unique_ptr<CLineObj> MakeLine(LayoutPoint start, LayoutPoint end, int mark, int fill, int angle = 30) {
    auto made = std::make_unique<CLineObj>(true);
    CLineObj& line = *made;
    line.SetThickness(10);
    line.SetArrowSize(2);
    line.SetArrowMark(int16_t(mark));
    line.SetArrowFill(fill);
    line.SetArrowAngle(int16_t(angle));
    line.SetPosition(0, 0);
    line.SetOffsetStart(start);
    line.SetOffsetEnd(end);
    line.SetAngle(int16_t(std::lround(std::atan2(double(end.y) - start.y, double(end.x) - start.x) * 180 / M_PI)));
    ComputeFreeLineGeometry(line);
    return made;
}

TEST(FreeLineShape, HeadsFollowTheModelOutline) {
    // Filled heads at both ends: the wings are the model's, the line stops at the bases.
    std::unique_ptr<CLineObj> filledp = MakeLine({1000, 1000}, {2000, 1000}, 2, 1);
    CLineObj& filled = *filledp;
    const FreeLineShape f = ComputeFreeLineShape(
        filled, {filled.GetPosition().x * 0.5, filled.GetPosition().y * 0.5}, 0.5, 0.5);
    ASSERT_EQ(f.heads.size(), 2u);
    const LayoutPoint pos = filled.GetPosition();
    const auto& g = filled.GetGeometryPoints();
    for (int i = 0; i < 2; ++i) {
        const gfx::geom::Point wing = f.heads[0].polygon.points[size_t(i + 1)];
        const gfx::geom::Point model{(pos.x + g[size_t(i)].x) * 0.5, (pos.y + g[size_t(i)].y) * 0.5};
        EXPECT_NEAR(std::min(std::hypot(wing.x - model.x, wing.y - model.y),
                             std::hypot(f.heads[0].polygon.points[size_t(2 - i)].x - model.x,
                                        f.heads[0].polygon.points[size_t(2 - i)].y - model.y)),
                    0, 1);
    }
    EXPECT_NEAR(f.heads[0].polygon.points[0].x, (pos.x + filled.GetOffsetStart().x) * 0.5, 1e-9);
    EXPECT_NEAR(f.from.x - f.heads[0].polygon.points[0].x, std::trunc(std::sqrt(3.0) * 40) * 0.5, 1e-9);
    EXPECT_NEAR(f.heads[1].polygon.points[0].x - f.to.x, std::trunc(std::sqrt(3.0) * 40) * 0.5, 1e-9);

    // An open head at the start only: only the start is pulled back.
    std::unique_ptr<CLineObj> openp = MakeLine({1000, 1000}, {2000, 1000}, 1, 0);
    CLineObj& open = *openp;
    const FreeLineShape o =
        ComputeFreeLineShape(open, {double(open.GetPosition().x), double(open.GetPosition().y)}, 1, 1);
    ASSERT_EQ(o.heads.size(), 1u);
    EXPECT_FALSE(o.heads[0].filled);
    const double startX = open.GetPosition().x + open.GetOffsetStart().x;
    EXPECT_NEAR(o.from.x - startX, 10.0, 1e-6);  // (10 / 2) / sin 30°
    EXPECT_NEAR(o.to.x, open.GetPosition().x + open.GetOffsetEnd().x, 1e-9);
    EXPECT_NEAR(o.heads[0].polygon.points[0].x, o.from.x, 1e-9);

    // Ends on one pixel still give one pixel.
    std::unique_ptr<CLineObj> dotp = MakeLine({1000, 1000}, {1001, 1000}, 0, 0);
    CLineObj& dot = *dotp;
    const FreeLineShape d = ComputeFreeLineShape(dot, {0, 0}, 0.1, 0.1);
    EXPECT_GE(d.to.x - d.from.x, 1.0);
}

TEST(Handles, ShiftRuleOfFreeTexts) {
    struct Case {
        int angle;
        int row;  // of handle 1
    } cases[] = {{-135, 4}, {-90, 6}, {-45, 6}, {0, 8}, {45, 8}, {90, 2}, {135, 2}, {180, 4}};
    for (const Case& c : cases) EXPECT_EQ(FreeTextHandleRow(1, c.angle), c.row) << c.angle;
    EXPECT_EQ(HandleSquareOffset(1), (PixelPoint{-3, -3}));
    EXPECT_EQ(HandleSquareOffset(5), (PixelPoint{-2, -2}));
    EXPECT_EQ(HandleSquareOffset(8), (PixelPoint{-3, -2}));
}

TEST(Placeholders, SlotsAreAlignedInTheArea) {
    auto layout = test::MakeA4Layout();
    layout->SetPaper({2000, 3000});
    layout->SetLayoutAreaMgn({100, 100, 100, 100});
    layout->GetBaseImage()->SetSizeMethod(1);
    layout->GetBaseImage()->SetSize(800, 800);
    layout->SetSpace({50, 50});
    layout->SetAlign({4, 0});
    layout->SetVerticalAlign(2);
    const std::vector<LayoutRect> slots = TemplatePlaceholderSlots(*layout);
    ASSERT_EQ(slots.size(), 6u);  // 2 x 3 in 1800 x 2800
    EXPECT_EQ(slots[0].left, 100 + (1800 - 1650) / 2);
    EXPECT_EQ(slots[0].top, 100 + (2800 - 2500));
    EXPECT_EQ(slots[5].right, slots[0].left + 1650);
    layout->GetBaseImage()->SetSize(1900, 800);  // wider than the area
    EXPECT_TRUE(TemplatePlaceholderSlots(*layout).empty());
    layout->GetBaseImage()->SetSize(800, 800);
    layout->SetBanner(1);
    layout->SetPageNum(2);
    layout->SetOrientation(1);  // the area ends at 1500
    EXPECT_EQ(TemplatePlaceholderSlots(*layout).size(), 2u);
}

}  // namespace
}  // namespace vx
