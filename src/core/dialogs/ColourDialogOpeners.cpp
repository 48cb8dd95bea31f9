#include "dialogs/ColourDialogOpeners.h"

#include "dialogs/ImageColourController.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageLabels.h"
#include "model/UndoStore.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {

CLayoutSetting* InputColourDefaultsLayout() {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return nullptr;
    if (CLayoutSetting* active = app->ActiveLayoutSlot()) return active;
    return &app->DefaultLayoutSetting();
}

void AfterInputColourDefaults() {
    if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().ClearUndo();
}

bool BeforeImageColour(const CLayoutSetting& layout) {
    if (ImageColourController::FindGreySelectedImage(layout)) {
        Messages().Show(IDS_GREYSCALE_NO_COLOUR, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem())
        if (item->GetKind() == kKindImage && item->GetSelected()) return true;
    return false;
}

void AfterImageColour(CLayoutSetting& layout) {
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem())
        if (item->GetKind() == kKindImage && item->GetSelected()) BuildImageLabelText(static_cast<CImageObj&>(*item));
    InvalidateMainFormView();
}

}  // namespace vx
