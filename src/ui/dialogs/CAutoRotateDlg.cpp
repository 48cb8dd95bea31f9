#include "ui/dialogs/CAutoRotateDlg.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "host/FatalError.h"
#include "model/CLayoutSetting.h"
#include "ui/dialogs/CropDialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

constexpr int kIdGroup = 65535;

wxString Text(int control) { return cropdialogs::Text(CAutoRotateDlg::kDialogId, control); }

}  // namespace

CAutoRotateDlg::CAutoRotateDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, Text(0)) {
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, Text(kIdGroup));
    for (int i = 0; i < AutoRotateController::kModes; ++i) {
        mRadios[i] = new wxRadioButton(group->GetStaticBox(), kRadioIds[i], Text(kRadioIds[i]), wxDefaultPosition,
                                       wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        group->Add(mRadios[i], 0, wxALL, 4);
        mRadios[i]->Bind(wxEVT_RADIOBUTTON, [this, i](wxCommandEvent&) { mChecked = i; });
    }
    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, Text(1)));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Text(2)));
    buttons->Realize();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(group, 0, wxEXPAND | wxALL, 10);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CAutoRotateDlg::OnOk, this, wxID_OK);
}

int CAutoRotateDlg::SetSettings(const CLayoutSetting& layout, int flag) {
    const int result = mController.SetSettings(layout, flag);
    mChecked = mController.InitialRadio();
    for (int i = 0; i < AutoRotateController::kModes; ++i) mRadios[i]->SetValue(i == mChecked);
    return result;
}

void CAutoRotateDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        mController.Ok(mChecked);
        EndModal(wxID_OK);
    });
}

bool WxSettingsDialogs::RunAutoRotate(CLayoutSetting& layout) {
    CAutoRotateDlg dialog(cropdialogs::DialogParent());
    dialog.SetSettings(layout, 0);
    if (dialog.ShowModal() != wxID_OK) return false;
    dialog.GetSettings(layout);
    layout.SetAutoRotate(int16_t(dialog.GetRotateMode()));
    return true;
}

}  // namespace vx
