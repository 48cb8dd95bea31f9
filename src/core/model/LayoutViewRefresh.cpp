#include "model/LayoutViewRefresh.h"

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/ViewStateBlock.h"

namespace vx {

void InvalidateLayoutView(const ViewStateBlock* block) {
    if (!block || !block->owner) return;
    if (LayoutView* view = FindLayoutView(*block->owner)) view->Invalidate();
}

}  // namespace vx
