#include "dialogs/AutoRotateController.h"

#include "model/CLayoutSetting.h"

namespace vx {

AutoRotateController::AutoRotateController() : mCopy(std::make_unique<CLayoutSetting>(false)) {}

AutoRotateController::~AutoRotateController() = default;

int AutoRotateController::SetSettings(const CLayoutSetting& layout, int flag) {
    mCopy->CopyFrom(layout, false, false, false);
    mFlag = flag;
    return 1;
}

int AutoRotateController::GetSettings(CLayoutSetting& layout) const {
    layout.CopyFrom(*mCopy, false, false, false);
    return 1;
}

int AutoRotateController::InitialRadio() const {
    const int mode = mCopy->GetAutoRotate();
    return mode >= 0 && mode < kModes ? mode : -1;
}

void AutoRotateController::Ok(int checkedRadio) {
    mMode = checkedRadio >= 0 && checkedRadio < kModes ? uint16_t(checkedRadio) : kNoMode;
}

uint16_t AutoRotateController::GetRotateMode() const {
    return mMode == kNoMode ? uint16_t(mCopy->GetAutoRotate()) : mMode;
}

}  // namespace vx
