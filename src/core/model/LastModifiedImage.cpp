#include "model/LastModifiedImage.h"

#include "model/CLayoutSetting.h"

namespace vx {
namespace {

bool IsSelectedImage(const CLayoutObj& item) { return item.GetKind() == kKindImage && item.GetSelected(); }

}  // namespace

void SetLastModifiedImage(CLayoutSetting& layout, CLayoutObj& item) {
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (IsSelectedImage(*p)) p->SetLastModified(0);
    item.SetLastModified(1);
}

CLayoutObj* GetLastModifiedImage(const CLayoutSetting& layout) {
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (IsSelectedImage(*p) && p->GetLastModified()) return p;
    return nullptr;
}

}  // namespace vx
