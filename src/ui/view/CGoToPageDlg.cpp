#include "ui/view/CGoToPageDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "ui/view/CGPViewWindow.h"

namespace vx {

CGoToPageDlg::CGoToPageDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, wxString::FromUTF8("Angegebene Seite")) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8("Seitennummer:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    mNumber = new wxTextCtrl(this, kIdPageNumber, wxString(), wxDefaultPosition, wxSize(70, -1), 0,
                             wxTextValidator(wxFILTER_DIGITS));
    mNumber->SetMaxLength(GoToPageController::kTextLimit);
    row->Add(mNumber, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    mCount = new wxStaticText(this, kIdPageCount, wxString::FromUTF8("/ XXXX Seite"));
    row->Add(mCount, 0, wxALIGN_CENTER_VERTICAL);

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(row, 0, wxALL, 12);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CGoToPageDlg::OnOk, this, wxID_OK);
}

int CGoToPageDlg::SetPages(int currentPage, int pageCount) {
    mController.SetPages(currentPage, pageCount);
    return 1;
}

bool CGoToPageDlg::TransferDataToWindow() {
    mNumber->ChangeValue(wxString::FromUTF8(mController.InitialText()));
    mCount->SetLabel(wxString::FromUTF8(mController.CountText()));
    Layout();
    mNumber->SetFocus();
    mNumber->SelectAll();
    return true;
}

void CGoToPageDlg::OnOk(wxCommandEvent&) {
    GuardedHandler([&] {
        if (mController.Accept(mNumber->GetValue().utf8_string())) {
            EndModal(wxID_OK);
            return;
        }
        mNumber->SetFocus();
        mNumber->SelectAll();
    });
}

}  // namespace vx
