#pragma once
#include <wx/textctrl.h>

#include "dialogs/NumEditRules.h"

/// The edit box of numeric fields: every key is checked against the field's range and
/// format, and no text gets in by pasting, dropping or the primary selection.
class CNumEdit : public wxTextCtrl {
public:
    CNumEdit(wxWindow* parent, wxWindowID id = wxID_ANY, const wxString& value = wxString(),
             const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

    void SetParams(double minimum, double maximum, bool wholeNumbersOnly, short formatCode, int textLimit,
                   bool checkOnLeave = false);
    bool IsValidText(const wxString& text) const;
    /// Puts the nearer limit into the field when text lies beyond the range.
    void ClampText(const wxString& text);
    const vx::dialogs::NumEditRules& Rules() const { return mRules; }

private:
    void OnChar(wxKeyEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnText(wxCommandEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void Apply(const vx::dialogs::NumEditKeyResult& result, wxKeyEvent& event);
    void PutText(const std::string& text);

    vx::dialogs::NumEditRules mRules;
    wxString mAccepted;  // the last text the field held lawfully
};
