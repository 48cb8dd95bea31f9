#include "dialogs/ImageAlignController.h"

#include <memory>

#include "host/PrintSettingsPane.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/LayoutLimits.h"
#include "model/LengthUnits.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

constexpr uint16_t kUndoCodeAlign = 18;

int HorizontalCode(int control) {
    switch (control) {
        case ImageAlignController::kHorizontalLeft: return 1;
        case ImageAlignController::kHorizontalRight: return 2;
        case ImageAlignController::kHorizontalJustify: return 5;
        default: return 4;
    }
}
int VerticalCode(int control) {
    return control == ImageAlignController::kVerticalBottom ? 2 : control == ImageAlignController::kVerticalCentre ? 4 : 1;
}
int RowCode(int control) {
    return control == ImageAlignController::kRowTop ? 1 : control == ImageAlignController::kRowCentre ? 4 : 2;
}

// Codes other than mm and inch (pixel, point, percent) work as inch here.
int DialogUnit(int unit) { return unit == 1 ? 1 : 2; }

void MarkChangedAndRelayout(CLayoutSetting& layout, bool needViewState) {
    if ((!needViewState || layout.GetViewState()) && layout.GetFirstItem()) {
        layout.GetFirstItem()->SetChanged(1);
        Relayout(layout);
    }
}

}  // namespace

FieldRange ImageAlignController::Range(Field f) const {
    return Unit(f) == 1 ? FieldRange{0.0, 1625.6, 1, 9} : FieldRange{0.0, 64.0, 2, 9};
}

void ImageAlignController::Init() {
    mInitialising = 1;
    mHorizontalUnit = mVerticalUnit = DialogUnit(mLayout->GetUnit());
    const LayoutPoint align = mLayout->GetAlign();
    switch (align.x) {
        case 1: mHorizontal = kHorizontalLeft; break;
        case 2: mHorizontal = kHorizontalRight; break;
        case 5: mHorizontal = kHorizontalJustify; break;
        default: mHorizontal = kHorizontalCentre; break;
    }
    const int16_t vertical = mLayout->GetVerticalAlign();
    mVertical = vertical == 2 ? kVerticalBottom : vertical == 4 ? kVerticalCentre : kVerticalTop;
    mRow = align.y == 1 ? kRowTop : align.y == 4 ? kRowCentre : kRowBottom;
    const LayoutPoint space = mLayout->GetSpace();
    mHorizontalText = FormatLengthInUnit(space.x, mHorizontalUnit, 360);
    mVerticalText = FormatLengthInUnit(space.y, mVerticalUnit, 360);
    mSavedAlign = align;
    mSavedSpace = space;
    mSavedVerticalAlign = vertical;
    mUndo.PushUndo(*mLayout, kUndoCodeAlign);
    mInitialising = 0;
}

void ImageAlignController::ClickRadio(int control) {
    switch (control) {
        case kHorizontalLeft: case kHorizontalRight: case kHorizontalJustify: case kHorizontalCentre:
            mHorizontal = control;
            break;
        case kVerticalTop: case kVerticalCentre: case kVerticalBottom: mVertical = control; break;
        case kRowTop: case kRowCentre: case kRowBottom: mRow = control; break;
        default: return;
    }
    ApplyLive();
}

void ImageAlignController::TextChanged(Field f, std::string text) {
    TextRef(f) = std::move(text);
    ApplyLive();
}

void ImageAlignController::UnitChanged(Field f, int index) {
    const int32_t value = ParseLengthInUnit(TextRef(f), UnitRef(f));
    UnitRef(f) = index == 0 ? 1 : 2;
    TextRef(f) = FormatLengthInUnit(value, UnitRef(f), 360);
    ApplyLive();  // the window sets the text without a change event
}

std::optional<ImageAlignController::Field> ImageAlignController::TakeCorrectedField() {
    std::optional<Field> f = mCorrected;
    mCorrected.reset();
    return f;
}

void ImageAlignController::WriteValues(int32_t horizontal, int32_t vertical) {
    LayoutPoint align = mLayout->GetAlign();
    align.x = HorizontalCode(mHorizontal);
    align.y = RowCode(mRow);
    mLayout->SetAlign(align);
    mLayout->SetSpace({horizontal, vertical});
    mLayout->SetVerticalAlign(int16_t(VerticalCode(mVertical)));
}

void ImageAlignController::ApplyLive() {
    if (mInitialising || !mLayout) return;
    int32_t values[2] = {};
    for (Field f : {Field::Horizontal, Field::Vertical}) {
        const int32_t v = ParseLengthInUnit(TextRef(f), UnitRef(f));
        if (v < 0 || v > kMaxSpacing) {
            LayoutPoint space = mLayout->GetSpace();
            (f == Field::Horizontal ? space.x : space.y) = kMaxSpacing;
            mLayout->SetSpace(space);
            TextRef(f) = FormatLengthInUnit(kMaxSpacing, UnitRef(f), 360);
            mCorrected = f;
            ApplyLive();  // what the text change of the corrected field would run
            return;
        }
        values[f == Field::Horizontal ? 0 : 1] = v;
    }
    WriteValues(values[0], values[1]);
    mLayout->SetDirty(1);
    MarkChangedAndRelayout(*mLayout, true);
    InvalidateMainFormView();
}

bool ImageAlignController::OnOK() {
    std::unique_ptr<CUndoEntry> snapshot, previous;
    if (!mUndo.SnapshotLayout(*mLayout, snapshot, &previous)) return false;
    const uint16_t code = mUndo.GetLastUndoCode();
    WriteValues(ParseLengthInUnit(mHorizontalText, mHorizontalUnit), ParseLengthInUnit(mVerticalText, mVerticalUnit));
    int refusal = 0;
    if (!RelayoutDocument(*mLayout))
        refusal = IDS_PAPER_LENGTH_LIMIT;
    else if (!mLayout->GetBanner() && ChooseInputResolution(*mLayout, 0) <= kLowestInputResolution)
        refusal = IDS_PAGE_COUNT_LIMIT;
    if (refusal) {
        Messages().Show(refusal, {}, Icon::Error, Buttons::Ok);
        mUndo.RestoreLayoutSnapshot(*mLayout, *snapshot, previous.get());
        mUndo.SetLastUndoCode(code);  // the dialog's own step is still the one to undo
        UpdateLayoutAndRedraw(*mLayout);
        InvalidateMainFormView();
        return false;
    }
    mLayout->SetDirty(1);
    MarkChangedAndRelayout(*mLayout, true);
    InvalidateMainFormView();
    return true;
}

void ImageAlignController::OnCancel() {
    mLayout->SetAlign(mSavedAlign);
    mLayout->SetVerticalAlign(mSavedVerticalAlign);
    mLayout->SetSpace(mSavedSpace);
    if (mLayout->GetFirstItem()) {
        mLayout->GetFirstItem()->SetChanged(1);
        Relayout(*mLayout);
        InvalidateMainFormView();
    }
}

}  // namespace vx::dialogs
