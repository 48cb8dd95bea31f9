#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"

namespace vx {
namespace {

// A layout of pages 2000 x 1000 units.
struct Pages {
    CLayoutSetting layout{true};

    explicit Pages(int16_t pageCount = 3, int32_t height = 1000) {
        layout.SetPaper({2000, height});
        layout.SetPageNumber(pageCount);
    }
    template <class T = CImageObj>
    T* Add(double x, double y) {
        auto item = std::make_unique<T>(true);
        T* raw = item.get();
        raw->SetOwner(&layout);
        raw->SetPositionD(x, y);
        EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
        return raw;
    }
    bool OnPage(CLayoutObj* item, int page, int16_t kind = 0) {
        auto items = GetItemsOfPage(layout, page, kind);
        return std::find(items.begin(), items.end(), item) != items.end();
    }
};

TEST(PageGeometry, EveryOriginLiesOnExactlyOnePage) {
    struct Case { double y; int32_t height; int page; };
    for (const Case& c : {Case{-50, 1000, 1}, Case{0, 1000, 1}, Case{999, 1000, 1}, Case{1000, 1000, 2},
                          Case{2999, 1000, 3}, Case{3000, 1000, 3} /* below the last page */,
                          Case{1500, 0, 1}, Case{-1500, 0, 1}, Case{1500, -1000, 1}}) {
        SCOPED_TRACE(testing::Message() << "y " << c.y << " h " << c.height);
        Pages p(3, c.height);
        CLayoutObj* item = p.Add(500, c.y);
        EXPECT_EQ(PageOfY(p.layout, int32_t(c.y)), c.page);
        for (int page = 1; page <= 4; ++page) EXPECT_EQ(p.OnPage(item, page), page == c.page) << page;
        // A nudge sideways keeps the item on its page.
        MoveItemWithinPage(p.layout, *item, 10, 0);
        EXPECT_EQ(PageOfY(p.layout, item->GetPosition().y), c.page);
        EXPECT_EQ(item->GetPosition().x, 510);
    }
}

TEST(PageGeometry, ItemsOfAPageByKindInListOrder) {
    Pages p;
    CLayoutObj* image = p.Add<CImageObj>(10, 100);
    CLayoutObj* text = p.Add<CTextObj>(10, 200);
    CLayoutObj* line = p.Add<CLineObj>(10, 1200);
    CLayoutObj* cut = p.Add<CCutLineObj>(10, 1300);  // cut lines have no draw origin: page 1
    CLayoutObj* text2 = p.Add<CTextObj>(10, 50);
    EXPECT_EQ(GetItemsOfPage(p.layout, 1, 0), (std::vector<CLayoutObj*>{image, text, cut, text2}));
    EXPECT_EQ(GetItemsOfPage(p.layout, 1, kKindText), (std::vector<CLayoutObj*>{text, text2}));
    EXPECT_EQ(GetItemsOfPage(p.layout, 2, 0), std::vector<CLayoutObj*>{line});
    EXPECT_TRUE(GetItemsOfPage(p.layout, 3, 0).empty());
    EXPECT_TRUE(GetItemsOfPage(p.layout, 0, 0).empty());

    // A free line lies where its start point is.
    static_cast<CLineObj*>(line)->SetOffsetStart({0, -300});
    EXPECT_TRUE(p.OnPage(line, 1));
}

TEST(PageGeometry, PageCountIsOneForBannersAndNeverBelowOne) {
    Pages p(5);
    EXPECT_EQ(GetPageCount(p.layout), 5);
    p.layout.SetBanner(1);
    EXPECT_EQ(GetPageCount(p.layout), 1);
    p.layout.SetBanner(0);
    SetPageNumber(p.layout, 0);
    EXPECT_EQ(GetPageCount(p.layout), 1);
    SetPageNumber(p.layout, -4);
    EXPECT_EQ(GetPageCount(p.layout), 1);
}

TEST(PageGeometry, MoveItemWithinPageKeepsTheOriginInTheMarginRectangle) {
    struct Case {
        const char* what;
        LayoutRect printerMargin;
        double x, y;
        int32_t dx, dy;
        LayoutPoint expected;
    };
    // R = (100, 50, 1880, 920) on page 1, (100, 1050, 1880, 1920) on page 2.
    for (const Case& c : {
             Case{"left", {}, 110, 500, -50, 0, {100, 500}},
             Case{"inside", {}, 110, 500, 20, 30, {130, 530}},
             Case{"bottom, printer margin 0", {}, 500, 900, 0, 100, {500, 919}},
             Case{"bottom, printer margin 30", {0, 0, 0, 30}, 500, 900, 0, 100, {500, 920}},
             Case{"right, printer margin 0", {}, 1800, 500, 500, 0, {1879, 500}},
             Case{"right, printer margin 40", {0, 0, 40, 0}, 1800, 500, 500, 0, {1880, 500}},
             Case{"top", {}, 500, 60, 0, -100, {500, 51}},
             Case{"onto the top edge", {}, 500, 60, 0, -10, {500, 51}},
             Case{"top of page 2", {}, 500, 1100, 0, -200, {500, 1051}},
             Case{"page 2 top edge, sideways", {}, 500, 1000, 10, 0, {510, 1051}},
             Case{"corner", {}, 1850, 900, 100, 100, {1879, 919}},
         }) {
        SCOPED_TRACE(c.what);
        Pages p;
        p.layout.SetLayoutAreaMgn({100, 50, 120, 80});
        p.layout.SetMargin(c.printerMargin);
        CLayoutObj* item = p.Add(c.x, c.y);
        item->SetSizeD(300.6, 200.4);
        MoveItemWithinPage(p.layout, *item, c.dx, c.dy);
        EXPECT_EQ(item->GetPosition(), c.expected);
        EXPECT_EQ(item->GetSize(), (LayoutPoint{300, 200}));
    }
}

TEST(PageGeometry, MoveItemWithinPageOfASinglePageLayoutAndOfOtherOrigins) {
    Pages single(0);
    CLayoutObj* low = single.Add(500, 1500);  // no page count: it moves as on page 1
    MoveItemWithinPage(single.layout, *low, 0, 10);
    EXPECT_EQ(low->GetPosition(), (LayoutPoint{500, 999}));

    Pages p;
    p.layout.SetLayoutAreaMgn({100, 50, 120, 80});
    auto* line = p.Add<CLineObj>(500, 500);
    line->SetOffsetStart({-440, 0});  // its start point, at x 60, is what stays inside
    MoveItemWithinPage(p.layout, *line, -5, 0);
    EXPECT_EQ(line->GetPosition(), (LayoutPoint{540, 500}));

    CLayoutObj* cut = p.Add<CCutLineObj>(5, 5);
    MoveItemWithinPage(p.layout, *cut, 100, 100);
    EXPECT_EQ(cut->GetPosition(), (LayoutPoint{5, 5}));
}

TEST(PageGeometry, PositionOnPageIsRelativeToThePageTop) {
    Pages p;
    CLayoutObj* deep = p.Add(40, 2 * 1000 + 30);
    CLayoutObj* above = p.Add(40, -20);
    EXPECT_EQ(GetItemPositionOnPage(*deep), (LayoutPoint{40, 30}));
    EXPECT_EQ(GetItemPositionOnPage(*above), (LayoutPoint{40, -20}));
    CImageObj orphan(true);
    orphan.SetPositionD(40, 2030);
    EXPECT_EQ(GetItemPositionOnPage(orphan), (LayoutPoint{40, 2030}));
    p.layout.SetPaper({2000, 0});
    EXPECT_EQ(GetItemPositionOnPage(*deep), (LayoutPoint{40, 2030}));

    auto* text = p.Add<CTextObj>(100, 1000);
    p.layout.SetPaper({2000, 1000});
    CTextObj::BoxPoints box{};
    box[0] = {5, 7};
    text->SetBoxPoints(box);
    EXPECT_EQ(GetItemPositionOnPage(*text), (LayoutPoint{105, 7}));
}

TEST(PageGeometry, MarginAndLayoutAreaRectangles) {
    Pages p;
    p.layout.SetLayoutAreaMgn({100, 50, 120, 80});
    p.layout.SetMargin({110, 0, 0, 0});
    p.layout.SetHeaderOffset(200);
    p.layout.SetFooterOffset(100);
    EXPECT_EQ(GetMarginRect(p.layout), (LayoutRect{110, 50, 1880, 920}));
    EXPECT_EQ(p.layout.GetLayoutAreaMgn(), (LayoutRect{110, 50, 120, 80}));  // stored normalised
    EXPECT_EQ(GetLayoutAreaRect(p.layout), (LayoutRect{110, 50, 1880, 920}));
    p.layout.SetHeaderShow(1);
    EXPECT_EQ(GetLayoutAreaRect(p.layout), (LayoutRect{110, 250, 1880, 920}));
    p.layout.SetFooterShow(1);
    EXPECT_EQ(GetLayoutAreaRect(p.layout), (LayoutRect{110, 250, 1880, 820}));
    EXPECT_EQ(GetLayoutAreaXYWH(p.layout), (LayoutXYWH{110, 250, 1770, 570}));
}

TEST(PageGeometry, ItemValuesAnswerForImagesTextsAndLinesOnly) {
    CImageObj image(true);
    CCutLineObj cut(true);
    for (CLayoutObj* item : {static_cast<CLayoutObj*>(&image), static_cast<CLayoutObj*>(&cut)}) {
        item->SetPositionD(10, 20);
        item->SetSizeD(30, 40);
        SetItemRectByKind(*item, {1, 2, 5, 8});
        SetItemPosition(*item, 3, 3);
        SetItemChanged(*item, 1);
    }
    EXPECT_EQ(GetItemRectByKind(image), (LayoutRect{3, 3, 7, 9}));
    EXPECT_EQ(image.GetChanged(), 1);
    EXPECT_EQ(GetItemDrawOrigin(image), (LayoutPoint{3, 3}));
    EXPECT_EQ(cut.GetRect(), (LayoutRect{10, 20, 40, 60}));  // untouched
    EXPECT_EQ(cut.GetChanged(), 0);
    EXPECT_EQ(GetItemPosition(cut), LayoutPoint{});
    EXPECT_EQ(GetItemSize(cut), LayoutPoint{});
    EXPECT_EQ(GetItemRectByKind(cut), LayoutRect{});
    EXPECT_EQ(GetItemDrawOrigin(cut), LayoutPoint{});
}

TEST(PageGeometry, RectangleHelpers) {
    const LayoutRect r{10, 20, 110, 220};
    EXPECT_EQ(RectWidth(r), 100);
    EXPECT_EQ(RectHeight(r), 200);
    EXPECT_EQ(OffsetRectCopy(r, 5, -5), (LayoutRect{15, 15, 115, 215}));
    EXPECT_EQ(OffsetRectCopy(r, INT64_C(3000000000), 0).right, INT32_MAX);
    EXPECT_TRUE(PtInRectByValue(r, {10, 20}));
    EXPECT_FALSE(PtInRectByValue(r, {110, 100}));
    EXPECT_FALSE(PtInRectByValue(r, {50, 220}));
    EXPECT_EQ(IntersectRects(r, {100, 0, 200, 30}), (LayoutRect{100, 20, 110, 30}));
    EXPECT_EQ(IntersectRects(r, {110, 0, 200, 30}), LayoutRect{});
    EXPECT_EQ(RectFromXYWH(1, 2, 3, 4), (LayoutRect{1, 2, 4, 6}));
}

}  // namespace
}  // namespace vx
