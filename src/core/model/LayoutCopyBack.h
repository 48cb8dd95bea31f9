#pragma once

namespace vx {

class CLayoutSetting;

/// Copies a full layout copy (an undo entry, a settings slot) back into a live layout:
/// deep (CopyDeep with items and their object ids, image data shared) or, with deep
/// false, SyncFrom (items updated by object id, none created). The target keeps its
/// zoom and status values (the first six values of its ViewStateBlock); a target
/// without a block takes the source's. Local view and output settings stay the
/// target's, as with every layout copy. Callers refresh what holds item pointers.
void CopyLayoutBack(CLayoutSetting& target, const CLayoutSetting& source, bool deep);

}  // namespace vx
