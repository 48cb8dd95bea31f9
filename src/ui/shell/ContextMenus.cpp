#include "ui/shell/ContextMenus.h"

#include <algorithm>
#include <vector>

#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
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

    // The last item drawn is the one on top; texts and lines by their outlines, images
    // by their tracker's rectangle, as the mouse selection sees them.
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const CLayoutObj& item = **it;
        if (!view.IsItemOnCurrentPage(item)) continue;
        switch (item.GetKind()) {
        case kKindText:
            if (view.HitTestTextItem(static_cast<const CTextObj&>(item), client.x, client.y) >= 0) return kMenuFreeText;
            break;
        case kKindLine:
            if (view.HitTestLineItem(static_cast<const CLineObj&>(item), client) >= 0) return kMenuFreeLine;
            break;
        case kKindImage: {
            const PixelRect r = view.SetupObjectTracker(item).Rect();
            if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom) return kMenuImage;
            break;
        }
        default: break;
        }
    }
    return kMenuPage;
}

}  // namespace vx
