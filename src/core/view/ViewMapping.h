#pragma once
#include <cstdint>

#include "host/LayoutView.h"
#include "model/LayoutTypes.h"
#include "model/ViewScale.h"
#include "platform/gfx/Geom.h"

namespace vx {

class CGPView;
class CLayoutObj;
class CLayoutSetting;

/// Where the layout view shows layout units, in client pixels: the screen's pixels per
/// inch and the zoom (as one exact ratio), where the shown page starts, the scroll
/// origin, the shown page and the drag state. Hit tests, trackers and drags are pure
/// functions of the layout, an item, a point and this value.
struct ViewMapping {
    ViewScale scale{1, 1, {96, 96}};
    PixelPoint pageOffset;     // the page's top-left in logical (scrolled) pixels
    PixelPoint pageSize;       // the shown page's size in pixels; 0: not known
    PixelPoint scroll;         // the logical point at the client area's top-left
    int currentPage = 0;
    int dragState = 0;
    int32_t paperHeight = 0;   // 0 or less: every item lies on the first page

    /// The page (from 0) of a layout y; 0 without a paper height and above page 1.
    int PageOfY(int64_t y) const;
    /// The page of the item's drawing origin.
    int PageOf(const CLayoutObj& item) const;
    /// Whether the view shows the item: it lies on the shown page, or it is selected
    /// while a drag has changed the layout (drag state 2).
    bool Shows(const CLayoutObj& item) const;

    /// A layout point whose y is relative to its page's top, in client pixels: each
    /// axis truncated at the view's scale, then moved by the page offset and scroll.
    PixelPoint PageToClient(int64_t x, int64_t yOnPage) const;
    /// The same without truncation, as the drawers place outlines.
    gfx::geom::Point PageToClientD(double x, double yOnPage) const;
    /// Whether a client point lies on the shown page (true when its size is not known).
    bool OnPage(PixelPoint client) const;
    /// Client pixels to logical pixels and back.
    PixelPoint ClientToLogical(PixelPoint client) const { return {client.x + scroll.x, client.y + scroll.y}; }
    PixelRect LogicalToClient(const PixelRect& r) const {
        return {r.left - scroll.x, r.top - scroll.y, r.right - scroll.x, r.bottom - scroll.y};
    }
};

/// The mapping the view's window shows now. Without a window the page lies at (0, 0)
/// unscrolled at 96 pixels per inch; without a usable zoom in the layout, at 1/1.
ViewMapping MakeViewMapping(const CGPView& view);

}  // namespace vx
