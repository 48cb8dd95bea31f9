// Pasting 999 clipboard items (images with a picture size, no pixels read, and free
// texts) into an empty free layout, and bringing 999 selected, overlapping items to the
// front, each against one deep copy of a 999-item layout: both stay linear in the items.
// Run by hand (scripts/bench); the ratios at the end come from paired runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ClipboardCommands.h"
#include "model/ItemClipboard.h"
#include "model/ObjectList.h"
#include "model/StackingOrder.h"
#include "model/UndoStore.h"

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

void BM_CopyDeep(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> source = MakeLayout(kItems);
    for (auto _ : state) {
        CLayoutSetting copy(false);
        copy.CopyDeep(*source, true, true, false);
        benchmark::DoNotOptimize(copy.GetFirstItem());
    }
}

void BM_Paste999(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> source = MakeLayout(kItems);
    ItemClipboard clipboard;
    CopyObjects(*source, clipboard);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CLayoutSetting> target = MakeLayout(0);
        UndoStore undo;
        state.ResumeTiming();
        if (!PasteObjects(*target, undo, clipboard)) state.SkipWithError("paste refused");
        state.PauseTiming();
        if (CountObjects(target->ItemListHead()) != kItems) state.SkipWithError("not every item pasted");
        target.reset();
        state.ResumeTiming();
    }
}

void BM_ZOrderToFront999(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> layout = MakeLayout(kItems);
    UndoStore undo;
    for (auto _ : state)
        if (ChangeObjectZOrder(*layout, kStackToFront, undo) != 1) state.SkipWithError("no undo entry");
}

}  // namespace

BENCHMARK(BM_CopyDeep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paste999)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ZOrderToFront999)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    return bench::RunWithRatios(argc, argv, {
        {"BM_Paste999", "BM_CopyDeep", 10},
        {"BM_ZOrderToFront999", "BM_CopyDeep", 10},
    });
}
