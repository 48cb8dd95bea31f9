#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MouseFixture.h"
#include "model/PageGeometry.h"
#include "view/HitTesting.h"
#include "view/ItemTracker.h"
#include "view/LineWork.h"

namespace vx {
namespace {

using test::AddFreeLine;
using test::AddFreeTextFrame;
using test::TestLayout;

struct PointCase {
    PixelPoint p;
    int code;
};

// Zoom 1 at 96 pixels per inch, the page at (10, 10), not scrolled, page 1 shown.
ViewMapping PageMapping(int32_t num = 1, int32_t den = 1) {
    ViewMapping m;
    m.scale = {num, den, {96, 96}};
    m.pageOffset = {10, 10};
    m.paperHeight = 4209;
    return m;
}

struct LineHits : testing::Test {
    TestLayout t{2976, 4209, 0};
    CLineObj* line = AddFreeLine(t.layout, {720, 720}, {2137, 720});

    void CheckAll(const ViewMapping& m, const std::vector<PointCase>& cases) {
        for (const PointCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.p.x << ", " << c.p.y);
            EXPECT_EQ(HitTestLineItem(m, *line, c.p), c.code);
        }
    }
};

// The start lies at pixel (202, 202); half the thickness is 13.3 pixels.
TEST_F(LineHits, HandlesBeforeBodyWithinHalfTheThickness) {
    ASSERT_EQ(line->GetThickness(), 100);
    CheckAll(PageMapping(), {{{199, 202}, kHitTopLeft},
                             {{203, 202}, kHitTopLeft},
                             {{199, 199}, kHitTopLeft},
                             {{204, 202}, kHitMiddle},
                             {{198, 202}, kHitNothing},
                             {{300, 215}, kHitMiddle},
                             {{300, 189}, kHitMiddle},
                             {{300, 216}, kHitNothing},
                             {{300, 188}, kHitNothing},
                             {{577, 202}, kHitBottomRight},
                             {{581, 204}, kHitBottomRight},
                             {{576, 202}, kHitMiddle},
                             {{590, 202}, kHitNothing}});
}

TEST_F(LineHits, StartHandleWinsWhereTheHandlesOverlap) {
    CLineObj* shortLine = AddFreeLine(t.layout, {720, 720}, {862, 720});
    const ViewMapping m = PageMapping(1, 33);
    // Start at pixel 15, end at 16: their squares overlap.
    EXPECT_EQ(HitTestLineItem(m, *shortLine, {15, 15}), kHitTopLeft);
    EXPECT_EQ(HitTestLineItem(m, *shortLine, {13, 13}), kHitTopLeft);
    EXPECT_EQ(HitTestLineItem(m, *shortLine, {18, 17}), kHitBottomRight);
}

TEST_F(LineHits, ItemOfAnotherPageOnlyWhileDraggedSelected) {
    CLineObj* below = AddFreeLine(t.layout, {720, 4209 + 720}, {2137, 4209 + 720});
    ViewMapping m = PageMapping();
    EXPECT_EQ(HitTestLineItem(m, *below, {300, 202}), kHitNothing);
    below->SetSelected(1);
    EXPECT_EQ(HitTestLineItem(m, *below, {300, 202}), kHitNothing);
    m.dragState = 2;
    EXPECT_EQ(HitTestLineItem(m, *below, {300, 202}), kHitMiddle);
    m.currentPage = 1;
    m.dragState = 0;
    below->SetSelected(0);
    EXPECT_EQ(HitTestLineItem(m, *below, {300, 202}), kHitMiddle);
    EXPECT_EQ(HitTestLineItem(m, *line, {300, 202}), kHitNothing);
}

TEST_F(LineHits, ScrollMovesTheHits) {
    ViewMapping m = PageMapping();
    m.scroll = {100, 50};
    EXPECT_EQ(HitTestLineItem(m, *line, {99, 152}), kHitTopLeft);
    EXPECT_EQ(HitTestLineItem(m, *line, {199, 202}), kHitNothing);
}

// Heads at both ends, filled and open: the stored tip lies in the region, the pixels
// just inside the tip hit the head, and a point beside the head misses although it
// lies in the head's bounding box.
TEST_F(LineHits, ArrowHeadsAreHitAsDrawn) {
    const ViewMapping m = PageMapping();
    for (int fill : {1, 0}) {
        SCOPED_TRACE(fill ? "filled" : "open");
        line->SetArrowMark(2);
        line->SetArrowFill(fill);
        line->SetArrowAngle(60);
        line->SetArrowSize(1);
        MoveFreeLineEnd(*line, 0, 0, 1);
        const gfx::geom::Region region = GetLineItemRegion(m, *line);
        EXPECT_EQ(region.Polygons().size(), fill ? 3u : 9u);
        const double endX = 10 + 2137 * 96.0 / 360;
        EXPECT_TRUE(region.Contains({202, 202}));
        EXPECT_TRUE(region.Contains({endX, 202}));
        EXPECT_FALSE(region.Contains({endX + 1, 202}));
        EXPECT_FALSE(region.Contains({201, 202}));
        EXPECT_EQ(HitTestLineItem(m, *line, {206, 202}), kHitMiddle);
        EXPECT_EQ(HitTestLineItem(m, *line, {574, 202}), kHitMiddle);
        EXPECT_EQ(HitTestLineItem(m, *line, {212, 222}), kHitNothing);
        EXPECT_EQ(HitTestLineItem(m, *line, {566, 182}), kHitNothing);
    }
}

// The open head's strokes: the wings are hit, the hollow between them and the line is
// not.
TEST_F(LineHits, OpenHeadIsHollow) {
    line->SetArrowMark(1);
    line->SetArrowFill(0);
    line->SetArrowAngle(90);
    line->SetArrowSize(3);
    MoveFreeLineEnd(*line, 0, 0, 1);
    const ViewMapping m = PageMapping();
    const FreeLineShape shape = ComputeFreeLineShape(*line, m.PageToClientD(line->GetPosition().x, line->GetPosition().y),
                                                     m.scale.XPerUnit(), m.scale.YPerUnit());
    ASSERT_EQ(shape.heads.size(), 1u);
    const auto& head = shape.heads[0].polygon.points;
    const gfx::geom::Region region = GetLineItemRegion(m, *line);
    EXPECT_TRUE(region.Contains(head[1]));
    EXPECT_TRUE(region.Contains(head[2]));
    // Between a stroke and the line, well away from both.
    const gfx::geom::Point onStroke{head[0].x + 0.7 * (head[1].x - head[0].x), head[0].y + 0.7 * (head[1].y - head[0].y)};
    const gfx::geom::Point hollow{onStroke.x, (onStroke.y + head[0].y) / 2};
    ASSERT_GT(std::abs(hollow.y - head[0].y), 20);
    EXPECT_FALSE(region.Contains(hollow));
}

TEST(TextHits, RotatedFrameNotItsBoundingBox) {
    TestLayout t{2976, 4209, 0};
    // A square turned by 45 degrees around (1500, 2500).
    CTextObj* text = AddFreeTextFrame(t.layout, {{{1500, 2000}, {2000, 2500}, {1500, 3000}, {1000, 2500}}});
    CTextObj* below =
        AddFreeTextFrame(t.layout, {{{1500, 6209}, {2000, 6709}, {1500, 7209}, {1000, 6709}}});
    const ViewMapping m = PageMapping();
    const PixelPoint centre{10 + 1500 * 96 / 360, 10 + 2500 * 96 / 360};
    const PixelPoint corner{10 + 1010 * 96 / 360, 10 + 2010 * 96 / 360};
    EXPECT_EQ(HitTestTextItem(m, *text, centre), kHitMiddle);
    EXPECT_EQ(HitTestTextItem(m, *text, corner), kHitNothing);
    EXPECT_EQ(HitTestTextItem(m, *below, centre), kHitNothing);
}

TEST(ItemTrackerHits, HandlesAsDrawnThenInside) {
    const ItemTracker tracker({100, 100, 200, 160});
    const std::vector<PointCase> cases{
        {{97, 97}, kHitTopLeft},     {{101, 101}, kHitTopLeft},  {{102, 102}, kHitMiddle},
        {{148, 97}, kHitTop},        {{198, 97}, kHitTopRight},  {{198, 128}, kHitRight},
        {{198, 158}, kHitBottomRight}, {{148, 158}, kHitBottom}, {{97, 158}, kHitBottomLeft},
        {{97, 128}, kHitLeft},       {{96, 96}, kHitNothing},    {{150, 130}, kHitMiddle},
        {{203, 130}, kHitNothing},   {{150, 163}, kHitNothing}};
    for (const PointCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << ", " << c.p.y);
        EXPECT_EQ(tracker.HitTest(c.p), c.code);
    }
    // Each handle's square is where the view draws it.
    for (int index = 1; index <= 8; ++index) {
        const PixelPoint s = tracker.HandleSquare(index);
        EXPECT_EQ(tracker.HitTest(s), HandleHitCode(index)) << index;
        EXPECT_EQ(tracker.HitTest({s.x + 4, s.y + 4}), HandleHitCode(index)) << index;
    }
}

TEST(ItemTrackerHits, TinyItemsKeepAnInside) {
    const ItemTracker tracker({50, 50, 51, 50});
    EXPECT_EQ(tracker.Rect(), (PixelRect{50, 50, 62, 62}));
    EXPECT_EQ(tracker.HitTest({56, 56}), kHitMiddle);
}

TEST(ItemTrackerHits, SetupPlacesItemRelativeToItsPage) {
    TestLayout t{2976, 4209, 0};
    CImageObj* image = t.Add(708, 708, 720, 4209 + 720);
    ViewMapping m = PageMapping();
    m.scroll = {0, 5};
    PixelRect trueRect;
    const ItemTracker tracker = SetupObjectTracker(m, *image, &trueRect);
    EXPECT_EQ(tracker.Rect(), (PixelRect{202, 197, 390, 385}));
    EXPECT_EQ(trueRect, (PixelRect{199, 194, 393, 388}));
    image->SetFrame({40, 40, 40, 40});
    EXPECT_EQ(GetMinTrackSize(m, *image), (PixelPoint{59, 59}));
    m.scale = {1, 33, {96, 96}};
    EXPECT_EQ(GetMinTrackSize(m, *image), (PixelPoint{1, 1}));
}

}  // namespace
}  // namespace vx
