#pragma once

namespace vx {

class CLayoutSetting;
class UndoStore;

/// Undo code of a page insert or delete.
inline constexpr int kUndoCodePageChange = 16;

/// In a free layout (`mType` 2): inserts an empty page before (insert, before) or after
/// (insert, !before) the view's current page, or deletes it (!insert), by moving every
/// item that starts at or below the boundary one paper height down or up, after an undo
/// snapshot. Items that reach across the boundary stay. The page count follows; the view
/// keeps showing the page it showed (after an insert before) or shows the one before a
/// deleted page. Nothing happens in automatic layout or without a paper height.
void ShiftObjectsForPageChange(UndoStore& undo, CLayoutSetting& layout, bool insert, bool before);

/// Whether an item's drawing origin lies on the view's current page (page 0 without a
/// view); on the last page everything below its top counts.
bool CurrentPageHasItems(const CLayoutSetting& layout);

}  // namespace vx
