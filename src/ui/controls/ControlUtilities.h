#pragma once
class wxListCtrl;
class wxWindow;

/// Widens an owner-drawn combo's list to its widest entry (measured in the combo's
/// font), never past the screen's right edge; the toolkit sizes native combo lists
/// itself, so for them nothing happens. Returns the width set, or 0.
int WidenComboDropDown(wxWindow* combo);
/// WidenComboDropDown, then 16 pixels more. Returns the width set, or 0.
int SetComboDroppedWidth(wxWindow* combo);
/// The window of a list's rows (below its header), where mouse and paint events of
/// the rows arrive.
wxWindow* ListRowsWindow(wxListCtrl* list);
/// Gives the cells of the list's first two columns their text as a tooltip.
void AddListCellTips(wxListCtrl* list);

// The same functions under the names the dialogs of the second settings family use.
inline int FitComboDropDownWidth(wxWindow* combo) { return WidenComboDropDown(combo); }
inline void AddListCellToolTips(wxListCtrl* list) { AddListCellTips(list); }
