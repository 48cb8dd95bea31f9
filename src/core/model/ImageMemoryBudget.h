#pragma once
#include <cstdint>

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// Whether the pictures of a layout, at 4 bytes a pixel of their descriptions, stay
/// within 1 GiB with newItem added: newItem, otherItem (or, when that is null, the
/// layout's "StampImage"), and every image item of the layout count. A newItem that is
/// no image item passes at once.
bool CheckImageMemoryBudget(const CLayoutSetting& layout, const CLayoutObj* newItem,
                            const CLayoutObj* otherItem);

/// The budget: 1 GiB of pixels at 4 bytes a pixel.
inline constexpr uint64_t kImageMemoryBudgetBytes = uint64_t(1) << 30;
/// 4 bytes a pixel of an image item's described picture; 0 for other items.
uint64_t PictureBytes(const CLayoutObj* item);
/// What CheckImageMemoryBudget counts of the layout itself: its "StampImage" and every
/// image item. Loops adding many items start from it and add each item's PictureBytes.
uint64_t LayoutPictureBytes(const CLayoutSetting& layout);

}  // namespace vx
