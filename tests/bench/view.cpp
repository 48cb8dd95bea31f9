// The page drawing pass against what cairo does without it: a screen paint of 50
// pictures against painting the same pixels into their rectangles, a spool pass of four
// 24-megapixel pictures against drawing them into the same two bands with the same
// writes, and the measuring pass of a 15 m banner against its spool pass.
// Run by hand (scripts/bench-view); the ratios at the end come from paired runs.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "imaging/DibBuffer.h"
#include "model/CImageObj.h"
#include "model/CTextObj.h"
#include "model/FreeTextItem.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"
#include "platform/spool/PrintDevice.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Folders.h"
#include "view/CGPView.h"
#include "view/LineWork.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

/// Pixels that are not one colour, so that nothing in the path can skip work.
DibBufferPtr Pixels(int width, int height, uint32_t seed) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, r) != 0) std::abort();
    uint8_t* bits = DibBuffer::GetBits(raw);
    const size_t n = size_t(width) * size_t(height);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t v = uint32_t(i * 2654435761u) ^ seed;
        bits[i * 4 + 0] = uint8_t(v >> 8);
        bits[i * 4 + 1] = uint8_t(v >> 16);
        bits[i * 4 + 2] = uint8_t(v >> 24);
        bits[i * 4 + 3] = 255;
    }
    return DibBufferPtr(raw);
}

std::unique_ptr<CLayoutSetting> Layout(LayoutPoint paper) {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetType(kRecordTypeLayout);
    layout->SetPaper(paper);
    layout->SetOrientation(paper.x < paper.y ? 1 : 2);
    layout->SetColor(2);
    layout->SetPageNumber(1);
    layout->SetPageMax(1);
    layout->SetFree(1);
    layout->SetPaperColor(0xFFFFFF);
    layout->SetMargin({100, 100, 100, 100});
    layout->SetLayoutAreaMgn({200, 200, 200, 200});
    layout->SetBaseImage(std::make_unique<CImageObj>(true));
    layout->RenewViewState();
    return layout;
}

/// One image item at rect (layout units) holding pixels; keeps a copy in memory for the
/// reference side.
struct Placed {
    CImageObj* item = nullptr;
    LayoutRect rect;
    DibBufferPtr memory;
};

Placed AddPicture(CLayoutSetting& layout, const LayoutRect& r, int width, int height, uint32_t seed) {
    auto owned = std::make_unique<CImageObj>(true);
    CImageObj* item = owned.get();
    item->SetOwner(&layout);
    item->SetSizeMethod(1);
    item->SetPosition(r.left, r.top);
    item->SetSize(r.right - r.left, r.bottom - r.top);
    if (!AppendObject(layout.ItemListHead(), owned)) std::abort();
    if (!item->SetWorkingBitmap(Pixels(width, height, seed))) std::abort();
    return {item, r, Pixels(width, height, seed)};
}

/// Paints `pixels` scaled into the rectangle r (device pixels) of cr.
void PaintInto(cairo_t* cr, DibBuffer* pixels, double x, double y, double w, double h, cairo_filter_t filter) {
    const Rect16 pr = DibBuffer::GetRect(pixels);
    const int pw = pr.right - pr.left, ph = pr.bottom - pr.top;
    cairo_surface_t* s = cairo_image_surface_create_for_data(DibBuffer::GetBits(pixels), CAIRO_FORMAT_RGB24, pw, ph,
                                                             pw * 4);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / pw, h / ph);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

// ---- Screen pass --------------------------------------------------------------------

/// An A4 page at fit zoom (1/2: 396 x 561 pixels at (202, 20) of an 800 x 600 client)
/// with 50 pictures of 5 columns and 10 rows, each a display bitmap of its size.
struct ScreenPage : LayoutView {
    std::unique_ptr<CLayoutSetting> layout = Layout({2976, 4209});
    std::vector<Placed> pictures;
    CGPView view;

    ScreenPage() {
        layout->GetViewState()->zoomNumerator = 1;
        layout->GetViewState()->zoomDenominator = 2;
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 5; ++col) {
                const LayoutRect r{300 + col * 480, 300 + row * 360, 300 + col * 480 + 450, 300 + row * 360 + 330};
                // Display bitmaps of one pixel per layout unit, as they are built for
                // the item's size; 60 x 44 pixels on screen.
                pictures.push_back(AddPicture(*layout, r, 450, 330, uint32_t(row * 5 + col)));
            }
        view.Attach(this, layout.get());
    }
    int GetCurrentPage() const override { return 0; }
    void SetCurrentPage(int) override {}
    PixelRect ClientToDocRect() const override { return {0, 0, 800, 600}; }
    ViewPageRect GetPageRect() const override { return {{0, 0, 396, 561}, {202, 20}}; }
    PixelPoint GetPixelsPerInch() const override { return {96, 96}; }
    void ScrollTo(PixelPoint) override {}
    void Invalidate() override {}
    void Update() override {}
    void SetupObjectTracker(const CLayoutObj&) override {}
};

ScreenPage& Screen() {
    static ScreenPage page;
    return page;
}

void BM_ScreenPass(benchmark::State& state) {
    ScreenPage& page = Screen();
    gfx::ImageSurface surface(800, 600, true);
    gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
    for (auto _ : state) {
        if (page.view.PaintView(canvas, {0, 0, 800, 600}) != PaintResult::Drawn) state.SkipWithError("paint failed");
        benchmark::DoNotOptimize(surface.Data());
    }
}
BENCHMARK(BM_ScreenPass)->Unit(benchmark::kMicrosecond);

void BM_CairoPaintPictures(benchmark::State& state) {
    ScreenPage& page = Screen();
    gfx::ImageSurface surface(800, 600, true);
    cairo_t* cr = cairo_create(surface.Native());
    const double s = 96.0 / 360 / 2;
    for (auto _ : state) {
        for (const Placed& p : page.pictures)
            PaintInto(cr, p.memory.get(), 202 + int(p.rect.left * s), 20 + int(p.rect.top * s),
                      int((p.rect.right - p.rect.left) * s), int((p.rect.bottom - p.rect.top) * s),
                      CAIRO_FILTER_NEAREST);
        cairo_surface_flush(surface.Native());
        benchmark::DoNotOptimize(surface.Data());
    }
    cairo_destroy(cr);
}
BENCHMARK(BM_CairoPaintPictures)->Unit(benchmark::kMicrosecond);

// ---- Spool pass ---------------------------------------------------------------------

/// A view whose spooler writes every band's pixels to one file, as the print job's
/// band files are written.
struct WritingView : CGPView {
    int fd = -1;
    bool write = true;

protected:
    bool SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect& clipped, int, int) override {
        if (!write) return true;
        return WriteBand(fd, surface.Data(), surface.Stride(), clipped.right - clipped.left,
                         clipped.bottom - clipped.top);
    }

public:
    static bool WriteBand(int fd, const uint8_t* data, int stride, int width, int height) {
        if (lseek(fd, 0, SEEK_SET) != 0) return false;
        const size_t row = size_t(width) * 4;
        if (size_t(stride) == row) return ::write(fd, data, row * size_t(height)) == ssize_t(row * size_t(height));
        for (int y = 0; y < height; ++y)
            if (::write(fd, data + size_t(y) * size_t(stride), row) != ssize_t(row)) return false;
        return true;
    }
};

/// A4 at 360 pixels per inch (2976 x 4209 pixels: two bands) with four 24-megapixel
/// pictures, one in each quarter of the layout area.
struct SpoolPage {
    std::unique_ptr<CLayoutSetting> layout = Layout({2976, 4209});
    std::vector<Placed> pictures;
    WritingView view;
    DeviceCaps caps{360, 360, 2976, 4209, 0, 0, 2976, 4209};
    int fd = -1;

    explicit SpoolPage(const fs::path& folder) {
        const LayoutRect quarters[4] = {{240, 300, 1440, 2100}, {1536, 300, 2736, 2100},
                                        {240, 2200, 1440, 4000}, {1536, 2200, 2736, 4000}};
        for (int i = 0; i < 4; ++i) pictures.push_back(AddPicture(*layout, quarters[i], 4000, 6000, uint32_t(i)));
        view.Attach(nullptr, layout.get());
        fd = open((folder / "bands").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) std::abort();
        view.fd = fd;
    }
};

fs::path gFolder;

SpoolPage& Spool() {
    static SpoolPage page(gFolder);
    return page;
}

void BM_SpoolPass(benchmark::State& state) {
    SpoolPage& page = Spool();
    DrawDevice device;
    device.printer = &page.caps;
    for (auto _ : state)
        if (page.view.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass) != PassResult::Done)
            state.SkipWithError("spool pass failed");
}
BENCHMARK(BM_SpoolPass)->Unit(benchmark::kMillisecond);

void BM_CairoDrawBands(benchmark::State& state) {
    SpoolPage& page = Spool();
    // The same bands: 2976 x 4096 and 2976 x 113, the pictures less the printer offset.
    const int bandHeights[2] = {4096, 4209 - 4096};
    for (auto _ : state) {
        gfx::ImageSurface band(2976, 4096);
        cairo_t* cr = cairo_create(band.Native());
        for (int b = 0; b < 2; ++b) {
            const int top = b * 4096;
            cairo_save(cr);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_paint(cr);
            cairo_rectangle(cr, 0, 0, 2976, bandHeights[b]);
            cairo_clip(cr);
            for (const Placed& p : page.pictures) {
                const double y = p.rect.top - 100 - top;
                const double h = p.rect.bottom - p.rect.top;
                if (y + h <= 0 || y >= bandHeights[b]) continue;
                PaintInto(cr, p.memory.get(), p.rect.left - 100, y, p.rect.right - p.rect.left, h, CAIRO_FILTER_GOOD);
            }
            cairo_restore(cr);
            cairo_surface_flush(band.Native());
            if (!WritingView::WriteBand(page.fd, band.Data(), band.Stride(), 2976, bandHeights[b]))
                state.SkipWithError("write failed");
        }
        cairo_destroy(cr);
    }
}
BENCHMARK(BM_CairoDrawBands)->Unit(benchmark::kMillisecond);

// ---- Measuring pass -----------------------------------------------------------------

/// A 15 m banner, 17 inches wide, at 360 pixels per inch: 6120 x 212598 pixels in 2 x 52
/// bands, with a picture every metre.
struct BannerPage {
    std::unique_ptr<CLayoutSetting> layout = Layout({6120, 212598});
    std::vector<Placed> pictures;
    WritingView view;
    DeviceCaps caps{360, 360, 6120, 212598, 0, 0, 6120, 212598};

    BannerPage() {
        layout->SetBanner(1);
        layout->SetPageNum(1);
        for (int m = 0; m < 15; ++m) {
            const int32_t top = 400 + m * 14173;
            pictures.push_back(AddPicture(*layout, {400, top, 5720, top + 8000}, 1200, 1800, uint32_t(m)));
        }
        view.write = false;
        view.Attach(nullptr, layout.get());
    }
};

BannerPage& Banner() {
    static BannerPage page;
    return page;
}

void BM_BannerMeasuringPass(benchmark::State& state) {
    BannerPage& page = Banner();
    DrawDevice device;
    device.printer = &page.caps;
    PassCounters counters;
    for (auto _ : state) {
        if (page.view.DrawPage(device, kDrawPrinter, kRender360 | kMeasurePass, &counters) != PassResult::Done ||
            counters.bands != 104)
            state.SkipWithError("measuring pass failed");
        benchmark::DoNotOptimize(counters.area);
    }
}
BENCHMARK(BM_BannerMeasuringPass)->Unit(benchmark::kMicrosecond);

void BM_BannerSpoolPass(benchmark::State& state) {
    BannerPage& page = Banner();
    DrawDevice device;
    device.printer = &page.caps;
    for (auto _ : state)
        if (page.view.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass) != PassResult::Done)
            state.SkipWithError("spool pass failed");
}
BENCHMARK(BM_BannerSpoolPass)->Unit(benchmark::kMillisecond)->Iterations(1);

// ---- Texts of a page ------------------------------------------------------------------

/// 100 images with a caption on the bottom frame and a label turned on the right frame,
/// and 50 free texts, at 100 % on an 800 x 1100 client; pictures are not drawn.
struct TextView : CGPView {
    void RenderImage(const CImageObj&, unsigned) override {}
};

struct TextPage : LayoutView {
    std::unique_ptr<CLayoutSetting> layout = Layout({2976, 4209});
    TextView view;
    std::vector<std::string> strings;
    std::vector<double> sizes;  // pixels

    TextPage() {
        layout->SetFree(1);
        layout->GetViewState()->zoomNumerator = 1;
        layout->GetViewState()->zoomDenominator = 1;
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 10; ++col) {
                auto owned = std::make_unique<CImageObj>(true);
                CImageObj* item = owned.get();
                item->SetOwner(layout.get());
                item->SetPosition(250 + col * 250, 250 + row * 380);
                item->SetSize(240, 300);
                item->SetFrame({60, 0, 60, 60});
                item->SetCaptionText("Bild " + std::to_string(row * 10 + col));
                item->SetCaptionFontSize(40);
                item->SetCaptionLocation(1);  // the bottom frame: the top has none
                item->SetLabelSelection(1);
                item->SetLabelText("Nr. " + std::to_string(row * 10 + col + 1));
                item->SetLabelFontSize(40);
                item->SetLabelLocation(3);
                if (!AppendObject(layout->ItemListHead(), owned)) std::abort();
                strings.push_back(item->GetCaptionText());
                strings.push_back(item->GetLabelText());
                sizes.push_back(40 * 96.0 / 360);
                sizes.push_back(40 * 96.0 / 360);
            }
        for (int i = 0; i < 50; ++i) {
            auto owned = std::make_unique<CTextObj>(true);
            CTextObj* t = owned.get();
            t->SetOwner(layout.get());
            t->SetText("Freier Text " + std::to_string(i));
            t->SetFont({"DejaVu Sans", 0, 60, 0});
            t->SetTextLineHeight(75);
            t->SetAngle(int16_t(i % 4 * 30));
            t->SetPosition(300 + i % 5 * 500, 200 + i / 5 * 390);
            t->SetOrgSize({450, 75});
            ComputeRotatedTextBox(*t);
            if (!AppendObject(layout->ItemListHead(), owned)) std::abort();
            strings.push_back(t->GetText());
            sizes.push_back(60 * 96.0 / 360);
        }
        view.Attach(this, layout.get());
    }
    int GetCurrentPage() const override { return 0; }
    void SetCurrentPage(int) override {}
    PixelRect ClientToDocRect() const override { return {0, 0, 800, 1100}; }
    ViewPageRect GetPageRect() const override { return {{0, 0, 794, 1122}, {0, 0}}; }
    PixelPoint GetPixelsPerInch() const override { return {96, 96}; }
    void ScrollTo(PixelPoint) override {}
    void Invalidate() override {}
    void Update() override {}
    void SetupObjectTracker(const CLayoutObj&) override {}
};

TextPage& Texts() {
    static TextPage page;
    return page;
}

void BM_PageTexts(benchmark::State& state) {
    TextPage& page = Texts();
    gfx::ImageSurface surface(800, 1100, true);
    gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
    for (auto _ : state) {
        if (page.view.PaintView(canvas, {0, 0, 800, 1100}) != PaintResult::Drawn) state.SkipWithError("paint failed");
        benchmark::DoNotOptimize(surface.Data());
    }
}
BENCHMARK(BM_PageTexts)->Unit(benchmark::kMicrosecond);

void BM_PangoShowPreparedLayouts(benchmark::State& state) {
    TextPage& page = Texts();
    gfx::ImageSurface surface(800, 1100, true);
    cairo_t* cr = cairo_create(surface.Native());
    std::vector<PangoLayout*> layouts;
    for (size_t i = 0; i < page.strings.size(); ++i) {
        PangoLayout* l = pango_cairo_create_layout(cr);
        PangoFontDescription* d = pango_font_description_from_string("DejaVu Sans");
        pango_font_description_set_absolute_size(d, page.sizes[i] * PANGO_SCALE);
        pango_layout_set_font_description(l, d);
        pango_font_description_free(d);
        pango_layout_set_text(l, page.strings[i].c_str(), -1);
        layouts.push_back(l);
    }
    for (auto _ : state) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        for (size_t i = 0; i < layouts.size(); ++i) {
            cairo_save(cr);
            cairo_translate(cr, double(i % 10) * 70, double(i / 10) * 40);
            cairo_rotate(cr, double(i % 4) * G_PI / 6);
            pango_cairo_show_layout(cr, layouts[i]);
            cairo_restore(cr);
        }
        cairo_surface_flush(surface.Native());
        benchmark::DoNotOptimize(surface.Data());
    }
    for (PangoLayout* l : layouts) g_object_unref(l);
    cairo_destroy(cr);
}
BENCHMARK(BM_PangoShowPreparedLayouts)->Unit(benchmark::kMicrosecond);

// ---- Automatic cut lines ----------------------------------------------------------------

/// The image rectangles of a 20 x 20 automatic layout at 360 ppi: 1500 x 800 pixels,
/// 100 apart.
std::vector<PixelRect> CutImages() {
    std::vector<PixelRect> images;
    for (int row = 0; row < 20; ++row)
        for (int col = 0; col < 20; ++col)
            images.push_back({100 + col * 1600, 100 + row * 900, 1600 + col * 1600, 900 + row * 900});
    return images;
}

/// Runs the cut-line drawer on a canvas, as the page pass does.
struct CutView : CGPView, LayoutView {
    std::unique_ptr<CLayoutSetting> layout = Layout({32200, 18200});
    std::vector<PixelRect> images = CutImages();
    CutView() {
        layout->SetFree(0);
        layout->SetSpace({100, 100});
        layout->GetViewState()->zoomNumerator = 1;
        layout->GetViewState()->zoomDenominator = 1;
        Attach(this, layout.get());
    }
    void RenderPageContent(const PixelRect*, unsigned) override { DrawAutoCutLines(images, 1.0); }
    int GetCurrentPage() const override { return 0; }
    void SetCurrentPage(int) override {}
    PixelRect ClientToDocRect() const override { return {0, 0, 1000, 1000}; }
    ViewPageRect GetPageRect() const override { return {{0, 0, 32200, 18200}, {0, 0}}; }
    PixelPoint GetPixelsPerInch() const override { return {360, 360}; }
    void ScrollTo(PixelPoint) override {}
    void Invalidate() override {}
    void Update() override {}
    void SetupObjectTracker(const CLayoutObj&) override {}
};

void BM_DrawAutoCutLines(benchmark::State& state) {
    static CutView view;
    gfx::ImageSurface surface(1000, 1000, true);
    gfx::Canvas canvas(surface.Native(), 360);
    for (auto _ : state) {
        if (view.PaintView(canvas, {0, 0, 1000, 1000}) != PaintResult::Drawn) state.SkipWithError("paint failed");
        benchmark::DoNotOptimize(surface.Data());
    }
}
BENCHMARK(BM_DrawAutoCutLines)->Unit(benchmark::kMicrosecond);

void BM_CairoStrokeCutSegments(benchmark::State& state) {
    const AutoCutPlan plan = PlanAutoCutLines(CutImages(), 1.0, 100);
    gfx::ImageSurface surface(1000, 1000, true);
    cairo_t* cr = cairo_create(surface.Native());
    for (auto _ : state) {
        for (const auto* list : {&plan.segments, &plan.narrowSegments})
            for (const PixelRect& s : *list) {
                CutSegmentStrokes strokes;
                CutSegmentGeometry(s, 1.0, list == &plan.narrowSegments, strokes);
                cairo_move_to(cr, strokes.first.left, strokes.first.top);
                cairo_line_to(cr, strokes.first.right, strokes.first.bottom);
                cairo_move_to(cr, strokes.second.left, strokes.second.top);
                cairo_line_to(cr, strokes.second.right, strokes.second.bottom);
                cairo_set_line_width(cr, strokes.width);
                cairo_set_source_rgb(cr, 0, 0, 0);
                cairo_stroke(cr);
            }
        cairo_surface_flush(surface.Native());
        benchmark::DoNotOptimize(surface.Data());
    }
    cairo_destroy(cr);
}
BENCHMARK(BM_CairoStrokeCutSegments)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    if (folder.Path().empty() || !CreateTempFolder()) return 1;
    gFolder = folder.Path();
    return bench::RunWithRatios(argc, argv, {
        {"BM_ScreenPass", "BM_CairoPaintPictures", 1.3},
        {"BM_SpoolPass", "BM_CairoDrawBands", 1.15},
        {"BM_BannerMeasuringPass", "BM_BannerSpoolPass/iterations:1", 0.01},
        {"BM_PageTexts", "BM_PangoShowPreparedLayouts", 1.5},
        {"BM_DrawAutoCutLines", "BM_CairoStrokeCutSegments", 2.0},
    });
}
