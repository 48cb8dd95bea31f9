#pragma once
#include <wx/combobox.h>

class wxItemContainer;
class wxTextEntry;

/// A plain combo box that reads its current text and selects an entry by its text.
class CFontComboBoxBase : public wxComboBox {
public:
    CFontComboBoxBase(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                      const wxSize& size = wxDefaultSize, long style = 0);

    /// The selected entry's text, or the window text when nothing is selected.
    void GetCurText(wxString& out) const;
    /// Selects the first entry equal to text (exact) or beginning with it, ignoring
    /// case; with none, nothing is selected and text becomes the window text.
    void SelectByText(const wxString& text, bool exact);
};

// The same two operations for any combo with entries and a text.
wxString ComboCurText(const wxItemContainer& items, const wxTextEntry& entry);
void ComboSelectByText(wxItemContainer& items, wxTextEntry& entry, const wxString& text, bool exact);
