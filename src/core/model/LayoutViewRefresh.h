#pragma once

namespace vx {

class CLayoutSetting;
struct ViewStateBlock;

/// Redraws the whole client area of the view that shows the block's layout; nothing
/// for a null block, a block without owner, or a layout that no open view shows.
void InvalidateLayoutView(const ViewStateBlock* block);
/// The same for the view that shows layout.
void InvalidateLayoutView(const CLayoutSetting& layout);

}  // namespace vx
