#include <gtest/gtest.h>

#include "view/ViewZoom.h"

namespace vx {
namespace {

constexpr LayoutPoint kA4{2976, 4209};

Viewport Client(int32_t width, int32_t height, bool rulers = false) {
    Viewport v;
    v.client = {width, height};
    v.rulers = rulers;
    v.metrics = {2, 4, 17};
    return v;
}

TEST(ZoomSteps, StepToTheNeighbouringRowsOfTheTable) {
    struct Case {
        ZoomRatio start;
        bool in;
        std::optional<ZoomRatio> result;  // nullopt: unchanged
    };
    const FitMetrics metrics{2, 4, 17};
    // Zooming out from a ratio between two rows skips the lower row: 45% goes to 25%.
    for (const Case& c : {Case{{16, 1}, true, std::nullopt}, Case{{1, 33}, false, std::nullopt},
                          Case{{450, 1000}, true, ZoomRatio{1, 2}}, Case{{450, 1000}, false, ZoomRatio{1, 4}},
                          Case{{1, 1}, false, ZoomRatio{2, 3}}, Case{{1, 1}, true, ZoomRatio{2, 1}},
                          Case{{1, 2}, false, ZoomRatio{1, 3}}, Case{{9, 10}, false, ZoomRatio{1, 2}},
                          Case{{20, 1}, false, ZoomRatio{12, 1}}, Case{{1, 30}, false, ZoomRatio{1, 33}},
                          Case{{1, 33}, true, ZoomRatio{1, 25}}, Case{{20, 1}, true, ZoomRatio{16, 1}},
                          Case{{1, 50}, false, std::nullopt}}) {
        SCOPED_TRACE(testing::Message() << c.start.numerator << "/" << c.start.denominator << (c.in ? " in" : " out"));
        EXPECT_EQ(c.in ? ZoomInStepRatio(c.start) : ZoomOutStepRatio(c.start, 4209, metrics), c.result);
    }
}

TEST(ZoomSteps, ZoomOutKeepsThreeScrollArrowsOfPaper) {
    // 60 units at 1/33 is 1 (integer), below 3 x 17.
    EXPECT_EQ(ZoomOutStepRatio({1, 25}, 60, {2, 4, 17}), std::nullopt);
    EXPECT_EQ(ZoomOutStepRatio({1, 25}, 51 * 33, {2, 4, 17}), (ZoomRatio{1, 33}));
}

TEST(ZoomTableRows, OnlyExactPairsMatchARow) {
    EXPECT_EQ(FindZoomRow({1, 1}), kZoomRow100);
    EXPECT_EQ(FindZoomRow({2, 3}), 10);
    EXPECT_EQ(FindZoomRow({2, 2}), -1);
    EXPECT_EQ(FindZoomRow({1, 33}), 20);
    EXPECT_STREQ(ZoomTable[kZoomRow100].label, "100%");
}

TEST(ZoomFit, FitsThePaperIntoTheClientLessTheFrame) {
    // 800 - 2 x (2 + 4) - 17 - 2 = 769 wide, 569 high: the height constrains.
    EXPECT_EQ(FitZoomRatio(Client(800, 600), kA4), (ZoomRatio{569, 1122}));
    EXPECT_EQ(FitZoomRatio(Client(800, 600, true), kA4), (ZoomRatio{549, 1122}));
    // A wide client: the width constrains (1600 - 31 = 1569 of 793).
    EXPECT_EQ(FitZoomRatio(Client(1600, 4000), kA4), (ZoomRatio{1569, 793}));
    EXPECT_EQ(FitZoomRatio(Client(40, 30), kA4), (ZoomRatio{1, 33}));
    EXPECT_EQ(FitZoomRatio(Client(0, 0), {0, 0}), (ZoomRatio{1, 33}));
    // A page that would reach 32768 pixels is not fitted.
    EXPECT_EQ(FitZoomRatio(Client(40000, 40000), {2976, 300}), std::nullopt);
}

TEST(PagePlacement, OffsetIsHalfTheSpareSpaceWithAtLeastTen) {
    const ZoomRatio one{1, 1};
    // A4 at 100% on 96 ppi: 793 x 1122.
    EXPECT_EQ(PageRectAt(Client(900, 600), kA4, one).page, (PixelRect{0, 0, 793, 1122}));
    struct Case {
        int32_t client;
        bool rulers;
        int32_t offset;
    };
    for (const Case& c : {Case{793 + 30, false, 15}, Case{793 + 20, false, 10}, Case{793 + 100, true, 60},
                          Case{793 + 21, false, 10}, Case{793 + 22, false, 11}, Case{100, false, 10},
                          Case{100, true, 30}}) {
        SCOPED_TRACE(c.client);
        EXPECT_EQ(PageRectAt(Client(c.client, 600, c.rulers), kA4, one).offset.x, c.offset);
    }
}

TEST(PagePlacement, ScrollSizesShowBarsOnlyWhereThePageDoesNotFit) {
    const ZoomRatio one{1, 1};
    // Client = page + both offsets: no horizontal bar; the height does not fit.
    Viewport v = Client(793 + 20, 700);
    ScrollSizes s = ScrollSizesFor(v, PageRectAt(v, kA4, one));
    EXPECT_EQ(s.total.x, 0);
    EXPECT_EQ(s.line.x, 0);
    EXPECT_EQ(s.total.y, 1122 + 20);
    EXPECT_EQ(s.page.y, 350);
    EXPECT_EQ(s.line.y, 12);
    // One pixel narrower: a bar, half the client a page.
    v = Client(793 + 19, 701);
    s = ScrollSizesFor(v, PageRectAt(v, kA4, one));
    EXPECT_EQ(s.total.x, 793 + 20);
    EXPECT_EQ(s.page.x, 406);
    EXPECT_EQ(s.page.y, 350);
    // Rulers: the band counts once in the total.
    v = Client(400, 300, true);
    s = ScrollSizesFor(v, PageRectAt(v, kA4, one));
    EXPECT_EQ(s.total.x, 793 + 2 * 30 - 20);
}

TEST(CentreKeeping, ThePointAtTheCentreStaysInPlace) {
    const ScrollSizes sizes{{4000, 4000}, {200, 150}, {12, 12}};
    // (300 + 200) x 2 - 200 = 800.
    EXPECT_EQ(CentreKeptScroll({300, 0}, {400, 300}, {1, 2}, {1, 1}, sizes).x, 800);
    // Clamped at the range's end: 4000 - 400.
    EXPECT_EQ(CentreKeptScroll({3000, 0}, {400, 300}, {1, 2}, {1, 1}, sizes).x, 3600);
    // Zooming out near the top does not go negative; without a range it is 0.
    EXPECT_EQ(CentreKeptScroll({0, 10}, {400, 300}, {1, 1}, {1, 2}, sizes).y, 0);
    EXPECT_EQ(CentreKeptScroll({300, 300}, {400, 300}, {1, 2}, {1, 1}, {}), (PixelPoint{0, 0}));
}

TEST(Conversions, ClientAndDocumentDifferByTheScrollPosition) {
    Viewport v = Client(400, 300);
    v.scroll = {30, 50};
    EXPECT_EQ(ClientToDoc(v, PixelRect{0, 0, 400, 300}), (PixelRect{30, 50, 430, 350}));
    EXPECT_EQ(DocToClient(v, PixelRect{130, 150, 30, 50}), (PixelRect{0, 0, 100, 100}));
    EXPECT_EQ(DocToClient(v, ClientToDoc(v, PixelPoint{7, 9})), (PixelPoint{7, 9}));
}

TEST(Conversions, VisiblePaperIsTheWholeClientLessTheOffsetCutToThePaper) {
    // Paper 1200 x 1000 at 1/1, 96 ppi: 320 x 266 pixels.
    Viewport v = Client(200, 100);
    v.scroll = {80, 64};
    // Offset 10, 10: client units 70..270 x 54..154 pixels = 262..1012 x 202..577 units.
    EXPECT_EQ(VisiblePaperRect(v, {1200, 1000}, {1, 1}), (LayoutRect{262, 202, 1012, 577}));
    v.scroll = {0, 0};
    v.client = {2000, 2000};
    EXPECT_EQ(VisiblePaperRect(v, {1200, 1000}, {1, 1}), (LayoutRect{0, 0, 1200, 1000}));
}

TEST(Wheel, NotchesAndSmoothDeltasScrollTwelvePixelsAPer120) {
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.Scroll(120), -12);
    EXPECT_EQ(wheel.Scroll(-120), 12);
    int total = 0;
    for (int i = 0; i < 15; ++i) total += wheel.Scroll(8);
    EXPECT_EQ(total, -12);
    // A turn back drops what was left of the other direction.
    EXPECT_EQ(wheel.Scroll(5), 0);
    EXPECT_EQ(wheel.Scroll(-10), 1);
    EXPECT_EQ(wheel.Zoom(120), 1);
    EXPECT_EQ(wheel.Zoom(60), 0);
    EXPECT_EQ(wheel.Zoom(60), 1);
    EXPECT_EQ(wheel.Zoom(-240), -2);
}

}  // namespace
}  // namespace vx
