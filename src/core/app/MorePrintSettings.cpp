#include "app/MorePrintSettings.h"

#include "app/TemplateChangeMarks.h"
#include "host/PrintPresetsDialog.h"
#include "model/CLayoutSetting.h"
#include "model/CImageObj.h"
#include "model/GreyConversion.h"
#include "model/WorkingBitmaps.h"
#include "printing/CPrinterManager.h"
#include "printing/LayoutServices.h"

namespace vx {

namespace {

void FollowInk(CLayoutSetting& layout, LayoutServices& services) {
    CImageObj* stamp = layout.GetStampImage();
    if (layout.GetColor() == 2) {
        services.RebuildWorkingBitmaps(layout);
        if (stamp) BuildDisplayBitmap(*stamp);
        return;
    }
    if (CLayoutObj* first = layout.GetFirstItem()) ConvertToGrey(*first, true);
    if (stamp) ConvertToGrey(*stamp, false);
    layout.SetColorMatchPrinter(1);
}

}  // namespace

bool RunMorePrintSettings(PrintPresetsDialog& dialog, CPrinterManager& manager, CLayoutSetting& layout,
                          TemplateChangeMarks& marks, const MorePrintSettingsHooks& hooks) {
    const int colorBefore = layout.GetColor();
    LayoutServices& services = manager.GetLayoutServices();
    manager.SaveSlot(1);
    std::unique_ptr<LayoutSnapshot> snapshot = services.SnapshotLayout(layout);
    // The dialog reports its rows into a record of its own, so Cancel leaves the pane's.
    TemplateChangeMarks changed;
    const bool ok = dialog.Run(layout, changed);
    if (ok) {
        snapshot.reset();
        if (layout.GetColor() != colorBefore) FollowInk(layout, services);
        for (int row = 0; row < kTemplateSettingRows; ++row)
            if (changed.IsMarked(row)) marks.Mark(row);
        if (hooks.refreshControls) hooks.refreshControls(true);
        if (hooks.updateViews) hooks.updateViews(1);
        if (hooks.clearUndo) hooks.clearUndo();
        return true;
    }
    if (snapshot) services.RestoreLayoutSnapshot(layout, *snapshot);
    snapshot.reset();
    manager.RestoreSlot(1, true);
    if (hooks.refreshControls) hooks.refreshControls(true);
    if (hooks.redrawLayout) hooks.redrawLayout();
    if (hooks.updateViews) hooks.updateViews(1);
    return false;
}

}  // namespace vx
