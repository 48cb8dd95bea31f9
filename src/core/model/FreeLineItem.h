#pragma once
#include <cstdint>

namespace vx {

class CLayoutObj;
class CLayoutSetting;
class CLineObj;

/// Lengths an end drag may leave a free line with: 10 mm to 15 m.
inline constexpr int32_t kFreeLineMinLength = 142;
inline constexpr int32_t kFreeLineMaxLength = 212598;

/// A new free line 100 mm long and 100 units thick, black, solid, without arrow heads
/// (arrow angle 60, size 1), owned by layout (may be null) and appended to the list at
/// listHead, becoming its head when the list is empty. Both ends stay at (0, 0) until
/// they are set. Null when memory runs out or listHead is null.
CLineObj* CreateLineObject(CLayoutSetting* layout, CLayoutObj** listHead);

/// Moves the start (end 0) or the end point (any other end) by (dx, dy), but only when
/// the line is then 142 to 212598 units long; then derives `mLength`, `mAngle` (degrees
/// from the start towards the end, negative upwards; 0 for a line of length 0) and
/// `mOffsetOrgPos` from the stored ends and runs ComputeFreeLineGeometry.
void MoveFreeLineEnd(CLineObj& item, int32_t dx, int32_t dy, int end);

/// The four outline points (start side, then end side; each first a quarter turn
/// clockwise from the line's direction on the page, then counter-clockwise) from the
/// ends, thickness and arrow heads (the base of a head replaces its end's pair), and
/// `mPosition` and `mSize` as the bounding box of the ends and the outline. Every
/// point kept relative to the position moves with it, so nothing moves on the page.
void ComputeFreeLineGeometry(CLineObj& item);

}  // namespace vx
