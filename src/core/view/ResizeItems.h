#pragma once
#include <cstdint>

#include "model/LayoutTypes.h"

namespace vx {

class CImageObj;
class CLayoutSetting;
class CLineObj;
class UndoStore;

/// The smallest and largest image side a mouse resize leaves: 142 and 212598 units.
inline constexpr int32_t kResizeMinimum = 142;
inline constexpr int32_t kResizeMaximum = 212598;

/// Whether the selected images can be resized as one: one image always; several only
/// when they agree in size method and ratio mode and, with size method 1, are unframed
/// and share the image option.
bool CanResizeSelectionTogether(const CLayoutSetting& layout);

/// Resizes the clicked image to the tracked size (layout units, handle hit) and every
/// other selected image by the same factors, each by its own proportion rules, keeping
/// the edges opposite the handle in place. Every selected image is checked first (inner
/// and tracked sizes above 0): a refusal (0) leaves all of them as they were. 1 when
/// done.
int ResizeSelectedImages(CLayoutSetting& layout, CImageObj* clicked, LayoutPointD tracked, int hit);

/// Moves every selected item (with keepImages, not the images of an automatic layout)
/// by (dx, dy), each kept inside the margins of its own page, after an undo step 35
/// (a run of them keeps the first copy). 1 when anything moved.
int MoveSelectedItems(CLayoutSetting& layout, UndoStore& undo, int32_t dx, int32_t dy, bool keepImages);

/// Shortens delta so that a drag of the line's first end point (hit codes 0, 1, 3, 4, 7)
/// keeps it inside the margin rectangle of its page. True when delta changed.
bool ClampLineEndDelta(CLayoutSetting& layout, const CLineObj& line, LayoutPoint& delta, int hit);

/// Snaps point to the grid of stepX by stepY units, which restarts at every page's top;
/// a point on a page's first grid line lies one unit below the page top. An axis whose
/// step is 0 or less, and y without a paper height, stays.
void SnapPointToGrid(const CLayoutSetting& layout, LayoutPoint& point, int32_t stepX, int32_t stepY);

}  // namespace vx
