// The mouse work of the layout view against its smallest alternatives: hit-testing 999
// headed free lines against cairo testing the same outlines, and one move step of 999
// selected items against moving each within its page alone.
// Run by hand (scripts/bench-viewmouse); the ratios at the end come from paired runs.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/FreeLineItem.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/gfx/ImageSurface.h"
#include "view/HitTesting.h"
#include "view/ResizeItems.h"
#include "view/ViewMapping.h"

using namespace vx;

namespace {

constexpr int kItems = 999;

std::unique_ptr<CLayoutSetting> Layout() {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetType(kRecordTypeLayout);
    layout->SetPaper({2976, 4209});
    layout->SetMargin({100, 100, 100, 100});
    layout->SetFree(1);
    layout->SetPageNumber(1);
    layout->SetPageMax(50);
    ViewStateBlock& view = layout->RenewViewState();
    view.zoomNumerator = view.zoomDenominator = 1;
    return layout;
}

ViewMapping Mapping() {
    ViewMapping m;
    m.scale = {1, 1, {96, 96}};
    m.pageOffset = {10, 10};
    m.paperHeight = 4209;
    return m;
}

/// 999 lines across the page in every direction, heads filled and open at one or both
/// ends; each with a point near its body that misses its handles.
struct LineSet {
    std::unique_ptr<CLayoutSetting> layout = Layout();
    std::vector<CLineObj*> lines;
    std::vector<PixelPoint> probes;

    LineSet() {
        for (int i = 0; i < kItems; ++i) {
            CLineObj* line = CreateLineObject(layout.get(), layout->ItemListHead());
            if (!line) std::abort();
            const int32_t x = 200 + (i * 37) % 2400, y = 200 + (i * 53) % 3600;
            const int32_t dx = 300 + (i * 13) % 400, dy = (i * 29) % 500 - 250;
            line->SetPosition(x, y);
            line->SetOffsetStart({0, 0});
            line->SetOffsetEnd({dx, dy});
            line->SetThickness(20 + i % 60);
            line->SetArrowMark(int16_t(1 + i % 2));
            line->SetArrowFill(i % 3 == 0 ? 0 : 1);
            line->SetArrowAngle(i % 4 == 0 ? 90 : 60);
            MoveFreeLineEnd(*line, 0, 0, 1);
            const LayoutPoint p = line->GetPosition(), s = line->GetOffsetStart(), e = line->GetOffsetEnd();
            // A third of the way along, a few pixels off the axis: inside or just outside.
            const int64_t ux = p.x + s.x + (e.x - s.x) / 3, uy = p.y + s.y + (e.y - s.y) / 3;
            probes.push_back({int32_t(10 + ux * 96 / 360), int32_t(10 + uy * 96 / 360 + (i % 7) - 3)});
            lines.push_back(line);
        }
    }
};

const LineSet& Lines() {
    static const LineSet set;
    return set;
}

void BM_HitTestLines(benchmark::State& state) {
    const LineSet& set = Lines();
    const ViewMapping m = Mapping();
    int hits = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < set.lines.size(); ++i) hits += HitTestLineItem(m, *set.lines[i], set.probes[i]) >= 0;
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_HitTestLines)->Unit(benchmark::kMicrosecond);

// cairo given the outlines ready made: it only builds the path and tests the point.
void BM_CairoInFillOutlines(benchmark::State& state) {
    const LineSet& set = Lines();
    const ViewMapping m = Mapping();
    std::vector<gfx::geom::Region> regions;
    for (const CLineObj* line : set.lines) regions.push_back(GetLineItemRegion(m, *line));
    gfx::ImageSurface surface(16, 16, true);
    cairo_t* cr = cairo_create(surface.Native());
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    int hits = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < regions.size(); ++i) {
            bool in = false;
            for (const gfx::geom::Polygon& poly : regions[i].Polygons()) {
                cairo_new_path(cr);
                cairo_move_to(cr, poly.points[0].x, poly.points[0].y);
                for (size_t k = 1; k < poly.points.size(); ++k) cairo_line_to(cr, poly.points[k].x, poly.points[k].y);
                cairo_close_path(cr);
                if (cairo_in_fill(cr, set.probes[i].x, set.probes[i].y)) {
                    in = true;
                    break;
                }
            }
            hits += in;
        }
        benchmark::DoNotOptimize(hits);
    }
    cairo_destroy(cr);
    state.counters["hits"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_CairoInFillOutlines)->Unit(benchmark::kMicrosecond);

struct ItemSet {
    std::unique_ptr<CLayoutSetting> layout = Layout();
    std::vector<CImageObj*> items;
    ItemSet() {
        for (int i = 0; i < kItems; ++i) {
            auto item = std::make_unique<CImageObj>(true);
            CImageObj* raw = item.get();
            raw->SetOwner(layout.get());
            raw->SetPosition(300 + (i * 37) % 2000, 300 + (i * 53) % 3000);
            raw->SetSize(200, 150);
            raw->SetSelected(1);
            if (!AppendObject(layout->ItemListHead(), item)) std::abort();
            items.push_back(raw);
        }
    }
};

void BM_MoveSelectionStep(benchmark::State& state) {
    ItemSet set;
    UndoStore undo;
    // A drag's first step takes the copy; the steps after it only add to the run.
    MoveSelectedItems(*set.layout, undo, 1, 1, false);
    int32_t d = -1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoveSelectedItems(*set.layout, undo, d, d, false));
        d = -d;
    }
}
BENCHMARK(BM_MoveSelectionStep)->Unit(benchmark::kMicrosecond);

void BM_MoveItemWithinPageLoop(benchmark::State& state) {
    ItemSet set;
    int32_t d = -1;
    for (auto _ : state) {
        for (CImageObj* item : set.items) MoveItemWithinPage(*set.layout, *item, d, d);
        benchmark::DoNotOptimize(set.items.front()->GetPosition());
        d = -d;
    }
}
BENCHMARK(BM_MoveItemWithinPageLoop)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv, {
        {"BM_HitTestLines", "BM_CairoInFillOutlines", 1.5},
        {"BM_MoveSelectionStep", "BM_MoveItemWithinPageLoop", 2.0},
    });
}
