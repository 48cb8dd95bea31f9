#include "dialogs/ImageSizeCommands.h"

#include <memory>

#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/LayoutLimits.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {


PrintSettingsPane* ActivePane() {
    Shell* shell = HostService<Shell>();
    return shell ? shell->GetActivePrintSettingsPane() : nullptr;
}

void RefreshViewAndPane(CLayoutSetting& layout) {
    UpdateLayoutAndRedraw(layout);
    InvalidateMainFormView();
    if (LayoutView* view = FindLayoutView(layout)) view->Invalidate();
}

}  // namespace

bool RunImageSizeCommand(CLayoutSetting& layout) {
    ApplicationState* app = HostService<ApplicationState>();
    SettingsDialogs* dialogs = HostService<SettingsDialogs>();
    if (!app || !dialogs) return false;
    UndoStore& undo = app->GetUndoStore();
    std::unique_ptr<CUndoEntry> snapshot, previous;
    if (!undo.SnapshotLayout(layout, snapshot, &previous)) return false;
    if (!dialogs->RunImageSizeDialog(layout, false)) return false;

    int refusal = 0;
    if (!RelayoutDocument(layout)) refusal = IDS_PAPER_LENGTH_LIMIT;
    else if (!layout.GetBanner() && ChooseInputResolution(layout, 0) <= kLowestInputResolution)
        refusal = IDS_PAGE_COUNT_LIMIT;
    if (refusal) {
        Messages().Show(refusal, {}, Icon::Error, Buttons::Ok);
        undo.RestoreLayoutSnapshot(layout, *snapshot, previous.get());
    }
    RefreshViewAndPane(layout);
    return refusal == 0;
}

bool RunPresetImageSizeCommand(CLayoutSetting* documentLayout) {
    ApplicationState* app = HostService<ApplicationState>();
    SettingsDialogs* dialogs = HostService<SettingsDialogs>();
    if (!app || !dialogs) return false;
    CLayoutSetting& layout = documentLayout ? *documentLayout : app->DefaultLayoutSetting();
    const CImageObj* prototype = layout.GetBaseImage();
    if (!prototype) return false;
    const int16_t method = prototype->GetSizeMethod();
    const int16_t option = prototype->GetImageOptionDimens();
    const LayoutPoint size = prototype->GetSize();
    const LayoutPoint ratio = prototype->GetSizeRatio();

    const bool ok = dialogs->RunImageSizeDialog(layout, true);
    // Only a document's layout window has a pane.
    PrintSettingsPane* pane = documentLayout ? ActivePane() : nullptr;
    if (ok && documentLayout) {
        prototype = layout.GetBaseImage();
        InvalidateMainFormView();
        if (pane && prototype) {
            if (prototype->GetSizeMethod() != method || prototype->GetImageOptionDimens() != option)
                pane->SetTemplateChangeMark(TemplateChangeMark::PresetSizeOption);
            if (prototype->GetSize() != size || prototype->GetSizeRatio() != ratio ||
                prototype->GetSizeMethod() != method)
                pane->SetTemplateChangeMark(TemplateChangeMark::PresetImageSize);
        }
        // The presets are no longer what an undo would bring back.
        app->GetUndoStore().ClearUndo();
    }
    if (pane) pane->UpdateTemplateSettingsText(app->DefaultLayoutSetting());
    return ok;
}

}  // namespace vx
