#include "dialogs/CutLineController.h"

#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "model/UndoStore.h"

namespace vx::dialogs {
namespace {

constexpr uint16_t kUndoCutLines = 19;
constexpr int32_t kMinLength = 14, kMaxLength = 1440;  // 1/360 inch
constexpr int32_t kMinPosition = 0, kMaxPosition = 1440;

constexpr int kOtherControls[] = {kCutTypeLabel, kCutAroundImage,   kCutCornersOnly,  kLengthEdit,
                                  kLineColourButton, kLineColourLabel, kLengthUnitCombo, kPositionEdit,
                                  kPositionUnitCombo, kCornerGroup,     kPositionLabel,   kLengthLabel};
constexpr int kCornerControls[] = {kLengthEdit,   kLengthUnitCombo, kPositionEdit, kPositionUnitCombo,
                                   kCornerGroup,  kPositionLabel,   kLengthLabel};

}  // namespace

CutLineController::CutLineController(CLayoutSetting& layout) : mLayout(layout) {}

CutLineView CutLineController::View() const { return {mControls, mColour, 0, false}; }

EditRange CutLineController::RangeFor(int16_t unit) const {
    return unit == 1 ? EditRange{0, 101.6, 1, 9} : EditRange{0, 4.0, 2, 9};
}

void CutLineController::EnableOther(bool enable) {
    for (int id : kOtherControls) mControls[id].enabled = enable;
}

void CutLineController::EnableCorners(bool enable) {
    for (int id : kCornerControls) mControls[id].enabled = enable;
}

void CutLineController::CheckMode(int id) {
    for (int mode : {kCutModeOff, kCutModeCutter, kCutModeOther}) mControls[mode].checked = mode == id;
}

CutLineView CutLineController::OnInitDialog() {
    const CutLineSettings& cut = mLayout.CutLine();
    mLengthUnit = mPositionUnit = mLayout.GetUnit() == 1 ? 1 : 2;
    mControls[kLengthUnitCombo].selection = mLengthUnit - 1;
    mControls[kPositionUnitCombo].selection = mPositionUnit - 1;
    CheckMode(cut.mode == 0 ? kCutModeOff : cut.mode == 1 ? kCutModeCutter : kCutModeOther);
    mControls[kCutAroundImage].checked = cut.markType == 1;
    mControls[kCutCornersOnly].checked = cut.markType != 1;
    mControls[kLengthEdit].text = FormatLengthInUnit(cut.cornerLength, mLengthUnit, 360);
    mControls[kPositionEdit].text = FormatLengthInUnit(cut.cornerPosition, mPositionUnit, 360);
    mColour = cut.color;
    mControls[kLengthEdit].range = RangeFor(mLengthUnit);
    mControls[kPositionEdit].range = RangeFor(mPositionUnit);

    // The cutter follows rows aligned left, centred or right: not a free layout.
    if (mLayout.GetFree()) {
        mControls[kCutModeCutter].enabled = false;
        if (mControls[kCutModeCutter].checked) CheckMode(kCutModeOff);
    } else {
        const int32_t x = mLayout.GetAlign().x;
        if (x != 1 && x != 4 && x != 2) mControls[kCutModeCutter].enabled = false;
    }
    EnableOther(mControls[kCutModeOther].checked);
    if (!mControls[kCutCornersOnly].checked) EnableCorners(false);
    return View();
}

CutLineView CutLineController::OnModeOff() {
    CheckMode(kCutModeOff);
    EnableOther(false);
    return View();
}

CutLineView CutLineController::OnModeCutter() {
    CheckMode(kCutModeCutter);
    EnableOther(false);
    return View();
}

CutLineView CutLineController::OnModeOther() {
    CheckMode(kCutModeOther);
    for (int id : {kCutTypeLabel, kCutAroundImage, kCutCornersOnly, kLineColourLabel, kLineColourButton})
        mControls[id].enabled = true;
    EnableCorners(mControls[kCutCornersOnly].checked);
    return View();
}

CutLineView CutLineController::OnAroundImage() {
    mControls[kCutAroundImage].checked = true;
    mControls[kCutCornersOnly].checked = false;
    EnableCorners(false);
    return View();
}

CutLineView CutLineController::OnCornersOnly() {
    mControls[kCutAroundImage].checked = false;
    mControls[kCutCornersOnly].checked = true;
    EnableCorners(true);
    return View();
}

void CutLineController::ChangeUnit(int editId, int comboId, int16_t& unit, int index) {
    const int32_t value = ParseLengthInUnit(mControls[editId].text, unit);
    unit = index == 0 ? 1 : 2;
    mControls[comboId].selection = unit - 1;
    mControls[editId].range = RangeFor(unit);
    mControls[editId].text = FormatLengthInUnit(value, unit, 360);
}

CutLineView CutLineController::OnLengthUnitChange(int index) {
    ChangeUnit(kLengthEdit, kLengthUnitCombo, mLengthUnit, index);
    return View();
}

CutLineView CutLineController::OnPositionUnitChange(int index) {
    ChangeUnit(kPositionEdit, kPositionUnitCombo, mPositionUnit, index);
    return View();
}

CutLineView CutLineController::OnChooseColour() {
    if (SettingsDialogs* dialogs = HostService<SettingsDialogs>()) {
        if (std::optional<uint32_t> chosen = dialogs->ChooseColour(mColour)) mColour = *chosen;
    }
    return View();
}

CutLineView CutLineController::OnEditChange(int editId, const std::string& text) {
    mControls[editId].text = text;
    return View();
}

bool CutLineController::OnOK(UndoStore& undo, CutLineView& view) {
    view = View();
    // Checked before the undo entry, so that a refused OK keeps the user's last undo.
    const int32_t length = ParseLengthInUnit(mControls[kLengthEdit].text, mLengthUnit);
    if (mControls[kLengthEdit].enabled && (length < kMinLength || length > kMaxLength)) {
        ShowValueRangeError(mLengthUnit, kMinLength, kMaxLength);
        view.focus = kLengthEdit;
        view.selectAll = true;
        return false;
    }
    const int32_t position = ParseLengthInUnit(mControls[kPositionEdit].text, mPositionUnit);
    if (mControls[kPositionEdit].enabled && (position < kMinPosition || position > kMaxPosition)) {
        ShowValueRangeError(mPositionUnit, kMinPosition, kMaxPosition);
        view.focus = kPositionEdit;
        view.selectAll = true;
        return false;
    }
    if (!undo.PushUndo(mLayout, kUndoCutLines)) return false;

    CutLineSettings& cut = mLayout.CutLine();
    if (mControls[kCutModeOff].checked) cut.mode = 0;
    else if (mControls[kCutModeCutter].checked) cut.mode = 1;
    else if (mControls[kCutModeOther].checked) cut.mode = 2;
    if (mControls[kCutAroundImage].checked) cut.markType = 1;
    else if (mControls[kCutCornersOnly].checked) cut.markType = 2;
    cut.cornerLength = length;
    cut.cornerPosition = position;
    cut.color = mColour;
    InvalidateMainFormView();
    mLayout.SetDirty(1);
    return true;
}

}  // namespace vx::dialogs
