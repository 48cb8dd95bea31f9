#include "model/LayoutViewRefresh.h"

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/ViewStateBlock.h"

namespace vx {

void InvalidateLayoutView(const ViewStateBlock* block) {
    if (block && block->owner) InvalidateLayoutView(*block->owner);
}

void InvalidateLayoutView(const CLayoutSetting& layout) {
    if (LayoutView* view = FindLayoutView(layout)) view->Invalidate();
}

}  // namespace vx
