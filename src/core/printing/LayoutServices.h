#pragma once
#include <memory>

namespace vx {

class CLayoutSetting;

/// A copy of a layout and of the undo state taken before a change that may be refused.
/// Destroying it frees both copies.
class LayoutSnapshot {
public:
    virtual ~LayoutSnapshot() = default;
};

/// The layout model's operations that printer setup calls: the automatic layout, the
/// undo snapshots and the working bitmaps. The application binds the model's own.
class LayoutServices {
public:
    virtual ~LayoutServices() = default;
    /// Null when the copies cannot be made.
    virtual std::unique_ptr<LayoutSnapshot> SnapshotLayout(CLayoutSetting& layout) = 0;
    /// Puts the undo state and the layout back as the snapshot holds them.
    virtual void RestoreLayoutSnapshot(CLayoutSetting& layout, LayoutSnapshot& snapshot) = 0;
    /// Lays the layout out again; 0 when it would need more than `mPageMax` pages.
    virtual int Relayout(CLayoutSetting& layout) = 0;
    /// Frees and rebuilds the working bitmap of every image item.
    virtual void RebuildWorkingBitmaps(CLayoutSetting& layout) = 0;
};

}  // namespace vx
