#include "ui/dialogs/CCutLineDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/gbsizer.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "host/ApplicationState.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogViewApply.h"
#include "ui/document/WxSettingsDialogs.h"

using namespace vx::dialogs;

template <class Handler>
void CCutLineDlg::Run(Handler&& handler) {
    vx::RunGuarded([&] { ShowView(handler(mCtl)); });
}

CCutLineDlg::CCutLineDlg(wxWindow* parent, CutLineController& controller, vx::UndoStore& undo)
    : wxDialog(parent, wxID_ANY, "Schneidlinien"), mCtl(controller), mUndo(undo) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, "Schneidlinien:"), 0, wxLEFT | wxTOP, 10);
    auto* modes = new wxBoxSizer(wxVERTICAL);
    modes->Add(new wxRadioButton(this, kCutModeOff, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP), 0, wxALL, 3);
    modes->Add(new wxRadioButton(this, kCutModeCutter, "Fotoba Schneidevorrichtung "), 0, wxALL, 3);
    modes->Add(new wxRadioButton(this, kCutModeOther, "Andere"), 0, wxALL, 3);
    top->Add(modes, 0, wxLEFT, 20);

    auto* type = new wxBoxSizer(wxHORIZONTAL);
    type->Add(new wxStaticText(this, kCutTypeLabel, "Typ:"), 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    type->Add(new wxRadioButton(this, kCutAroundImage, "Bildumgebung", wxDefaultPosition, wxDefaultSize, wxRB_GROUP),
              0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    type->Add(new wxRadioButton(this, kCutCornersOnly, "Nur Ecken"), 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    top->Add(type, 0, wxLEFT | wxTOP, 16);

    auto* corners = new wxStaticBoxSizer(new wxStaticBox(this, kCornerGroup, "Eckenmarkierung"), wxVERTICAL);
    wxStaticBox* box = corners->GetStaticBox();
    auto* grid = new wxGridBagSizer(4, 6);
    grid->Add(new wxStaticText(box, kLengthLabel, wxString::FromUTF8("Länge:")), {0, 0}, {1, 1},
              wxALIGN_CENTER_VERTICAL);
    grid->Add(new CNumEdit(box, kLengthEdit, wxString(), wxDefaultPosition, wxSize(90, -1)), {0, 1});
    grid->Add(UnitChoice(box, kLengthUnitCombo), {0, 2});
    grid->Add(new wxStaticText(box, kPositionLabel, "Position:"), {1, 0}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new CNumEdit(box, kPositionEdit, wxString(), wxDefaultPosition, wxSize(90, -1)), {1, 1});
    grid->Add(UnitChoice(box, kPositionUnitCombo), {1, 2});
    corners->Add(grid, 0, wxALL, 4);
    top->Add(corners, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

    auto* colour = new wxBoxSizer(wxHORIZONTAL);
    colour->Add(new wxStaticText(this, kLineColourLabel, "Linienfarbe:"), 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    mSwatch = new ColourSwatchButton(this, kLineColourButton, *wxBLACK, [this](wxWindow*, const wxColour&) {
        CutLineView view;
        Run([&view](CutLineController& c) { return view = c.OnChooseColour(); });
        return std::optional<wxColour>(vx::dialog_support::ToWx(view.colour));
    });
    colour->Add(mSwatch, 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    top->Add(colour, 0, wxLEFT | wxTOP, 10);

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);

    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](CutLineController& c) { return c.OnModeOff(); }); },
         kCutModeOff);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](CutLineController& c) { return c.OnModeCutter(); }); },
         kCutModeCutter);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](CutLineController& c) { return c.OnModeOther(); }); },
         kCutModeOther);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](CutLineController& c) { return c.OnAroundImage(); }); },
         kCutAroundImage);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](CutLineController& c) { return c.OnCornersOnly(); }); },
         kCutCornersOnly);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        Run([&e](CutLineController& c) { return c.OnLengthUnitChange(e.GetSelection()); });
    }, kLengthUnitCombo);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        Run([&e](CutLineController& c) { return c.OnPositionUnitChange(e.GetSelection()); });
    }, kPositionUnitCombo);
    for (int id : {kLengthEdit, kPositionEdit})
        Bind(wxEVT_TEXT, [this, id](wxCommandEvent& e) {
            const std::string text(e.GetString().utf8_str());
            Run([&](CutLineController& c) { return c.OnEditChange(id, text); });
        }, id);
    Bind(wxEVT_BUTTON, &CCutLineDlg::OnOK, this, wxID_OK);

    Run([](CutLineController& c) { return c.OnInitDialog(); });
    CentreOnParent();
}

void CCutLineDlg::ShowView(const CutLineView& view) {
    ApplyPageView(this, view.controls);
    if (vx::dialog_support::FromWx(mSwatch->GetColour()) != view.colour) mSwatch->SetColour(vx::dialog_support::ToWx(view.colour));
    if (!view.focus) return;
    if (auto* edit = dynamic_cast<wxTextCtrl*>(FindWindow(view.focus))) {
        edit->SetFocus();
        if (view.selectAll) edit->SelectAll();
    }
}

void CCutLineDlg::OnOK(wxCommandEvent&) {
    vx::RunGuarded([&] {
        CutLineView view;
        if (mCtl.OnOK(mUndo, view)) {
            EndModal(wxID_OK);
            return;
        }
        ShowView(view);
    });
}

namespace vx {

bool WxSettingsDialogs::RunCutLineDialog(CLayoutSetting& layout) {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return false;
    dialogs::CutLineController controller(layout);
    CCutLineDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, controller, app->GetUndoStore());
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
