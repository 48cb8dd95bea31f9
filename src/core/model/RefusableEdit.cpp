#include "model/RefusableEdit.h"

#include <memory>

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CUndoEntry.h"
#include "model/LayoutLimits.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {


EditOutcome Check(CLayoutSetting& layout, bool checkSheetCount) {
    if (!Relayout(layout)) return EditOutcome::TooLong;
    if (checkSheetCount && !layout.GetBanner() && ChooseInputResolution(layout, 0) <= kLowestInputResolution)
        return EditOutcome::TooManySheets;
    return EditOutcome::Applied;
}

}  // namespace

EditOutcome RunRefusableEdit(UndoStore& undo, CLayoutSetting& layout, uint16_t code, bool checkSheetCount,
                             const std::function<void(CLayoutSetting&)>& change) {
    std::unique_ptr<CUndoEntry> snapshot, previous;
    if (!undo.SnapshotLayout(layout, snapshot, &previous)) return EditOutcome::NotStarted;
    undo.PushUndo(layout, code);
    change(layout);
    return RelayoutOrRestore(undo, layout, checkSheetCount, *snapshot, previous.get());
}

EditOutcome RelayoutOrRestore(UndoStore& undo, CLayoutSetting& layout, bool checkSheetCount,
                              const CUndoEntry& snapshot, const CUndoEntry* previous) {
    const EditOutcome outcome = Check(layout, checkSheetCount);
    if (outcome == EditOutcome::Applied) return outcome;
    Messages().Show(outcome == EditOutcome::TooLong ? IDS_PAPER_LENGTH_LIMIT : IDS_PAGE_COUNT_LIMIT, {},
                    Icon::Error, Buttons::Ok);
    undo.RestoreLayoutSnapshot(layout, snapshot, previous);
    UpdateLayoutAndRedraw(layout);
    if (LayoutView* view = FindLayoutView(layout)) view->Invalidate();
    return outcome;
}

}  // namespace vx
