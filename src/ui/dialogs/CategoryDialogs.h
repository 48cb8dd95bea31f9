#pragma once
#include <string>
#include <vector>

#include <wx/dialog.h>

class wxTextCtrl;
class wxStaticText;

namespace vx {

/// "Benutzerkategorie hinzufügen ": asks for a new user category's name and checks it
/// against the names in use; OK only with a name that passed.
class CAddCategoryDlg : public wxDialog {
public:
    enum { kResourceId = 331, kNameId = 1148 };
    CAddCategoryDlg(wxWindow* parent, const std::vector<std::string>& userCategories);

    /// The accepted name (blanks at both ends trimmed); valid after OK.
    const std::string& GetCategoryName() const { return mName; }
    wxTextCtrl* NameEdit() const { return mEdit; }

private:
    void OnOK(wxCommandEvent& event);

    std::vector<std::string> mUserCategories;
    std::string mName;
    wxTextCtrl* mEdit = nullptr;
};

/// The confirmation of a deletion: a sentence, a group with the name, OK and the
/// default "Abbrechen", which has the focus so that Return cancels.
class CConfirmDeletionDlg : public wxDialog {
public:
    wxStaticText* NameText() const { return mName; }

protected:
    CConfirmDeletionDlg(wxWindow* parent, int resourceId, int nameId, const std::string& name);

private:
    wxStaticText* mName = nullptr;
};

/// "Vorlage löschen" with the template's file name (3887).
class CDeleteTemplateDlg : public CConfirmDeletionDlg {
public:
    enum { kResourceId = 332, kNameId = 3887 };
    CDeleteTemplateDlg(wxWindow* parent, const std::string& fileName)
        : CConfirmDeletionDlg(parent, kResourceId, kNameId, fileName) {}
};

/// "Benutzerkategorie löschen" with the category's name (3890).
class CDeleteCategoryDlg : public CConfirmDeletionDlg {
public:
    enum { kResourceId = 333, kNameId = 3890 };
    CDeleteCategoryDlg(wxWindow* parent, const std::string& name)
        : CConfirmDeletionDlg(parent, kResourceId, kNameId, name) {}
};

}  // namespace vx
