#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace vx {

/// One row of a ruler's tick table: up to a zoom, the major interval in whole
/// millimetres or inches (also the label step) and the subdivisions of the three lower
/// levels (0: nothing at that level and below; 1: no tick, the next level runs over the
/// whole interval).
struct RulerRow {
    int32_t zoomNumerator;  // the row serves zooms up to this ratio; 0: any zoom
    int32_t zoomDenominator;
    int32_t majorInterval;
    std::array<int, 3> subdivisions;
};

/// The row for a zoom: the first whose bound is at least the zoom, the last above 1.
const RulerRow& ChooseRulerRow(bool millimetres, double zoom);

/// A paper length in layout units (1/360 inch) as ruler units: tenths of a millimetre
/// or thousandths of an inch, rounded.
int64_t RulerLength(int32_t units, bool millimetres);

/// Tick lengths in pixels from the band's inner edge, by level 1 (major) to 4.
inline constexpr std::array<int, 4> kRulerTickLengths = {18, 8, 6, 4};

struct RulerTick {
    int32_t position;  // pixels along the ruler
    int level;         // 1 major to 4
    int64_t label;     // major ticks: the length it marks in mm or inches
    friend bool operator==(const RulerTick&, const RulerTick&) = default;
};

/// The ticks of a ruler over a page span [pageStart, pageEnd) in pixels showing a paper
/// of paperUnits layout units: majors at pageStart + trunc(i x interval / length x span),
/// finer levels inside each major interval; none at or past the page's end. Nothing for
/// a paper without length, an empty span, or majors closer than 2 pixels.
std::vector<RulerTick> ComputeRulerTicks(bool millimetres, int32_t paperUnits, int32_t pageStart, int32_t pageEnd,
                                         double zoom);

}  // namespace vx
