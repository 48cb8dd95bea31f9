#pragma once
#include <wx/listctrl.h>

/// The report list of the program: rows striped grey and window colour (the empty area
/// below the last row continues the stripes), the row's item picture in column 0 and
/// the selection highlighted across the whole row.
class COwnerDrawListCtrl : public wxListCtrl {
public:
    COwnerDrawListCtrl(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                       const wxSize& size = wxDefaultSize, long style = wxLC_REPORT | wxLC_SINGLE_SEL);

    /// Colours every row by its position; called by itself when rows come and go.
    void Restripe();

private:
    void ScheduleRestripe();
    void OnPaintArea(wxPaintEvent& event);

    bool mRestripePending = false;
};
