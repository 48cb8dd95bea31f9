#include "dialogs/DuplicateController.h"

#include <memory>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/ClipboardCommands.h"
#include "model/LayoutLimits.h"
#include "model/LayoutOperations.h"
#include "model/LayoutViewRefresh.h"
#include "model/LengthUnits.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr size_t kReadLimit = 32;
constexpr int kUnitPlain = 0;
constexpr int kRangeCodeNoUnit = 6;

void ShowError(int id) { Messages().Show(id, {}, Icon::Error, Buttons::Ok); }

}  // namespace

bool DuplicateController::Accept(std::string_view text) {
    const int32_t count = ParseLengthInUnit(text.substr(0, kReadLimit), kUnitPlain);
    if (count < kMinimum || count > kMaximum) {
        ShowValueRangeError(kRangeCodeNoUnit, kMinimum, kMaximum);
        return false;
    }
    mCount = count;
    return true;
}

int DuplicateSeveralTimes(CLayoutSetting& layout, int count) {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return 0;
    UndoStore& undo = app->GetUndoStore();
    std::unique_ptr<CUndoEntry> snapshot, previous;
    if (!undo.SnapshotLayout(layout, snapshot, &previous) || !undo.PushUndo(layout, kUndoCodeDuplicateSeveral)) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return 0;
    }
    int made = 0;
    for (int i = 0; i < count; ++i) {
        const int result = DuplicateSelection(layout, undo);
        if (result == kDuplicateTooLong || result == kDuplicateTooManySheets) {
            ShowError(result == kDuplicateTooLong ? IDS_PAPER_LENGTH_LIMIT : IDS_PAGE_COUNT_LIMIT);
            undo.RestoreLayoutSnapshot(layout, *snapshot, previous.get());
            UpdateLayoutAndRedraw(layout);
            InvalidateMainFormView();
            return 0;
        }
        if (result == kDuplicateOutOfMemory) {
            ShowError(IDS_NOT_ENOUGH_MEMORY);
            break;
        }
        if (result == kDuplicateItemLimit) {
            ShowObjectLimitMessage();
            break;
        }
        if (result == kDuplicateDone) ++made;
    }
    return made;
}

bool RunDuplicateSeveralTimesCommand(CLayoutSetting& layout, const std::function<std::optional<int>()>& askCount) {
    const std::optional<int> count = askCount();
    if (count) DuplicateSeveralTimes(layout, *count);
    ApplicationState* app = HostService<ApplicationState>();
    if (app && app->Preferences().imageInfoWindow && layout.GetCurrentItem())
        UpdateImageInfoWindow(layout.GetCurrentItem());
    InvalidateMainFormView();
    InvalidateLayoutView(layout);
    return count.has_value();
}

}  // namespace vx
