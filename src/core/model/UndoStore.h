#pragma once
#include <cstdint>
#include <memory>

namespace vx {

class CLayoutSetting;
class CUndoEntry;

/// Undo operation codes that the store treats specially.
enum UndoCode : uint16_t {
    kUndoCodeRestored = 5,           // the undo state put back by RestoreLayoutSnapshot
    kUndoCodeDuplicate = 6,
    kUndoCodeDuplicateSeveral = 15,
    kUndoCodeDragStep = 35,
};

/// One-level undo: at most one copy of the layout taken before the last edit, and the
/// code of that edit. The application owns one store for the whole run and clears it
/// at exit before the temporary folder goes; tests make their own. Undo replaces every
/// item object of the layout: keep object ids, not item pointers, across it.
class UndoStore {
public:
    UndoStore();
    ~UndoStore();
    UndoStore(const UndoStore&) = delete;
    UndoStore& operator=(const UndoStore&) = delete;

    bool CanUndo() const { return mEntry != nullptr; }
    /// Forgets the entry; the last code stays.
    void ClearUndo();
    /// Makes a copy of layout the undo state and records code. While an entry exists, a
    /// duplicate step (6) after "duplicate several times" (15) and a drag step after a
    /// drag step (35) keep the earlier copy, so that one undo takes back the whole run.
    /// False when the entry cannot be allocated (the store is empty then); a failure
    /// inside the copy throws std::bad_alloc.
    bool PushUndo(const CLayoutSetting& layout, uint16_t code);
    void SetLastUndoCode(uint16_t code) { mLastCode = code; }
    /// How many times PushUndo ran: a change tells that an edit started meanwhile.
    uint64_t PushCount() const { return mPushCount; }
    uint16_t GetLastUndoCode() const { return mLastCode; }
    /// The layout inside the entry, or null.
    CLayoutSetting* GetUndoLayout();
    const CLayoutSetting* GetUndoLayout() const;

    /// Copies the entry back into layout (which keeps its zoom and status values) and
    /// refreshes the active print-settings pane. The entry stays: the undo command
    /// relays out and then calls ClearUndo. Always true.
    bool PerformUndo(CLayoutSetting& layout);

    /// For an edit that may be refused: snapshot becomes a copy of layout and, when
    /// previous is given and an entry exists, *previous a copy of the entry's layout
    /// (else it is left alone). False when a copy cannot be allocated.
    bool SnapshotLayout(const CLayoutSetting& layout, std::unique_ptr<CUndoEntry>& snapshot,
                        std::unique_ptr<CUndoEntry>* previous) const;
    /// Puts back what SnapshotLayout took: the undo state (none when previous is null,
    /// else a copy of previous with code 5) and the layout. Always true.
    bool RestoreLayoutSnapshot(CLayoutSetting& layout, const CUndoEntry& snapshot, const CUndoEntry* previous);

    /// The page (from 0) on which the entry's item with this id lies; 0 without an
    /// entry, without such an item, above the first page or without a paper height.
    int FindItemInUndo(uint32_t objectId) const;

private:
    std::unique_ptr<CUndoEntry> mEntry;
    uint16_t mLastCode = 0;
    uint64_t mPushCount = 0;
};

}  // namespace vx
