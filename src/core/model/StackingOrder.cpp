#include "model/StackingOrder.h"

#include <vector>

#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/SelectionTracker.h"
#include "model/UndoStore.h"

namespace vx {
namespace {

constexpr uint16_t kUndoCodeStacking = 14;
constexpr int kStackingKinds = kKindImage | kKindText | kKindLine;

bool Takes(const CLayoutObj& item) { return (item.GetKind() & kStackingKinds) != 0; }

bool Overlap(const CLayoutObj& a, const CLayoutObj& b) {
    const LayoutRect r = IntersectRects(a.GetRect(), b.GetRect());
    return r.left < r.right && r.top < r.bottom;
}

void Unlink(CLayoutSetting& layout, CLayoutObj* prev, CLayoutObj* item) {
    if (prev)
        prev->SetNext(item->GetNext());
    else
        *layout.ItemListHead() = item->NextItem();
    item->SetNext(nullptr);
}

CLayoutObj* PredecessorOf(const CLayoutSetting& layout, const CLayoutObj* item) {
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p && p != item; p = p->NextItem()) prev = p;
    return prev;
}

}  // namespace

int ChangeObjectZOrder(CLayoutSetting& layout, int mode, UndoStore& undo) {
    if (!undo.PushUndo(layout, kUndoCodeStacking)) return 0;
    const bool forward = mode == kStackToFront || mode == kStackForward;
    const bool backward = mode == kStackBackward || mode == kStackToBack;
    // Unselected items never move, so their order stays as collected; a selected item's
    // place among them is the count of those before it.
    std::vector<CLayoutObj*> still;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        p->SetChanged(0);
        if (Takes(*p) && !p->GetSelected()) still.push_back(p);
    }
    const bool tracked = layout.GetViewState() != nullptr;
    size_t rank = 0;  // unselected items before p
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p;) {
        CLayoutObj* next = p->NextItem();
        if (!Takes(*p) || !p->GetSelected() || p->GetChanged()) {
            if (Takes(*p) && !p->GetSelected()) ++rank;
            prev = p;
            p = next;
            continue;
        }
        CLayoutObj* found = nullptr;
        if (forward) {
            for (size_t i = rank; i < still.size(); ++i)
                if (Overlap(*p, *still[i])) {
                    found = still[i];
                    if (mode == kStackForward) break;
                }
        } else if (backward) {
            for (size_t i = 0; i < rank; ++i)
                if (Overlap(*p, *still[i])) {
                    found = still[i];
                    if (mode == kStackToBack) break;
                }
        }
        p->SetChanged(1);
        if (found) {
            Unlink(layout, prev, p);
            if (forward) {
                p->SetNext(found->GetNext());
                found->SetNext(p);
            } else if (CLayoutObj* before = PredecessorOf(layout, found)) {
                p->SetNext(found);
                before->SetNext(p);
            } else {
                p->SetNext(found);
                *layout.ItemListHead() = p;
            }
            found->SetChanged(1);
            if (tracked) {
                RefreshSelectionTracker(layout, p, kTrackerRefreshItem);
                RefreshSelectionTracker(layout, found, kTrackerRefreshItem);
            }
            // p left its place: the walk goes on from its old successor behind prev.
        } else {
            prev = p;
        }
        p = next;
    }
    layout.SetDirty(1);
    return 1;
}

}  // namespace vx
