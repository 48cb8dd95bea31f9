// Deleting 999 selected items (images with a picture size, no pixels read, and free
// texts) through the layout view's Delete command, against one deep copy of the same
// layout (the undo snapshot Delete takes): the items leave the list in one pass and the
// view is redrawn once. Run by hand (scripts/bench); the ratio at the end comes from
// paired runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "../support/RecordingApplicationState.h"
#include "BenchFolder.h"
#include "RatioReporter.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ItemClipboard.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "view/CGPView.h"
#include "view/EditCommands.h"
#include "view/LayoutViewCore.h"

using namespace vx;

namespace {

constexpr int kItems = 999;

// A4 in free layout; every item selected, overlapping the others, every tenth a text.
std::unique_ptr<CLayoutSetting> MakeLayout(int items) {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetPaper({2976, 4209});
    layout->SetMargin({100, 100, 100, 100});
    layout->SetFree(1);
    layout->SetPageMax(100);
    layout->SetType(kRecordTypeLayout);
    layout->RenewViewState();
    for (int i = 0; i < items; ++i) {
        std::unique_ptr<CLayoutObj> item;
        if (i % 10 == 9) {
            auto text = std::make_unique<CTextObj>(true);
            text->SetText("Text");
            item = std::move(text);
        } else {
            auto image = std::make_unique<CImageObj>(true, "StdImage");
            image->SetDescription(ImageDescription{0, 100, 100, 72, 72, 24, std::nullopt});
            item = std::move(image);
        }
        item->SetOwner(layout.get());
        item->SetPosition(500 + i % 50, 500 + i % 40);
        item->SetSize(400, 300);
        item->SetSelected(1);
        if (!AppendObject(layout->ItemListHead(), item)) std::abort();
    }
    return layout;
}

/// A window of 800 x 600 pixels that counts its redraws and runs nothing posted.
struct CountingWindow : ViewWindowPort {
    int invalidations = 0;
    PixelPoint ClientSize() const override { return {800, 600}; }
    PixelPoint PixelsPerInch() const override { return {96, 96}; }
    FitMetrics Metrics() const override { return {2, 4, 17}; }
    void SetRedraw(bool) override {}
    void InvalidateClient(const PixelRect*) override { ++invalidations; }
    void InvalidateRulerBands(const PixelRect&, const PixelRect&) override {}
    void PaintNow() override {}
    void ShowScrollBars(const ScrollSizes&, PixelPoint) override {}
    void Post(std::function<void()>) override {}
    std::optional<int> AskPageNumber(int, int) override { return std::nullopt; }
};

void BM_CopyDeep(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> source = MakeLayout(kItems);
    for (auto _ : state) {
        CLayoutSetting copy(false);
        copy.CopyDeep(*source, true, true, false);
        benchmark::DoNotOptimize(copy.GetFirstItem());
    }
}

void BM_Delete999(benchmark::State& state) {
    UndoStore undo;
    test::InstalledApplicationState app;
    app.undo = &undo;
    CGPView view;
    CountingWindow window;
    LayoutViewCore core(view, window);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CLayoutSetting> layout = MakeLayout(kItems);
        app.active = layout.get();
        core.OnInitialUpdate(layout.get());
        window.invalidations = 0;
        state.ResumeTiming();
        core.OnCommand(kCmdEditClear);
        state.PauseTiming();
        if (layout->GetFirstItem()) state.SkipWithError("items left");
        if (window.invalidations > 3) state.SkipWithError("a redraw per item");
        core.OnInitialUpdate(nullptr);
        ItemClipboard::Instance().Clear();
        undo.ClearUndo();
        layout.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_CopyDeep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Delete999)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    return bench::RunWithRatios(argc, argv, {
        {"BM_Delete999", "BM_CopyDeep", 3},
    });
}
