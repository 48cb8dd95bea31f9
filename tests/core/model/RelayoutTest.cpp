#include <gtest/gtest.h>

#include <vector>

#include "LayoutFixture.h"
#include "model/PageGeometry.h"
#include "model/Relayout.h"
#include "model/RowFlow.h"
#include "platform/system/StatusPort.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::PositionsOf;
using test::TestLayout;

// Paper 1200 x 1000, printer margins 100 (area 100..1100 x 100..900), spacing 20.
TEST(Relayout, WorkedExampleByRowAlignment) {
    struct Case { int32_t align; int32_t x1, x2, x3, x10; };
    for (const Case& c : {Case{1, 100, 420, 740, 100}, Case{2, 160, 480, 800, 800}, Case{4, 130, 450, 770, 450},
                          Case{5, 100, 450, 800, 100}}) {
        SCOPED_TRACE(c.align);
        TestLayout t;
        t.layout.SetAlign({c.align, 1});
        auto images = t.AddImages(10);
        ASSERT_EQ(Relayout(t.layout), 1);
        EXPECT_EQ(images[0]->GetPosition(), (LayoutPoint{c.x1, 100}));
        EXPECT_EQ(images[1]->GetPosition(), (LayoutPoint{c.x2, 100}));
        EXPECT_EQ(images[2]->GetPosition(), (LayoutPoint{c.x3, 100}));
        EXPECT_EQ(images[3]->GetPosition().y, 320);
        EXPECT_EQ(images[6]->GetPosition().y, 540);
        EXPECT_EQ(images[8]->GetPosition(), (LayoutPoint{c.x3, 540}));
        // The fourth row does not fit below 900 and starts on page 2.
        EXPECT_EQ(images[9]->GetPosition(), (LayoutPoint{c.x10, 1100}));
        EXPECT_EQ(t.layout.GetPageNumber(), 2);
    }
}

TEST(Relayout, PagesAlignVerticallyEachByItsOwnShift) {
    struct Case { int16_t vertical; int32_t page1, page2; };
    for (const Case& c : {Case{1, 0, 0}, Case{2, 160, 600}, Case{4, 80, 300}, Case{0, 160, 600}}) {
        SCOPED_TRACE(c.vertical);
        TestLayout t;
        t.layout.SetVerticalAlign(c.vertical);
        auto images = t.AddImages(10);
        ASSERT_EQ(Relayout(t.layout), 1);
        EXPECT_EQ(images[0]->GetPosition().y, 100 + c.page1);
        EXPECT_EQ(images[8]->GetPosition().y, 540 + c.page1);
        EXPECT_EQ(images[9]->GetPosition().y, 1100 + c.page2);
        EXPECT_EQ(t.layout.GetPageNumber(), 2);
    }
}

TEST(Relayout, ImageWiderThanTheAreaFormsARowOfItsOwn) {
    struct Case { int32_t align; int32_t flowX; };
    for (const Case& c : {Case{1, 100}, Case{2, 0}, Case{4, 50}, Case{5, 50}, Case{6, 100}}) {
        SCOPED_TRACE(c.align);
        TestLayout t;
        t.layout.SetAlign({c.align, 1});
        CImageObj* before = t.Add(300, 200);
        CImageObj* wide = t.Add(1100, 200);
        CImageObj* after = t.Add(300, 200);
        FlowImageRows(t.layout, *before, true);
        EXPECT_EQ(before->GetPosition().y, 100);
        EXPECT_EQ(wide->GetPosition(), (LayoutPoint{c.flowX, 320}));
        EXPECT_EQ(after->GetPosition().y, 540);
        // Its origin may not stay left of the margin: the relayout pulls it back.
        ASSERT_EQ(Relayout(t.layout), 1);
        EXPECT_EQ(wide->GetPosition(), (LayoutPoint{100, 320}));
    }
}

TEST(Relayout, SquareCellsCentreEachImageInACellOfItsLongerSide) {
    TestLayout t;
    t.layout.SetAlign({6, 1});
    CImageObj* a = t.Add(300, 200);
    CImageObj* tall = t.Add(100, 300);
    CImageObj* c = t.Add(300, 200);
    ASSERT_EQ(Relayout(t.layout), 1);
    EXPECT_EQ(a->GetPosition().x, 100);
    EXPECT_EQ(tall->GetPosition().x, 420 + 100);  // cell 420..720
    EXPECT_EQ(c->GetPosition().x, 740);
}

TEST(Relayout, RowItemsAlignWithinTheirRow) {
    struct Case { int32_t align; int32_t shortY; };
    for (const Case& c : {Case{1, 100}, Case{2, 200}, Case{4, 150}, Case{3, 777}}) {
        SCOPED_TRACE(c.align);
        TestLayout t;
        t.layout.SetAlign({1, c.align});
        CImageObj* tall = t.Add(300, 200);
        CImageObj* low = t.Add(300, 100, kUnplacedX, 777);
        ASSERT_EQ(Relayout(t.layout), 1);
        EXPECT_EQ(tall->GetPosition().y, 100);
        EXPECT_EQ(low->GetPosition().y, c.shortY);
    }
}

TEST(Relayout, JustifiedRowEndsAtTheRightEdgeWhateverLiesBetweenItsImages) {
    TestLayout t;
    t.layout.SetAlign({5, 1});
    auto images = t.AddImages(2);
    t.Add<CTextObj>(300, 200, 500, 600);
    auto more = t.AddImages(8);
    ASSERT_EQ(Relayout(t.layout), 1);
    EXPECT_EQ(images[1]->GetPosition().x, 450);
    EXPECT_EQ(more[0]->GetPosition().x + more[0]->GetSize().x, 1100);
}

TEST(Relayout, JustifySpreadsTheFirstRowOfTheLastPage) {
    struct Case {
        std::vector<int32_t> lastPageHeights;  // images after the nine of page 1
        std::vector<int32_t> xs;
    };
    for (const Case& c : {Case{{200}, {100}}, Case{{200, 200}, {100, 800}},
                          Case{{200, 200, 100}, {100, 450, 800}}, Case{{100, 200, 200}, {100, 450, 800}}}) {
        SCOPED_TRACE(c.lastPageHeights.size());
        TestLayout t;
        t.layout.SetAlign({5, 1});
        t.AddImages(9);
        std::vector<CImageObj*> last;
        for (int32_t h : c.lastPageHeights) last.push_back(t.Add(300, h));
        ASSERT_EQ(Relayout(t.layout), 1);
        ASSERT_EQ(t.layout.GetPageNumber(), 2);
        for (size_t i = 0; i < last.size(); ++i) {
            EXPECT_EQ(last[i]->GetPosition().x, c.xs[i]) << i;
            EXPECT_EQ(last[i]->GetPosition().y, 1100) << i;
        }
    }
}

TEST(Relayout, ARowThatDoesNotFitMovesToTheNextPageUnlessItCannot) {
    struct Case {
        const char* what;
        int32_t margin;
        LayoutPoint space;
        int count;
        LayoutPoint size;
        std::vector<int32_t> ys;
        int16_t pages;
    };
    const std::vector<Case> cases = {
        // A row ending exactly on the page bottom leaves the next row on the next page's top edge.
        {"flush pages", 0, {0, 0}, 9, {500, 500}, {0, 0, 500, 500, 1000, 1000, 1500, 1500, 2000}, 3},
        {"top edge at 0", 0, {0, 0}, 2, {1000, 600}, {0, 1001}, 2},
        {"first row taller than the area", 100, {20, 20}, 2, {1000, 1100}, {100, 1100}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLayout t(c.margin ? 1200 : 1000, 1000, c.margin, c.space);
        auto images = t.AddImages(c.count, c.size.x, c.size.y);
        ASSERT_EQ(Relayout(t.layout), 1);
        for (size_t i = 0; i < images.size(); ++i) EXPECT_EQ(images[i]->GetPosition().y, c.ys[i]) << i;
        EXPECT_EQ(t.layout.GetPageNumber(), c.pages);
    }
}

TEST(Relayout, ARowTallerThanTheAreaIsNotAlignedVertically) {
    TestLayout t;
    t.layout.SetVerticalAlign(2);
    CImageObj* tall = t.Add(300, 1100);
    ASSERT_EQ(Relayout(t.layout), 1);
    EXPECT_EQ(tall->GetPosition().y, 100);
}

TEST(Relayout, RefusesMorePagesThanThePageMaximum) {
    struct Case { int16_t pageMax; int images; int result; int16_t pages; };
    // A fresh record's 0 counts as 1: it must not refuse every layout.
    for (const Case& c : {Case{0, 3, 1, 1}, Case{1, 10, 0, 1}, Case{2, 10, 1, 2}, Case{1, 0, 1, 1}}) {
        SCOPED_TRACE(testing::Message() << c.pageMax << " " << c.images);
        TestLayout t;
        t.layout.SetPageMax(c.pageMax);
        t.AddImages(c.images);
        test::RecordingHost host;
        EXPECT_EQ(Relayout(t.layout), c.result);
        EXPECT_EQ(t.layout.GetPageNumber(), c.pages);
        // A refused relayout leaves the refresh to the caller's restore.
        EXPECT_EQ(host.pane.hints.size(), c.result ? 1u : 0u);
    }
}

TEST(Relayout, PageCountIsNotBoundBySixteenBits) {
    TestLayout t(1200, 10, 0);
    t.layout.SetPageMax(32767);
    t.Add<CTextObj>(100, 5, 100, 400000);  // page 40,001
    EXPECT_EQ(RecountPages(t.layout), 0);
    EXPECT_EQ(t.layout.GetPageNumber(), 32767);
}

TEST(Relayout, ItemReachingOntoTheNextPageCountsByItsOrigin) {
    struct Case { int32_t y, height; int16_t pages; };
    for (const Case& c : {Case{1500, 500, 2}, Case{1500, 600, 2}, Case{2000, 0, 3}, Case{-300, 200, 1}}) {
        SCOPED_TRACE(c.y);
        TestLayout t;
        t.Add<CTextObj>(100, c.height, 200, c.y);
        EXPECT_EQ(RecountPages(t.layout), 1);
        EXPECT_EQ(t.layout.GetPageNumber(), c.pages);
    }
}

TEST(Relayout, WithoutPaperHeightNothingFlowsAndThereIsOnePage) {
    for (int32_t free : {0, 1}) {
        SCOPED_TRACE(free);
        CLayoutSetting fresh(true);
        fresh.SetFree(free);
        fresh.SetPageNumber(4);
        auto image = std::make_unique<CImageObj>(true);
        image->SetOwner(&fresh);
        image->SetPosition(kUnplacedX, 5);
        image->SetSize(300, 200);
        CImageObj* raw = image.get();
        ASSERT_TRUE(AppendObject(fresh.ItemListHead(), image));
        EXPECT_EQ(Relayout(fresh), 1);
        EXPECT_EQ(raw->GetPosition(), (LayoutPoint{kUnplacedX, 5}));
        EXPECT_EQ(fresh.GetPageNumber(), free ? 4 : 1);
    }
}

// Free layout, two pages: margin rectangle 100..1100 x 100..900 on page 1, +1000 on page 2.
TEST(Relayout, FreeLayoutKeepsItemsOnTheirPage) {
    struct Case {
        const char* what;
        LayoutPoint at, size, expected;
        int32_t headerOffset = 0;
    };
    const std::vector<Case> cases = {
        {"wholly off the right edge", {1500, 300}, {300, 200}, {1100 - 142, 300}},
        {"wholly off the left edge", {-900, 300}, {300, 200}, {100, 300}},
        {"mostly off the right edge", {1050, 300}, {300, 200}, {1050 - 142, 300}},
        {"small and inside", {200, 200}, {100, 100}, {200, 200}},
        {"narrower than 142, inside at the edge", {1000, 300}, {100, 100}, {1000, 300}},
        {"narrower than 142, across the edge", {1040, 300}, {100, 100}, {1040 - 142, 300}},
        {"below the last page", {200, 2500}, {300, 200}, {200, 1900 - 142}},
        {"above the first page", {200, -400}, {300, 200}, {200, 100}},
        {"on the second page's top edge", {200, 1000}, {300, 200}, {200, 1100}},
        {"a 141-high area moves nothing", {1500, 300}, {300, 200}, {1500, 300}, 659},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLayout t;
        t.layout.SetFree(1);
        t.layout.SetPageNumber(2);
        if (c.headerOffset) {
            t.layout.SetHeaderShow(1);
            t.layout.SetHeaderOffset(int16_t(c.headerOffset));
        }
        CImageObj* item = t.Add(c.size.x, c.size.y, c.at.x, c.at.y);
        item->SetChanged(1);
        EXPECT_EQ(Relayout(t.layout), 1);
        EXPECT_EQ(item->GetPosition(), c.expected);
        EXPECT_EQ(item->GetSize(), c.size);
        EXPECT_EQ(t.layout.GetPageNumber(), 2);  // free layout keeps its page count
        EXPECT_EQ(item->GetChanged(), c.headerOffset ? 1 : 0);
    }
}

TEST(Relayout, KeepingItemsOnPagesRefreshesEachInTheView) {
    TestLayout t;
    t.layout.SetFree(1);
    CImageObj* image = t.Add(300, 200, 200, 200);
    CTextObj* text = t.Add<CTextObj>(300, 200, 1500, 300);
    test::RecordingHost host;
    KeepItemsOnPages(t.layout);
    EXPECT_EQ(host.view.tracked, (std::vector<const CLayoutObj*>{image, text}));
    EXPECT_EQ(host.view.invalidations, 1);
    EXPECT_EQ(text->GetPosition().x, 1100 - 142);
}

TEST(UpdateLayoutAndRedraw, KeepsTheViewOnAPageAndTellsPaneAndStatusBar) {
    struct Case { int current; int16_t pages; int expected; bool header, footer; };
    for (const Case& c : {Case{5, 2, 1, false, false}, Case{3, 0, 0, true, false}, Case{1, 3, 1, false, true},
                          Case{0, 1, 0, true, true}}) {
        SCOPED_TRACE(testing::Message() << c.current << " of " << c.pages);
        TestLayout t;
        t.layout.SetPageNumber(c.pages);
        t.layout.SetHeaderShow(c.header);
        t.layout.SetFooterShow(c.footer);
        test::RecordingHost host;
        host.view.currentPage = c.current;
        test::RecordingMessagePort messages;
        test::RecordingStatusPort status;
        test::ScopedPorts ports(&messages, nullptr, &status);
        UpdateLayoutAndRedraw(t.layout);
        EXPECT_EQ(host.view.currentPage, c.expected);
        EXPECT_EQ(host.pane.hints, std::vector<int>{1});
        ASSERT_EQ(status.updates.size(), 1u);
        EXPECT_EQ(status.updates[0].code, 1);
        const bool shown = c.header || c.footer;
        EXPECT_EQ(host.services.headerFooterPages, shown ? std::vector<int>{0} : std::vector<int>{});
        EXPECT_EQ(host.view.invalidations, shown ? 1 : 0);
    }
}

TEST(UpdateLayoutAndRedraw, WithoutAHostOnlyTheStatusBarHears) {
    TestLayout t;
    t.layout.SetHeaderShow(1);
    test::RecordingMessagePort messages;
    test::RecordingStatusPort status;
    test::ScopedPorts ports(&messages, nullptr, &status);
    UpdateLayoutAndRedraw(t.layout);
    EXPECT_EQ(status.updates.size(), 1u);
}

}  // namespace
}  // namespace vx
