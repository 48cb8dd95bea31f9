#include "ui/shell/ContextMenus.h"

#include <algorithm>
#include <vector>

#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/LayoutPane.h"

namespace vx {

int ContextMenuKind(const LayoutPane& pane, PixelPoint client) {
    const CGPView& view = const_cast<LayoutPane&>(pane).View();
    const CLayoutSetting* layout = view.GetLayout();
    if (!layout) return 0;
    if (layout->GetSelected() == 0 && layout->GetOther() == 0) return kMenuPage;
    std::vector<const CLayoutObj*> items;
    for (const CLayoutObj* item = layout->GetFirstItem(); item; item = item->NextItem()) items.push_back(item);
    if (items.empty()) return kMenuPage;

    double zoom = 1.0;
    if (const ViewStateBlock* vs = layout->GetViewState(); vs && vs->zoomNumerator > 0 && vs->zoomDenominator > 0)
        zoom = double(vs->zoomNumerator) / vs->zoomDenominator;
    const double xs = view.GetXPerUnit() * zoom;
    const double ys = view.GetYPerUnit() * zoom;
    const ViewPageRect page = pane.GetPageRect();
    const int64_t paperHeight = std::max<int32_t>(GetPaperSize(*layout).y, 0);
    const int64_t pageTop = int64_t(view.GetCurrentPage()) * paperHeight;

    // The last item drawn is the one on top.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const CLayoutObj& item = **it;
        const int16_t kind = item.GetKind();
        if (kind != kKindImage && kind != kKindText && kind != kKindLine) continue;
        const LayoutRect r = item.GetRect();
        if (!view.IsItemOnCurrentPage(item)) continue;
        const double left = page.offset.x + r.left * xs;
        const double right = page.offset.x + r.right * xs;
        const double top = page.offset.y + double(r.top - pageTop) * ys;
        const double bottom = page.offset.y + double(r.bottom - pageTop) * ys;
        if (client.x < std::min(left, right) || client.x >= std::max(left, right) || client.y < std::min(top, bottom) ||
            client.y >= std::max(top, bottom))
            continue;
        return kind == kKindImage ? kMenuImage : kind == kKindLine ? kMenuFreeLine : kMenuFreeText;
    }
    return kMenuPage;
}

}  // namespace vx
