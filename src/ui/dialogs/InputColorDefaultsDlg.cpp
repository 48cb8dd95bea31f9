#include "ui/dialogs/InputColorDefaultsDlg.h"

#include <wx/app.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "dialogs/ColourDialogOpeners.h"
#include "model/CLayoutSetting.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {

CInputColorDefaultsDlg::CInputColorDefaultsDlg(wxWindow* parent, CLayoutSetting& layout)
    : SettingsDialog(parent, "Management Eingabefarben - Standardeinstellungen"), mCtl(layout) {
    const InputColourDefaultsController::Values& v = mCtl.GetValues();
    auto* outer = new wxBoxSizer(wxVERTICAL);
    mZel = new wxCheckBox(this, 3832, "Zelcast / Exif Print verwenden");
    mZel->SetValue(v.zel);
    outer->Add(mZel, 0, wxALL, 6);

    auto* source = new wxStaticBoxSizer(wxVERTICAL, this, "Standardquellenprofil:");
    wxWindow* b = source->GetStaticBox();
    auto* grid = new wxFlexGridSizer(2, 4, 6);
    mSource = new ProfileChoice(b, 3836);
    mSource->Fill(mCtl.Lists().source, v.sourceProfile);
    mSourceIntent = new ProfileChoice(b, 3837);
    mSourceIntent->FillTexts(IntentListTexts(), v.sourceIntent);
    grid->Add(new wxStaticText(b, wxID_ANY, "Profilname:"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mSource, 1, wxEXPAND);
    grid->Add(new wxStaticText(b, wxID_ANY, Text("Wiedergabepriorität:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mSourceIntent, 1, wxEXPAND);
    grid->AddGrowableCol(1);
    source->Add(grid, 0, wxEXPAND | wxALL, 3);
    mEmbed = new wxCheckBox(b, 3849, "Eingebettetes Profil verwenden");
    mEmbed->SetValue(v.embed);
    source->Add(mEmbed, 0, wxALL, 3);
    outer->Add(source, 0, wxEXPAND | wxALL, 6);

    outer->Add(mSimulation.Build(this, "Profilname:"), 0, wxEXPAND | wxALL, 6);
    mSimulation.Show(mCtl.Lists(), v.simulation);
    for (wxRadioButton* radio : {mSimulation.off, mSimulation.rgb, mSimulation.cmyk})
        radio->Bind(wxEVT_RADIOBUTTON,
                    Guarded<wxCommandEvent>([this](wxCommandEvent&) { mSimulation.Enable(mSimulation.Mode()); }));

    const CLayoutSetting& l = layout;
    outer->Add(BuildOutputGroup(this, 3842, mCtl.MonitorProfileText(), mCtl.PrinterProfileText(),
                                l.Texts().printerModel),
               0, wxEXPAND | wxALL, 6);
    outer->Add(MakeButtons(), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

DialogCheck CInputColorDefaultsDlg::Commit() {
    InputColourDefaultsController::Values& v = mCtl.GetValues();
    v.zel = mZel->GetValue();
    v.sourceProfile = std::max(0, mSource->Entry());
    v.sourceIntent = std::max(0, mSourceIntent->Entry());
    v.embed = mEmbed->GetValue();
    v.simulation = mSimulation.Read();
    mCtl.Apply();
    return {};
}

bool WxSettingsDialogs::RunInputColorDefaults(CLayoutSetting& layout) {
    CInputColorDefaultsDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, layout);
    if (dialog.ShowModal() != wxID_OK) return false;
    AfterInputColourDefaults();
    return true;
}

}  // namespace vx
