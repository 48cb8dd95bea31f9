#include "ui/dialogs/CategoryDialogs.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "templates/CategoryNames.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/DialogTexts.h"

namespace vx {

CAddCategoryDlg::CAddCategoryDlg(wxWindow* parent, const std::vector<std::string>& userCategories)
    : wxDialog(parent, kResourceId, DialogText(kResourceId, 0)), mUserCategories(userCategories) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, DialogText(kResourceId, -1)), 0, wxALL, 10);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(kResourceId, -2));
    mEdit = new wxTextCtrl(group->GetStaticBox(), kNameId, wxString(), wxDefaultPosition, wxSize(260, -1));
    group->Add(mEdit, 0, wxEXPAND | wxALL, 6);
    top->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, DialogText(kResourceId, 1));
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, DialogText(kResourceId, 2)));
    top->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    ok->SetDefault();
    ok->Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent& e) { OnOK(e); }));
    mEdit->SetFocus();
}

void CAddCategoryDlg::OnOK(wxCommandEvent&) {
    const CategoryNameCheck check = CheckCategoryName(Utf8(mEdit->GetValue()), mUserCategories);
    if (check.outcome == CategoryNameCheck::Outcome::Accept) {
        mName = check.name;
        EndModal(wxID_OK);
        return;
    }
    if (check.outcome == CategoryNameCheck::Outcome::Refuse) {
        const Icon icon = check.message.stringId == IDS_TOO_MANY_CHARS ? Icon::Error : Icon::Warning;
        Messages().Show(check.message.stringId, check.message.args, icon, Buttons::Ok);
    }
    mEdit->SetFocus();
    mEdit->SelectAll();
}

CConfirmDeletionDlg::CConfirmDeletionDlg(wxWindow* parent, int resourceId, int nameId, const std::string& name)
    : wxDialog(parent, resourceId, DialogText(resourceId, 0)) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, 3889, DialogText(resourceId, 3889)), 0, wxALL, 10);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(resourceId, 3869));
    group->GetStaticBox()->SetId(3869);
    mName = new wxStaticText(group->GetStaticBox(), nameId, Text(name), wxDefaultPosition, wxSize(260, -1),
                             wxST_ELLIPSIZE_MIDDLE);
    group->Add(mName, 0, wxEXPAND | wxALL, 6);
    top->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, DialogText(resourceId, 1)), 0, wxRIGHT, 8);
    auto* cancel = new wxButton(this, wxID_CANCEL, DialogText(resourceId, 2));
    buttons->Add(cancel);
    top->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    // Return cancels: a deletion needs a deliberate OK.
    cancel->SetDefault();
    SetDefaultItem(cancel);
    cancel->SetFocus();
}

}  // namespace vx
