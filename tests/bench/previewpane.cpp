// The image preview pane's paint against cairo painting the same picture into the same
// area. Run by hand; the ratio at the end comes from this one run.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "imaging/DibBuffer.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Folders.h"
#include "view/PreviewPaneRenderer.h"

using namespace vx;

namespace {

constexpr int kBitmapW = 3000, kBitmapH = 2000;
constexpr int kItemW = 3600, kItemH = 2400;
constexpr int kAreaW = 440, kAreaH = 380;

std::filesystem::path gFolder;

/// The open layout of the run, with one image item.
struct BenchApp : ApplicationState {
    AppPreferences preferences;
    CLayoutSetting defaults{true};
    std::unique_ptr<CLayoutSetting> layout = std::make_unique<CLayoutSetting>(true);
    CLayoutSetting* active = layout.get();
    UndoStore undo;
    AppPreferences& Preferences() override { return preferences; }
    CLayoutSetting& DefaultLayoutSetting() override { return defaults; }
    CLayoutSetting*& ActiveLayoutSlot() override { return active; }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting>, CLayoutSetting**) override {}
    bool InitAppDefaults() override { return true; }
    bool PrepareNewLayout(CLayoutSetting&) override { return true; }
    int GetSystemLanguage() override { return 7; }
    bool ImportLocked() override { return false; }
    UndoStore& GetUndoStore() override { return undo; }
};

DibBufferPtr Picture() {
    Rect16 r;
    r.Set(0, 0, int16_t(kBitmapW), int16_t(kBitmapH));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, r) != 0) return nullptr;
    uint8_t* bits = DibBuffer::GetBits(raw);
    for (size_t i = 0; i < size_t(kBitmapW) * kBitmapH * 4; i += 4) {
        bits[i] = uint8_t(i >> 4);
        bits[i + 1] = uint8_t(i >> 10);
        bits[i + 2] = uint8_t(i >> 16);
        bits[i + 3] = 255;
    }
    return DibBufferPtr(raw);
}

void BM_PreviewPanePaint(benchmark::State& state) {
    BenchApp app;
    ScopedHostService<ApplicationState> installed(&app);
    app.layout->SetType(kRecordTypeLayout);
    app.layout->SetPaper({kItemW + 720, kItemH + 720});
    app.layout->SetColor(2);
    auto owned = std::make_unique<CImageObj>(true);
    CImageObj* item = owned.get();
    item->SetOwner(app.layout.get());
    item->SetType(kRecordTypeLayout);
    item->SetSizeMethod(1);
    item->SetSize(kItemW, kItemH);
    item->SetColorSpace(0x52474220);
    ImageDescription description;
    description.codecType = 0x6A706567;
    description.width = kBitmapW;
    description.height = kBitmapH;
    description.hRes = description.vRes = 300;
    description.depth = 24;
    item->SetDescription(description);
    const auto file = gFolder / "bild.jpg";
    std::ofstream(file) << "x";
    item->SetFilePath(file);
    if (!item->SetWorkingBitmap(Picture()) || !AppendObject(app.layout->ItemListHead(), owned)) {
        state.SkipWithError("no item");
        return;
    }
    PreviewPaneRenderer pane;
    pane.Zoom().SetDrawingArea(kAreaW, kAreaH);
    if (!pane.ShowObject(item) || !pane.Zoom().Choose(0)) {
        state.SkipWithError("not shown");
        return;
    }
    pane.Zoom().ScrollTo(true, 1000);
    pane.Zoom().ScrollTo(false, 800);
    gfx::ImageSurface target(kAreaW, kAreaH, true);
    gfx::Canvas canvas(target.Native(), 96);
    pane.Draw(canvas);
    cairo_surface_flush(target.Native());
    // The picture's pixel under the area's middle: (1220, 990) of the item, 1.2 units a pixel.
    const size_t at = (size_t(990 / 1.2) * kBitmapW + size_t(1220 / 1.2)) * 4;
    const uint32_t expected = (uint32_t(uint8_t(at >> 16)) << 16) | (uint32_t(uint8_t(at >> 10)) << 8) | uint8_t(at >> 4);
    if ((target.Pixel(220, 190) & 0xFFFFFF) != expected) {
        std::fprintf(stderr, "pixel %08x, expected %06x\n", target.Pixel(220, 190), expected);
        state.SkipWithError("the picture was not drawn");
        return;
    }
    for (auto _ : state) {
        if (pane.Draw(canvas) != PreviewPaneRenderer::Paint::Drawn) state.SkipWithError("not drawn");
        cairo_surface_flush(target.Native());
    }
}
BENCHMARK(BM_PreviewPanePaint)->Unit(benchmark::kMicrosecond);

void BM_CairoPaintPicture(benchmark::State& state) {
    DibBufferPtr picture = Picture();
    cairo_surface_t* source = cairo_image_surface_create_for_data(DibBuffer::GetBits(picture.get()),
                                                                  CAIRO_FORMAT_RGB24, kBitmapW, kBitmapH, kBitmapW * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kAreaW, kAreaH);
    cairo_t* cr = cairo_create(target);
    for (auto _ : state) {
        cairo_save(cr);
        cairo_translate(cr, -1000, -800);
        cairo_scale(cr, double(kItemW) / kBitmapW, double(kItemH) / kBitmapH);
        cairo_set_source_surface(cr, source, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_flush(target);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}
BENCHMARK(BM_CairoPaintPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    if (folder.Path().empty() || !CreateTempFolder()) return 1;
    gFolder = folder.Path();
    return bench::RunWithRatios(argc, argv, {{"BM_PreviewPanePaint", "BM_CairoPaintPicture", 1.3}});
}
