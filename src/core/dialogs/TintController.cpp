#include "dialogs/TintController.h"

#include <algorithm>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutViewRefresh.h"
#include "model/UndoStore.h"
#include "platform/system/FourCC.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint16_t kUndoCodeTint = 31;
// Zel levels above this cannot be tinted.
constexpr int kHighestTintableZel = 2;

bool IsSelectedImage(const CLayoutObj& item) { return item.GetSelected() && item.GetKind() == kKindImage; }

}  // namespace

TintController::TintController(CLayoutSetting& layout) : mLayout(layout) {}

bool TintController::Init() {
    for (const CLayoutObj* p = mLayout.GetFirstItem(); p; p = p->NextItem()) {
        if (!IsSelectedImage(*p)) continue;
        const auto& image = static_cast<const CImageObj&>(*p);
        if (image.GetColorSpace() == FourCC("GRAY")) {
            Messages().Show(IDS_GREYSCALE_NO_COLOUR, {}, Icon::Error, Buttons::Ok);
            return false;
        }
        if (image.GetUseZelFile() > kHighestTintableZel) {
            Messages().Show(IDS_TINT_NOT_POSSIBLE, {}, Icon::Error, Buttons::Ok);
            return false;
        }
    }
    mPositions = {kSliderMiddle, kSliderMiddle, kSliderMiddle};
    const CLayoutObj* current = mLayout.GetCurrentItem();
    const int mode = current && current->GetKind() == kKindImage
                         ? static_cast<const CImageObj*>(current)->GetTuneMode() : 0;
    switch (mode) {
    case 0: mChoice = kOff; break;
    case 2: {
        const auto* image = static_cast<const CImageObj*>(current);
        SetPosition(kBrightness, image->GetTuneBright() + kSliderMiddle);
        SetPosition(kContrast, image->GetTuneContrast() + kSliderMiddle);
        SetPosition(kSaturation, image->GetTuneVivid() + kSliderMiddle);
        mChoice = kCustom;
        break;
    }
    default: mChoice = kAutomatic; break;
    }
    return true;
}

void TintController::SetPosition(Slider slider, int position) {
    mPositions[slider] = std::clamp(position, 0, kSliderMax);
}

bool TintController::Ok() {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app || !app->GetUndoStore().PushUndo(mLayout, kUndoCodeTint)) {
        Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    for (CLayoutObj* p = mLayout.GetFirstItem(); p; p = p->NextItem()) {
        if (!IsSelectedImage(*p)) continue;
        auto& image = static_cast<CImageObj&>(*p);
        const bool custom = mChoice == kCustom;
        image.SetTuneMode(int16_t(mChoice == kNone ? kOff : mChoice));
        image.SetTuneBright(int16_t(custom ? mPositions[kBrightness] - kSliderMiddle : 0));
        image.SetTuneContrast(int16_t(custom ? mPositions[kContrast] - kSliderMiddle : 0));
        image.SetTuneVivid(int16_t(custom ? mPositions[kSaturation] - kSliderMiddle : 0));
    }
    // A tint is a change the save question must know of, and the screen must show.
    mLayout.SetDirty(1);
    InvalidateLayoutView(mLayout);
    return true;
}

}  // namespace vx
