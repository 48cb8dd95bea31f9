#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "model/LayoutTypes.h"

namespace vx {
class CLayoutSetting;
class UndoStore;
}

namespace vx::dialogs {

/// The range a numeric field is given: minimum, maximum, decimals, text limit.
struct FieldRange {
    double minimum = 0;
    double maximum = 0;
    int decimals = 0;
    int textLimit = 9;
};

/// The image alignment dialog without its window: the layout is edited live and laid
/// out after every change; OK checks that it still fits, Cancel puts the values back.
class ImageAlignController {
public:
    enum Control : int {
        kVerticalSpacing = 1150,
        kHorizontalSpacing = 1151,
        kVerticalUnit = 3800,
        kHorizontalUnit = 3823,
        kHorizontalLeft = 3822,
        kHorizontalRight = 3827,
        kHorizontalJustify = 3828,
        kHorizontalCentre = 3826,
        kVerticalTop = 3829,
        kVerticalCentre = 3830,
        kVerticalBottom = 3831,
        kRowTop = 3833,
        kRowCentre = 3834,
        kRowBottom = 3835,
    };
    enum class Field { Horizontal, Vertical };
    /// 64 inches: the widest spacing.
    static constexpr int32_t kMaxSpacing = 23040;

    explicit ImageAlignController(UndoStore& undo) : mUndo(undo) {}

    void SetLayout(CLayoutSetting* layout) { mLayout = layout; }
    void SetInitialising(int value) { mInitialising = value; }
    int GetInitialising() const { return mInitialising; }

    /// Fills the view state from the layout, saves the values for Cancel and takes the
    /// dialog's one undo step (code 18).
    void Init();

    int CheckedHorizontal() const { return mHorizontal; }
    int CheckedVertical() const { return mVertical; }
    int CheckedRow() const { return mRow; }
    const std::string& Text(Field f) const { return f == Field::Horizontal ? mHorizontalText : mVerticalText; }
    /// 1 mm, 2 inch; the unit combo shows entry unit - 1.
    int Unit(Field f) const { return f == Field::Horizontal ? mHorizontalUnit : mVerticalUnit; }
    FieldRange Range(Field f) const;

    /// A radio of any group clicked: checks it, unchecks its group's others, ApplyLive.
    void ClickRadio(int control);
    /// The user changed a spacing text.
    void TextChanged(Field f, std::string text);
    /// A unit combo changed to entry index (0 "mm", 1 "Zoll").
    void UnitChanged(Field f, int index);
    /// The field the last ApplyLive corrected to the widest spacing; the window focuses
    /// it and selects its text. Cleared by reading.
    std::optional<Field> TakeCorrectedField();

    /// True when the dialog may close; false after a refusal (message shown, layout as
    /// when OK was pressed).
    bool OnOK();
    void OnCancel();

private:
    void ApplyLive();
    void WriteValues(int32_t horizontal, int32_t vertical);
    std::string& TextRef(Field f) { return f == Field::Horizontal ? mHorizontalText : mVerticalText; }
    int& UnitRef(Field f) { return f == Field::Horizontal ? mHorizontalUnit : mVerticalUnit; }

    UndoStore& mUndo;
    CLayoutSetting* mLayout = nullptr;
    int mInitialising = 0;
    int mHorizontal = kHorizontalCentre, mVertical = kVerticalTop, mRow = kRowBottom;
    std::string mHorizontalText, mVerticalText;
    int mHorizontalUnit = 1, mVerticalUnit = 1;
    LayoutPoint mSavedAlign, mSavedSpace;
    int16_t mSavedVerticalAlign = 0;
    std::optional<Field> mCorrected;
};

}  // namespace vx::dialogs
