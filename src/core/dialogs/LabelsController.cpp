#include "dialogs/LabelsController.h"

#include "host/PrintSettingsPane.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageLabels.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

constexpr uint16_t kUndoCodeLabels = 33;
constexpr std::array<uint32_t, LabelsController::kCustom> kCombinationMasks = {
    0x0, 0x1, 0x2, 0x4, 0x8, 0x2000, 0x3, 0x7, 0xB, 0x2003, 0x3FF, 0x1FFFC00, 0x1FFFFFF};

}  // namespace

std::vector<std::string> LabelsController::RowTexts() {
    std::vector<std::string> out;
    for (int id = IDS_INFO_NUMBER; id <= IDS_INFO_SIMULATION_PROFILE; ++id) out.push_back(LoadString(id));
    for (int id = IDS_INFO_MAKER; id <= IDS_INFO_FLASH; ++id) out.push_back(LoadString(id));
    return out;
}

std::vector<std::string> LabelsController::CombinationTexts() {
    std::vector<std::string> out;
    for (int i = 0; i < kCombinations; ++i) out.push_back(LoadString(IDS_LABEL_SET_OFF + i));
    return out;
}

int LabelsController::CombinationForMask(uint32_t mask) {
    for (size_t i = 0; i < kCombinationMasks.size(); ++i)
        if (kCombinationMasks[i] == mask) return int(i);
    return kCustom;
}

uint32_t LabelsController::MaskForCombination(int index) {
    return index >= 0 && size_t(index) < kCombinationMasks.size() ? kCombinationMasks[size_t(index)] : 0;
}

bool LabelsController::Init(const std::vector<std::string>& fontFaces) {
    if (!FrameTextController::Init(fontFaces)) return false;
    mMask = mItem->GetLabelSelection();
    mCombination = CombinationForMask(mMask);
    return true;
}

void LabelsController::SetRowTicked(int row, bool ticked) {
    if (mApplying || row < 0 || row >= kRows) return;
    if (ticked) mMask |= 1u << row;
    else mMask &= ~(1u << row);
    mCombination = CombinationForMask(mMask);
}

void LabelsController::ToggleRow(int row) {
    if (row < 0 || row >= kRows) return;
    SetRowTicked(row, !Ticked(row));
}

void LabelsController::ChooseCombination(int index) {
    if (index == kCustom) return;  // disabled: the list refuses it
    mApplying = true;
    mMask = MaskForCombination(index);
    mCombination = index;
    mApplying = false;
}

void LabelsController::CombinationClosed() {
    if (mCombination == kCustom) mCombination = CombinationForMask(mMask);
}

void LabelsController::OnOK() {
    mUndo.PushUndo(*mLayout, kUndoCodeLabels);
    ForEditedItems([&](CImageObj& item, bool single) {
        item.SetLabelSelection(mMask);
        if (mMask != 0 && (!single || !mPreset)) BuildImageLabelText(item);
        WriteLook(item);
        item.SetChanged(1);
    });
    if (mLayout->GetViewState()) {
        mLayout->SetDirty(1);
        Relayout(*mLayout);
        InvalidateMainFormView();
    }
}

}  // namespace vx::dialogs
