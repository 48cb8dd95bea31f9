#include <gtest/gtest.h>

#include "ViewCoreFixture.h"
#include "model/NewItemPlacement.h"
#include "model/PageChange.h"
#include "model/PageGeometry.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/ImageSurface.h"
#include "view/RulerCommand.h"

namespace vx {
namespace {

using test::ViewCoreTest;

TEST_F(ViewCoreTest, InitialUpdateFitsShowsTheZoomAndFitsAgainLater) {
    // 400 x 300 less 31: 269 of the page's 266 pixels high.
    EXPECT_EQ(Zoom(), (ZoomRatio{269, 266}));
    ASSERT_FALSE(tools.zooms.empty());
    EXPECT_EQ(tools.zooms.back(), (ZoomRatio{269, 266}));
    EXPECT_EQ(window.posted.size(), 2u);
    window.client = {800, 600};
    window.RunPosted();
    EXPECT_EQ(Zoom(), (ZoomRatio{569, 266}));
    EXPECT_EQ(tools.zooms.back(), (ZoomRatio{569, 266}));
}

TEST_F(ViewCoreTest, DeferredClearKeepsTheMarkOfAnEditMadeBeforeIt) {
    t.layout.SetDirty(1);
    window.RunPosted();
    EXPECT_EQ(t.layout.GetDirty(), 0);

    // A second layout given an image (with its snapshot) before the deferred step.
    core.OnInitialUpdate(&t.layout);
    undo.PushUndo(t.layout, 36);
    t.Add(300, 200, 100, 100);
    t.layout.SetDirty(1);
    window.RunPosted();
    EXPECT_EQ(t.layout.GetDirty(), 1);
}

TEST_F(ViewCoreTest, ZoomCommandsStepAndShowTheRatioInTheBar) {
    SetZoomPair({450, 1000});
    core.OnCommand(kCmdViewZoomIn);
    EXPECT_EQ(Zoom(), (ZoomRatio{1, 2}));
    EXPECT_EQ(tools.zooms.back(), (ZoomRatio{1, 2}));
    EXPECT_EQ(t.layout.GetViewState()->previousZoomNumerator, 450);
    core.OnCommand(kCmdViewZoomOut);
    core.OnCommand(kCmdViewZoomOut);
    EXPECT_EQ(Zoom(), (ZoomRatio{1, 4}));
    // The view is frozen while the scroll position follows the zoom.
    EXPECT_EQ(window.redraws.back(), true);
    core.OnCommand(kCmdViewZoomFit);
    EXPECT_EQ(Zoom(), (ZoomRatio{269, 266}));
    EXPECT_TRUE(core.SetZoom(250, 100));
    EXPECT_EQ(Zoom(), (ZoomRatio{250, 100}));
    EXPECT_FALSE(core.SetZoom(0, 100));
}

TEST_F(ViewCoreTest, ZoomKeepsTheCentreAndALaterUpdateKeepsThePosition) {
    t.layout.SetPaper({12000, 10000});
    core.SetZoom(1, 2);
    core.ScrollTo({300, 0});
    EXPECT_EQ(core.ScrollPosition().x, 300);
    core.SetZoom(1, 1);
    EXPECT_EQ(core.ScrollPosition().x, 800);
    EXPECT_EQ(window.shownPosition.x, 800);
    // A relayout at the same zoom leaves the position alone.
    core.OnViewUpdate({kViewHintZoom, std::nullopt});
    EXPECT_EQ(core.ScrollPosition().x, 800);
    // A smaller client after a resize clamps it into the range.
    core.SetZoom(1, 8);
    EXPECT_LE(core.ScrollPosition().x, std::max(0, core.Sizes().total.x - 400));
}

TEST_F(ViewCoreTest, WheelScrollsTwelvePixelsANotchAndZoomsWithCtrl) {
    t.layout.SetPaper({12000, 10000});
    core.SetZoom(1, 1);
    core.ScrollTo({0, 100});
    core.OnWheel(120, false);
    EXPECT_EQ(core.ScrollPosition().y, 88);
    EXPECT_GT(window.paints, 0);
    for (int i = 0; i < 15; ++i) core.OnWheel(8, false);
    EXPECT_EQ(core.ScrollPosition().y, 76);
    core.ScrollTo({0, 0});
    core.OnWheel(120, false);
    EXPECT_EQ(core.ScrollPosition().y, 0);
    core.OnWheel(120, true);
    EXPECT_EQ(Zoom(), (ZoomRatio{2, 1}));
    core.OnWheel(-120, true);
    EXPECT_EQ(Zoom(), (ZoomRatio{1, 1}));
}

TEST_F(ViewCoreTest, ScrollBarActionsMoveByLinesAndHalfPages) {
    t.layout.SetPaper({12000, 10000});
    core.SetZoom(1, 1);
    core.OnScroll(true, ScrollAction::LineDown, 0);
    EXPECT_EQ(core.ScrollPosition().y, 12);
    core.OnScroll(true, ScrollAction::PageDown, 0);
    EXPECT_EQ(core.ScrollPosition().y, 162);
    core.OnScroll(false, ScrollAction::Track, 999999);
    EXPECT_EQ(core.ScrollPosition().x, core.Sizes().total.x - 400);
    core.OnScroll(true, ScrollAction::PageUp, 0);
    core.OnScroll(true, ScrollAction::PageUp, 0);
    EXPECT_EQ(core.ScrollPosition().y, 0);
}

TEST_F(ViewCoreTest, NewFreeTextCentresInTheVisiblePartOfTheShownPage) {
    SetZoomPair({1, 2});
    core.SetCurrentPage(1);
    CTextObj* text = t.Add<CTextObj>(300, 200);
    PlaceNewObject(*text);
    EXPECT_EQ(text->GetPosition(), (LayoutPoint{450, 1400}));
    EXPECT_EQ(core.GetVisibleOrigin(), (LayoutRect{0, 0, 1200, 1000}));
}

TEST_F(ViewCoreTest, PageCommandsFollowTheUpdateRules) {
    struct Case {
        const char* what;
        int pages;
        int current;
        std::vector<int> enabled;
    };
    const std::vector<int> all = {kCmdGoToPage, kCmdFirstPage, kCmdPrevPage, kCmdNextPage, kCmdLastPage,
                                  kCmdInsertPageBefore, kCmdInsertPageAfter, kCmdDeletePage};
    for (const Case& c : {Case{"one page", 1, 0, {kCmdInsertPageBefore, kCmdInsertPageAfter}},
                          Case{"last of three", 3, 2,
                               {kCmdGoToPage, kCmdFirstPage, kCmdPrevPage, kCmdInsertPageBefore, kCmdInsertPageAfter,
                                kCmdDeletePage}},
                          Case{"first of three", 3, 0,
                               {kCmdGoToPage, kCmdNextPage, kCmdLastPage, kCmdInsertPageBefore, kCmdInsertPageAfter,
                                kCmdDeletePage}}}) {
        SCOPED_TRACE(c.what);
        t.layout.SetPageNumber(int16_t(c.pages));
        core.SetCurrentPage(c.current);
        for (int id : all) {
            const bool expected = std::find(c.enabled.begin(), c.enabled.end(), id) != c.enabled.end();
            EXPECT_EQ(State(id).enabled, expected) << id;
        }
    }
}

TEST_F(ViewCoreTest, InsertAndDeleteAreRefusedWhereTheyCannotApply) {
    struct Case {
        const char* what;
        std::function<void(CLayoutSetting&)> set;
    };
    for (const Case& c : {Case{"automatic layout", [](CLayoutSetting& l) { l.SetFree(0); }},
                          Case{"banner", [](CLayoutSetting& l) { l.SetBanner(1); }},
                          Case{"at the page maximum", [](CLayoutSetting& l) { l.SetPageMax(3); }},
                          Case{"90 ppi with one page more", [](CLayoutSetting& l) {
                                   l.SetPaperWidth(100000);
                                   l.SetPaperLength(1500);
                               }}}) {
        SCOPED_TRACE(c.what);
        test::TestLayout other;
        other.layout.SetType(kRecordTypeLayout);
        other.layout.SetFree(1);
        other.layout.SetPageNumber(3);
        c.set(other.layout);
        EXPECT_FALSE(PageCommandState(kCmdInsertPageBefore, other.layout, 0).enabled);
        EXPECT_FALSE(PageCommandState(kCmdInsertPageAfter, other.layout, 0).enabled);
    }
    core.SetCurrentPage(1);
    EXPECT_TRUE(State(kCmdDeletePage).enabled);
    t.Add(300, 200, 100, 1100);  // on page 2
    EXPECT_FALSE(State(kCmdDeletePage).enabled);
    EXPECT_TRUE(CurrentPageHasItems(t.layout));
}

TEST_F(ViewCoreTest, InsertBeforeMovesLaterPagesAndOneUndoRestoresThem) {
    CImageObj* first = t.Add(300, 200, 100, 100);       // page 1
    CImageObj* second = t.Add(300, 200, 100, 1100);     // page 2
    CImageObj* third = t.Add(300, 200, 100, 2100);      // page 3
    CImageObj* straddling = t.Add(300, 400, 100, 800);  // pages 1 and 2
    const uint32_t ids[] = {first->GetObjectId(), second->GetObjectId(), third->GetObjectId(),
                            straddling->GetObjectId()};
    core.SetCurrentPage(1);
    core.OnCommand(kCmdInsertPageBefore);
    EXPECT_EQ(t.layout.GetPageNumber(), 4);
    EXPECT_EQ(core.GetCurrentPage(), 2);
    EXPECT_EQ(first->GetPosition().y, 100);
    EXPECT_EQ(second->GetPosition().y, 2100);
    EXPECT_EQ(third->GetPosition().y, 3100);
    EXPECT_EQ(straddling->GetPosition().y, 800);
    EXPECT_EQ(status.updates.back().code, kStatusReady);

    ASSERT_TRUE(undo.CanUndo());
    undo.PerformUndo(t.layout);
    EXPECT_EQ(t.layout.GetPageNumber(), 3);
    const int32_t ys[] = {100, 1100, 2100, 800};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetItemPosition(*FindObjectById(t.layout.ItemListHead(), ids[i])).y, ys[i]) << i;
}

TEST_F(ViewCoreTest, InsertAfterTheLastPageAndDeleteOfTheEmptyPageComeBack) {
    t.Add(300, 200, 100, 2100);  // page 3
    core.OnCommand(kCmdLastPage);
    core.OnCommand(kCmdInsertPageAfter);
    EXPECT_EQ(t.layout.GetPageNumber(), 4);
    EXPECT_EQ(core.GetCurrentPage(), 2);
    core.OnCommand(kCmdNextPage);
    EXPECT_EQ(core.GetCurrentPage(), 3);
    ASSERT_TRUE(State(kCmdDeletePage).enabled);
    core.OnCommand(kCmdDeletePage);
    EXPECT_EQ(t.layout.GetPageNumber(), 3);
    EXPECT_EQ(core.GetCurrentPage(), 2);
    EXPECT_EQ(t.layout.GetFirstItem()->NextItem(), nullptr);
    EXPECT_EQ(GetItemPosition(*t.layout.GetFirstItem()).y, 2100);
}

TEST_F(ViewCoreTest, NavigationStaysInsideThePages) {
    core.OnCommand(kCmdPrevPage);
    EXPECT_EQ(core.GetCurrentPage(), 0);
    core.OnCommand(kCmdLastPage);
    EXPECT_EQ(core.GetCurrentPage(), 2);
    core.NextPage();
    EXPECT_EQ(core.GetCurrentPage(), 2);
    core.OnCommand(kCmdFirstPage);
    EXPECT_EQ(core.GetCurrentPage(), 0);
    core.SetCurrentPage(7);
    EXPECT_EQ(core.GetCurrentPage(), 2);
    core.SetCurrentPage(-3);
    EXPECT_EQ(core.GetCurrentPage(), 0);
}

TEST_F(ViewCoreTest, GoToPageAsksAndShowsTheChosenPage) {
    window.pageAnswer = 3;
    core.OnCommand(kCmdGoToPage);
    EXPECT_EQ(window.pagesAsked.back(), (std::pair<int, int>{1, 3}));
    EXPECT_EQ(core.GetCurrentPage(), 2);
    window.pageAnswer.reset();
    core.OnCommand(kCmdGoToPage);
    EXPECT_EQ(core.GetCurrentPage(), 2);
    t.layout.SetPageNumber(1);
    core.OnCommand(kCmdGoToPage);
    EXPECT_EQ(window.pagesAsked.size(), 2u);
}

TEST_F(ViewCoreTest, AnUndoThatRemovesThePageLeavesTheDrawnPageValid) {
    core.OnCommand(kCmdLastPage);
    core.OnCommand(kCmdInsertPageAfter);
    core.OnCommand(kCmdLastPage);
    EXPECT_EQ(core.GetCurrentPage(), 3);
    undo.PerformUndo(t.layout);
    EXPECT_EQ(t.layout.GetPageNumber(), 3);
    gfx::ImageSurface surface(400, 300, true);
    gfx::Canvas canvas(surface.Native(), 96);
    view.PaintView(canvas, core.ClientToDocRect());
    EXPECT_EQ(core.GetCurrentPage(), 2);
}

TEST_F(ViewCoreTest, RulersMoveThePageAndTheirMarksRepaintOnlyTheBands) {
    core.SetZoom(2, 1);  // larger than the client: the offset is the least one
    const ViewPageRect before = core.GetPageRect();
    EXPECT_EQ(before.offset, (PixelPoint{10, 10}));
    EXPECT_EQ(RulerCommandState().text, "Lineal anzeigen\tCtrl+R");
    core.OnMouseMove({50, 60});
    EXPECT_TRUE(window.rulerBands.empty());

    ToggleRulers();
    EXPECT_EQ(app.preferences.ruler, 1);
    EXPECT_EQ(RulerCommandState().text, "Lineal ausblenden\tCtrl+R");
    EXPECT_TRUE(RulerCommandState().enabled);
    EXPECT_EQ(core.GetPageRect().offset, (PixelPoint{30, 30}));
    EXPECT_EQ(window.shownSizes.total.x, 640 + 2 * 30 - 20);

    const int full = window.invalidations;
    core.OnMouseMove({50, 60});
    ASSERT_EQ(window.rulerBands.size(), 1u);
    EXPECT_EQ(window.rulerBands[0].first, (PixelRect{0, 0, 400, 20}));
    EXPECT_EQ(window.rulerBands[0].second, (PixelRect{0, 0, 20, 300}));
    EXPECT_EQ(window.invalidations, full);
    ASSERT_TRUE(view.rulerPointer.has_value());
    // In logical pixels: the scroll position is added.
    EXPECT_EQ(*view.rulerPointer, (PixelPoint{core.ScrollPosition().x + 50, core.ScrollPosition().y + 60}));
    ToggleRulers();
    EXPECT_EQ(core.GetPageRect().offset, before.offset);
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST_F(ViewCoreTest, RulersDrawBandsTicksAndThePointerMarks) {
    app.preferences.ruler = 1;
    t.layout.SetUnit(1);
    core.SetZoom(1, 1);
    const gfx::SystemColours theme = gfx::GetSystemColours();
    gfx::SetSystemColours({0xC8D0D4, 0x000000, 0xFFFFFF});  // face 0xD4D0C8 as RGB
    core.OnMouseMove({300, 200});
    gfx::ImageSurface surface(400, 300, true);
    gfx::Canvas canvas(surface.Native(), 96);
    ASSERT_EQ(view.PaintView(canvas, core.ClientToDocRect()), PaintResult::Drawn);
    const auto rgb = [&](int x, int y) { return surface.Pixel(x, y) & 0xFFFFFF; };
    // The page at 320 x 266 pixels lies at (50, 30): 30 + 20 and 10 + 20.
    EXPECT_EQ(core.GetPageRect().offset, (PixelPoint{50, 30}));
    EXPECT_EQ(rgb(30, 10), 0xD4D0C8u);  // horizontal band left of the page
    EXPECT_EQ(rgb(10, 25), 0xD4D0C8u);  // vertical band above the page
    // The 20 mm tick: 50 + trunc(200 / 847 x 320) = 125, from the band's bottom up 18,
    // with its highlight beside it.
    EXPECT_EQ(rgb(125, 19), 0x000000u);
    EXPECT_EQ(rgb(125, 3), 0x000000u);
    EXPECT_EQ(rgb(126, 19), 0xFFFFFFu);
    EXPECT_EQ(rgb(128, 19), 0xD4D0C8u);
    // On the vertical ruler: 30 + trunc(200 / 706 x 266) = 105.
    EXPECT_EQ(rgb(19, 105), 0x000000u);
    EXPECT_EQ(rgb(19, 108), 0xD4D0C8u);
    // The pointer's red marks across both bands.
    EXPECT_EQ(rgb(300, 10), 0xFF0000u);
    EXPECT_EQ(rgb(10, 200), 0xFF0000u);
    EXPECT_NE(rgb(300, 30), 0xFF0000u);

    // A ruler-only repaint draws the marks at the new place over the old picture.
    core.OnMouseMove({200, 150});
    ASSERT_EQ(view.PaintRulers(canvas, core.ClientToDocRect()), PaintResult::Drawn);
    EXPECT_EQ(rgb(200, 10), 0xFF0000u);
    EXPECT_NE(rgb(300, 10), 0xFF0000u);
    gfx::SetSystemColours(theme);
}

TEST_F(ViewCoreTest, APaperWithoutHeightShowsTheVerticalBandWithoutTicks) {
    app.preferences.ruler = 1;
    t.layout.SetPaper({1200, 0});
    core.SetZoom(1, 1);
    gfx::ImageSurface surface(400, 300, true);
    gfx::Canvas canvas(surface.Native(), 96);
    ASSERT_EQ(view.PaintView(canvas, core.ClientToDocRect()), PaintResult::Drawn);
    EXPECT_EQ(surface.Pixel(10, 150) & 0xFFFFFF, surface.Pixel(10, 250) & 0xFFFFFF);
}

}  // namespace
}  // namespace vx
