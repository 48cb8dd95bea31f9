#include "view/ViewMapping.h"

#include <cmath>

#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"
#include "view/CGPView.h"

namespace vx {

int ViewMapping::PageOfY(int64_t y) const {
    if (paperHeight <= 0 || y < 0) return 0;
    return int(y / paperHeight);
}

int ViewMapping::PageOf(const CLayoutObj& item) const { return PageOfY(GetItemDrawOrigin(item).y); }

bool ViewMapping::Shows(const CLayoutObj& item) const {
    if (item.GetSelected() == 1 && dragState == 2) return true;
    return PageOf(item) == currentPage;
}

bool ViewMapping::OnPage(PixelPoint client) const {
    if (pageSize.x <= 0 || pageSize.y <= 0) return true;
    const PixelPoint p = ClientToLogical(client);
    return p.x >= pageOffset.x && p.y >= pageOffset.y && int64_t(p.x) < int64_t(pageOffset.x) + pageSize.x &&
           int64_t(p.y) < int64_t(pageOffset.y) + pageSize.y;
}

PixelPoint ViewMapping::PageToClient(int64_t x, int64_t yOnPage) const {
    return {ClampToInt32(int64_t(scale.ToPixelsX(x)) + pageOffset.x - scroll.x),
            ClampToInt32(int64_t(scale.ToPixelsY(yOnPage)) + pageOffset.y - scroll.y)};
}

gfx::geom::Point ViewMapping::PageToClientD(double x, double yOnPage) const {
    return {x * scale.XPerUnit() + pageOffset.x - scroll.x, yOnPage * scale.YPerUnit() + pageOffset.y - scroll.y};
}

ViewMapping MakeViewMapping(const CGPView& view) {
    ViewMapping m;
    m.currentPage = view.GetCurrentPage();
    m.dragState = view.GetDragState();
    const CLayoutSetting* layout = view.GetLayout();
    if (layout) {
        m.paperHeight = GetPaperSize(*layout).y;
        if (const ViewStateBlock* block = layout->GetViewState();
            block && block->zoomNumerator > 0 && block->zoomDenominator > 0) {
            m.scale.num = block->zoomNumerator;
            m.scale.den = block->zoomDenominator;
        }
    }
    if (const LayoutView* window = view.GetWindow()) {
        const PixelPoint ppi = window->GetPixelsPerInch();
        if (ppi.x > 0 && ppi.y > 0) m.scale.ppi = ppi;
        const ViewPageRect page = window->GetPageRect();
        m.pageOffset = page.offset;
        m.pageSize = {page.page.right - page.page.left, page.page.bottom - page.page.top};
        const PixelRect client = window->ClientToDocRect();
        m.scroll = {client.left, client.top};
    }
    return m;
}

}  // namespace vx
