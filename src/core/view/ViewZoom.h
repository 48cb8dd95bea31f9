#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "host/LayoutView.h"
#include "model/LayoutTypes.h"

namespace vx {

/// One zoom step: its label in the zoom box and its ratio.
struct ZoomRow {
    const char* label;
    int32_t numerator;
    int32_t denominator;
};

/// The zoom steps from the largest (1600%) to the smallest (3%).
extern const std::array<ZoomRow, 21> ZoomTable;
/// The row of ZoomTable that shows 100%.
inline constexpr int kZoomRow100 = 9;

/// A zoom ratio; a fitted one need not be a step of the table.
struct ZoomRatio {
    int32_t numerator = 1;
    int32_t denominator = 1;
    friend bool operator==(const ZoomRatio&, const ZoomRatio&) = default;
};

/// The row whose pair equals ratio exactly (2/2 is no row), or -1.
int FindZoomRow(ZoomRatio ratio);

/// Sizes of window decorations the fitted zoom leaves room for, in pixels.
struct FitMetrics {
    int edge = 2;       // SM_CXEDGE, SM_CYEDGE
    int frame = 4;      // SM_CXFRAME, SM_CYFRAME
    int scrollBar = 17; // SM_CXVSCROLL, SM_CYHSCROLL, SM_CYVSCROLL
};

/// The width of each ruler band, and how far the page moves right and down for them.
inline constexpr int kRulerBand = 20;
/// Scroll step of a line and of a wheel notch.
inline constexpr int kScrollLine = 12;
/// One wheel notch.
inline constexpr int kWheelNotch = 120;

/// What the zoom, page placement and scrolling of the layout view depend on.
struct Viewport {
    PixelPoint client;             // client size
    PixelPoint scroll;             // scroll position: the logical point at the client's top-left
    PixelPoint pixelsPerInch{96, 96};
    bool rulers = false;
    FitMetrics metrics;
};

/// Scroll sizes of one axis pair: 0 totals mean no scroll bar on that axis.
struct ScrollSizes {
    PixelPoint total;
    PixelPoint page;
    PixelPoint line;
    friend bool operator==(const ScrollSizes&, const ScrollSizes&) = default;
};

/// The next larger step; nullopt when the ratio already is that step (1600% stays).
std::optional<ZoomRatio> ZoomInStepRatio(ZoomRatio current);
/// The row after the first row at or below the ratio (3% stays); nullopt when that is
/// the ratio itself, below 3%, or when the paper would be shorter than three scroll-bar
/// arrows at the step.
std::optional<ZoomRatio> ZoomOutStepRatio(ZoomRatio current, int32_t paperHeight, const FitMetrics& metrics);
/// The ratio that fits the paper into the client area (1/33 when it would be below 3%);
/// nullopt when the page would reach 32768 pixels.
std::optional<ZoomRatio> FitZoomRatio(const Viewport& viewport, LayoutPoint paper);

/// The page at the zoom in pixels, and where its top-left lies in logical pixels.
ViewPageRect PageRectAt(const Viewport& viewport, LayoutPoint paper, ZoomRatio zoom);
/// The scroll sizes that show page; no scroll bar on an axis where the client holds it.
ScrollSizes ScrollSizesFor(const Viewport& viewport, const ViewPageRect& page);
/// The scroll position pulled into the range the sizes allow.
PixelPoint ClampScroll(PixelPoint scroll, PixelPoint client, const ScrollSizes& sizes);
/// The scroll position that keeps the point at the client's centre in place across a
/// change of zoom from previous to current, in the range of the new sizes.
PixelPoint CentreKeptScroll(PixelPoint scroll, PixelPoint client, ZoomRatio previous, ZoomRatio current,
                            const ScrollSizes& sizes);

/// Client pixels to logical (scrolled) pixels and back.
PixelRect ClientToDoc(const Viewport& viewport, PixelRect client);
PixelPoint ClientToDoc(const Viewport& viewport, PixelPoint client);
PixelRect DocToClient(const Viewport& viewport, PixelRect logical);
PixelPoint DocToClient(const Viewport& viewport, PixelPoint logical);

/// The part of the paper the client area shows, in layout units from the page's
/// top-left: (client rectangle - page offset) / (zoom x pixels per unit), cut to the paper.
LayoutRect VisiblePaperRect(const Viewport& viewport, LayoutPoint paper, ZoomRatio zoom);

/// Wheel turns that arrive in parts (smooth scrolling) add up to whole pixels or steps.
class WheelAccumulator {
public:
    /// Pixels to scroll down (negative: up) for a delta of the vertical wheel.
    int Scroll(int delta);
    /// Zoom steps (positive: in) for a delta with Ctrl held.
    int Zoom(int delta);

private:
    int mScrollRest = 0;
    int mZoomRest = 0;
};

}  // namespace vx
