#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "platform/spool/PrintDevice.h"
#include "view/PassGeometry.h"
#include "view/RenderState.h"

namespace vx {
namespace {

DeviceCaps Printer(int ppi, int width, int height) {
    DeviceCaps caps;
    caps.logPixelsX = caps.logPixelsY = ppi;
    caps.physicalWidth = width;
    caps.physicalHeight = height;
    return caps;
}

TEST(PassGeometry, ScreenTakesPageAndClientFromTheWindow) {
    test::PaintHost host;
    auto layout = test::MakeA4Layout();
    GeometryInput in;
    in.owner = &host.view;
    in.pixelsPerInch = {96, 96};
    std::optional<PassGeometry> p = BuildPassGeometry(in, *layout, kDrawScreen, kScaleToDevice);
    ASSERT_TRUE(p);
    const ViewGeometry& g = p->geometry;
    EXPECT_DOUBLE_EQ(g.zoom, 0.25);
    EXPECT_DOUBLE_EQ(p->xPerUnit, 96.0 / 360);
    EXPECT_EQ(g.page, (PixelRect{301, 160, 499, 440}));
    EXPECT_EQ(g.shadow, (PixelRect{306, 165, 504, 445}));
    EXPECT_EQ(g.band, (PixelRect{0, 0, 800, 600}));
    EXPECT_EQ(g.offset, (PixelPoint{301, 160}));
    // 360 units at 1/15 pixel each: 24; 100 units: 6.67, truncated.
    EXPECT_EQ(g.layoutArea, (PixelRect{325, 184, 301 + 174, 160 + 256}));
    EXPECT_EQ(g.margin, (PixelRect{307, 166, 301 + 191, 160 + 273}));
}

TEST(PassGeometry, PrinterRendersAtTheResolutionClassAndScalesToTheDevice) {
    auto layout = test::MakeA4Layout();
    // 120 pixels per inch on a 600-dpi printer: the device draws 5 pixels per render pixel.
    const DeviceCaps caps = Printer(600, 4960, 7016);
    GeometryInput in;
    in.printer = &caps;
    in.currentPage = 0;
    std::optional<PassGeometry> p = BuildPassGeometry(in, *layout, kDrawPrinter, kRender120 | kScaleToDevice);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->ratioX, 5);
    EXPECT_DOUBLE_EQ(p->ratioY, 5);
    EXPECT_DOUBLE_EQ(p->xPerUnit, 1.0 / 3);
    EXPECT_DOUBLE_EQ(p->yPerUnit, 1.0 / 3);
    EXPECT_EQ(p->physicalPage, (PixelPoint{992, 1403}));
    const ViewGeometry& g = p->geometry;
    EXPECT_DOUBLE_EQ(g.zoom, 1.0);
    EXPECT_EQ(g.page, (PixelRect{0, 0, 992, 1403}));
    EXPECT_EQ(g.printerOffset, (PixelPoint{33, 33}));
    EXPECT_EQ(g.layoutArea, (PixelRect{120 - 33, 120 - 33, 872 - 33, 1283 - 33}));
    EXPECT_EQ(g.band, (PixelRect{0, 0, 992, 1403}));

    // The resolution classes in their order, 360 without one.
    for (auto [flags, ppi] : {std::pair{0x08u, 720}, std::pair{0x18u, 720}, std::pair{0x10u, 360},
                              std::pair{0x20u, 120}, std::pair{0x40u, 90}, std::pair{0x01u, 360}}) {
        SCOPED_TRACE(flags);
        EXPECT_EQ(RenderResolution(flags), ppi);
    }
    // Without the device's capabilities nothing can be printed.
    in.printer = nullptr;
    EXPECT_FALSE(BuildPassGeometry(in, *layout, kDrawPrinter, kRender360));
}

TEST(PassGeometry, PrinterPassLeavesTheViewsScreenScales) {
    test::PaintHost host;
    auto layout = test::MakeA4Layout();
    CGPView view;
    view.Attach(&host.view, layout.get());
    const DeviceCaps caps = Printer(720, 5953, 8419);
    DrawDevice device;
    device.printer = &caps;
    PassCounters counters;
    EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender360 | kMeasurePass, &counters), PassResult::Done);
    EXPECT_GT(counters.area, 0);
    EXPECT_DOUBLE_EQ(view.GetXPerUnit(), 96.0 / 360);
    EXPECT_DOUBLE_EQ(view.GetYPerUnit(), 96.0 / 360);
}

TEST(PassGeometry, BannerPagesAreBandsAlongTheRoll) {
    const DeviceCaps caps = Printer(360, 3000, 4000);
    for (int orient : {0, 1}) {
        SCOPED_TRACE(orient);
        auto layout = test::MakeA4Layout();
        layout->SetBanner(1);
        layout->SetPageNum(4);
        layout->SetPaperOrient(orient);
        layout->SetPaper(orient ? LayoutPoint{12000, 3000} : LayoutPoint{3000, 12000});
        GeometryInput in;
        in.printer = &caps;
        in.currentPage = 0;
        std::optional<PassGeometry> first = BuildPassGeometry(in, *layout, kDrawPrinter, kRender360);
        in.currentPage = 2;
        std::optional<PassGeometry> third = BuildPassGeometry(in, *layout, kDrawPrinter, kRender360);
        ASSERT_TRUE(first && third);
        const PixelRect& a = first->geometry.layoutArea;
        const PixelRect& c = third->geometry.layoutArea;
        if (orient) {
            EXPECT_EQ(third->geometry.band, (PixelRect{6000, 0, 9000, 4000}));
            EXPECT_EQ(c, (PixelRect{a.left - 6000, a.top, a.right - 6000, a.bottom}));
        } else {
            EXPECT_EQ(third->geometry.band, (PixelRect{0, 8000, 3000, 12000}));
            EXPECT_EQ(c, (PixelRect{a.left, a.top - 8000, a.right, a.bottom - 8000}));
        }
    }
    // Pages that are not a banner's keep their layout area.
    auto layout = test::MakeA4Layout();
    GeometryInput in;
    in.printer = &caps;
    in.currentPage = 2;
    std::optional<PassGeometry> p = BuildPassGeometry(in, *layout, kDrawPrinter, kRender360);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->geometry.band, (PixelRect{0, 8000, 3000, 12000}));
    EXPECT_EQ(p->geometry.layoutArea.top, 360 - 100);
}

TEST(PassGeometry, PreviewPicturesAre128OnTheLongSide) {
    struct Case {
        LayoutPoint paper;
        PixelRect page;
    };
    // The A4 page at 96 pixels per inch gives 127.99999... without care.
    for (Case c : {Case{{2976, 4209}, {0, 0, 90, 128}}, Case{{4209, 2976}, {0, 0, 128, 90}},
                   Case{{3000, 3000}, {0, 0, 128, 128}}, Case{{2835, 4008}, {0, 0, 90, 128}}}) {
        SCOPED_TRACE(testing::Message() << c.paper.x << "x" << c.paper.y);
        auto layout = test::MakeA4Layout();
        layout->SetPaper(c.paper);
        for (int mode : {kDrawPreview, kDrawTemplatePreview}) {
            GeometryInput in;
            in.pixelsPerInch = {96, 96};
            std::optional<PassGeometry> p = BuildPassGeometry(in, *layout, mode, 0);
            ASSERT_TRUE(p);
            EXPECT_EQ(p->geometry.page, c.page);
            EXPECT_EQ(p->geometry.band, (PixelRect{0, 0, 128, 128}));
            EXPECT_EQ(p->geometry.pageIndex, 1);
            EXPECT_GT(p->geometry.layoutArea.left, 0);
            EXPECT_LT(p->geometry.layoutArea.right, c.page.right);
        }
    }
    auto layout = test::MakeA4Layout();
    layout->SetPaper({0, 4209});
    EXPECT_FALSE(BuildPassGeometry({}, *layout, kDrawPreview, 0));
}

TEST(PassGeometry, PreviewPaneHasOwnerAndLayoutOnly) {
    test::PaintHost host;
    auto layout = test::MakeA4Layout();
    GeometryInput in;
    in.owner = &host.view;
    std::optional<PassGeometry> p = BuildPassGeometry(in, *layout, kDrawPreviewPane, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->geometry.owner, &host.view);
    EXPECT_EQ(p->geometry.layout, layout.get());
    EXPECT_EQ(p->geometry.page, PixelRect{});
    EXPECT_DOUBLE_EQ(p->geometry.zoom, 1.0);
}

TEST(CGPView, ItemIsOnThePageOfItsOriginUnlessDragged) {
    auto layout = test::MakeA4Layout();
    CGPView view;
    view.Attach(nullptr, layout.get());
    CImageObj* item = test::AppendItem<CImageObj>(*layout);
    view.SetCurrentPage(3);
    for (auto [y, on] : {std::pair{3 * 4209, true}, std::pair{3 * 4209 - 1, false}, std::pair{4 * 4209, false}}) {
        SCOPED_TRACE(y);
        item->SetPosition(0, y);
        EXPECT_EQ(view.IsItemOnCurrentPage(*item), on);
    }
    item->SetPosition(0, 0);
    item->SetSelected(1);
    EXPECT_FALSE(view.IsItemOnCurrentPage(*item));
    view.SetDragState(2);
    EXPECT_TRUE(view.IsItemOnCurrentPage(*item));
    // A fresh record has no paper height: everything lies on the first page.
    view.SetDragState(0);
    layout->SetPaper({0, 0});
    item->SetPosition(0, 50000);
    EXPECT_FALSE(view.IsItemOnCurrentPage(*item));
    view.SetCurrentPage(0);
    EXPECT_TRUE(view.IsItemOnCurrentPage(*item));
}

}  // namespace
}  // namespace vx
