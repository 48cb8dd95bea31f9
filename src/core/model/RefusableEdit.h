#pragma once
#include <cstdint>
#include <functional>

namespace vx {

class CLayoutSetting;
class CUndoEntry;
class UndoStore;

/// How an edit run by RunRefusableEdit ended.
enum class EditOutcome {
    Applied,          // the edit stands, laid out and refreshed
    TooLong,          // more than `mPageMax` pages: 15168 shown, everything put back
    TooManySheets,    // cut sheets past the page-area limit: 59450 shown, everything put back
    NotStarted,       // no snapshot could be allocated: nothing changed, nothing shown
};

/// Runs an edit that the relayout may refuse, as every such command does:
/// 1. snapshots the layout and the undo state, pushes an undo entry with code, makes the
///    change and lays the layout out (Relayout);
/// 2. when the relayout needs more than `mPageMax` pages, shows 15168 "Die
///    Gesamtpapierlänge darf 15 m nicht überschreiten."; with checkSheetCount, when a
///    layout that is no banner would then print its pages at 90 pixels per inch or less
///    (ChooseInputResolution), shows 59450 "Die Anzahl der Seiten kann aufgrund der
///    derzeit ausgewählten Papiergröße nicht weiter erhöht werden."; both with the error
///    icon;
/// 3. after either message puts the layout and the undo state back exactly as they were
///    (an empty undo state stays empty), refreshes (UpdateLayoutAndRedraw) and redraws
///    the view.
/// The snapshots are freed in every case. The layout's items are new objects after a
/// refusal: keep object ids, not item pointers, across the call. An exception from
/// change passes through with the layout as change left it.
EditOutcome RunRefusableEdit(UndoStore& undo, CLayoutSetting& layout, uint16_t code, bool checkSheetCount,
                             const std::function<void(CLayoutSetting&)>& change);

/// The checking half of RunRefusableEdit for an edit that took its snapshots itself (a
/// mouse drag): lays layout out and, when the relayout or the sheet count refuses it,
/// shows 15168 or 59450, puts back snapshot and previous (RestoreLayoutSnapshot),
/// refreshes and redraws the view.
EditOutcome RelayoutOrRestore(UndoStore& undo, CLayoutSetting& layout, bool checkSheetCount,
                              const CUndoEntry& snapshot, const CUndoEntry* previous);

}  // namespace vx
