#pragma once

namespace vx {

class CLayoutSetting;
class UndoStore;

/// Keys of the Sort submenu (commands 32903 to 32911 and 32921). Every order is
/// ascending and keeps items with equal keys in their order.
enum SortKey : int {
    kSortFileName = 1,      // the file's name, case-insensitively
    kSortFolderName = 2,    // the name of the folder holding the file, case-insensitively
    kSortCreated = 3,       // file creation time
    kSortModified = 4,      // file last-write time
    kSortWidth = 5,         // width on the page
    kSortHeight = 6,        // height on the page
    kSortFileType = 8,      // the text of `mFileType`, case-insensitively
    kSortFileSize = 9,
    kSortReverse = 12,      // the image items in reverse order
};

/// Whether key is one of the keys above.
bool IsSortKey(int key);

/// Puts the image items of the layout in the order of key, as an undoable edit (code
/// 13): renumbers them, lays the layout out again and marks it changed. Items of other
/// kinds keep their places; the images move among the places images held. 1 when
/// sorted; 0 for no layout, an empty layout, a key not above (no undo entry then) or no
/// memory for the undo snapshot. 0 as well when the new order does not fit (the paper
/// length or the cut sheets' page count): the message is shown and the layout and
/// the undo state are put back.
int SortImages(UndoStore& undo, CLayoutSetting* layout, int key);

/// Reorders the image items by key (a key above other than kSortReverse), nothing else.
void SortImageItems(CLayoutSetting& layout, int key);
/// Reverses the order of the image items, nothing else.
void ReverseImageItems(CLayoutSetting& layout);

}  // namespace vx
