#pragma once
#include "host/LayoutView.h"

namespace vx {

class CLayoutObj;
struct ViewMapping;

/// The rectangle tracker over one item in client pixels: the item's rectangle (at
/// least kMinSize wide and high) and its eight handles, the 5 x 5 squares the view
/// draws. Hit codes are those of HitCode; a handle wins over the inside.
class ItemTracker {
public:
    static constexpr int kMinSize = 12;
    static constexpr int kHandleSize = 5;

    ItemTracker() = default;
    explicit ItemTracker(const PixelRect& rect);

    const PixelRect& Rect() const { return mRect; }
    /// The rectangle with its handles: what must be redrawn when it changes.
    PixelRect TrueRect() const;
    /// -1 outside, 0 to 7 on a handle, 8 inside.
    int HitTest(PixelPoint client) const;
    /// The top-left of the square of handle index (1 to 8, clockwise from the top-left).
    PixelPoint HandleSquare(int index) const;

private:
    PixelRect mRect;
};

/// The top-left of the square of handle index (1 to 8, clockwise from the top-left) of
/// an item drawn in r; the view draws its handles there.
PixelPoint RectHandleSquare(const PixelRect& r, int index);
/// The hit code of handle index (1 to 8).
int HandleHitCode(int index);

/// The tracker over item at the mapping's zoom, the item shown relative to the top of
/// its own page. trueRect (client pixels) gets the tracker's true rectangle, widened by
/// 2 pixels for free lines and free texts.
ItemTracker SetupObjectTracker(const ViewMapping& mapping, const CLayoutObj& item, PixelRect* trueRect = nullptr);

/// The smallest tracker width and height in pixels: the item's frame plus 142 units
/// inside it, each at least 1.
PixelPoint GetMinTrackSize(const ViewMapping& mapping, const CLayoutObj& item);

}  // namespace vx
