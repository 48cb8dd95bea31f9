#include "model/ViewStateBlock.h"

#include <new>

#include "model/CLayoutSetting.h"

namespace vx {

ViewStateBlock* CreateViewStateBlock(CLayoutSetting& layout) {
    try {
        ViewStateBlock& block = layout.RenewViewState();
        block.zoomNumerator = block.zoomDenominator = 1;
        block.previousZoomNumerator = block.previousZoomDenominator = 1;
        return &block;
    } catch (const std::bad_alloc&) {
        return nullptr;  // the caller reports it: a new layout fails to open
    }
}

void FreeViewStateBlock(ViewStateBlock* block) {
    if (block && block->owner && block->owner->GetViewState() == block) block->owner->FreeViewState();
}

}  // namespace vx
