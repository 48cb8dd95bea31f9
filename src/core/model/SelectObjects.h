#pragma once

namespace vx {

class CLayoutSetting;

/// Modes of SelectObjects, as the Select submenu passes them.
enum SelectMode : int {
    kSelectAll = 1,           // images, free texts and free lines; cut lines keep theirs
    kSelectImages = 2,
    kSelectImagesOnPage = 3,  // of the page the layout's view shows
    kSelectImagesInFolder = 4,
    kSelectTexts = 5,
    kSelectLines = 6,
    kSelectInvert = 7,
    kSelectNone = 8,
};

/// Sets the items' selection flags by mode (any other mode changes none), makes the
/// last image that the mode selected the layout's current item (null when none), marks
/// every item changed and refreshes the view's tracker. Mode 4 selects, for each
/// selected image, every image whose file lies in the same folder (exact bytes after
/// making the path absolute and lexically normal, links not resolved), and deselects
/// the other selected items. Returns whether any item's selection changed.
bool SelectObjects(CLayoutSetting& layout, int mode);

}  // namespace vx
