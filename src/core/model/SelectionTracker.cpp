#include "model/SelectionTracker.h"

#include "host/LayoutView.h"
#include "host/Shell.h"

namespace vx {

void RefreshSelectionTracker(CLayoutSetting& layout, const CLayoutObj* item, int /*flag*/) {
    LayoutView* view = FindLayoutView(layout);
    if (!view) return;
    if (item) view->SetupObjectTracker(*item);
    view->Invalidate();
}

}  // namespace vx
