#pragma once
#include <cstdint>

namespace vx {

class CImageObj;
class CLayoutSetting;

/// Label sides, also of captions.
enum LabelSide : int { kSideTop = 0, kSideBottom = 1, kSideLeft = 2, kSideRight = 3 };

/// Numbers the layout's image items (other kinds neither count nor change). Free layout:
/// items numbered 0 get the next numbers above the highest, in list order, and others
/// keep theirs, gaps included. Automatic layout: the n-th image is number n. Labels are
/// rebuilt for the items whose number changed.
void RenumberImageItems(CLayoutSetting& layout);

/// Rebuilds the label text of an item with a label selection: "caption: value  " for
/// each field shown, the flash texts last; then the automatic label font size, and marks
/// the item changed. With no field selected nothing changes.
void BuildImageLabelText(CImageObj& item);

/// The side on which a label or caption placed at side lies once the item's automatic
/// rotation `mFrameRotate` is applied. Mirroring counts only without a turn; sides
/// outside 0 to 3 pass unchanged.
int MapLabelPosition(const CImageObj& item, int side);

/// One third of the frame edge on side (0 to 3; other sides keep current), held within
/// 20 to 200 (4 pt to 40 pt): the automatic font size of labels and captions.
int16_t AutoFontSizeForSide(const CImageObj& item, int side, int16_t current);

}  // namespace vx
