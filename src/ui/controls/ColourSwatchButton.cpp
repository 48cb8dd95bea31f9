#include "ui/controls/ColourSwatchButton.h"

#include <wx/dcmemory.h>

ColourSwatchButton::ColourSwatchButton(wxWindow* parent, wxWindowID id, const wxColour& colour, Chooser chooser,
                                       const wxPoint& pos, const wxSize& size)
    : wxButton(parent, id, wxString(), pos, size, wxBU_EXACTFIT), mColour(colour), mChooser(std::move(chooser)) {
    UpdateSwatch();
    Bind(wxEVT_BUTTON, &ColourSwatchButton::OnPressed, this);
}

void ColourSwatchButton::SetColour(const wxColour& colour) {
    mColour = colour;
    UpdateSwatch();
}

void ColourSwatchButton::UpdateSwatch() {
    const wxSize client = GetClientSize();
    wxBitmap swatch(wxMax(client.x - 12, 8), wxMax(client.y - 10, 6), 24);
    {
        wxMemoryDC dc(swatch);
        dc.SetBackground(wxBrush(mColour));
        dc.Clear();
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(wxPoint(0, 0), swatch.GetSize());
    }
    SetBitmap(swatch);
}

void ColourSwatchButton::OnPressed(wxCommandEvent& event) {
    if (mChooser) {
        const std::optional<wxColour> chosen = mChooser(this, mColour);
        if (!chosen) return;  // cancelled: the colour stays and nobody is told
        SetColour(*chosen);
    }
    event.Skip();  // the dialog reads the new colour
}
