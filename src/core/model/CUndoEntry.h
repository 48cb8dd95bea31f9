#pragma once

#include "model/CLayoutSetting.h"

namespace vx {

/// A full copy of a layout taken before an edit: settings, view state, prototypes and
/// every item with its object id and shared image data.
class CUndoEntry {
public:
    CUndoEntry() = default;
    CUndoEntry(const CUndoEntry&) = delete;
    CUndoEntry& operator=(const CUndoEntry&) = delete;

    CLayoutSetting& Layout() { return mLayout; }
    const CLayoutSetting& Layout() const { return mLayout; }

    /// Makes the entry a copy of layout with its items and their ids, its view state
    /// included; withImageData: image items share layout's image data. Throws
    /// std::bad_alloc when memory runs out, leaving the entry as it was.
    void CopyFromLayout(const CLayoutSetting& layout, bool withImageData);
    /// Puts the entry back into layout, which keeps its zoom and status values: mode
    /// non-zero replaces every item by a copy (ids kept), mode 0 updates the items by
    /// object id and creates none. Item pointers into layout are stale afterwards.
    void CopyToLayout(CLayoutSetting& layout, int mode) const;

private:
    CLayoutSetting mLayout{false};
};

}  // namespace vx
