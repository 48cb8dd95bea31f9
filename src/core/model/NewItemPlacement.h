#pragma once
#include <optional>

#include "model/LayoutTypes.h"

namespace vx {

class CLayoutObj;
class CLayoutSetting;
struct ViewStateBlock;

/// An x at or below this marks an item that was never placed.
inline constexpr int kUnplacedX = -32767;

/// Gives an item just appended to its layout its first position. In automatic layout an
/// image flows into the rows from where the rows before it end. Any other item is
/// placed only while it is unplaced: centred in the part of the paper that the layout
/// view shows (on the view's page, brought 142 units inside the margins when it would
/// lie off the paper), or at the top-left of the layout area without a view or with a
/// zoom that is not positive. Nothing happens for an item without a layout.
void PlaceNewObject(CLayoutObj& item);

/// The part of the paper that layout's view shows, on the view's page, in layout
/// units (the page's top added); null without a view or with a zoom or pixel density
/// that is not positive.
std::optional<LayoutRect> VisiblePartOfShownPage(const CLayoutSetting& layout);

/// Makes item visible in its layout's view: shows the item's page and, when the item
/// lies outside the visible part of it, scrolls to the item's top-left corner. Nothing
/// happens without a layout, a view or a usable zoom.
void PlaceInVisibleArea(const ViewStateBlock* block, const CLayoutObj& item);

}  // namespace vx
