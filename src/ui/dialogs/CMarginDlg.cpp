#include "ui/dialogs/CMarginDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CNumEdit.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

using M = dialogs::MarginsController;
using namespace dialog_support;
constexpr int kDialog = 268;
constexpr int kFrameId = 3812;
constexpr M::Side kSides[] = {M::kSideLeft, M::kSideTop, M::kSideRight, M::kSideBottom};
constexpr int kLabelIds[] = {3808, 3809, 3807, 3810};  // by side

}  // namespace

CMarginDlg::CMarginDlg(wxWindow* parent, UndoStore& undo)
    : wxDialog(parent, wxID_ANY, DialogText(kDialog, 0)), mController(undo) {
    mPrinter = new wxRadioButton(this, M::kPrinter, DialogText(kDialog, M::kPrinter), wxDefaultPosition,
                                 wxDefaultSize, wxRB_GROUP);
    mManual = new wxRadioButton(this, M::kManual, DialogText(kDialog, M::kManual));
    auto* frame = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    mFrame = frame->GetStaticBox();
    mFrame->SetId(kFrameId);
    auto cell = [this](Side side) {
        auto* s = new wxBoxSizer(wxHORIZONTAL);
        mLabels[side] = new wxStaticText(mFrame, kLabelIds[side], DialogText(kDialog, kLabelIds[side]));
        mEdits[side] = new CNumEdit(mFrame, M::ControlOf(side), wxString(), wxDefaultPosition, wxSize(80, -1));
        mEdits[side]->Bind(wxEVT_SET_FOCUS, [this, side](wxFocusEvent& e) {
            RunGuarded([&] { SetRange(side); });
            e.Skip();
        });
        s->Add(mLabels[side], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        s->Add(mEdits[side], 0, wxALIGN_CENTER_VERTICAL);
        return s;
    };
    auto* grid = new wxFlexGridSizer(3, 3, 6, 10);
    grid->AddSpacer(0);
    grid->Add(cell(M::kSideTop), 0, wxALIGN_CENTER);
    grid->AddSpacer(0);
    grid->Add(cell(M::kSideLeft), 0, wxALIGN_CENTER_VERTICAL);
    mUnit = new wxChoice(mFrame, M::kUnit);
    grid->Add(mUnit, 0, wxALIGN_CENTER);
    grid->Add(cell(M::kSideRight), 0, wxALIGN_CENTER_VERTICAL);
    grid->AddSpacer(0);
    grid->Add(cell(M::kSideBottom), 0, wxALIGN_CENTER);
    grid->AddSpacer(0);
    frame->Add(grid, 0, wxALL, 8);

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(mPrinter, 0, wxALL, 10);
    top->Add(mManual, 0, wxLEFT | wxRIGHT, 10);
    top->Add(frame, 0, wxEXPAND | wxALL, 10);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    Bind(wxEVT_INIT_DIALOG, &CMarginDlg::OnInitDialog, this);
    mPrinter->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
        RunGuarded([&] {
            mController.ChoosePrinterMargins();
            FillEdits();
            EnableManual();
        });
    });
    mManual->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
        RunGuarded([&] {
            mController.ChooseManualMargins();
            EnableManual();
        });
    });
    mUnit->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        RunGuarded([&] {
            ReadEdits();
            mController.UnitChanged(e.GetSelection());
            FillEdits();
            for (Side s : kSides) SetRange(s);
        });
    });
    Bind(wxEVT_BUTTON, &CMarginDlg::OnOk, this, wxID_OK);
}

void CMarginDlg::OnInitDialog(wxInitDialogEvent&) {
    RunGuarded([&] {
        mUnit->Clear();
        mUnit->Append(Wx(LoadString(IDS_UNIT_MM)));
        mUnit->Append(Wx(LoadString(IDS_UNIT_INCH)));
        mUnit->SetSelection(mController.Unit() - 1);
        mController.Initialise();
        FillEdits();
        for (Side s : kSides) SetRange(s);
        (mController.Mode() == 0 ? mPrinter : mManual)->SetValue(true);
        EnableManual();
    });
}

void CMarginDlg::ReadEdits() {
    for (Side s : kSides) mController.SetText(s, Utf8(mEdits[s]->GetValue()));
}

void CMarginDlg::FillEdits() {
    for (Side s : kSides) mEdits[s]->ChangeValue(Wx(mController.Text(s)));
}

void CMarginDlg::EnableManual() {
    const bool on = mController.ManualEnabled();
    for (Side s : kSides) {
        mEdits[s]->Enable(on);
        mLabels[s]->Enable(on);
    }
    mUnit->Enable(on);
    mFrame->Enable(on);
}

void CMarginDlg::SetRange(Side side) {
    ReadEdits();
    SetFieldRange(*mEdits[side], mController.Range(side), mController.Unit());
}

void CMarginDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        ReadEdits();
        if (mController.OnOK()) {
            EndModal(wxID_OK);
            return;
        }
        if (std::optional<Side> side = mController.FocusSide()) FocusAndSelect(*mEdits[*side]);
    });
}

bool WxSettingsDialogs::RunMargins(CLayoutSetting& layout) {
    CMarginDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, Undo());
    dialog.SetLayout(&layout);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
