#include "ui/controls/COwnerDrawListCtrl.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include "dialogs/ControlRules.h"
#include "ui/controls/ControlUtilities.h"

namespace {

vx::dialogs::Rgb ToRgb(const wxColour& c) { return {c.Red(), c.Green(), c.Blue()}; }
wxColour ToColour(vx::dialogs::Rgb c) { return wxColour(c.r, c.g, c.b); }

vx::dialogs::ListPalette SystemPalette() {
    return {ToRgb(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)),
            ToRgb(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)),
            ToRgb(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)),
            ToRgb(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT))};
}

}  // namespace

COwnerDrawListCtrl::COwnerDrawListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                       long style)
    : wxListCtrl(parent, id, pos, size, (style & ~(wxLC_ICON | wxLC_SMALL_ICON | wxLC_LIST)) | wxLC_REPORT) {
    auto restripe = [this](wxListEvent& e) {
        ScheduleRestripe();
        e.Skip();
    };
    Bind(wxEVT_LIST_INSERT_ITEM, restripe);
    Bind(wxEVT_LIST_DELETE_ITEM, restripe);
    Bind(wxEVT_LIST_DELETE_ALL_ITEMS, restripe);
    // The rows paint their cells themselves; what lies right of the last column and
    // below the last row is painted first.
    wxWindow* area = ListRowsWindow(this);
    area->Bind(wxEVT_PAINT, &COwnerDrawListCtrl::OnPaintArea, this);
    auto repaint = [area](auto& e) {
        area->Refresh(false);
        e.Skip();
    };
    Bind(wxEVT_LIST_ITEM_SELECTED, repaint);
    Bind(wxEVT_LIST_ITEM_DESELECTED, repaint);
    area->Bind(wxEVT_SET_FOCUS, repaint);
    area->Bind(wxEVT_KILL_FOCUS, repaint);
}

void COwnerDrawListCtrl::ScheduleRestripe() {
    if (mRestripePending) return;
    mRestripePending = true;
    CallAfter([this] { Restripe(); });
}

void COwnerDrawListCtrl::Restripe() {
    mRestripePending = false;
    const vx::dialogs::ListPalette palette = SystemPalette();
    const long count = GetItemCount();
    for (long i = 0; i < count; ++i) SetItemBackgroundColour(i, ToColour(vx::dialogs::StripeColour(i, palette)));
    ListRowsWindow(this)->Refresh(false);
}

void COwnerDrawListCtrl::OnPaintArea(wxPaintEvent& event) {
    event.Skip();
    wxWindow* area = ListRowsWindow(this);
    const wxSize size = area->GetClientSize();
    const long count = GetItemCount();
    int columnsRight = 0;
    for (int c = 0; c < GetColumnCount(); ++c) columnsRight += GetColumnWidth(c);
    int viewX = 0, viewY = 0;
    CalcScrolledPosition(columnsRight, 0, &viewX, &viewY);  // the list scrolls its rows window
    columnsRight = viewX;

    wxPaintDC dc(area);
    dc.SetPen(*wxTRANSPARENT_PEN);
    const vx::dialogs::ListPalette palette = SystemPalette();
    const wxWindow* focus = wxWindow::FindFocus();
    const bool focused = focus == this || focus == area;
    int rowHeight = GetCharHeight() + 4;
    int top = 0;
    for (long i = 0; i < count; ++i) {
        wxRect r;
        if (!GetItemRect(i, r)) continue;
        rowHeight = r.height;
        r.y = area->ScreenToClient(ClientToScreen(r.GetTopLeft())).y;
        top = r.GetBottom() + 1;
        if (r.GetBottom() < 0 || r.y >= size.y || columnsRight >= size.x) continue;
        // The row's colour reaches the window's right edge.
        const wxRect beyond(columnsRight, r.y, size.x - columnsRight, r.height);
        const bool selected = GetItemState(i, wxLIST_STATE_SELECTED) != 0;
        const bool dropped = GetItemState(i, wxLIST_STATE_DROPHILITED) != 0;
        if (selected || dropped) {
            wxRendererNative::Get().DrawItemSelectionRect(
                area, dc, beyond, wxCONTROL_SELECTED | (focused || dropped ? int(wxCONTROL_FOCUSED) : 0));
            dc.SetPen(*wxTRANSPARENT_PEN);
        } else {
            const auto style = vx::dialogs::ListRowStyle(i, false, false, focused, false, palette);
            dc.SetBrush(wxBrush(ToColour(style.background)));
            dc.DrawRectangle(beyond);
        }
    }
    // Below the last row the stripes go on with the same parity.
    for (long k = count; top < size.y; ++k, top += rowHeight) {
        dc.SetBrush(wxBrush(ToColour(vx::dialogs::StripeColour(k, palette))));
        dc.DrawRectangle(0, top, size.x, rowHeight);
    }
}
