#include "model/NewItemPlacement.h"

#include <algorithm>
#include <optional>

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/ClampedMove.h"
#include "model/PageGeometry.h"
#include "model/RowFlow.h"
#include "model/ViewScale.h"

namespace vx {
namespace {

// How far inside the margins an item lands that would start off the paper.
constexpr int32_t kInsideMargin = 142;

// Null without a zoom and pixel density that are both positive.
std::optional<ViewScale> ScaleOf(const CLayoutSetting& layout, const LayoutView& view) {
    const ViewStateBlock* block = layout.GetViewState();
    const PixelPoint ppi = view.GetPixelsPerInch();
    if (!block || block->zoomNumerator <= 0 || block->zoomDenominator <= 0 || ppi.x <= 0 || ppi.y <= 0)
        return std::nullopt;
    return ViewScale{block->zoomNumerator, block->zoomDenominator, ppi};
}

// The part of the page that the view shows, in layout units from the page's top-left.
LayoutRect VisiblePageRect(const LayoutView& view, const ViewScale& scale) {
    const PixelRect client = view.ClientToDocRect();
    const PixelPoint offset = view.GetPageRect().offset;
    return {scale.ToUnitsX(int64_t(client.left) - offset.x), scale.ToUnitsY(int64_t(client.top) - offset.y),
            scale.ToUnitsX(int64_t(client.right) - offset.x), scale.ToUnitsY(int64_t(client.bottom) - offset.y)};
}

void MoveItemBy(CLayoutObj& item, int64_t dx, int64_t dy) {
    const LayoutPoint p = GetItemPosition(item);
    SetItemPosition(item, ClampToInt32(p.x + dx), ClampToInt32(p.y + dy));
}

}  // namespace

void PlaceNewObject(CLayoutObj& item) {
    CLayoutSetting* layout = item.GetOwner();
    if (!layout) return;
    const int64_t h = layout->GetPaper().y;
    if (!layout->GetFree() && item.GetKind() == kKindImage && h > 0) {
        // The relayout that follows justifies and counts the pages.
        FlowImageRows(*layout, item, false);
        return;
    }
    if (GetItemPosition(item).x > kUnplacedX) return;
    const std::optional<LayoutRect> shown = VisiblePartOfShownPage(*layout);
    if (!shown) {
        const LayoutRect area = GetLayoutAreaRect(*layout);
        SetItemPosition(item, area.left, area.top);
        return;
    }
    const LayoutPoint paper = layout->GetPaper(), size = GetItemSize(item);
    const LayoutRect& visible = *shown;
    const int64_t pageTop = int64_t(ShownPageIndex(*layout)) * std::max<int64_t>(h, 0);
    SetItemPosition(item, ClampToInt32(visible.left + (int64_t(RectWidth(visible)) - size.x) / 2),
                    ClampToInt32(visible.top + (int64_t(RectHeight(visible)) - size.y) / 2));

    // An item larger than the visible part may start off the paper.
    const LayoutRect sheet = OffsetRectCopy({0, 0, paper.x, ClampToInt32(h)}, 0, pageTop);
    const LayoutRect m = OffsetRectCopy(GetMarginRect(*layout), 0, pageTop);
    const LayoutPoint o = GetItemDrawOrigin(item);
    if (PtInRectByValue(sheet, o)) return;
    int64_t dx = 0, dy = 0;
    if (o.x < m.left) dx = int64_t(m.left) + kInsideMargin - o.x;
    else if (o.x >= m.right) dx = int64_t(m.right) - kInsideMargin - o.x;
    if (o.y < m.top) dy = int64_t(m.top) + kInsideMargin - o.y;
    else if (o.y >= m.bottom) dy = int64_t(m.bottom) - kInsideMargin - o.y;
    MoveItemBy(item, dx, dy);
}

std::optional<LayoutRect> VisiblePartOfShownPage(const CLayoutSetting& layout) {
    LayoutView* view = FindLayoutView(layout);
    const std::optional<ViewScale> scale = view ? ScaleOf(layout, *view) : std::nullopt;
    if (!scale) return std::nullopt;
    const LayoutPoint paper = layout.GetPaper();
    const LayoutRect visible = IntersectRects(VisiblePageRect(*view, *scale), {0, 0, paper.x, paper.y});
    const int64_t pageTop = int64_t(std::max(0, view->GetCurrentPage())) * std::max<int64_t>(paper.y, 0);
    return OffsetRectCopy(visible, 0, pageTop);
}

void PlaceInVisibleArea(const ViewStateBlock* block, const CLayoutObj& item) {
    if (!block || !block->owner) return;
    CLayoutSetting& layout = *block->owner;
    LayoutView* view = FindLayoutView(layout);
    const std::optional<ViewScale> scale = view ? ScaleOf(layout, *view) : std::nullopt;
    if (!scale) return;
    const int page = PageOfY(layout, GetItemDrawOrigin(item).y) - 1;
    if (view->GetCurrentPage() != page) {
        view->SetCurrentPage(page);
        view->Invalidate();
    }
    const int64_t pageTop = int64_t(page) * std::max<int32_t>(layout.GetPaper().y, 0);
    const LayoutRect r = OffsetRectCopy(GetItemRectByKind(item), 0, -pageTop);
    const LayoutRect visible = VisiblePageRect(*view, *scale);
    if (r.left >= visible.left && r.top >= visible.top && r.right <= visible.right && r.bottom <= visible.bottom)
        return;
    view->ScrollTo({scale->ToPixelsX(r.left), scale->ToPixelsY(r.top)});
}

}  // namespace vx
