#include "model/ClampedMove.h"

#include <algorithm>

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"

namespace vx {

void MoveItemClamped(CLayoutObj& item, int32_t dx, int32_t dy, int page) {
    const LayoutPointD p = item.GetPositionD();
    item.SetPositionD(p.x + dx, p.y + dy);
    CLayoutSetting* layout = item.GetOwner();
    if (!layout) return;
    const LayoutPoint paper = layout->GetPaper();
    const int64_t pageTop = int64_t(std::max(page, 0)) * std::max<int32_t>(paper.y, 0);
    const LayoutRect sheet = OffsetRectCopy({0, 0, paper.x, paper.y}, 0, pageTop);
    const LayoutPoint o = GetItemDrawOrigin(item);
    if (PtInRectByValue(sheet, o)) return;
    const LayoutRect m = OffsetRectCopy(GetMarginRect(*layout), 0, pageTop);
    int64_t cx = 0, cy = 0;
    if (o.x < m.left) cx = int64_t(m.left) + kClampInside - o.x;
    if (o.y < m.top) cy = int64_t(m.top) + kClampInside - o.y;
    // The right and bottom edges are tested last and win on a page too small for both.
    if (o.x >= m.right) cx = int64_t(m.right) - kClampInside - o.x;
    if (o.y >= m.bottom) cy = int64_t(m.bottom) - kClampInside - o.y;
    const LayoutPointD q = item.GetPositionD();
    item.SetPositionD(q.x + double(cx), q.y + double(cy));
}

int ShownPageIndex(const CLayoutSetting& layout) {
    const LayoutView* view = FindLayoutView(layout);
    return view ? std::max(0, view->GetCurrentPage()) : 0;
}

}  // namespace vx
