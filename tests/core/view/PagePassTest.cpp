#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <set>

#include "RecordingView.h"
#include "ViewFixture.h"
#include "model/CLineObj.h"
#include "platform/gfx/PdfDocument.h"
#include "platform/spool/PrintDevice.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "view/PreviewGeometry.h"
#include "view/RenderState.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

uint32_t Rgb(const gfx::ImageSurface& s, int x, int y) { return s.Pixel(x, y) & 0xFFFFFF; }

/// COLORREF to the surface's 0xRRGGBB.
constexpr uint32_t Surface(ColorRef c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

size_t TempFiles() {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(TempFolder())) n += e.is_regular_file();
    return n;
}

/// The fixture: the A4 layout with its picture (60 x 40 pixels at (381, 320) on
/// screen) and a free text.
struct Fixture {
    test::PaintHost host;
    std::unique_ptr<CLayoutSetting> layout = test::MakeA4Layout();
    CImageObj* picture = test::AddPictureItem(*layout, 1200, 2400, 900, 600, test::kPictureColour);
    CTextObj* text = test::AppendItem<CTextObj>(*layout);
    test::RecordingView view;

    Fixture() {
        text->SetPosition(800, 800);
        text->SetSize(700, 200);
        view.Attach(&host.view, layout.get());
    }

    PaintResult Paint(gfx::ImageSurface& surface) {
        gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
        return view.PaintView(canvas, host.view.client);
    }
};

TEST(PagePass, ScreenShowsPageDeskShadowMarginsAndPicture) {
    Fixture f;
    gfx::ImageSurface surface(800, 600);
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    EXPECT_TRUE(surface.WritePng(test::OutputFolder() / "view-page-pass.png"));

    EXPECT_EQ(Rgb(surface, 5, 5), 0xB4B4B4u);     // desk
    EXPECT_EQ(Rgb(surface, 795, 595), 0xB4B4B4u);
    EXPECT_EQ(Rgb(surface, 501, 300), 0x4D4D4Du);  // shadow right
    EXPECT_EQ(Rgb(surface, 400, 442), 0x4D4D4Du);  // shadow below
    EXPECT_EQ(Rgb(surface, 301, 300), 0x000000u);  // border
    EXPECT_EQ(Rgb(surface, 400, 160), 0x000000u);
    EXPECT_EQ(Rgb(surface, 310, 300), 0xFFFFFFu);  // inside the layout-area margin
    EXPECT_EQ(Rgb(surface, 400, 170), 0xFFFFFFu);
    EXPECT_EQ(Rgb(surface, 400, 300), 0xC0E0FFu);  // (192, 224, 255): the background
    EXPECT_EQ(Rgb(surface, 411, 340), Surface(test::kPictureColour));
    // The window's title follows the layout.
    EXPECT_EQ(f.host.shell.titles, std::vector<std::string>{"Untitled-0"});
    EXPECT_EQ(InstallRenderState().LockOwner(), 0);
    EXPECT_EQ(InstallRenderState().GetMode(), kDrawScreen);
}

TEST(PagePass, MonochromeGreysTheBackgroundOnScreenAndInPreviewsOnly) {
    Fixture f;
    f.layout->SetColor(1);
    gfx::ImageSurface surface(800, 600);
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    EXPECT_EQ(Rgb(surface, 400, 300), 0xD9D9D9u);  // 217, truncated from 217.8

    std::optional<ViewGeometry> g = PreviewViewGeometry(*f.layout, 96 / 360.0, 96 / 360.0);
    ASSERT_TRUE(g);
    DibBufferPtr preview = f.view.DrawPageOffscreen(kDrawPreview, *g);
    ASSERT_TRUE(preview);
    const Rect16 r = DibBuffer::GetRect(preview.get());
    EXPECT_EQ(r.right - r.left, 90);
    EXPECT_EQ(r.bottom - r.top, 128);
    const uint8_t* px = DibBuffer::GetBits(preview.get()) + (size_t(30) * 90 + 45) * 4;
    EXPECT_EQ(px[0], 217);
    EXPECT_EQ(px[2], 217);
    EXPECT_EQ(px[3], 255);

    // The printer gets the stored colour.
    DeviceCaps caps{360, 360, 2976, 4209, 0, 0, 2976, 4209};
    DrawDevice device;
    device.printer = &caps;
    f.view.probe = {2000, 1000};
    EXPECT_EQ(f.view.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass), PassResult::Done);
    ASSERT_EQ(f.view.spooled.size(), 2u);
    EXPECT_EQ(f.view.spooled[0].pixel, 0xC0E0FFu);
}

TEST(PagePass, ItemsOfOtherPagesStayOffExceptInABanner) {
    Fixture f;
    f.layout->SetPageNumber(2);  // the screen shows no page past the count
    f.picture->SetPosition(1200, 4209 + 2400);  // page 2
    gfx::ImageSurface surface(800, 600);
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    EXPECT_EQ(Rgb(surface, 411, 340), 0xC0E0FFu);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "picture"), 0);

    f.view.SetCurrentPage(1);
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    EXPECT_EQ(Rgb(surface, 411, 340), Surface(test::kPictureColour));

    // A banner's items are drawn whatever their page.
    f.view.SetCurrentPage(0);
    f.layout->SetBanner(1);
    f.layout->SetPageNum(2);
    f.view.calls.clear();
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "picture"), 1);
}

TEST(PagePass, LayersComeInTheirOrder) {
    Fixture f;
    f.layout->SetFree(1);
    f.layout->SetMarginShow(1);
    f.layout->SetLayoutMarginShow(1);
    f.layout->CutLine().mode = 2;
    f.layout->CutLine().markType = 1;
    f.host.app.preferences.gridShown = 1;
    f.host.app.preferences.ruler = 1;
    f.picture->SetLabelSelection(1);
    f.picture->SetCaptionText("Bildunterschrift");
    f.picture->SetSelected(1);
    auto* line = test::AppendItem<CLineObj>(*f.layout);
    line->SetPosition(900, 900);
    line->SetSize(400, 400);
    f.view.SetMarkedItem(f.picture);
    gfx::ImageSurface surface(800, 600);
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    const std::vector<std::string> expected{
        "background", "white margins", "grid",
        "picture", "label", "caption", "overlay", "marked", "cut frame 1",
        "handle 1", "handle 2", "handle 3", "handle 4", "handle 5", "handle 6", "handle 7", "handle 8",
        "free text", "free line",
        "header text", "header and footer",
        "white margins", "layout-area frame", "margin frame", "desk", "border", "shadow", "rulers"};
    EXPECT_EQ(f.view.calls, expected);

    // Automatic layout with cut lines for the roll cutter: after the items.
    f.layout->SetFree(0);
    f.layout->SetSpace({70, 70});
    f.layout->CutLine().mode = 1;
    f.view.SetMarkedItem(nullptr);
    f.picture->SetSelected(0);
    f.view.calls.clear();
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    const std::vector<std::string> automatic{
        "background", "white margins", "picture", "label", "caption", "overlay", "free text", "free line",
        "auto cut lines 1", "header text", "header and footer", "white margins", "layout-area frame",
        "margin frame", "desk", "border", "shadow", "rulers"};
    EXPECT_EQ(f.view.calls, automatic);
}

TEST(PagePass, PaintWhileAnotherPassHoldsTheLockFillsTheButtonFace) {
    Fixture f;
    RenderState& rs = InstallRenderState();
    ASSERT_TRUE(rs.Acquire(kRenderPrinting, false));
    gfx::ImageSurface surface(800, 600);
    EXPECT_EQ(f.Paint(surface), PaintResult::Busy);
    EXPECT_EQ(rs.LockOwner(), kRenderPrinting);
    rs.Release();
    const uint32_t face = Surface(gfx::GetSystemColours().buttonFace);
    for (PixelPoint p : {PixelPoint{5, 5}, PixelPoint{400, 300}, PixelPoint{799, 599}})
        EXPECT_EQ(Rgb(surface, p.x, p.y), face);
    EXPECT_TRUE(f.view.calls.empty());
}

TEST(PagePass, FailedPaintIsReportedNotShown) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    Fixture f;
    gfx::ImageSurface surface(800, 600);
    const uint32_t face = Surface(gfx::GetSystemColours().buttonFace);
    struct Case {
        const char* what;
        std::function<void(const CImageObj&, unsigned)> fail;
    };
    const auto raise = [](const CImageObj&, unsigned) { throw std::bad_alloc(); };
    const auto flag = [&](const CImageObj&, unsigned) { f.view.Pass().MarkBitmapDrawn(true); };
    for (const Case& c : {Case{"exception", raise}, Case{"image failure", flag}}) {
        SCOPED_TRACE(c.what);
        f.view.onImage = c.fail;
        EXPECT_EQ(f.Paint(surface), PaintResult::Failed);
        EXPECT_EQ(Rgb(surface, 400, 300), face);
        EXPECT_EQ(InstallRenderState().LockOwner(), 0);
        EXPECT_EQ(InstallRenderState().GetGeometry(), nullptr);
    }
    EXPECT_TRUE(messages.shown.empty());
    f.view.onImage = nullptr;
    EXPECT_EQ(f.Paint(surface), PaintResult::Drawn);
}

TEST(PagePass, GridLinesFollowTheSnapGrid) {
    Fixture f;
    f.layout->SetFree(1);
    f.layout->GetViewState()->zoomDenominator = 2;
    f.host.view.pageRect = {{0, 0, 396, 561}, {10, 10}};
    f.host.app.preferences.gridShown = 1;
    gfx::ImageSurface surface(800, 600);
    ASSERT_EQ(f.Paint(surface), PaintResult::Drawn);
    // 70 units at 96 / 720 pixels each: 9.33, truncated from the page top.
    std::set<int> expected;
    for (int i = 1; i * 28 / 3 < 561; ++i) expected.insert(10 + i * 28 / 3);
    std::set<int> found;
    const int x = 10 + 100;  // inside the layout area, off every item
    for (int y = 60; y < 520; ++y)
        if (Rgb(surface, x, y) == 0x808080) found.insert(y);
    std::set<int> inside;
    for (int y : expected)
        if (y >= 60 && y < 520) inside.insert(y);
    EXPECT_EQ(found, inside);
    int previous = 0;
    for (int y : inside) {
        if (previous) {
            EXPECT_TRUE(y - previous == 9 || y - previous == 10) << y;
        }
        previous = y;
    }
}

DeviceCaps PagePrinter(int width, int height) { return DeviceCaps{360, 360, width, height, 0, 0, width, height}; }

/// A layout whose page is width x height pixels when printed at 360 pixels per inch.
std::unique_ptr<CLayoutSetting> PixelPage(int width, int height) {
    auto layout = test::MakeA4Layout();
    layout->SetPaper({width, height});
    layout->SetMargin({0, 0, 0, 0});
    layout->SetLayoutAreaMgn({0, 0, 0, 0});
    return layout;
}

TEST(PrintBands, PageRunsInBandsOfAtMost4096) {
    auto layout = PixelPage(5000, 3000);
    test::RecordingView view;
    view.Attach(nullptr, layout.get());
    const DeviceCaps caps = PagePrinter(5000, 3000);
    DrawDevice device;
    device.printer = &caps;
    EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass), PassResult::Done);
    ASSERT_EQ(view.spooled.size(), 2u);
    EXPECT_EQ(view.spooled[0].clipped, (PixelRect{0, 0, 4096, 3000}));
    EXPECT_EQ(view.spooled[1].clipped, (PixelRect{4096, 0, 5000, 3000}));
    EXPECT_EQ(view.spooled[1].band, 1);
    EXPECT_EQ(view.spooled[1].page, 0);
    EXPECT_EQ(view.smoothing, (std::vector<bool>{true, true}));
    // At 720 pixels per inch nothing is smoothed.
    const DeviceCaps fine = PagePrinter(10000, 6000);
    device.printer = &fine;
    view.smoothing.clear();
    auto small = PixelPage(360, 360);
    view.Attach(nullptr, small.get());
    EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender720 | kSpoolPass), PassResult::Done);
    EXPECT_EQ(view.smoothing, std::vector<bool>{false});
    view.Attach(nullptr, layout.get());
    device.printer = &caps;

    // The measuring pass counts the same bands and draws nothing.
    view.spooled.clear();
    view.calls.clear();
    gfx::ImageSurface target(16, 16);
    gfx::Canvas canvas(target.Native(), 360);
    canvas.Clear({0, 1, 0, 1});
    device.canvas = &canvas;
    PassCounters counters;
    EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender360 | kMeasurePass, &counters), PassResult::Done);
    EXPECT_EQ(counters.area, 15'000'000);
    EXPECT_EQ(counters.bands, 2);
    EXPECT_EQ(counters.hits, 2);
    EXPECT_TRUE(view.spooled.empty());
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(Rgb(target, 8, 8), 0x00FF00u);

    // Rows of bands: 9000 x 5000 gives three across and two down, counted row by row.
    auto big = PixelPage(9000, 5000);
    view.Attach(nullptr, big.get());
    const DeviceCaps bigCaps = PagePrinter(9000, 5000);
    device.printer = &bigCaps;
    EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender360 | kMeasurePass, &counters), PassResult::Done);
    EXPECT_EQ(counters.bands, 6);
    EXPECT_EQ(counters.area, 45'000'000);
}

TEST(PrintBands, BannerSlicesOverlapTheNextPage) {
    auto layout = PixelPage(3000, 9000);
    layout->SetBanner(1);
    layout->SetPageNum(3);
    test::RecordingView view;
    view.Attach(nullptr, layout.get());
    const DeviceCaps caps = PagePrinter(3000, 3000);
    DrawDevice device;
    device.printer = &caps;
    for (int page : {0, 1, 2}) {
        view.SetCurrentPage(page);
        EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass), PassResult::Done);
    }
    ASSERT_EQ(view.spooled.size(), 3u);
    EXPECT_EQ(view.spooled[0].clipped, (PixelRect{0, 0, 3000, 3010}));
    EXPECT_EQ(view.spooled[1].clipped, (PixelRect{0, 0, 3000, 3010}));
    EXPECT_EQ(view.spooled[2].clipped, (PixelRect{0, 0, 3000, 3000}));
    EXPECT_EQ(view.spooled[2].page, 2);
}

TEST(PrintBands, RefusedBandAbortsWithAMessageAndCancelAbortsQuietly) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    auto layout = PixelPage(5000, 3000);
    const DeviceCaps caps = PagePrinter(5000, 3000);
    DrawDevice device;
    device.printer = &caps;

    test::RecordingView refused;
    refused.Attach(nullptr, layout.get());
    refused.spoolAnswer = false;
    EXPECT_EQ(refused.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass), PassResult::Failed);
    EXPECT_EQ(refused.spooled.size(), 1u);
    EXPECT_EQ(refused.aborts, 1);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_NOT_ENOUGH_MEMORY});

    messages.shown.clear();
    test::RecordingView cancelled;
    cancelled.Attach(nullptr, layout.get());
    cancelled.cancelAfterBands = 1;
    EXPECT_EQ(cancelled.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass), PassResult::Cancelled);
    EXPECT_EQ(cancelled.spooled.size(), 1u);
    EXPECT_EQ(cancelled.aborts, 1);
    EXPECT_TRUE(messages.shown.empty());

    // An image that cannot be drawn while printing: the message and the abort.
    test::RecordingView failing;
    auto withPicture = PixelPage(5000, 3000);
    test::AddPictureItem(*withPicture, 100, 100, 500, 500, 0x0000FF);
    failing.Attach(nullptr, withPicture.get());
    failing.onImage = [&](const CImageObj&, unsigned) { failing.Pass().MarkBitmapDrawn(true); };
    EXPECT_EQ(failing.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass), PassResult::Failed);
    EXPECT_TRUE(failing.spooled.empty());
    EXPECT_EQ(failing.aborts, 1);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_NOT_ENOUGH_MEMORY});
    EXPECT_EQ(InstallRenderState().GetGeometry(), nullptr);
}

/// size x size pixels of one colour, B,G,R,x.
std::vector<uint8_t> Solid(int w, int h, uint32_t rgb) {
    std::vector<uint8_t> px(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = uint8_t(rgb);
        px[i + 1] = uint8_t(rgb >> 8);
        px[i + 2] = uint8_t(rgb >> 16);
        px[i + 3] = 255;
    }
    return px;
}

TEST(PrintBands, StoredBandIsReplayedOnceAndGoes) {
    // In a file (no memory budget) and in memory: the same pixels, and nothing left.
    for (const bool inFile : {true, false}) {
        SCOPED_TRACE(inFile ? "file" : "memory");
        test::RecordingView view;
        BandStore& bands = view.Bands();
        if (inFile) bands.SetMemoryBudget(0);
        const size_t before = TempFiles();
        // Far beyond 100 bands a page and 300 pages.
        std::vector<uint8_t> px = Solid(30, 20, 0x2080F0);
        px[0] = 0;  // the top-left pixel 0x208000: rows stay in order
        ASSERT_TRUE(bands.Store(400, 150, px.data(), 30, 20, 30 * 4));
        EXPECT_EQ(bands.HasFile(400, 150), inFile);
        EXPECT_EQ(bands.InMemory(400, 150), !inFile);
        EXPECT_EQ(TempFiles(), before + (inFile ? 1 : 0));

        gfx::ImageSurface target(40, 30);
        gfx::Canvas canvas(target.Native(), 360);
        canvas.Clear({1, 1, 1, 1});
        EXPECT_TRUE(view.DrawCachedTile(canvas, {5, 5, 35, 25}, 400, 150));
        EXPECT_EQ(Rgb(target, 5, 5), 0x208000u);
        EXPECT_EQ(Rgb(target, 34, 24), 0x2080F0u);
        EXPECT_EQ(Rgb(target, 4, 4), 0xFFFFFFu);
        EXPECT_EQ(Rgb(target, 35, 25), 0xFFFFFFu);
        EXPECT_EQ(TempFiles(), before);
        EXPECT_EQ(bands.Count(), 0u);
        // A band that was never spooled, or was replayed already, draws nothing and succeeds.
        EXPECT_TRUE(view.DrawCachedTile(canvas, {0, 0, 10, 10}, 400, 150));
        EXPECT_TRUE(view.DrawCachedTile(canvas, {0, 0, 10, 10}, 1, 1));
        EXPECT_EQ(view.steps, 3);
        EXPECT_EQ(Rgb(target, 0, 0), 0xFFFFFFu);
        EXPECT_FALSE(bands.Store(1, 1, px.data(), 0, 20, 0));
    }
}

TEST(PrintBands, BandsOnAPdfPageLiveUntilThePageIsWritten) {
    for (const bool inFile : {true, false}) {
        SCOPED_TRACE(inFile ? "file" : "memory");
        test::RecordingView view;
        BandStore& bands = view.Bands();
        if (inFile) bands.SetMemoryBudget(0);
        const size_t before = TempFiles();
        const size_t perBand = inFile ? 1 : 0;
        std::vector<uint8_t> px = Solid(64, 48, 0x3366CC);
        ASSERT_TRUE(bands.Store(0, 0, px.data(), 64, 48, 64 * 4));
        ASSERT_TRUE(bands.Store(0, 1, px.data(), 64, 48, 64 * 4));
        std::string pdf;
        gfx::PdfDocument doc([&](const uint8_t* d, size_t n) {
            pdf.append(reinterpret_cast<const char*>(d), n);
            return true;
        });
        gfx::Canvas* page = doc.BeginPage(200, 100, 360);
        ASSERT_TRUE(page);
        EXPECT_TRUE(view.DrawCachedTile(*page, {0, 0, 64, 48}, 0, 0));
        EXPECT_EQ(bands.Pending(), 1u);
        EXPECT_EQ(TempFiles(), before + 2 * perBand);
        EXPECT_EQ(doc.EndPage(), gfx::PdfStatus::Ok);
        EXPECT_TRUE(bands.PageWritten());
        EXPECT_EQ(bands.Pending(), 0u);
        EXPECT_EQ(TempFiles(), before + perBand);
        EXPECT_EQ(doc.Finish(), gfx::PdfStatus::Ok);
        // The band went into the file as a picture of its own size.
        EXPECT_NE(pdf.find("/Subtype /Image /Width 64 /Height 48"), std::string::npos);
        bands.Clear();
        EXPECT_EQ(TempFiles(), before);
    }
}

TEST(PrintBands, BandsBeyondTheMemoryBudgetGoToFiles) {
    test::RecordingView view;
    BandStore& bands = view.Bands();
    const size_t before = TempFiles();
    std::vector<uint8_t> px = Solid(16, 8, 0x102030);
    bands.SetMemoryBudget(16 * 4 * 8);
    ASSERT_TRUE(bands.Store(0, 0, px.data(), 16, 8, 16 * 4));
    ASSERT_TRUE(bands.Store(0, 1, px.data(), 16, 8, 16 * 4));
    EXPECT_TRUE(bands.InMemory(0, 0));
    EXPECT_TRUE(bands.HasFile(0, 1));
    // Storing a band again gives its memory back first.
    ASSERT_TRUE(bands.Store(0, 0, px.data(), 16, 8, 16 * 4));
    EXPECT_TRUE(bands.InMemory(0, 0));
    // A replayed band frees its share of the budget for the next page.
    gfx::ImageSurface target(16, 8);
    gfx::Canvas canvas(target.Native(), 360);
    EXPECT_TRUE(view.DrawCachedTile(canvas, {0, 0, 16, 8}, 0, 0));
    ASSERT_TRUE(bands.Store(1, 0, px.data(), 16, 8, 16 * 4));
    EXPECT_TRUE(bands.InMemory(1, 0));
    EXPECT_EQ(Rgb(target, 15, 7), 0x102030u);
    EXPECT_EQ(TempFiles(), before + 1);
    bands.Clear();
    EXPECT_EQ(TempFiles(), before);
}

TEST(PrintBands, AnOpaqueBandOfItsOwnSizeIsKeptWithoutACopy) {
    test::RecordingView view;
    BandStore& bands = view.Bands();
    gfx::ImageSurface own(16, 8, true);
    gfx::ImageSurface wider(32, 8, true);
    gfx::ImageSurface translucent(16, 8);
    for (gfx::ImageSurface* s : {&own, &wider, &translucent}) {
        gfx::Canvas c(s->Native(), 360);
        c.Clear({0.5, 0.25, 1, 1});
    }
    ASSERT_TRUE(bands.Store(0, 0, own, 16, 8));
    ASSERT_TRUE(bands.Store(0, 1, wider, 16, 8));
    ASSERT_TRUE(bands.Store(0, 2, translucent, 16, 8));
    EXPECT_EQ(cairo_surface_get_reference_count(own.Native()), 2u);
    EXPECT_EQ(cairo_surface_get_reference_count(wider.Native()), 1u);
    EXPECT_EQ(cairo_surface_get_reference_count(translucent.Native()), 1u);
    for (int band = 0; band < 3; ++band) {
        gfx::ImageSurface target(16, 8);
        gfx::Canvas canvas(target.Native(), 360);
        EXPECT_TRUE(view.DrawCachedTile(canvas, {0, 0, 16, 8}, 0, band));
        EXPECT_EQ(Rgb(target, 15, 7), Rgb(own, 15, 7)) << band;
    }
    EXPECT_EQ(cairo_surface_get_reference_count(own.Native()), 1u);
}

TEST(PrintBands, ReplayDrawsLinesAsVectorsThenTheBandsAtDeviceScale) {
    // 120 pixels per inch on a 600-dpi device: five device pixels per render pixel.
    auto layout = PixelPage(360, 360);  // 120 x 120 render pixels
    test::RecordingView view;
    view.Attach(nullptr, layout.get());
    const DeviceCaps caps{600, 600, 600, 600, 0, 0, 600, 600};
    std::vector<uint8_t> px = Solid(120, 120, 0x0000FF);
    ASSERT_TRUE(view.Bands().Store(0, 0, px.data(), 120, 120, 120 * 4));
    gfx::ImageSurface target(600, 600);
    gfx::Canvas canvas(target.Native(), 600);
    canvas.Clear({1, 1, 1, 1});
    DrawDevice device;
    device.canvas = &canvas;
    device.printer = &caps;
    EXPECT_EQ(view.DrawPage(device, kDrawPrinter, kRender120 | kScaleToDevice), PassResult::Done);
    EXPECT_EQ(view.lineScales, std::vector<double>{5.0});
    EXPECT_EQ(view.steps, 1);
    EXPECT_EQ(Rgb(target, 599, 599), 0x0000FFu);
    EXPECT_EQ(Rgb(target, 0, 0), 0x0000FFu);
    cairo_matrix_t m;
    cairo_get_matrix(canvas.Native(), &m);
    EXPECT_EQ(m.xx, 1.0);  // the device's canvas is given back as it came
}

TEST(PageOffscreen, DrawsPageOneAtThePreviewScale) {
    Fixture f;
    f.view.SetCurrentPage(2);
    std::optional<ViewGeometry> g = PreviewViewGeometry(*f.layout, 96 / 360.0, 96 / 360.0);
    ASSERT_TRUE(g);
    DibBufferPtr page = f.view.DrawPageOffscreen(kDrawPreview, *g);
    ASSERT_TRUE(page);
    EXPECT_EQ(f.view.GetCurrentPage(), 2);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "picture"), 1);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "desk"), 0);

    // A template saved without its images shows placeholders, no items.
    f.view.calls.clear();
    ASSERT_TRUE(f.view.DrawPageOffscreen(kDrawTemplatePreview, *g));
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "picture"), 0);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "free text"), 0);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "placeholders"), 1);

    // No paper, no picture; no layout, no picture.
    f.layout->SetPaper({2976, 0});
    EXPECT_FALSE(f.view.DrawPageOffscreen(kDrawPreview, *g));
    CGPView empty;
    EXPECT_FALSE(empty.DrawPageOffscreen(kDrawPreview, *g));
}

}  // namespace
}  // namespace vx
