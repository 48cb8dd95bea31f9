#include "view/ViewZoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vx {

const std::array<ZoomRow, 21> ZoomTable = {{
    {"1600%", 16, 1}, {"1200%", 12, 1}, {"800%", 8, 1},    {"700%", 7, 1},    {"600%", 6, 1},
    {"500%", 5, 1},   {"400%", 4, 1},   {"300%", 3, 1},    {"200%", 2, 1},    {"100%", 1, 1},
    {"66.67%", 2, 3}, {"50%", 1, 2},    {"33.33%", 1, 3},  {"25%", 1, 4},     {"16.67%", 1, 6},
    {"12.5%", 1, 8},  {"8.33%", 1, 12}, {"6.25%", 1, 16},  {"5%", 1, 20},     {"4%", 1, 25},
    {"3%", 1, 33},
}};

namespace {

constexpr int64_t kUnitsPerInch = 360;

// A ratio that can be divided by: zero or negative parts read as 1/1.
ZoomRatio Usable(ZoomRatio z) {
    if (z.numerator <= 0 || z.denominator <= 0) return {1, 1};
    return z;
}

// a compared with b by cross-multiplication: negative, 0 or positive.
int Compare(ZoomRatio a, ZoomRatio b) {
    const int64_t l = int64_t(a.numerator) * b.denominator, r = int64_t(b.numerator) * a.denominator;
    return l < r ? -1 : l > r ? 1 : 0;
}

// length units x pixels per inch x zoom / 360, truncated, saturated to int32.
int32_t ToPixels(int64_t units, int32_t ppi, ZoomRatio z) {
    const __int128 v = __int128(units) * ppi * z.numerator / (__int128(kUnitsPerInch) * z.denominator);
    return int32_t(std::clamp<__int128>(v, INT32_MIN, INT32_MAX));
}

int32_t ToUnits(int64_t pixels, int32_t ppi, ZoomRatio z) {
    if (ppi <= 0) return 0;
    const __int128 v = __int128(pixels) * kUnitsPerInch * z.denominator / (__int128(ppi) * z.numerator);
    return int32_t(std::clamp<__int128>(v, INT32_MIN, INT32_MAX));
}

int32_t Offset(int32_t client, int32_t page, bool rulers) {
    const int64_t spare = int64_t(client) - page - (rulers ? kRulerBand : 0);
    const int32_t offset = spare > 20 ? int32_t(spare / 2) : 10;
    return rulers ? offset + kRulerBand : offset;
}

int32_t ClampAxis(int32_t pos, int32_t client, int32_t total) {
    const int32_t most = total > 0 ? std::max(0, total - client) : 0;
    return std::clamp(pos, 0, most);
}

int32_t CentreAxis(int32_t pos, int32_t client, double ratio, int32_t total) {
    if (total <= 0) return 0;
    const int32_t half = client / 2;
    const double kept = (double(pos) + half) * ratio - half;
    return ClampAxis(int32_t(std::clamp(kept, double(INT32_MIN), double(INT32_MAX))), client, total);
}

}  // namespace

int FindZoomRow(ZoomRatio ratio) {
    for (size_t i = 0; i < ZoomTable.size(); ++i)
        if (ZoomTable[i].numerator == ratio.numerator && ZoomTable[i].denominator == ratio.denominator) return int(i);
    return -1;
}

std::optional<ZoomRatio> ZoomInStepRatio(ZoomRatio current) {
    current = Usable(current);
    ZoomRatio candidate{ZoomTable[0].numerator, ZoomTable[0].denominator};
    for (const ZoomRow& row : ZoomTable) {
        const ZoomRatio r{row.numerator, row.denominator};
        if (Compare(r, current) <= 0) break;
        candidate = r;
    }
    if (candidate == current) return std::nullopt;
    return candidate;
}

std::optional<ZoomRatio> ZoomOutStepRatio(ZoomRatio current, int32_t paperHeight, const FitMetrics& metrics) {
    current = Usable(current);
    // The step after the first row at or below the ratio: a ratio between two rows
    // skips the lower one (a fitted 45% goes to 25%); the last row stays.
    size_t first = 0;
    while (first < ZoomTable.size() &&
           Compare({ZoomTable[first].numerator, ZoomTable[first].denominator}, current) > 0)
        ++first;
    if (first == ZoomTable.size()) return std::nullopt;  // below 3%: no row to step to
    const ZoomRow& row = ZoomTable[std::min(first + 1, ZoomTable.size() - 1)];
    const ZoomRatio candidate{row.numerator, row.denominator};
    const int64_t height = int64_t(paperHeight) * candidate.numerator / candidate.denominator;
    if (height < 3 * int64_t(metrics.scrollBar) || candidate == current) return std::nullopt;
    return candidate;
}

std::optional<ZoomRatio> FitZoomRatio(const Viewport& v, LayoutPoint paper) {
    const FitMetrics& m = v.metrics;
    const int ruler = v.rulers ? kRulerBand : 0;
    const int64_t availableWidth = int64_t(v.client.x) - 2 * (m.edge + m.frame) - m.scrollBar - 2 - ruler;
    const int64_t availableHeight = int64_t(v.client.y) - 2 * (m.edge + m.frame) - m.scrollBar - 2 - ruler;
    const double xPerUnit = v.pixelsPerInch.x / double(kUnitsPerInch);
    const double yPerUnit = v.pixelsPerInch.y / double(kUnitsPerInch);
    int64_t num, den;
    if (int64_t(paper.y) * availableWidth < int64_t(paper.x) * availableHeight) {
        num = availableWidth;
        den = int64_t(paper.x * xPerUnit);
    } else {
        num = availableHeight;
        den = int64_t(paper.y * yPerUnit);
    }
    ZoomRatio z{1, 33};
    if (den > 0 && double(num) / double(den) >= 0.03 && num <= INT32_MAX && den <= INT32_MAX)
        z = {int32_t(num), int32_t(den)};
    if (double(int64_t(paper.x) * z.numerator / z.denominator) * xPerUnit >= 32768.0 ||
        double(int64_t(paper.y) * z.numerator / z.denominator) * yPerUnit >= 32768.0)
        return std::nullopt;
    return z;
}

ViewPageRect PageRectAt(const Viewport& v, LayoutPoint paper, ZoomRatio zoom) {
    zoom = Usable(zoom);
    ViewPageRect r;
    r.page = {0, 0, ToPixels(paper.x, v.pixelsPerInch.x, zoom), ToPixels(paper.y, v.pixelsPerInch.y, zoom)};
    r.offset = {Offset(v.client.x, r.page.right, v.rulers), Offset(v.client.y, r.page.bottom, v.rulers)};
    return r;
}

ScrollSizes ScrollSizesFor(const Viewport& v, const ViewPageRect& page) {
    const int ruler = v.rulers ? kRulerBand : 0;
    ScrollSizes s;
    const int64_t totalX = int64_t(page.page.right) + 2 * int64_t(page.offset.x) - ruler;
    const int64_t totalY = int64_t(page.page.bottom) + 2 * int64_t(page.offset.y) - ruler;
    if (v.client.x < totalX) {
        s.total.x = int32_t(std::min<int64_t>(totalX, INT32_MAX));
        s.page.x = v.client.x / 2;
        s.line.x = kScrollLine;
    }
    if (v.client.y < totalY) {
        s.total.y = int32_t(std::min<int64_t>(totalY, INT32_MAX));
        s.page.y = v.client.y / 2;
        s.line.y = kScrollLine;
    }
    return s;
}

PixelPoint ClampScroll(PixelPoint scroll, PixelPoint client, const ScrollSizes& sizes) {
    return {ClampAxis(scroll.x, client.x, sizes.total.x), ClampAxis(scroll.y, client.y, sizes.total.y)};
}

PixelPoint CentreKeptScroll(PixelPoint scroll, PixelPoint client, ZoomRatio previous, ZoomRatio current,
                            const ScrollSizes& sizes) {
    previous = Usable(previous);
    current = Usable(current);
    const double ratio = (double(current.numerator) / current.denominator) /
                         (double(previous.numerator) / previous.denominator);
    return {CentreAxis(scroll.x, client.x, ratio, sizes.total.x), CentreAxis(scroll.y, client.y, ratio, sizes.total.y)};
}

PixelRect ClientToDoc(const Viewport& v, PixelRect r) {
    return {r.left + v.scroll.x, r.top + v.scroll.y, r.right + v.scroll.x, r.bottom + v.scroll.y};
}
PixelPoint ClientToDoc(const Viewport& v, PixelPoint p) { return {p.x + v.scroll.x, p.y + v.scroll.y}; }
PixelRect DocToClient(const Viewport& v, PixelRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return {r.left - v.scroll.x, r.top - v.scroll.y, r.right - v.scroll.x, r.bottom - v.scroll.y};
}
PixelPoint DocToClient(const Viewport& v, PixelPoint p) { return {p.x - v.scroll.x, p.y - v.scroll.y}; }

LayoutRect VisiblePaperRect(const Viewport& v, LayoutPoint paper, ZoomRatio zoom) {
    zoom = Usable(zoom);
    const ViewPageRect page = PageRectAt(v, paper, zoom);
    const int64_t left = int64_t(v.scroll.x) - page.offset.x, top = int64_t(v.scroll.y) - page.offset.y;
    LayoutRect r{ToUnits(left, v.pixelsPerInch.x, zoom), ToUnits(top, v.pixelsPerInch.y, zoom),
                 ToUnits(left + v.client.x, v.pixelsPerInch.x, zoom), ToUnits(top + v.client.y, v.pixelsPerInch.y, zoom)};
    r.left = std::clamp(r.left, 0, std::max(paper.x, 0));
    r.right = std::clamp(r.right, 0, std::max(paper.x, 0));
    r.top = std::clamp(r.top, 0, std::max(paper.y, 0));
    r.bottom = std::clamp(r.bottom, 0, std::max(paper.y, 0));
    return r;
}

int WheelAccumulator::Scroll(int delta) {
    if ((delta > 0 && mScrollRest < 0) || (delta < 0 && mScrollRest > 0)) mScrollRest = 0;
    mScrollRest += delta;
    // A notch of 120 up scrolls 12 pixels up.
    const int pixels = mScrollRest / (kWheelNotch / kScrollLine);
    mScrollRest -= pixels * (kWheelNotch / kScrollLine);
    return -pixels;
}

int WheelAccumulator::Zoom(int delta) {
    if ((delta > 0 && mZoomRest < 0) || (delta < 0 && mZoomRest > 0)) mZoomRest = 0;
    mZoomRest += delta;
    const int steps = mZoomRest / kWheelNotch;
    mZoomRest -= steps * kWheelNotch;
    return steps;
}

}  // namespace vx
