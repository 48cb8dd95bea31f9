#include "view/DragController.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CUndoEntry.h"
#include "model/ClampedMove.h"
#include "model/FreeLineItem.h"
#include "model/ImageLabels.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/RefusableEdit.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Ports.h"
#include "platform/system/StatusPort.h"
#include "view/CGPView.h"
#include "view/HitTesting.h"
#include "view/LayoutViewCommands.h"
#include "view/ResizeItems.h"

namespace vx {
namespace {

// Undo codes of the press and of the drag.
constexpr uint16_t kUndoCodeRestack = 14;
constexpr uint16_t kUndoCodeDragStart = 159;

bool Moves(int hit) { return hit == kHitMiddle; }

PixelRect Normalised(PixelPoint a, PixelPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Pixels of travel to units, at least one unit for any travel at all.
int32_t TravelUnits(int32_t units, int64_t pixels) {
    if (pixels != 0 && units == 0) return pixels > 0 ? 1 : -1;
    return units;
}

void SetStatusValues(CLayoutSetting& layout, int32_t a, int32_t b, int code) {
    if (ViewStateBlock* block = layout.GetViewState()) {
        block->statusA = a;
        block->statusB = b;
    }
    StatusBar().UpdateStatusText(code);
}

LayoutPoint Difference(LayoutPoint a, LayoutPoint b) {
    return {ClampToInt32(int64_t(a.x) - b.x), ClampToInt32(int64_t(a.y) - b.y)};
}

struct LineEnds {
    int64_t sx, sy, ex, ey;
    friend bool operator==(const LineEnds&, const LineEnds&) = default;
};

LineEnds EndsOf(const CLineObj& line) {
    const LayoutPoint p = line.GetPosition(), s = line.GetOffsetStart(), e = line.GetOffsetEnd();
    return {int64_t(p.x) + s.x, int64_t(p.y) + s.y, int64_t(p.x) + e.x, int64_t(p.y) + e.y};
}

void MoveItemRect(CLayoutObj& item, LayoutPoint by) {
    SetItemRectByKind(item, OffsetRectCopy(GetItemRectByKind(item), by.x, by.y));
}

}  // namespace

DragController::DragController(CGPView& view) : mView(view) {}
DragController::~DragController() = default;

CLayoutSetting* DragController::Layout() const { return mView.GetLayout(); }

std::optional<PixelRect> DragController::Band() const {
    if (mMode != Mode::Band) return std::nullopt;
    return Normalised(mPress, mBandEnd);
}

std::pair<int64_t, int64_t> DragController::Travel(PixelPoint client) const {
    return {int64_t(client.x) + mMapping.scroll.x - mPress.x - mPressScroll.x,
            int64_t(client.y) + mMapping.scroll.y - mPress.y - mPressScroll.y};
}

void DragController::Refresh() {
    if (LayoutView* window = mView.GetWindow()) window->Invalidate();
}

void DragController::Press(PixelPoint client, PointerKeys keys, bool rightDown) {
    CLayoutSetting* layout = Layout();
    ApplicationState* app = HostService<ApplicationState>();
    // A press while another is tracked: the release of that one never came.
    if (Tracking()) Cancel();
    if (rightDown || !layout || !app) return;
    mUndo = &app->GetUndoStore();
    mPrefs = &app->Preferences();
    mSnapshot.reset();
    mPrevious.reset();
    if (!mUndo->SnapshotLayout(*layout, mSnapshot, &mPrevious)) return;
    mPress = mLast = mBandEnd = client;
    mApplied = {};
    mItem = nullptr;
    mMapping = MakeViewMapping(mView);
    mPressScroll = mMapping.scroll;

    CLayoutObj* item = nullptr;
    mHit = mView.SelectAtPoint(client, keys.shift, &item);
    if (mHit == kHitNothing) {
        mMode = Mode::Band;
        return;
    }
    if (!item || !mMapping.OnPage(client)) {
        EndPress();
        return;
    }
    mItem = item;
    mMode = Mode::Item;
    mView.UpdateShiftResizeFlags(*item, keys.shift);
    mView.SetDragState(1);
    if (keys.ctrl && (layout->GetFree() || item->GetKind() != kKindImage)) {
        // Drawn first, so behind all others.
        mUndo->PushUndo(*layout, kUndoCodeRestack);
        std::unique_ptr<CLayoutObj> taken = RemoveObjectById(layout->ItemListHead(), item);
        if (taken) InsertObjectAt(layout->ItemListHead(), taken, 0);
        layout->SetDirty(1);
    }
    Refresh();
}

bool DragController::BeginChange() {
    if (mView.GetDragState() != 1) return mView.GetDragState() == 2;
    if (!mUndo->PushUndo(*Layout(), kUndoCodeDragStart)) {
        EndPress();
        return false;
    }
    mView.SetDragState(2);
    mMapping.dragState = 2;
    return true;
}

void DragController::Motion(PixelPoint client, PointerKeys) {
    if (mMode == Mode::Band) {
        mBandEnd = client;
        return;
    }
    if (mMode != Mode::Item || client == mLast) return;
    if (!BeginChange()) return;
    // The view may have scrolled since the press.
    mMapping = MakeViewMapping(mView);
    if (Moves(mHit)) MoveStep(client);
    else if (mItem->GetKind() == kKindLine) LineEndStep(client);
    else ResizeStep(client);
}

// The total travel since the press is converted at once and the selection moved by what
// it adds: truncating every motion on its own would let the items fall behind the
// pointer, by how much depending on how the motions arrive.
void DragController::MoveStep(PixelPoint client) {
    CLayoutSetting& layout = *Layout();
    const auto [tx, ty] = Travel(client);
    const LayoutPoint total{TravelUnits(mMapping.scale.ToUnitsX(tx), tx), TravelUnits(mMapping.scale.ToUnitsY(ty), ty)};
    const LayoutPoint step = Difference(total, mApplied);
    mLast = client;
    if (step.x == 0 && step.y == 0) return;
    MoveSelectedItems(layout, *mUndo, step.x, step.y, false);
    mApplied = total;
    const CLayoutObj* last = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetSelected()) last = p;
    if (last) {
        const double z = double(mMapping.scale.num) / double(mMapping.scale.den);
        const LayoutPoint pos = last->GetPosition();
        SetStatusValues(layout, int32_t(std::trunc(pos.x * z)), int32_t(std::trunc(pos.y * z)),
                        kStatusCursorPosition);
    }
    Refresh();
}

void DragController::LineEndStep(PixelPoint client) {
    auto& line = static_cast<CLineObj&>(*mItem);
    const auto [tx, ty] = Travel(client);
    const LayoutPoint total{mMapping.scale.ToUnitsX(tx), mMapping.scale.ToUnitsY(ty)};
    LayoutPoint step = Difference(total, mApplied);
    mLast = client;
    if (step.x == 0 && step.y == 0) return;
    ClampLineEndDelta(*Layout(), line, step, mHit);
    const LineEnds before = EndsOf(line);
    MoveFreeLineEnd(line, step.x, step.y, mHit == kHitTopLeft ? 0 : 1);
    // A refused length leaves the ends where they were: nothing of the step was applied.
    const bool moved = !(EndsOf(line) == before);
    if (moved) mApplied = {ClampToInt32(int64_t(mApplied.x) + step.x), ClampToInt32(int64_t(mApplied.y) + step.y)};
    Refresh();
}

void DragController::ResizeStep(PixelPoint client) {
    CLayoutSetting& layout = *Layout();
    const PixelRect t = SetupObjectTracker(mMapping, *mItem).Rect();
    const PixelPoint min = GetMinTrackSize(mMapping, *mItem);
    int64_t x = client.x, y = client.y;
    const int h = mHit;
    if ((h == kHitTop || h == kHitTopLeft || h == kHitTopRight) && t.bottom - y < min.y) y = int64_t(t.bottom) - min.y;
    if ((h == kHitLeft || h == kHitTopLeft || h == kHitBottomLeft) && t.right - x < min.x) x = int64_t(t.right) - min.x;
    if ((h == kHitBottom || h == kHitBottomLeft || h == kHitBottomRight) && y - t.top < min.y) y = int64_t(t.top) + min.y;
    if ((h == kHitRight || h == kHitTopRight || h == kHitBottomRight) && x - t.left < min.x) x = int64_t(t.left) + min.x;
    const PixelPoint clamped{ClampToInt32(x), ClampToInt32(y)};
    if (clamped == mLast) return;

    PixelRect n = t;
    if (h == kHitTop || h == kHitTopLeft || h == kHitTopRight) n.top = clamped.y;
    if (h == kHitLeft || h == kHitTopLeft || h == kHitBottomLeft) n.left = clamped.x;
    if (h == kHitBottom || h == kHitBottomLeft || h == kHitBottomRight) n.bottom = clamped.y;
    if (h == kHitRight || h == kHitTopRight || h == kHitBottomRight) n.right = clamped.x;
    const ViewScale& s = mMapping.scale;
    const LayoutPointD tracked{(double(n.right) - n.left) * ViewScale::kUnitsPerInch * double(s.den) / (double(s.num) * s.ppi.x),
                               (double(n.bottom) - n.top) * ViewScale::kUnitsPerInch * double(s.den) / (double(s.num) * s.ppi.y)};
    auto& image = static_cast<CImageObj&>(*mItem);
    const bool done = mItem->GetKind() == kKindImage && ResizeSelectedImages(layout, &image, tracked, h);
    if (done) {
        // Each image stays on the page it lay on when the drag began.
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
            if (p->GetKind() == kKindImage && p->GetSelected())
                MoveItemClamped(*p, 0, 0, mUndo->FindItemInUndo(p->GetObjectId()));
        const LayoutPointD size = mItem->GetSizeD();
        SetStatusValues(layout, int32_t(std::trunc(size.x)), int32_t(std::trunc(size.y)), kStatusItemSize);
    }
    mLast = clamped;
    Refresh();
    if (done) return;
    // A resize the selection cannot take ends the drag with what earlier steps made.
    if (RelayoutOrRestore(*mUndo, layout, true, *mSnapshot, mPrevious.get()) == EditOutcome::Applied) layout.SetDirty(1);
    EndPress();
}

void DragController::KeyDown(int keyCode, PointerKeys keys) {
    if (!Tracking()) return;
    if (mMode == Mode::Item) mView.UpdateShiftResizeFlags(*mItem, keys.shift);
    if (keyCode == kKeyEscape) Cancel();
}

void DragController::KeyUp(int, PointerKeys keys) {
    if (mMode == Mode::Item) mView.UpdateShiftResizeFlags(*mItem, keys.shift);
}

void DragController::RightPress() { Cancel(); }

void DragController::CaptureLost() { Cancel(); }

// Cancelling puts back the press snapshot with the undo entry from before it, so that
// the user's own undo survives the cancelled drag.
void DragController::Cancel() {
    if (!Tracking()) return;
    CLayoutSetting* layout = Layout();
    if (mMode == Mode::Item && mView.GetDragState() > 1 && layout && mSnapshot) {
        mItem = nullptr;  // the restore makes new item objects
        mUndo->RestoreLayoutSnapshot(*layout, *mSnapshot, mPrevious.get());
        UpdateLayoutAndRedraw(*layout);
    }
    EndPress();
    Refresh();
}

void DragController::Release(PixelPoint client, PointerKeys keys) {
    if (!Tracking()) return;
    // The release may come without the motion to its point.
    if (client != mLast) Motion(client, keys);
    if (mMode == Mode::Band) {
        const PixelRect band = Normalised(mPress, client);
        if (band.right > band.left && band.bottom > band.top) mView.SelectInBand(band, keys.shift);
        else if (!keys.shift) mView.DeselectAll();
        EndPress();
        return;
    }
    if (mMode != Mode::Item) return;
    FinishDrag(client);
}

void DragController::FinishDrag(PixelPoint client) {
    CLayoutSetting& layout = *Layout();
    if (Moves(mHit) && !layout.GetFree()) DropOnTarget(client);
    else if (mView.GetDragState() > 1) SnapOnRelease(client);
    if (mView.GetDragState() > 1) {
        if (RelayoutOrRestore(*mUndo, layout, true, *mSnapshot, mPrevious.get()) == EditOutcome::Applied) {
            RenumberImageItems(layout);
            layout.SetDirty(1);
        }
    }
    InvalidateMainFormView();
    StatusBar().UpdateStatusText(kStatusReady);
    EndPress();
}

void DragController::DropOnTarget(PixelPoint client) {
    CLayoutSetting& layout = *Layout();
    const CLayoutObj* target = mView.FindDropTarget(*mItem, client);
    if (!target) return;
    std::vector<CLayoutObj*> moving;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage && p->GetSelected()) moving.push_back(p);
    for (CLayoutObj* p : moving) {
        std::unique_ptr<CLayoutObj> taken = RemoveObjectById(layout.ItemListHead(), p);
        if (taken) InsertObjectBefore(layout.ItemListHead(), target, taken);
    }
}

void DragController::SnapOnRelease(PixelPoint client) {
    CLayoutSetting& layout = *Layout();
    if (!layout.GetFree() || !mPrefs || !mPrefs->snapToGrid) return;
    const int64_t height = std::max<int64_t>(layout.GetPaper().y, 0);
    const LayoutRect margin = GetMarginRect(layout);
    const auto snapped = [&](const CLayoutObj& item, int64_t page, bool clamp) {
        const LayoutPoint o = GetItemDrawOrigin(item);
        LayoutPoint p = o;
        SnapPointToGrid(layout, p, mPrefs->gridX, mPrefs->gridY);
        if (clamp) {
            const LayoutRect m = OffsetRectCopy(margin, 0, page * height);
            p.x = std::clamp(p.x, m.left, std::max(m.left, m.right));
            p.y = std::clamp(p.y, m.top, std::max(m.top, m.bottom));
        }
        return Difference(p, o);
    };
    const auto pageOfY = [&](int64_t y) { return height > 0 && y > 0 ? y / height : 0; };
    if (Moves(mHit)) {
        if (client == mPress) return;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
            if (p->GetSelected()) MoveItemRect(*p, snapped(*p, pageOfY(GetItemDrawOrigin(*p).y), true));
        return;
    }
    const bool image = mItem->GetKind() == kKindImage;
    MoveItemRect(*mItem, snapped(*mItem, pageOfY(mItem->GetPosition().y), image));
}

void DragController::EndPress() {
    mView.SetDragState(0);
    mMode = Mode::Idle;
    mItem = nullptr;
    mSnapshot.reset();
    mPrevious.reset();
    if (LayoutView* window = mView.GetWindow())
        if (LayoutViewCommands* commands = window->Commands()) commands->OnViewUpdate({kViewHintSelection, std::nullopt});
}

}  // namespace vx
