#pragma once
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"

namespace vx::dialogs {

template <class F> void ForEachSelectedImage(CLayoutSetting& layout, F apply) {
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetSelected() && p->GetKind() == kKindImage) apply(static_cast<CImageObj&>(*p));
}

}  // namespace vx::dialogs
