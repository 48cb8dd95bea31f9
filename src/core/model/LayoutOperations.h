#pragma once
#include <cstdint>

namespace vx {

class CLayoutObj;
class CLayoutSetting;
class CUndoEntry;
class UndoStore;

/// Layout modes as the mode commands pass them: 2 free layout, any other automatic.
inline constexpr int kLayoutModeFree = 2;

/// Switches the layout to free layout (mode 2) or automatic layout (any other mode),
/// renumbers its images by the new mode and lays it out again; `mDirty` becomes 1.
/// False, with nothing changed, when the layout has no view state. False as well when
/// the relayout is refused: the layout is then as the relayout left it, and the
/// caller (running it as a refusable edit) puts it back.
bool SwitchLayoutMode(CLayoutSetting& layout, int mode);

/// 1 when the item list holds an image item, else 0.
int ContainsImageItem(const CLayoutSetting& layout);
/// Whether the item list holds at least one image item (enables the sort commands).
bool HasImageItems(const CLayoutSetting& layout);

/// Hands an image item (`mType` 2) with information group 1 to 4 to the image
/// information window; anything else is ignored.
void ShowInImageInfoWindow(const CLayoutObj* item, int group);
/// With an item: shows its groups 1 to 4 in that order; 1. Without one: empties a
/// shown image information window back to its captions and gives 1; 0 when the
/// window is not shown.
int UpdateImageInfoWindow(const CLayoutObj* item);

/// After images were loaded (when 1) into an automatic layout while quick print is on:
/// asks "Die Schnelldruckfunktion ist aktiviert. Möchten Sie jetzt drucken?" when the
/// confirmation dialogs are on, and unless that is cancelled prints the active document
/// at once, with the quick-print status 11 during the job and 12 afterwards. Always 1.
int QuickPrintAfterLoad(int when, const CLayoutSetting& layout);

/// The end of loading image files into layout: an automatic layout is renumbered, laid
/// out and redrawn; the status shows 7 after an unsupported file (result 3), else 1.
void EndImageLoad(CLayoutSetting& layout, bool automatic, int result);
/// With quick print on and images added since countBefore: prints them, then puts the
/// layout back as snapshot (taken before the load) held it, leaving no undo.
void QuickPrintLoadedImages(CLayoutSetting& layout, UndoStore& undo, const CUndoEntry* snapshot,
                            bool quickPrint, int32_t countBefore);

}  // namespace vx
