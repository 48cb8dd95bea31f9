#include "view/CursorDecision.h"

#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/PageGeometry.h"
#include "view/HitTesting.h"
#include "view/ItemTracker.h"
#include "view/ViewMapping.h"

namespace vx {
namespace {

int ItemHitCode(const ViewMapping& m, const CLayoutObj& item, PixelPoint client) {
    switch (item.GetKind()) {
    case kKindLine: return HitTestLineItem(m, static_cast<const CLineObj&>(item), client);
    case kKindText: return HitTestTextItem(m, static_cast<const CTextObj&>(item), client);
    case kKindImage:
        if (!m.Shows(item)) return kHitNothing;
        [[fallthrough]];
    default: return SetupObjectTracker(m, item).HitTest(client);
    }
}

}  // namespace

bool IsPointOnPage(const CLayoutSetting& layout, const ViewMapping& mapping, PixelPoint client) {
    const LayoutPoint paper = GetPaperSize(layout);
    const PixelPoint topLeft = mapping.PageToClient(0, 0);
    const PixelPoint bottomRight = mapping.PageToClient(paper.x, paper.y);
    return client.x >= topLeft.x && client.x < bottomRight.x && client.y >= topLeft.y && client.y < bottomRight.y;
}

CursorChoice DecideCursor(const CLayoutSetting* layout, const ViewMapping& mapping, PixelPoint client) {
    if (!layout) return {CursorChoice::Kind::Keep, -1};
    if (layout->GetSelected() == 0 && layout->GetOther() == 0) return {};
    for (const CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) {
        if (!p->GetSelected()) continue;
        const int code = ItemHitCode(mapping, *p, client);
        if (code == kHitNothing) continue;
        if (!IsPointOnPage(*layout, mapping, client)) return {CursorChoice::Kind::Keep, -1};
        return {CursorChoice::Kind::Index, code};
    }
    return {};
}

}  // namespace vx
