#pragma once
#include <functional>
#include <optional>

#include <wx/button.h>

/// The colour button of the settings dialogs: shows a solid swatch of its colour and,
/// when pressed, asks the chooser for a new one (none: the colour stays).
class ColourSwatchButton : public wxButton {
public:
    using Chooser = std::function<std::optional<wxColour>(wxWindow* parent, const wxColour& initial)>;

    ColourSwatchButton(wxWindow* parent, wxWindowID id, const wxColour& colour, Chooser chooser,
                       const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxSize(40, 24));

    const wxColour& GetColour() const { return mColour; }
    void SetColour(const wxColour& colour);

private:
    void OnPressed(wxCommandEvent& event);
    void UpdateSwatch();

    wxColour mColour;
    Chooser mChooser;
};
