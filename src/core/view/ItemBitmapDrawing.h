#pragma once
#include "host/LayoutView.h"
#include "platform/gfx/Canvas.h"

namespace vx {

class CImageObj;

// Drawers of an image item's working bitmap, held mapped under a bitmap lock while
// they draw. Like the buffer drawers they give 1 when they drew and 0 when they could
// not; a caller in a draw pass raises the pass's failure flag on 0. None throws: a
// bitmap that cannot be mapped counts as a failure.

/// Draws the source rectangle of the item's bitmap into destination; 0 when the item
/// has no bitmap.
int DrawItemBitmap(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination,
                   const CImageObj& item, gfx::Filter filter);

/// The same for a destination of any size: one reaching past ±32767 is cut to the
/// canvas's clip first, with the source cut in proportion, so a picture far out on a
/// long roll still shows at high zoom.
int DrawItemBitmapClipped(gfx::Canvas& canvas, const PixelRect& destination, const PixelRect& source,
                          const CImageObj& item, gfx::Filter filter);

/// Draws the whole bitmap into itemRect turned by degrees clockwise about the centre of
/// clip, cut to clip. 0 without a bitmap; 1 otherwise, with *failed set when drawing
/// failed.
int DrawItemBitmapRotated(gfx::Canvas& canvas, const PixelRect& itemRect, const PixelRect& clip, double degrees,
                          const CImageObj& item, gfx::Filter filter, bool* failed);

}  // namespace vx
