#pragma once

namespace vx {

struct ViewStateBlock;

/// Redraws the whole view of the block's layout; nothing without a block, an owner or
/// an open view of it.
void InvalidateLayoutView(const ViewStateBlock* block);

}  // namespace vx
