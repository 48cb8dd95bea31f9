// The crop dialog's set-up against loading its preview picture alone, and one preview
// drawing during a drag against one paint of the preview picture, in the same run.
// Run by hand.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "dialogs/CropController.h"
#include "imaging/DibDrawing.h"
#include "imaging/JpegEncoder.h"
#include "imaging/Rect16.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/PictureLoader.h"
#include "model/UndoStore.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"

namespace {

using namespace vx;

constexpr PixelRect kArea{0, 0, 320, 320};

/// A layout holding one 6000 x 4000 JPEG image, current and selected, crop mode 0.
struct Fixture {
    bench::BenchFolder folder;
    std::unique_ptr<CLayoutSetting> layout = std::make_unique<CLayoutSetting>(true);
    UndoStore undo;
    CImageObj* image = nullptr;

    Fixture() {
        const int w = 6000, h = 4000;
        std::vector<uint8_t> pixels(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &pixels[(size_t(y) * w + x) * 4];
                p[0] = uint8_t(x / 24), p[1] = uint8_t(y / 16), p[2] = uint8_t((x ^ y) >> 4), p[3] = 255;
            }
        const std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(w, h, pixels.data());
        if (!jpeg) std::abort();
        const std::filesystem::path path = folder.Path() / "gross.jpg";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(jpeg->data(), 1, jpeg->size(), f) != jpeg->size() || std::fclose(f) != 0) std::abort();
        layout->SetPaper({20000, 20000});
        layout->SetMargin({100, 100, 100, 100});
        layout->SetPageMax(10);
        layout->SetColor(2);
        layout->RenewViewState().zoomNumerator = 1;
        layout->GetViewState()->zoomDenominator = 1;
        layout->SetBaseImage(std::unique_ptr<CImageObj>(CreateImageObj(nullptr, nullptr, "BaseImage")));
        if (AddImageFilesToLayout(layout.get(), path, undo) != kAddDone) std::abort();
        image = static_cast<CImageObj*>(layout->GetFirstItem());
        image->SetSelected(1);
        image->SetCropOut(0);
        layout->SetCurrentItem(image);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_CropSetup(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        CropController crop(*f.layout, true);
        if (!crop.Setup(kArea) || !crop.BuildPreview()) state.SkipWithError("no set-up");
        benchmark::DoNotOptimize(crop.PreviewBitmap());
    }
}
BENCHMARK(BM_CropSetup)->Unit(benchmark::kMillisecond);

void BM_LoadPreviewPicture(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        Rect16 target;
        target.Set(0, 0, 320, 213);
        DibBufferPtr picture = LoadPictureBuffer(*f.image, kPictureModePreview, target);
        if (!picture) state.SkipWithError("no picture");
        benchmark::DoNotOptimize(picture.get());
    }
}
BENCHMARK(BM_LoadPreviewPicture)->Unit(benchmark::kMillisecond);

struct Drawing {
    CropController crop{*Shared().layout, true};
    gfx::ImageSurface surface{320, 320, true};
    Drawing() {
        if (!crop.Init(kArea)) std::abort();
        crop.ButtonDown({318, 106});
        crop.MouseMove({250, 120}, true);
    }
};

Drawing& SharedDrawing() {
    static Drawing drawing;
    return drawing;
}

void BM_DrawPreviewDuringDrag(benchmark::State& state) {
    Drawing& d = SharedDrawing();
    gfx::Canvas canvas(d.surface.Native(), gfx::kScreenPixelsPerInch);
    int x = 250;
    for (auto _ : state) {
        d.crop.MouseMove({x, 120}, true);
        x = x == 250 ? 249 : 250;
        d.crop.DrawPreview(canvas);
        cairo_surface_flush(d.surface.Native());
    }
}
BENCHMARK(BM_DrawPreviewDuringDrag)->Unit(benchmark::kMicrosecond);

void BM_PaintPreviewPicture(benchmark::State& state) {
    Drawing& d = SharedDrawing();
    gfx::Canvas canvas(d.surface.Native(), gfx::kScreenPixelsPerInch);
    for (auto _ : state) {
        DrawImageBufferGdiplus(d.crop.PreviewBitmap(), canvas, d.crop.PreviewImageRect(), gfx::Filter::Nearest);
        cairo_surface_flush(d.surface.Native());
    }
}
BENCHMARK(BM_PaintPreviewPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv,
                                    {{"BM_CropSetup", "BM_LoadPreviewPicture", 1.5},
                                     {"BM_DrawPreviewDuringDrag", "BM_PaintPreviewPicture", 3.0}});
}
