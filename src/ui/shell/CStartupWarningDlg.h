#pragma once
#include <string>

#include <wx/dialog.h>

class wxCheckBox;

/// The three start-up warnings (disk space, graphics importers, user rights): an
/// exclamation icon, the text, "do not show again" and two buttons. ShowModal answers
/// wxID_OK for the first button and wxID_CANCEL for the second, Escape and the close box.
class CStartupWarningDlg : public wxDialog {
public:
    enum class Kind { DiskSpace, QuickTime, UserRights };

    CStartupWarningDlg(wxWindow* parent, Kind kind, const std::string& text);

    bool DontShowAgain() const;
    wxCheckBox* CheckBox() const { return mCheck; }

private:
    wxCheckBox* mCheck;
};
