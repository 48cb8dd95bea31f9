#include "view/RulerTicks.h"

#include <algorithm>

namespace vx {
namespace {

constexpr std::array<RulerRow, 7> kMillimetreRows = {{
    {1, 9, 300, {3, 0, 1}},
    {1, 4, 200, {2, 2, 1}},
    {1, 3, 90, {3, 3, 1}},
    {1, 2, 60, {3, 2, 1}},
    {2, 3, 30, {3, 2, 1}},
    {1, 1, 20, {2, 2, 1}},
    {0, 0, 10, {5, 1, 1}},
}};

constexpr std::array<RulerRow, 7> kInchRows = {{
    {1, 9, 5, {2, 0, 0}},
    {1, 4, 5, {5, 0, 0}},
    {1, 3, 2, {2, 2, 2}},
    {1, 2, 2, {2, 5, 0}},
    {2, 3, 1, {2, 2, 0}},
    {1, 1, 1, {2, 5, 0}},
    {0, 0, 1, {2, 5, 0}},
}};

// Ticks of levels level.. inside [from, to]; points at or past end get none.
void Subdivide(const RulerRow& row, int level, int64_t from, int64_t to, int64_t end, std::vector<RulerTick>& out) {
    if (level > 4) return;
    const int n = row.subdivisions[size_t(level - 2)];
    if (n <= 0) return;
    const int64_t width = to - from;
    int64_t previous = from;
    for (int j = 1; j <= n; ++j) {
        const int64_t point = from + j * width / n;  // width < 2^33: no overflow
        if (j < n && point < end) out.push_back({int32_t(point), level, 0});
        Subdivide(row, level + 1, previous, point, end, out);
        previous = point;
    }
}

}  // namespace

const RulerRow& ChooseRulerRow(bool millimetres, double zoom) {
    const auto& rows = millimetres ? kMillimetreRows : kInchRows;
    for (const RulerRow& row : rows)
        if (row.zoomNumerator == 0 || double(row.zoomNumerator) / row.zoomDenominator >= zoom) return row;
    return rows.back();
}

int64_t RulerLength(int32_t units, bool millimetres) {
    return millimetres ? (int64_t(units) * 254 + 180) / 360 : (int64_t(units) * 1000 + 180) / 360;
}

std::vector<RulerTick> ComputeRulerTicks(bool millimetres, int32_t paperUnits, int32_t pageStart, int32_t pageEnd,
                                         double zoom) {
    std::vector<RulerTick> ticks;
    const int64_t length = RulerLength(paperUnits, millimetres);
    const int64_t span = int64_t(pageEnd) - pageStart;
    if (length <= 0 || span <= 0) return ticks;
    const RulerRow& row = ChooseRulerRow(millimetres, zoom);
    const int64_t step = (millimetres ? 10 : 1000) * int64_t(row.majorInterval);
    // Damaged sizes must not spin: majors closer than 2 pixels draw nothing.
    if (__int128(step) * span < __int128(2) * length) return ticks;
    int64_t previous = pageStart;
    for (int64_t i = 1;; ++i) {
        const int64_t x = pageStart + int64_t(__int128(i) * step * span / length);
        if (x < pageEnd) ticks.push_back({int32_t(x), 1, i * row.majorInterval});
        Subdivide(row, 2, previous, x, pageEnd, ticks);
        if (x >= pageEnd) break;
        previous = x;
    }
    return ticks;
}

}  // namespace vx
