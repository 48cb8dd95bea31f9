#pragma once
#include "host/LayoutView.h"
#include "platform/gfx/Geom.h"

namespace vx {

class CLineObj;
class CTextObj;
struct ViewMapping;

/// What a point hits of an item: the codes of the item tracker, which free lines and
/// free texts answer too, so that callers treat every kind alike.
enum HitCode : int {
    kHitNothing = -1,
    kHitTopLeft = 0,      // a free line's start point
    kHitTopRight = 1,
    kHitBottomRight = 2,  // a free line's end point
    kHitBottomLeft = 3,
    kHitTop = 4,
    kHitRight = 5,
    kHitBottom = 6,
    kHitLeft = 7,
    kHitMiddle = 8,       // inside: moves the item
};

/// Whether code is one of the eight handles (0 to 7).
inline bool IsHandleHit(int code) { return code >= kHitTopLeft && code <= kHitLeft; }

/// A free line's hit code at a client point: its start handle (0) before its end handle
/// (2) before its body and arrow heads (8); -1 when missed or not shown.
int HitTestLineItem(const ViewMapping& mapping, const CLineObj& line, PixelPoint client);
/// A free text's hit code at a client point: 8 inside its rotated frame, else -1.
int HitTestTextItem(const ViewMapping& mapping, const CTextObj& text, PixelPoint client);
/// The region a free line is hit in, in client pixels: its body of half its thickness
/// each side, pulled back at a headed end, and its heads, as the drawer draws them.
gfx::geom::Region GetLineItemRegion(const ViewMapping& mapping, const CLineObj& line);

}  // namespace vx
