#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MouseFixture.h"
#include "host/Shell.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/Relayout.h"
#include "model/ViewStateBlock.h"
#include "platform/system/StringTable.h"
#include "view/HitTesting.h"
#include "view/ResizeItems.h"

namespace vx {
namespace {

using test::AddFreeLine;
using test::DescribeByName;
using test::MouseTest;

PixelPoint Centre(const PixelRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

struct DragMoves : MouseTest {
    PixelPoint CentreOf(const CLayoutObj& item) const { return Centre(view.SetupObjectTracker(item).Rect()); }
    std::vector<uint32_t> Order() const {
        std::vector<uint32_t> ids;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) ids.push_back(p->GetObjectId());
        return ids;
    }
};

TEST_F(DragMoves, ClickSelectsAndReleasesTheMouse) {
    image2->SetSelected(1);
    Click(Px(1000, 1000));
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
    EXPECT_EQ(layout.GetCurrentItem(), image1);
    EXPECT_FALSE(drag.Tracking());
    EXPECT_EQ(view.GetDragState(), 0);
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{720, 720}));
}

// 30 pixels are 112.5 units and 15 pixels 56.25: the total travel decides, however the
// motions arrive.
TEST_F(DragMoves, TravelIsConvertedWholeNotPerMotion) {
    for (int steps : {1, 30, 3}) {
        SCOPED_TRACE(steps);
        image1->SetPosition(720, 720);
        Drag(Px(1000, 1000), {30, 15}, steps);
        EXPECT_EQ(image1->GetPosition(), (LayoutPoint{832, 776}));
        EXPECT_EQ(layout.GetDirty(), 1);
        EXPECT_EQ(status.updates.back().code, kStatusReady);
    }
}

// The page scrolled under a held button: the travel on the page counts.
TEST_F(DragMoves, TravelFollowsTheScroll) {
    const PixelPoint from = Px(1000, 1000);
    drag.Press(from, {});
    drag.Motion({from.x + 10, from.y}, {});
    window.scroll = {0, 100};
    drag.Motion({from.x + 30, from.y + 15 - 100}, {});
    drag.Release({from.x + 30, from.y + 15 - 100}, {});
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{832, 776}));
}

TEST_F(DragMoves, ShiftClickAddsAndTheSelectionMovesTogether) {
    Click(Px(1000, 1000));
    Click(Px(1900, 1000), {true, false});
    EXPECT_EQ(Selected(), (std::vector<CLayoutObj*>{image1, image2}));
    Drag(Px(1900, 1000), {-8, 0});
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{690, 720}));
    EXPECT_EQ(image2->GetPosition(), (LayoutPoint{1570, 720}));
}

TEST_F(DragMoves, ShiftClickInsideASelectedImageDeselectsAndStartsNoDrag) {
    image1->SetSelected(1);
    drag.Press(Px(1000, 1000), {true, false});
    EXPECT_FALSE(drag.Tracking());
    drag.Motion(Px(1100, 1100), {true, false});
    drag.Release(Px(1100, 1100), {true, false});
    EXPECT_EQ(image1->GetSelected(), 0);
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{720, 720}));
}

TEST_F(DragMoves, OnePixelAtZoom16IsOneUnitNinePixelsTwo) {
    ViewStateBlock* block = layout.GetViewState();
    block->zoomNumerator = 16;
    window.pageSize = {100000, 100000};
    const PixelPoint from = CentreOf(*image1);
    Drag(from, {1, 0});
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{721, 720}));
    Drag(from, {0, 9}, 9);
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{721, 722}));
    EXPECT_EQ(block->statusB, 722 * 16);
}

TEST_F(DragMoves, ItemsStayOnTheirOwnPage) {
    drag.Press(Px(1000, 1000), {});
    for (int i = 1; i <= 4; ++i) drag.Motion({Px(1000, 1000).x - 100 * i, Px(1000, 1000).y + 500 * i}, {});
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{0, 4208}));
    drag.Release({Px(1000, 1000).x - 400, Px(1000, 1000).y + 2000}, {});
    // The relayout then brings it back inside its page.
    EXPECT_EQ(PageOfY(layout, image1->GetPosition().y), 1);
    EXPECT_EQ(view.GetCurrentPage(), 0);
}

TEST_F(DragMoves, LineEndsFollowTheirHandles) {
    CLineObj* line = AddFreeLine(layout, {720, 2000}, {2137, 2000});
    Click(Px(1400, 2000));
    ASSERT_EQ(line->GetSelected(), 1);
    // The second end moves by what MoveFreeLineEnd makes of the whole travel.
    auto expected = std::make_unique<CLineObj>(true);
    expected->CopyFrom(*line, false);
    MoveFreeLineEnd(*expected, 112, 56, 1);
    Drag(Px(2137, 2000), {30, 15}, 30);
    EXPECT_EQ(line->GetPosition(), expected->GetPosition());
    EXPECT_EQ(line->GetOffsetEnd(), expected->GetOffsetEnd());
    EXPECT_EQ(line->GetOffsetStart(), expected->GetOffsetStart());
    // The first end stops on the left margin.
    Drag(Px(720, 2000), {-300, 0}, 10);
    EXPECT_EQ(GetItemDrawOrigin(*line), (LayoutPoint{0, 2000}));
    EXPECT_EQ(line->GetPosition().x + line->GetOffsetEnd().x, 2137 + 112);
}

TEST_F(DragMoves, HandleDraggedPastTheOppositeEdgeStopsAtTheMinimum) {
    Click(Px(1900, 1000));
    const PixelPoint handle = view.SetupObjectTracker(*image2).HandleSquare(1);
    Drag(handle, {400, 400}, 5);
    EXPECT_EQ(image2->GetSizeD(), (LayoutPointD{142, 142}));
    EXPECT_DOUBLE_EQ(image2->GetPositionD().x + image2->GetSizeD().x, 1600 + 708);
    EXPECT_DOUBLE_EQ(image2->GetPositionD().y + image2->GetSizeD().y, 720 + 708);
    EXPECT_EQ(status.updates.back().code, kStatusReady);
}

TEST_F(DragMoves, ResizeGivesWhatTheTrackedRectangleAsks) {
    Click(Px(1900, 1000));
    const PixelRect before = view.SetupObjectTracker(*image2).Rect();
    const PixelPoint handle = view.SetupObjectTracker(*image2).HandleSquare(5);
    const PixelPoint from{handle.x + 2, handle.y + 2};
    drag.Press(from, {});
    drag.Motion({from.x + 30, from.y + 30}, {});
    // The tracker was (before) with its bottom-right corner moved by 30 pixels.
    const double w = (before.right - before.left + 30) * 3.75, h = (before.bottom - before.top + 30) * 3.75;
    EXPECT_EQ(image2->GetSizeD(), (LayoutPointD{w, h}));
    EXPECT_EQ(image2->GetPosition(), (LayoutPoint{1600, 720}));
    // Each step starts from the size the last one left, less its fraction.
    drag.Motion({from.x + 20, from.y + 20}, {});
    drag.Motion({from.x + 30, from.y + 30}, {});
    drag.Release({from.x + 30, from.y + 30}, {});
    EXPECT_NEAR(image2->GetSizeD().x, w, 1);
    EXPECT_NEAR(image2->GetSizeD().y, h, 1);
}

TEST_F(DragMoves, CtrlClickPutsTheItemBehindAllOthersInFreeLayoutOnly) {
    const std::vector<uint32_t> order = Order();
    Click(Px(1900, 1000), {false, true});
    EXPECT_EQ(Order(), (std::vector<uint32_t>{order[1], order[0]}));
    EXPECT_EQ(undo.GetLastUndoCode(), 14);
    EXPECT_EQ(layout.GetDirty(), 1);

    UndoStore fresh;
    app.undo = &fresh;
    layout.SetFree(0);
    layout.SetDirty(0);
    Click(Px(1000, 1000), {false, true});
    EXPECT_EQ(Order(), (std::vector<uint32_t>{order[1], order[0]}));
    EXPECT_FALSE(fresh.CanUndo());
    EXPECT_EQ(layout.GetDirty(), 0);
}

TEST_F(DragMoves, SnappingPutsTheReleasedOriginOnTheGrid) {
    app.preferences.snapToGrid = 1;
    app.preferences.gridX = 70;
    app.preferences.gridY = 70;
    Drag(Px(1000, 1000), {30, 15}, 3);
    LayoutPoint expected{832, 776};
    SnapPointToGrid(layout, expected, 70, 70);
    EXPECT_EQ(image1->GetPosition(), expected);
    EXPECT_EQ(expected, (LayoutPoint{840, 770}));
    // A click without travel is not snapped.
    image1->SetPosition(832, 776);
    Click(Px(1000, 1000));
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{832, 776}));
}

TEST_F(DragMoves, LongDragIsOneUndoStepBackToTheStart) {
    Drag(Px(1000, 1000), {100, 60}, 50);
    ASSERT_TRUE(undo.CanUndo());
    EXPECT_EQ(undo.GetLastUndoCode(), kUndoCodeDragStep);
    EXPECT_EQ(FindObjectById(undo.GetUndoLayout()->ItemListHead(), image1->GetObjectId())->GetPosition(),
              (LayoutPoint{720, 720}));
}

struct DragCancel : DragMoves {
    std::string layoutBefore, undoBefore;
    void SetUp() override {
        DragMoves::SetUp();
        image1->SetSelected(1);
        // The user's own undo from before the drag.
        image2->SetPosition(1700, 720);
        undo.PushUndo(layout, 7);
        image2->SetPosition(1600, 720);
        layoutBefore = DescribeByName(layout);
        undoBefore = DescribeByName(*undo.GetUndoLayout());
    }
    void ExpectAsBefore() {
        EXPECT_EQ(DescribeByName(layout), layoutBefore);
        ASSERT_TRUE(undo.CanUndo());
        EXPECT_EQ(DescribeByName(*undo.GetUndoLayout()), undoBefore);
        EXPECT_FALSE(drag.Tracking());
        EXPECT_EQ(view.GetDragState(), 0);
    }
};

TEST_F(DragCancel, EscRightPressOrLostCaptureDuringADragPutEverythingBack) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        drag.Press(Px(1000, 1000), {});
        drag.Motion(Px(1010, 1000), {});
        drag.Motion(Px(1050, 1030), {});
        EXPECT_NE(DescribeByName(layout), layoutBefore);
        if (way == 0) drag.KeyDown(kKeyEscape, {});
        else if (way == 1) drag.RightPress();
        else drag.CaptureLost();
        ExpectAsBefore();
        // The release that follows does nothing more.
        drag.Release(Px(1050, 1030), {});
        ExpectAsBefore();
    }
}

TEST_F(DragCancel, EscBeforeAnyMotionChangesNothing) {
    drag.Press(Px(1000, 1000), {});
    drag.KeyDown(kKeyEscape, {});
    ExpectAsBefore();
    EXPECT_EQ(undo.GetLastUndoCode(), 7);
}

TEST_F(DragCancel, ResizeRefusedByTheRelayoutAtTheReleaseLeavesNoTrace) {
    layout.SetFree(0);
    layout.SetPageMax(1);
    t.Add(708, 708);
    ASSERT_EQ(Relayout(layout), 1);
    layout.SetDirty(0);
    image1->SetSelected(1);
    undo.PushUndo(layout, 7);
    layoutBefore = DescribeByName(layout);
    undoBefore = DescribeByName(*undo.GetUndoLayout());
    const PixelPoint handle = view.SetupObjectTracker(*image1).HandleSquare(5);
    Drag({handle.x + 2, handle.y + 2}, {580, 770}, 4);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_PAPER_LENGTH_LIMIT});
    ExpectAsBefore();
}

using Drop = DragMoves;

TEST_F(Drop, ImageDroppedOnAnotherStandsBeforeIt) {
    CImageObj* image3 = t.Add(708, 708);
    layout.SetFree(0);
    ASSERT_EQ(Relayout(layout), 1);
    const uint32_t one = image1->GetObjectId(), two = image2->GetObjectId(), three = image3->GetObjectId();
    const PixelPoint from = CentreOf(*image3), to = CentreOf(*image1);
    Drag(from, {to.x - from.x, to.y - from.y}, 5);
    EXPECT_EQ(Order(), (std::vector<uint32_t>{three, one, two}));
    EXPECT_EQ(image3->GetLabelNumber(), 1);
}

TEST_F(Drop, SelectedImagesKeepTheirOrderBeforeTheTarget) {
    CImageObj* image3 = t.Add(708, 708);
    CImageObj* image4 = t.Add(708, 708);
    layout.SetFree(0);
    ASSERT_EQ(Relayout(layout), 1);
    image2->SetSelected(1);
    image4->SetSelected(1);
    const uint32_t ids[4] = {image1->GetObjectId(), image2->GetObjectId(), image3->GetObjectId(),
                             image4->GetObjectId()};
    const PixelPoint from = CentreOf(*image4), to = CentreOf(*image3);
    Drag(from, {to.x - from.x, to.y - from.y}, 5);
    EXPECT_EQ(Order(), (std::vector<uint32_t>{ids[0], ids[1], ids[3], ids[2]}));
    // Onto a selected image: nothing is reordered.
    const PixelPoint back = CentreOf(*image2);
    const PixelPoint again = CentreOf(*image4);
    Drag(again, {back.x - again.x, back.y - again.y}, 5);
    EXPECT_EQ(Order(), (std::vector<uint32_t>{ids[0], ids[1], ids[3], ids[2]}));
}

struct Band : DragMoves {};

TEST_F(Band, RubberBandAroundAnItemSelectsIt) {
    CTextObj* text = test::AddFreeTextFrame(layout, {{{720, 2000}, {1420, 2000}, {1420, 2400}, {720, 2400}}});
    image1->SetSelected(1);
    const PixelRect r = view.SetupObjectTracker(*text).Rect();
    drag.Press({r.right + 10, r.bottom + 10}, {});
    ASSERT_TRUE(drag.Tracking());
    drag.Motion({r.left - 10, r.top - 10}, {});
    ASSERT_TRUE(drag.Band().has_value());
    EXPECT_EQ(*drag.Band(), (PixelRect{r.left - 10, r.top - 10, r.right + 10, r.bottom + 10}));
    drag.Release({r.left - 10, r.top - 10}, {});
    EXPECT_FALSE(drag.Band().has_value());
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{text});
    // A click on empty paper deselects, with Shift it keeps the selection.
    Click({r.right + 10, r.bottom + 10}, {true, false});
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{text});
    Click({r.right + 10, r.bottom + 10});
    EXPECT_TRUE(Selected().empty());
}

TEST_F(Band, EscCancelsTheBand) {
    image1->SetSelected(1);
    drag.Press(Px(2500, 3000), {});
    drag.Motion(Px(100, 100), {});
    drag.KeyDown(kKeyEscape, {});
    EXPECT_FALSE(drag.Tracking());
    drag.Release(Px(100, 100), {});
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
}

}  // namespace
}  // namespace vx
