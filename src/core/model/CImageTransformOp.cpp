#include "model/CImageTransformOp.h"

#include <utility>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "model/LayoutOperations.h"
#include "model/LayoutViewRefresh.h"
#include "model/RefusableEdit.h"
#include "model/SelectionTracker.h"
#include "model/WorkingBitmapError.h"

namespace vx {
namespace {

constexpr uint16_t kUndoCodeOrientation = 159;

bool IsKnownCode(int code) {
    switch (code) {
        case 0: case 1: case 2: case 4: case 8: case 9: case 10: case 12: return true;
        default: return false;
    }
}

void TurnBitmap(CImageObj& item, int op) {
    if (!item.TurnWorkingBitmap(op)) throw WorkingBitmapError("the working bitmap cannot be turned");
}

template <class Each>
void ForSelectedImages(CLayoutSetting& layout, Each each) {
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetSelected() && p->GetKind() == kKindImage) each(static_cast<CImageObj&>(*p));
}

void RebuildTexts(CImageObj& item) {
    BuildImageLabelText(item);
    UpdateAutoCaptionFontSize(item);
}

}  // namespace

int16_t CombineOrientation(int op, int16_t stored, bool frameOnly) {
    int code = IsKnownCode(stored) ? stored : 0;
    if (op == kOrientReset) return 0;
    int r = code & 7;
    switch (op) {
        case kOrientRight: r = r == 0 ? 1 : (r * 2 == 8 ? 0 : r * 2); break;
        case kOrientHalf:
            r = r == 0 ? 2 : r * 4;
            if (r >= 5) r >>= 4;
            break;
        case kOrientLeft: r = r == 0 ? 4 : r >> 1; break;
        default: break;
    }
    code = (code & ~7) | r;
    if (frameOnly) return int16_t(code);
    if (op == kOrientMirrorH) {
        code ^= 8;
        // Mirroring a quarter-turned picture swaps its right and left turns.
        if (code & 1)
            code = (code & ~1) | 4;
        else if (code & 4)
            code = (code & ~4) | 1;
    } else if (op == kOrientMirrorV) {
        if (code & 5) {
            code ^= 8;
        } else if (code == 10) {
            code = 0;
        } else if (code & 2) {
            code = 8;
        } else if (code == 0) {
            code = 10;
        } else if (code == 8) {
            code = 2;
        }
    }
    return int16_t(code);
}

void RotateSizeAndFrame(CImageObj& item, int op) {
    LayoutRect f = item.GetFrame();
    if (op & (kOrientRight | kOrientLeft)) {
        const LayoutPointD size = item.GetSizeD();
        item.SetSizeD(size.y, size.x);
    }
    if (op & kOrientRight) {
        f = {f.bottom, f.left, f.top, f.right};
    } else if (op & kOrientHalf) {
        f = {f.right, f.bottom, f.left, f.top};
    } else if (op & kOrientLeft) {
        f = {f.top, f.right, f.bottom, f.left};
    }
    item.SetFrame(f);
}

bool TurnsWithFrame(const CImageObj& item) { return item.GetFrameRotation() != 0 || item.GetSizeMethod() == 2; }

void CImageTransformOp::TurnFrameKeepingCentre(CImageObj& item, int op) {
    const LayoutPoint pos = item.GetPosition(), before = item.GetSize();
    RotateSizeAndFrame(item, op);
    const CLayoutSetting* layout = item.GetOwner();
    if (!layout || !layout->GetFree()) return;
    const LayoutPoint after = item.GetSize();
    item.MoveWithinPage(ClampToInt32(int64_t(pos.x) + before.x / 2 - after.x / 2),
                        ClampToInt32(int64_t(pos.y) + before.y / 2 - after.y / 2));
}

void CImageTransformOp::ApplyOrientationToItem(CImageObj& item, int op) {
    CLayoutSetting* layout = item.GetOwner();
    if (layout) RefreshSelectionTracker(*layout, &item, kTrackerRefreshItem);
    TurnBitmap(item, op);
    const bool frame = TurnsWithFrame(item);
    if (frame) TurnFrameKeepingCentre(item, op);
    item.SetRotate(mNewCode);
    if (frame) item.SetFrameRotate(mNewFrameCode);
    BuildImageLabelText(item);
    item.SetChanged(1);
    if (layout) RefreshSelectionTracker(*layout, &item, kTrackerRefreshItem);
}

void CImageTransformOp::UndoOrientation(CImageObj& item) {
    CLayoutSetting* layout = item.GetOwner();
    const int p = mPreviousCode, f = mPreviousFrameCode;
    // Each step undoes one bit of the code, the mirror last: the code mirrors first.
    if (p & 1) TurnBitmap(item, kOrientLeft);
    if (p & 2) TurnBitmap(item, kOrientHalf);
    if (p & 4) TurnBitmap(item, kOrientRight);
    if (p & 8) TurnBitmap(item, kOrientMirrorH);
    if (f & 1) TurnFrameKeepingCentre(item, kOrientLeft);
    if (f & 2) TurnFrameKeepingCentre(item, kOrientHalf);
    if (f & 4) TurnFrameKeepingCentre(item, kOrientRight);
    item.SetRotate(0);
    item.SetFrameRotate(0);
    BuildImageLabelText(item);
    item.SetChanged(1);
    if (layout) RefreshSelectionTracker(*layout, &item, kTrackerRefreshItem);
}

void CImageTransformOp::ApplyToSelection(int op) {
    const EditOutcome outcome = RunRefusableEdit(*mUndo, *mLayout, kUndoCodeOrientation, true, [&](CLayoutSetting& l) {
        ForSelectedImages(l, [&](CImageObj& item) {
            mItem = &item;
            mPreviousCode = item.GetRotate();
            mNewCode = CombineOrientation(op, mPreviousCode, false);
            mPreviousFrameCode = item.GetFrameRotate();
            mNewFrameCode = TurnsWithFrame(item) ? CombineOrientation(op, mPreviousFrameCode, true) : mPreviousFrameCode;
            ApplyOrientationToItem(item, op);
            RebuildTexts(item);
        });
    });
    if (outcome == EditOutcome::Applied) Finish();
    if (outcome != EditOutcome::Applied) mItem = nullptr;  // the items were replaced
}

void CImageTransformOp::RestoreOriginal() {
    const EditOutcome outcome = RunRefusableEdit(*mUndo, *mLayout, kUndoCodeOrientation, true, [&](CLayoutSetting& l) {
        ForSelectedImages(l, [&](CImageObj& item) {
            mItem = &item;
            mPreviousCode = item.GetRotate();
            mPreviousFrameCode = item.GetFrameRotate();
            mNewCode = mNewFrameCode = 0;
            UndoOrientation(item);
            RebuildTexts(item);
        });
    });
    if (outcome == EditOutcome::Applied) Finish();
    if (outcome != EditOutcome::Applied) mItem = nullptr;
}

void CImageTransformOp::Finish() {
    UpdateImageInfoWindow(mLayout->GetCurrentItem());
    mLayout->SetDirty(1);
    InvalidateLayoutView(*mLayout);
}

}  // namespace vx
