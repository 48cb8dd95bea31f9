#include "model/Relayout.h"

#include <algorithm>

#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ViewServices.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/RowFlow.h"
#include "platform/system/Ports.h"

namespace vx {
namespace {

// Every item keeps at least this much of itself on its page.
constexpr int64_t kKeepOnPage = 142;

int64_t PageIndex(int64_t y, int64_t paperHeight) { return y < 0 ? 0 : y / paperHeight; }

CLayoutObj* FirstImage(const CLayoutSetting& layout) {
    CLayoutObj* p = layout.GetFirstItem();
    while (p && p->GetKind() != kKindImage) p = p->NextItem();
    return p;
}

// How far an extent [start, start + size) moves so that at least kKeepOnPage of it lies
// within [low, high): nothing when that much, or all of it, already does.
int64_t KeepInside(int64_t start, int64_t size, int64_t low, int64_t high) {
    const int64_t inside = std::max<int64_t>(0, std::min(start + size, high) - std::max(start, low));
    if (inside >= kKeepOnPage || inside == size) return 0;
    return start + size > high ? -kKeepOnPage : kKeepOnPage;
}

// First the origin onto the margin rectangle, then the item's extent into it.
void KeepOnPage(CLayoutObj& item, const LayoutRect& m) {
    const LayoutPoint origin = GetItemDrawOrigin(item);
    int64_t dx = 0, dy = 0;
    if (!PtInRectByValue(m, origin)) {
        if (origin.x < m.left) dx = int64_t(m.left) - origin.x;
        else if (origin.x >= m.right) dx = int64_t(m.right) - origin.x;
        if (origin.y < m.top) dy = int64_t(m.top) - origin.y;
        else if (origin.y >= m.bottom) dy = int64_t(m.bottom) - origin.y;
    }
    const LayoutPoint position = GetItemPosition(item), size = GetItemSize(item);
    const int64_t x = position.x + dx, y = position.y + dy;
    dx += KeepInside(x, size.x, m.left, m.right);
    dy += KeepInside(y, size.y, m.top, m.bottom);
    if (dx != 0 || dy != 0)
        SetItemPosition(item, ClampToInt32(position.x + dx), ClampToInt32(position.y + dy));
}

}  // namespace

int Relayout(CLayoutSetting& layout) {
    if (layout.GetFree()) {
        KeepItemsOnPages(layout);
        UpdateLayoutAndRedraw(layout);
        return 1;
    }
    if (const CLayoutObj* first = FirstImage(layout)) FlowImageRows(layout, *first, true);
    if (!RecountPages(layout)) {
        KeepItemsOnPages(layout);
        return 0;
    }
    KeepItemsOnPages(layout);
    UpdateLayoutAndRedraw(layout);
    return 1;
}

int RelayoutDocument(CLayoutSetting& layout) { return Relayout(layout); }

int RelayoutItemOwner(CLayoutObj& item) {
    CLayoutSetting* owner = item.GetOwner();
    return owner ? Relayout(*owner) : 1;
}

int RecountPages(CLayoutSetting& layout) {
    if (layout.GetFree()) return 1;
    const int64_t h = layout.GetPaper().y;
    int64_t pages = 1;
    if (!layout.GetBanner() && h > 0) {
        int64_t lowest = 0;
        for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
            int64_t bottom = int64_t(GetItemPosition(*p).y) + GetItemSize(*p).y;
            if (bottom <= lowest) continue;
            const int64_t origin = GetItemDrawOrigin(*p).y;
            if (PageIndex(origin, h) != PageIndex(bottom, h)) bottom = origin;
            lowest = std::max(lowest, bottom);
        }
        // 64 bits: a count past 32,767 must not wrap below `mPageMax`.
        pages = std::max<int64_t>(1, (lowest + h) / h);
    }
    const int64_t pageMax = std::max<int64_t>(1, layout.GetPageMax());
    if (pages > pageMax) {
        layout.SetPageNumber(int16_t(pageMax));
        return 0;
    }
    layout.SetPageNumber(int16_t(pages));
    return 1;
}

void KeepItemsOnPages(CLayoutSetting& layout) {
    const LayoutXYWH area = GetLayoutAreaXYWH(layout);
    const int64_t h = layout.GetPaper().y;
    if (area.width < kKeepOnPage || area.height < kKeepOnPage || h <= 0) return;
    const LayoutRect margin = GetMarginRect(layout);
    LayoutView* view = FindLayoutView(layout);
    // Each item once, on the page that holds its origin (pages are half-open).
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        const int page = PageOfY(layout, GetItemDrawOrigin(*p).y);
        KeepOnPage(*p, OffsetRectCopy(margin, 0, int64_t(page - 1) * h));
        if (view) view->SetupObjectTracker(*p);
        SetItemChanged(*p, 0);
    }
    if (view && layout.GetFirstItem()) view->Invalidate();
}

void UpdateLayoutAndRedraw(CLayoutSetting& layout) {
    LayoutView* view = FindLayoutView(layout);
    if (view) {
        const int lastPage = std::max(0, layout.GetPageNumber() - 1);
        if (view->GetCurrentPage() > lastPage) view->SetCurrentPage(lastPage);
    }
    if (Shell* shell = HostService<Shell>())
        if (PrintSettingsPane* pane = shell->GetActivePrintSettingsPane()) pane->OnUpdate(kHintLayoutChanged);
    StatusBar().UpdateStatusText(kStatusReady);
    if (layout.GetHeaderShow() || layout.GetFooterShow()) {
        if (ViewServices* services = HostService<ViewServices>()) services->FormatHeaderFooterText(0, layout);
        if (view) view->Invalidate();
    }
}

}  // namespace vx
