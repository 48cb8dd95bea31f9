#pragma once
#include <cstdint>

namespace vx {

class CLayoutObj;
class LayoutViewCommands;

/// A point or size in pixels of the screen.
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

/// A rectangle in pixels of the screen; right and bottom exclusive.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

/// The shown page at the current zoom, and where it starts in the client area.
struct ViewPageRect {
    PixelRect page;      // (0, 0, paper width, paper height) in pixels at the zoom
    PixelPoint offset;   // at least 10, centred when more than 20 pixels are spare
};

/// The layout view of one layout, as core code uses it: which page it shows, what part
/// of it is visible, and redrawing. The zoom lives in the layout's ViewStateBlock. The
/// window side implements it; the shell hands it out (Shell::FindLayoutView).
class LayoutView {
public:
    virtual ~LayoutView() = default;

    /// The shown page, counted from 0.
    virtual int GetCurrentPage() const = 0;
    virtual void SetCurrentPage(int index) = 0;

    /// The client rectangle in logical pixels: the client area less the scroll origin.
    virtual PixelRect ClientToDocRect() const = 0;
    virtual ViewPageRect GetPageRect() const = 0;
    /// Pixels per inch of the screen, horizontally and vertically.
    virtual PixelPoint GetPixelsPerInch() const = 0;

    /// Scrolls so that the logical point lies at the client area's top-left corner, as
    /// far as the scroll range allows.
    virtual void ScrollTo(PixelPoint logical) = 0;
    /// Redraws the whole client area.
    virtual void Invalidate() = 0;
    /// Paints what is invalid now instead of at the next idle moment.
    virtual void Update() = 0;
    /// Puts the selection tracker over item at the current zoom and redraws its area.
    virtual void SetupObjectTracker(const CLayoutObj& item) = 0;
    /// The view's command handlers, which the document forwards to; null while the view
    /// has none.
    virtual LayoutViewCommands* Commands() { return nullptr; }
};

}  // namespace vx
