#include "model/CUndoEntry.h"

#include "model/LayoutCopyBack.h"

namespace vx {

// An entry is shown in no view, so it simply takes the layout's view state with the rest.
void CUndoEntry::CopyFromLayout(const CLayoutSetting& layout, bool withImageData) {
    mLayout.CopyDeep(layout, true, true, withImageData);
}

void CUndoEntry::CopyToLayout(CLayoutSetting& layout, int mode) const {
    CopyLayoutBack(layout, mLayout, mode != 0);
}

}  // namespace vx
