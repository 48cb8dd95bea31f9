#include "ui/controls/ControlUtilities.h"

#include <vector>

#include <wx/display.h>
#include <wx/listctrl.h>
#include <wx/odcombo.h>
#include <wx/scrolwin.h>
#include <wx/settings.h>

#include "dialogs/ControlRules.h"

namespace {

int WidenBy(wxWindow* window, int extra) {
    auto* combo = dynamic_cast<wxOwnerDrawnComboBox*>(window);
    if (!combo) return 0;  // native lists are sized by the toolkit
    std::vector<int> widths;
    widths.reserve(combo->GetCount());
    for (unsigned i = 0; i < combo->GetCount(); ++i) {
        const wxString text = combo->GetString(i);
        widths.push_back(text.empty() ? 0 : combo->GetTextExtent(text).x);
    }
    const wxRect rect = combo->GetScreenRect();
    const int display = wxDisplay::GetFromWindow(combo);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetGeometry();
    const int width = vx::dialogs::DropDownWidth(widths, rect.width, wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, combo),
                                                 rect.x, screen.GetRight() + 1) + extra;
    combo->SetPopupMinWidth(width);
    return width;
}

long ColumnAt(wxListCtrl* list, int x) {
    int unscrolledX = x, y = 0;
    if (auto* scroller = dynamic_cast<wxScrollHelper*>(list)) scroller->CalcUnscrolledPosition(x, 0, &unscrolledX, &y);
    int right = 0;
    for (int c = 0; c < list->GetColumnCount(); ++c) {
        right += list->GetColumnWidth(c);
        if (unscrolledX < right) return c;
    }
    return -1;
}

}  // namespace

int WidenComboDropDown(wxWindow* combo) { return WidenBy(combo, 0); }

int SetComboDroppedWidth(wxWindow* combo) { return WidenBy(combo, vx::dialogs::kDroppedWidthExtra); }

wxWindow* ListRowsWindow(wxListCtrl* list) {
    // The generic list has two children, its header and its rows; the rows' window is
    // the one below.
    wxWindow* rows = list;
    for (wxWindow* child : list->GetChildren())
        if (rows == list || child->GetPosition().y > rows->GetPosition().y) rows = child;
    return rows;
}

void AddListCellTips(wxListCtrl* list) {
    if (!list) return;
    wxWindow* area = ListRowsWindow(list);
    area->Bind(wxEVT_MOTION, [list, area](wxMouseEvent& event) {
        event.Skip();
        int flags = 0;
        long column = -1;
        const long item = list->HitTest(event.GetPosition(), flags);
        // The generic list finds no sub-items: the column is counted from the widths.
        if (item >= 0) column = ColumnAt(list, event.GetPosition().x);
        wxString tip;
        if (item >= 0 && (column == 0 || column == 1)) tip = list->GetItemText(item, static_cast<int>(column));
        if (tip.empty()) {
            if (area->GetToolTip()) area->UnsetToolTip();
        } else if (!area->GetToolTip() || area->GetToolTipText() != tip) {
            area->SetToolTip(tip);
        }
    });
    area->Bind(wxEVT_LEAVE_WINDOW, [area](wxMouseEvent& event) {
        event.Skip();
        if (area->GetToolTip()) area->UnsetToolTip();
    });
}
