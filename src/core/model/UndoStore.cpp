#include "model/UndoStore.h"

#include <new>

#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CUndoEntry.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"

namespace vx {
namespace {

// Null when the entry itself cannot be allocated; a failing deep copy throws.
std::unique_ptr<CUndoEntry> CopyOf(const CLayoutSetting& layout) {
    std::unique_ptr<CUndoEntry> entry(new (std::nothrow) CUndoEntry);
    if (entry) entry->CopyFromLayout(layout, true);
    return entry;
}

}  // namespace

UndoStore::UndoStore() = default;
UndoStore::~UndoStore() = default;

void UndoStore::ClearUndo() { mEntry.reset(); }

bool UndoStore::PushUndo(const CLayoutSetting& layout, uint16_t code) {
    ++mPushCount;
    // Coalescing only while the earlier copy is still there: after an undo the next
    // duplicate or drag step must be undoable on its own.
    if (mEntry && ((mLastCode == kUndoCodeDuplicateSeveral && code == kUndoCodeDuplicate) ||
                   (mLastCode == kUndoCodeDragStep && code == kUndoCodeDragStep)))
        return true;
    mEntry.reset();
    mEntry = CopyOf(layout);
    if (!mEntry) return false;
    mLastCode = code;
    return true;
}

CLayoutSetting* UndoStore::GetUndoLayout() { return mEntry ? &mEntry->Layout() : nullptr; }
const CLayoutSetting* UndoStore::GetUndoLayout() const { return mEntry ? &mEntry->Layout() : nullptr; }

bool UndoStore::PerformUndo(CLayoutSetting& layout) {
    if (mEntry) mEntry->CopyToLayout(layout, 1);
    if (Shell* shell = HostService<Shell>())
        if (PrintSettingsPane* pane = shell->GetActivePrintSettingsPane()) {
            pane->FillPrinterControls(true);
            pane->UpdateTemplateSettingsText(layout);
        }
    return true;
}

bool UndoStore::SnapshotLayout(const CLayoutSetting& layout, std::unique_ptr<CUndoEntry>& snapshot,
                               std::unique_ptr<CUndoEntry>* previous) const {
    std::unique_ptr<CUndoEntry> copy = CopyOf(layout);
    if (!copy) return false;
    if (mEntry && previous) {
        std::unique_ptr<CUndoEntry> before = CopyOf(mEntry->Layout());
        if (!before) return false;
        *previous = std::move(before);
    }
    snapshot = std::move(copy);
    return true;
}

bool UndoStore::RestoreLayoutSnapshot(CLayoutSetting& layout, const CUndoEntry& snapshot,
                                      const CUndoEntry* previous) {
    if (!previous) ClearUndo();
    else PushUndo(previous->Layout(), kUndoCodeRestored);
    snapshot.CopyToLayout(layout, 1);
    return true;
}

int UndoStore::FindItemInUndo(uint32_t objectId) const {
    if (!mEntry) return 0;
    const CLayoutSetting& layout = mEntry->Layout();
    const CLayoutObj* item = FindObjectById(layout.ItemListHead(), objectId);
    const int64_t h = layout.GetPaper().y;
    if (!item || h <= 0) return 0;
    const int64_t y = GetItemDrawOrigin(*item).y;
    return y < 0 ? 0 : int(y / h);
}

}  // namespace vx
