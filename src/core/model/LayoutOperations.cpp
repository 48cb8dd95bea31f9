#include "model/LayoutOperations.h"

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CLayoutSetting.h"
#include "model/ImageLabels.h"
#include "model/LayoutViewRefresh.h"
#include "model/ObjectList.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr int kQuickPrintRunning = 11;
constexpr int kQuickPrintDone = 12;
constexpr int kFirstInfoGroup = 1;
constexpr int kLastInfoGroup = 4;

const AppPreferences* Preferences() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

}  // namespace

bool SwitchLayoutMode(CLayoutSetting& layout, int mode) {
    if (!layout.GetViewState()) return false;
    layout.SetFree(mode == kLayoutModeFree ? 1 : 0);
    if (CLayoutObj* first = layout.GetFirstItem()) first->SetChanged(1);
    RenumberImageItems(layout);
    if (!Relayout(layout)) return false;
    InvalidateLayoutView(layout.GetViewState());
    layout.SetDirty(1);
    return true;
}

int ContainsImageItem(const CLayoutSetting& layout) {
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage) return 1;
    return 0;
}

bool HasImageItems(const CLayoutSetting& layout) {
    return CountObjectsOfKind(layout.ItemListHead(), kKindImage) >= 1;
}

void ShowInImageInfoWindow(const CLayoutObj* item, int group) {
    if (!item || item->GetKind() != kKindImage || item->GetType() != kRecordTypeLayout) return;
    if (ToolWindows* tools = HostService<ToolWindows>()) tools->ShowImageInfo(*item, group);
}

int UpdateImageInfoWindow(const CLayoutObj* item) {
    if (item) {
        for (int group = kFirstInfoGroup; group <= kLastInfoGroup; ++group) ShowInImageInfoWindow(item, group);
        return 1;
    }
    const AppPreferences* preferences = Preferences();
    if (!preferences || !preferences->imageInfoWindow) return 0;
    if (ToolWindows* tools = HostService<ToolWindows>()) tools->ResetImageInfoRows();
    return 1;
}

int QuickPrintAfterLoad(int when, const CLayoutSetting& layout) {
    const AppPreferences* preferences = Preferences();
    if (!preferences || !preferences->quickPrint || layout.GetFree() || when != 1) return 1;
    if (preferences->confirmationDialogs &&
        Messages().Show(IDS_QUICK_PRINT_CONFIRM, {}, Icon::Question, Buttons::OkCancel) != kIdOk)
        return 1;
    Shell* shell = HostService<Shell>();
    if (!shell) return 1;
    shell->SetQuickPrintStatus(kQuickPrintRunning);
    shell->PrintNow();
    shell->SetQuickPrintStatus(kQuickPrintDone);
    return 1;
}

void EndImageLoad(CLayoutSetting& layout, bool automatic, int result) {
    if (automatic) {
        RenumberImageItems(layout);
        Relayout(layout);
        InvalidateLayoutView(layout);
    }
    StatusBar().UpdateStatusText(result == 3 ? kStatusUnsupported : kStatusReady, {});
}

void QuickPrintLoadedImages(CLayoutSetting& layout, UndoStore& undo, const CUndoEntry* snapshot,
                            bool quickPrint, int32_t countBefore) {
    if (!quickPrint || CountObjects(layout.ItemListHead()) <= countBefore) return;
    QuickPrintAfterLoad(1, layout);
    // The printed images leave the layout again, and no undo remains.
    if (snapshot) undo.RestoreLayoutSnapshot(layout, *snapshot, nullptr);
    StatusBar().UpdateStatusText(kStatusReady, {});
    InvalidateLayoutView(layout);
}

}  // namespace vx
