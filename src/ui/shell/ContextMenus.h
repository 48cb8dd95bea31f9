#pragma once
#include "host/LayoutView.h"

namespace vx {

class LayoutPane;

/// The context menu for a point of the layout view's client area: the page menu when
/// nothing is selected or no item on the shown page is hit, else the menu of the last
/// item in the list whose rectangle holds the point (image, free line, free text).
int ContextMenuKind(const LayoutPane& pane, PixelPoint client);

}  // namespace vx
