#pragma once
#include <cstdint>

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// How far inside the page's margins an item lands that would start off the page.
inline constexpr int32_t kClampInside = 142;

/// Moves item by (dx, dy). When its drawing origin then lies off page (from 0; left and
/// top edges count as inside), the item is put back 142 units inside that page's margin
/// rectangle on each side it left. Nothing more happens for an item without a layout.
void MoveItemClamped(CLayoutObj& item, int32_t dx, int32_t dy, int page);

/// The page that layout's view shows (from 0); 0 without a view.
int ShownPageIndex(const CLayoutSetting& layout);

}  // namespace vx
