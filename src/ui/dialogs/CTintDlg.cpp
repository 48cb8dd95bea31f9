#include "ui/dialogs/CTintDlg.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "ui/dialogs/CropDialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

wxString Text(int control) { return cropdialogs::Text(CTintDlg::kDialogId, control); }

// Each slider's row: its name, the label at its left end, its id, the label at its right end.
struct SliderRow {
    int name, left, slider, right;
};
constexpr SliderRow kRows[3] = {
    {3919, 3920, CTintDlg::kIdBrightness, 3921},
    {3922, 3924, CTintDlg::kIdContrast, 3923},
    {3925, 3926, CTintDlg::kIdSaturation, 3927},
};

}  // namespace

CTintDlg::CTintDlg(wxWindow* parent, CLayoutSetting& layout)
    : wxDialog(parent, wxID_ANY, Text(0)), mController(layout) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    const int radioIds[3] = {kIdOff, kIdAutomatic, kIdCustom};
    for (int i = 0; i < 3; ++i) {
        mRadios[i] = new wxRadioButton(this, radioIds[i], Text(radioIds[i]), wxDefaultPosition, wxDefaultSize,
                                       i == 0 ? wxRB_GROUP : 0);
        top->Add(mRadios[i], 0, wxLEFT | wxRIGHT | wxTOP, 10);
        const auto choice = TintController::Choice(i);
        mRadios[i]->Bind(wxEVT_RADIOBUTTON, [this, choice](wxCommandEvent&) { RunGuarded([&] { OnRadio(choice); }); });
    }
    auto* grid = new wxFlexGridSizer(4, 4, 8);
    grid->AddGrowableCol(2);
    int label = 0;
    for (int i = 0; i < 3; ++i) {
        const SliderRow& row = kRows[i];
        mLabels[label] = new wxStaticText(this, row.name, Text(row.name));
        grid->Add(mLabels[label++], 0, wxALIGN_CENTER_VERTICAL);
        mLabels[label] = new wxStaticText(this, row.left, Text(row.left));
        grid->Add(mLabels[label++], 0, wxALIGN_CENTER_VERTICAL);
        mSliders[i] = new wxSlider(this, row.slider, TintController::kSliderMiddle, 0, TintController::kSliderMax,
                                   wxDefaultPosition, wxSize(180, -1), wxSL_HORIZONTAL | wxSL_AUTOTICKS);
        grid->Add(mSliders[i], 1, wxEXPAND);
        const auto slider = TintController::Slider(i);
        mSliders[i]->Bind(wxEVT_SLIDER, [this, slider](wxCommandEvent&) {
            RunGuarded([&] { mController.SetPosition(slider, mSliders[slider]->GetValue()); });
        });
        mLabels[label] = new wxStaticText(this, row.right, Text(row.right));
        grid->Add(mLabels[label++], 0, wxALIGN_CENTER_VERTICAL);
    }
    top->Add(grid, 0, wxEXPAND | wxALL, 14);
    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, Text(1)));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Text(2)));
    buttons->Realize();
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CTintDlg::OnOk, this, wxID_OK);
}

bool CTintDlg::Init() {
    if (!mController.Init()) return false;
    SyncControls();
    return true;
}

void CTintDlg::SyncControls() {
    for (int i = 0; i < 3; ++i) {
        mRadios[i]->SetValue(mController.Checked() == i);
        mSliders[i]->SetValue(mController.Position(TintController::Slider(i)));
        mSliders[i]->Enable(mController.SlidersEnabled());
    }
    for (wxStaticText* label : mLabels) label->Enable(mController.SlidersEnabled());
}

void CTintDlg::OnRadio(TintController::Choice choice) {
    mController.Check(choice);
    SyncControls();
}

void CTintDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        if (mController.Ok()) EndModal(wxID_OK);
    });
}

bool WxSettingsDialogs::RunTint(CLayoutSetting& layout) {
    CTintDlg dialog(cropdialogs::DialogParent(), layout);
    if (!dialog.Init()) return false;
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
