#pragma once
#include <cstdint>
#include <string>

#include "dialogs/DialogView.h"
#include "model/LayoutTypes.h"

namespace vx {
class CLayoutSetting;
class UndoStore;
}  // namespace vx

namespace vx::dialogs {

/// Control ids of the cut-lines dialog.
enum CutLineControl : int {
    kCutModeOff = 3813,
    kCutModeCutter = 3814,
    kCutModeOther = 3815,
    kCutTypeLabel = 3912,
    kCutAroundImage = 3816,
    kCutCornersOnly = 3817,
    kCornerGroup = 3911,
    kLengthLabel = 3915,
    kLengthEdit = 1148,
    kLengthUnitCombo = 3818,
    kPositionLabel = 3914,
    kPositionEdit = 1149,
    kPositionUnitCombo = 3819,
    kLineColourLabel = 3913,
    kLineColourButton = 3748,
};

/// What the dialog shows after a handler, and the control to focus (0 none).
struct CutLineView {
    PageView controls;
    ColorRef colour = 0;
    int focus = 0;
    bool selectAll = false;
};

/// The cut-lines dialog without its window: the layout's cut-line values in the
/// controls, the enabling rules, the checks and what OK writes (`CutLine()`).
class CutLineController {
public:
    explicit CutLineController(CLayoutSetting& layout);

    CutLineView OnInitDialog();
    CutLineView OnModeOff();
    CutLineView OnModeCutter();
    CutLineView OnModeOther();
    CutLineView OnAroundImage();
    CutLineView OnCornersOnly();
    CutLineView OnLengthUnitChange(int index);
    CutLineView OnPositionUnitChange(int index);
    /// Asks the process's colour dialog (SettingsDialogs::ChooseColour).
    CutLineView OnChooseColour();
    /// The user typed into the length or the position edit.
    CutLineView OnEditChange(int editId, const std::string& text);
    /// Checks the two lengths, then takes undo entry 19 and writes the layout; false
    /// keeps the dialog open (view names the field), with nothing written.
    bool OnOK(UndoStore& undo, CutLineView& view);

    CutLineView View() const;

private:
    void EnableOther(bool enable);
    void EnableCorners(bool enable);
    void CheckMode(int id);
    EditRange RangeFor(int16_t unit) const;
    void ChangeUnit(int editId, int comboId, int16_t& unit, int index);

    CLayoutSetting& mLayout;
    PageView mControls;
    int16_t mLengthUnit = 1;
    int16_t mPositionUnit = 1;
    ColorRef mColour = 0;
};

}  // namespace vx::dialogs
