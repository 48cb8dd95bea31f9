#pragma once
#include <optional>

#include "model/LayoutTypes.h"

namespace vx {

class CImageObj;
class CLayoutObj;
class CLayoutSetting;

/// The pixel size of a screen bitmap that covers the image item's box at its displayed
/// orientation: the item's width with the picture's height to scale, or its height with
/// the width to scale, whichever covers the box; 32767 by 32767 when a side would be
/// larger. Null when the picture's pixel size is unknown or the item has no area.
std::optional<LayoutPoint> DisplayBitmapSize(const CImageObj& item);

/// Renews the working bitmap of every image item from first to the end of its list:
/// colour-matched items at their covering size through the screen transform, the others
/// from their preview. Items whose pixel size is unknown are skipped; an item whose
/// picture cannot be decoded keeps its old bitmap (the loader has shown why).
void RebuildWorkingBitmaps(CLayoutObj& first);

/// The same for every item of the layout (printer setup after a change of paper or
/// colour mode); nothing without items.
void RebuildWorkingBitmaps(CLayoutSetting& layout);

/// Gives an image item (`mType` 2) a new working bitmap at its covering size, through
/// the screen transform when `mEnableColorMatch` is set, grey when its layout is not in
/// colour. The old bitmap stays when the new one cannot be made. True when it was made.
bool BuildDisplayBitmap(CImageObj& item);

}  // namespace vx
