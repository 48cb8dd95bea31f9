// Filling the font list against pango listing the families of its font map and
// sorting their names, in the same run. Run by hand.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "dialogs/FontList.h"

namespace {

void BM_FillFonts(benchmark::State& state) {
    vx::dialogs::FontList list;
    for (auto _ : state) {
        list.Fill(vx::dialogs::InstalledFontFamilies());
        benchmark::DoNotOptimize(list.Entries().data());
    }
    state.counters["fonts"] = static_cast<double>(list.Entries().size());
}
BENCHMARK(BM_FillFonts)->Unit(benchmark::kMicrosecond);

void BM_PangoListFamiliesSorted(benchmark::State& state) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    size_t count = 0;
    for (auto _ : state) {
        PangoFontFamily** families = nullptr;
        int n = 0;
        pango_font_map_list_families(map, &families, &n);
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) names.emplace_back(pango_font_family_get_name(families[i]));
        g_free(families);
        std::sort(names.begin(), names.end());
        count = names.size();
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["families"] = static_cast<double>(count);
}
BENCHMARK(BM_PangoListFamiliesSorted)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {{"BM_FillFonts", "BM_PangoListFamiliesSorted", 1.5}});
}
