#include <gtest/gtest.h>

#include <vector>

#include "LayoutFixture.h"
#include "model/NewItemPlacement.h"
#include "model/Relayout.h"
#include "support/RecordingHost.h"

namespace vx {
namespace {

using test::TestLayout;

// The example paper (1200 x 1000, margins 100) in a view of 400 x 300 pixels at 96 ppi.
struct NewItemPlacement : testing::Test {
    TestLayout t;
    test::RecordingHost host;

    void Zoom(int32_t numerator, int32_t denominator) {
        t.layout.GetViewState()->zoomNumerator = numerator;
        t.layout.GetViewState()->zoomDenominator = denominator;
    }
};

TEST_F(NewItemPlacement, UnplacedItemCentresInTheVisiblePartOfTheViewsPage) {
    Zoom(1, 2);
    host.view.currentPage = 1;
    for (PixelPoint offset : {PixelPoint{0, 0}, PixelPoint{10, 10}}) {
        host.view.pageRect.offset = offset;
        CTextObj* text = t.Add<CTextObj>(300, 200);
        PlaceNewObject(*text);
        EXPECT_EQ(text->GetPosition(), (LayoutPoint{450, 1400}));
    }
}

TEST_F(NewItemPlacement, VisiblePartIsTheScrolledClientLessThePageOffset) {
    // Zoom 1/1: 96/360 pixels a unit; the client shows units 300..1800 x 240..1365 of
    // the page, cut to the paper: 300..1200 x 240..1000.
    host.view.client = {80, 64, 480, 364};
    host.view.pageRect.offset = {0, 0};
    CTextObj* text = t.Add<CTextObj>(100, 100);
    PlaceNewObject(*text);
    EXPECT_EQ(text->GetPosition(), (LayoutPoint{700, 570}));
}

TEST_F(NewItemPlacement, WithoutAUsableViewTheItemGoesToTheAreasTopLeft) {
    struct Case { const char* what; int32_t numerator, denominator; bool view; };
    for (const Case& c : {Case{"no view", 1, 2, false}, Case{"zoom 0/0", 0, 0, true}, Case{"zoom -1/2", -1, 2, true},
                          Case{"zoom 1/0", 1, 0, true}}) {
        SCOPED_TRACE(c.what);
        Zoom(c.numerator, c.denominator);
        host.shell.view = c.view ? &host.view : nullptr;
        t.layout.SetHeaderShow(1);
        t.layout.SetHeaderOffset(50);
        CTextObj* text = t.Add<CTextObj>(300, 200);
        PlaceNewObject(*text);
        EXPECT_EQ(text->GetPosition(), (LayoutPoint{100, 150}));
    }
}

TEST_F(NewItemPlacement, AnItemPlacedBeforeStays) {
    for (int32_t x : {-32766, 0, 5000}) {
        CTextObj* text = t.Add<CTextObj>(300, 200, x, 77);
        PlaceNewObject(*text);
        EXPECT_EQ(text->GetPosition(), (LayoutPoint{x, 77}));
    }
}

TEST_F(NewItemPlacement, AnItemStartingOffThePaperLands142InsideTheMargins) {
    host.view.currentPage = 2;
    CTextObj* wide = t.Add<CTextObj>(2000, 200);
    PlaceNewObject(*wide);
    // Centred, it would start at x -400 on page 3.
    EXPECT_EQ(wide->GetPosition().x, 100 + 142);
    EXPECT_EQ(wide->GetPosition().y, 2000 + 400);
}

TEST_F(NewItemPlacement, AnImageInAutomaticLayoutFlowsWhereTheRelayoutPutsIt) {
    struct Case { const char* what; std::vector<LayoutPoint> sizes; };
    for (const Case& c : {Case{"tenth image onto page 2", std::vector<LayoutPoint>(9, {300, 200})},
                          Case{"into an open row", {{300, 200}, {300, 200}}},
                          Case{"after an image reaching onto page 2", {{1000, 1100}}}}) {
        SCOPED_TRACE(c.what);
        TestLayout layout;
        for (LayoutPoint s : c.sizes) layout.Add(s.x, s.y);
        ASSERT_EQ(Relayout(layout.layout), 1);
        CImageObj* added = layout.Add(300, 200);
        PlaceNewObject(*added);
        const LayoutPoint placed = added->GetPosition();
        ASSERT_EQ(Relayout(layout.layout), 1);
        EXPECT_EQ(placed, added->GetPosition());
    }
}

TEST_F(NewItemPlacement, PlaceInVisibleAreaShowsTheItemsPageAndScrollsToIt) {
    struct Case {
        const char* what;
        LayoutPoint at;
        int pageShown;
        std::vector<int> pagesSet;
        std::vector<PixelPoint> scrolls;
    };
    // Zoom 1/1 at 96 ppi: a 200 x 150 client shows 750 x 562 units.
    const std::vector<Case> cases = {
        {"visible", {200, 200}, 0, {}, {}},
        {"on another page", {200, 1200}, 0, {1}, {}},
        {"right of the visible part", {1500, 200}, 0, {}, {{400, 53}}},
        {"below it, on its page", {200, 2900}, 2, {}, {{53, 240}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        t.layout.SetPageNumber(3);
        host.view.client = {0, 0, 200, 150};
        host.view.currentPage = c.pageShown;
        host.view.pagesSet.clear();
        host.view.scrolls.clear();
        CImageObj* image = t.Add(300, 200, c.at.x, c.at.y);
        PlaceInVisibleArea(t.layout.GetViewState(), *image);
        EXPECT_EQ(host.view.pagesSet, c.pagesSet);
        EXPECT_EQ(host.view.scrolls, c.scrolls);
        EXPECT_EQ(image->GetPosition(), c.at);
    }
}

}  // namespace
}  // namespace vx
