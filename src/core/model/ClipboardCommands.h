#pragma once
#include <memory>

namespace vx {

class CLayoutObj;
class CLayoutSetting;
class ItemClipboard;
class UndoStore;

/// What DuplicateSelection did.
enum DuplicateResult : int {
    kDuplicateNothing = 0,       // nothing selected, or no undo entry could be taken
    kDuplicateDone = 1,
    kDuplicateTooLong = 2,       // more than `mPageMax` pages: the caller shows 15168 and restores
    kDuplicateOutOfMemory = 5,   // the image memory budget stopped it: the caller shows 10413
    kDuplicateItemLimit = 6,     // 999 items reached: the caller shows 59430 with 999
    kDuplicateTooManySheets = 7, // cut sheets at 90 ppi or less: the caller shows 59450 and restores
};

/// A copy of item (image with its description and shared bitmap, free text, free line
/// or cut line; cut lines keep object id 0, the others draw a new one), not linked,
/// owned by owner (null for the clipboard). Null for another kind or without memory.
std::unique_ptr<CLayoutObj> CloneLayoutObject(const CLayoutObj& item, CLayoutSetting* owner);

/// Rotates the clipboard and fills its current list with copies of the selected items,
/// the last selected first. With nothing selected the current list stays empty. True.
bool CopyObjects(const CLayoutSetting& layout, ItemClipboard& clipboard);
bool CopyObjects(const CLayoutSetting& layout);

/// Takes an undo entry (code 3), rotates the clipboard and moves the selected items
/// themselves onto its current list; renumbers, lays out and marks the layout dirty.
/// False when nothing is selected or no undo entry could be taken.
bool CutObjects(CLayoutSetting& layout, UndoStore& undo, ItemClipboard& clipboard);
bool CutObjects(CLayoutSetting& layout, UndoStore& undo);

/// Pastes copies of the clipboard's current list as a refusable edit (code 5): in free
/// layout, and free texts and lines always, centred on the visible part of the view's
/// page (the layout area of page 1 without a view); images of an automatic layout go
/// before the first selected image. The pasted items become the selection. Stops at the
/// image memory budget (10413 afterwards) or at 999 items (59430); a paste the relayout
/// refuses is put back whole. False only when the clipboard is empty or no snapshot could
/// be taken. The clipboard keeps its items.
bool PasteObjects(CLayoutSetting& layout, UndoStore& undo, const ItemClipboard& clipboard);
bool PasteObjects(CLayoutSetting& layout, UndoStore& undo);

/// Copies every selected item beside its source (50 units right and down in free
/// layout, held on the source's page; in the source's place in automatic layout) and
/// selects the copies; takes an undo entry with code 6 first. The caller snapshots
/// beforehand and, by the result, shows the message and restores (DuplicateResult).
int DuplicateSelection(CLayoutSetting& layout, UndoStore& undo);

}  // namespace vx
