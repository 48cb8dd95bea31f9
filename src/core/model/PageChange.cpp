#include "model/PageChange.h"

#include <algorithm>
#include <cstdint>

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/SelectionTracker.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"

namespace vx {

namespace {

int CurrentPage(const CLayoutSetting& layout) {
    const LayoutView* view = FindLayoutView(layout);
    return view ? std::max(0, view->GetCurrentPage()) : 0;
}

}  // namespace

void ShiftObjectsForPageChange(UndoStore& undo, CLayoutSetting& layout, bool insert, bool before) {
    const int64_t h = layout.GetPaper().y;
    if (!layout.GetFree() || layout.GetType() != kRecordTypeLayout || h <= 0) return;
    const int pages = layout.GetPageNumber();
    if (insert ? pages >= INT16_MAX : pages <= 1) return;
    undo.PushUndo(layout, kUndoCodePageChange);

    LayoutView* view = FindLayoutView(layout);
    const int current = std::clamp(CurrentPage(layout), 0, std::max(0, pages - 1));
    const int64_t boundary = (insert && before ? current : current + 1) * h;
    const int64_t shift = insert ? h : -h;
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) {
        // Only the rows above the boundary count: an item left or right of the page
        // must move with its page as well.
        if (GetItemRectByKind(*item).top < boundary) continue;
        const LayoutPoint p = GetItemPosition(*item);
        SetItemPosition(*item, p.x, ClampToInt32(p.y + shift));
        RefreshSelectionTracker(layout, item, kTrackerRefreshItem);
        SetItemChanged(*item, 0);
    }

    layout.SetPageNumber(int16_t(insert ? pages + 1 : pages - 1));
    if (view) {
        if (insert && before) view->SetCurrentPage(current + 1);
        else if (!insert && current > 0) view->SetCurrentPage(current - 1);
        else view->Invalidate();
    }
    StatusBar().UpdateStatusText(kStatusReady);
}

bool CurrentPageHasItems(const CLayoutSetting& layout) {
    const int64_t h = layout.GetPaper().y;
    const int current = CurrentPage(layout);
    const int64_t top = int64_t(current) * h, bottom = top + h;
    const bool last = current + 1 >= GetPageCount(layout);
    for (const CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) {
        const int64_t y = GetItemDrawOrigin(*item).y;
        if ((current == 0 || y >= top) && (last || y <= bottom)) return true;
    }
    return false;
}

}  // namespace vx
