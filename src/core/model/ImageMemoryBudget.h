#pragma once

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// Whether the pictures of a layout, at 4 bytes a pixel of their descriptions, stay
/// within 1 GiB with newItem added: newItem, otherItem (or, when that is null, the
/// layout's "StampImage"), and every image item of the layout count. A newItem that is
/// no image item passes at once.
bool CheckImageMemoryBudget(const CLayoutSetting& layout, const CLayoutObj* newItem,
                            const CLayoutObj* otherItem);

}  // namespace vx
