#include "ui/dialogs/CDuplicateDlg.h"

#include <optional>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "ui/controls/CNumEdit.h"
#include "ui/dialogs/CropDialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

constexpr int kIdLabel = 65535;

wxString Text(int control) { return cropdialogs::Text(CDuplicateDlg::kDialogId, control); }

}  // namespace

CDuplicateDlg::CDuplicateDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, Text(0)) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, Text(kIdLabel)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    mCount = new CNumEdit(this, kIdCount, wxString(), wxDefaultPosition, wxSize(70, -1));
    mCount->SetParams(0, DuplicateController::kMaximum, true, 0, DuplicateController::kTextLimit);
    row->Add(mCount, 0, wxALIGN_CENTER_VERTICAL);
    auto* buttons = new wxStdDialogButtonSizer();
    auto* ok = new wxButton(this, wxID_OK, Text(1));
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Text(2)));
    buttons->Realize();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(row, 0, wxALL, 12);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CDuplicateDlg::OnOk, this, wxID_OK);
}

bool CDuplicateDlg::TransferDataToWindow() {
    mCount->ChangeValue(wxString::FromUTF8(DuplicateController::InitialText()));
    mCount->SetFocus();
    mCount->SelectAll();
    return true;
}

void CDuplicateDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        if (mController.Accept(mCount->GetValue().utf8_string())) {
            EndModal(wxID_OK);
            return;
        }
        mCount->SetFocus();
        mCount->SelectAll();
    });
}

bool WxSettingsDialogs::RunDuplicateSeveralTimes(CLayoutSetting& layout) {
    return RunDuplicateSeveralTimesCommand(layout, [] {
        CDuplicateDlg dialog(cropdialogs::DialogParent());
        return dialog.ShowModal() == wxID_OK ? std::optional<int>(dialog.GetCount()) : std::nullopt;
    });
}

}  // namespace vx
