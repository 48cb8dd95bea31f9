#include "dialogs/MarginsController.h"

#include <algorithm>
#include <cstdlib>

#include "host/PrintSettingsPane.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "model/RefusableEdit.h"
#include "model/UndoStore.h"

namespace vx::dialogs {
namespace {

constexpr uint16_t kUndoCodeMargins = 23;
constexpr double kLeastAreaExtent = 141.73228346456693;  // 10 mm

}  // namespace

int32_t& MarginsController::Edge(LayoutRect& r, Side side) {
    switch (side) {
        case kSideLeft: return r.left;
        case kSideTop: return r.top;
        case kSideRight: return r.right;
        default: return r.bottom;
    }
}

int32_t MarginsController::Edge(const LayoutRect& r, Side side) {
    LayoutRect copy = r;
    return Edge(copy, side);
}

int MarginsController::ControlOf(Side side) {
    switch (side) {
        case kSideLeft: return kLeft;
        case kSideTop: return kTop;
        case kSideRight: return kRight;
        default: return kBottom;
    }
}

void MarginsController::SetLayout(CLayoutSetting* layout) {
    mLayout = layout;
    mMode = layout->GetLayoutAreaMode() ? 1 : 0;
    mUnit = layout->GetUnit() == 1 ? 1 : 2;  // other codes work as inch
    mPaper = layout->GetPaper();
    mShown = mMode == 0 ? layout->GetMargin() : layout->GetLayoutAreaMgn();
}

void MarginsController::FillEdits() {
    for (Side s : {kSideLeft, kSideTop, kSideRight, kSideBottom})
        mTexts[size_t(s)] = FormatLengthInUnit(Edge(mShown, s), mUnit, 360);
}

LayoutRect MarginsController::ReadEdits() const {
    LayoutRect r;
    for (Side s : {kSideLeft, kSideTop, kSideRight, kSideBottom})
        Edge(r, s) = std::abs(ParseLengthInUnit(mTexts[size_t(s)], mUnit));  // "-5" counts as 5
    return r;
}

void MarginsController::ChoosePrinterMargins() {
    mMode = 0;
    mShown = mLayout->GetMargin();
    FillEdits();
}

void MarginsController::UnitChanged(int index) {
    mShown = ReadEdits();
    mUnit = index + 1 == 1 ? 1 : 2;
    FillEdits();
}

double MarginsController::MaxMargin(Side side, int unit) const {
    const LayoutRect typed = ReadEdits();
    const LayoutRect printer = mLayout->GetMargin();
    double extent;
    Side opposite;
    if (side == kSideLeft || side == kSideRight) {
        extent = mPaper.x;
        opposite = side == kSideLeft ? kSideRight : kSideLeft;
    } else {
        extent = mPaper.y;
        if (mLayout->GetHeaderShow() == 1) extent -= mLayout->GetHeaderOffset();
        if (mLayout->GetFooterShow() == 1) extent -= mLayout->GetFooterOffset();
        opposite = side == kSideTop ? kSideBottom : kSideTop;
    }
    const double oppositeMargin = std::max(Edge(typed, opposite), Edge(printer, opposite));
    const double result = extent - oppositeMargin - kLeastAreaExtent;
    if (unit == 1) return result * 0.07055555555555555;
    if (unit == 2) return result * 0.002777777777777778;
    return result;
}

FieldRange MarginsController::Range(Side side) const {
    return FieldRange{0.0, MaxMargin(side, mUnit), mUnit == 1 ? 1 : 2, 9};
}

bool MarginsController::OnOK() {
    mFocus.reset();
    const LayoutRect typed = ReadEdits();
    if (mMode == 1) {
        const LayoutRect printer = mLayout->GetMargin();
        for (Side s : {kSideTop, kSideBottom, kSideLeft, kSideRight}) {
            const double most = MaxMargin(s, 0);
            // The field's own limit was computed when it took the focus; the opposite
            // side may have changed since, so the upper limit is checked here too.
            if (Edge(typed, s) < Edge(printer, s) || Edge(typed, s) > most) {
                ShowValueRangeError(mUnit, Edge(printer, s), most);
                mFocus = s;
                return false;
            }
        }
    }
    const int mode = mMode;
    const LayoutPoint paper = mPaper;
    const EditOutcome outcome = RunRefusableEdit(mUndo, *mLayout, kUndoCodeMargins, true, [&](CLayoutSetting& l) {
        l.SetLayoutAreaMode(mode);
        const LayoutRect margins = mode == 1 ? typed : l.GetMargin();
        l.SetLayoutAreaMgn(margins);
        l.SetPage({margins.left, margins.top, paper.x - margins.right, paper.y - margins.bottom});
    });
    if (outcome != EditOutcome::Applied) {
        // The relayout names no side: the larger of top and bottom is the likelier cause.
        if (outcome != EditOutcome::NotStarted) mFocus = typed.top >= typed.bottom ? kSideTop : kSideBottom;
        InvalidateMainFormView();
        return false;
    }
    mLayout->SetDirty(1);
    InvalidateMainFormView();
    return true;
}

}  // namespace vx::dialogs
