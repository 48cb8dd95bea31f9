#pragma once

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// The flag that edits of an item pass when they refresh its tracker.
inline constexpr int kTrackerRefreshItem = 6;

/// Puts the selection tracker of layout's view over item (none without an item) and
/// redraws the view; nothing happens without a view. flag names the caller's kind of
/// refresh; every kind refreshes the same way.
void RefreshSelectionTracker(CLayoutSetting& layout, const CLayoutObj* item, int flag);

}  // namespace vx
