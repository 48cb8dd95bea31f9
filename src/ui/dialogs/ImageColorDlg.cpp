#include "ui/dialogs/ImageColorDlg.h"

#include <wx/app.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "dialogs/ColourDialogOpeners.h"
#include "model/CLayoutSetting.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {

using Source = ImageColourController::Source;

CImageColorDlg::CImageColorDlg(wxWindow* parent, CLayoutSetting& layout)
    : SettingsDialog(parent, "Management Bildfarben"), mCtl(layout) {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* source = new wxStaticBoxSizer(wxVERTICAL, this, "Management Quellfarben:");
    wxWindow* b = source->GetStaticBox();
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* radios = new wxBoxSizer(wxVERTICAL);
    mZel = new wxRadioButton(b, 3832, "Zelcast/Exif Print", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mExif = new wxRadioButton(b, 3833, "Exif Print");
    mEmbedded = new wxRadioButton(b, 3835, "Eingebettetes Profil");
    mRgb = new wxRadioButton(b, 3834, "RGB-Profil");
    mEmbeddedText = new wxStaticText(b, 3903, "", wxDefaultPosition, wxSize(240, -1), wxST_NO_AUTORESIZE);
    radios->Add(mZel, 0, wxALL, 3);
    radios->Add(mExif, 0, wxALL, 3);
    auto* embeddedRow = new wxBoxSizer(wxHORIZONTAL);
    embeddedRow->Add(mEmbedded, 0, wxALIGN_CENTER_VERTICAL);
    embeddedRow->Add(mEmbeddedText, 1, wxALIGN_CENTER_VERTICAL);
    radios->Add(embeddedRow, 0, wxALL | wxEXPAND, 3);
    radios->Add(mRgb, 0, wxALL, 3);
    top->Add(radios, 1, wxEXPAND);
    mZelPicture = new wxStaticBitmap(b, 3853, ResourceIcon(197, 64));
    mExifPicture = new wxStaticBitmap(b, 3854, ResourceIcon(214, 32));
    top->Add(mZelPicture, 0, wxALL, 3);
    top->Add(mExifPicture, 0, wxALL, 3);
    source->Add(top, 0, wxEXPAND);
    auto* grid = new wxFlexGridSizer(2, 4, 6);
    mSource = new ProfileChoice(b, 3836);
    mSourceIntent = new ProfileChoice(b, 3837);
    grid->Add(new wxStaticText(b, wxID_ANY, "Profil:"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 20);
    grid->Add(mSource, 1, wxEXPAND);
    grid->Add(new wxStaticText(b, wxID_ANY, Text("Wiedergabepriorität:")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 20);
    grid->Add(mSourceIntent, 1, wxEXPAND);
    grid->AddGrowableCol(1);
    source->Add(grid, 0, wxEXPAND | wxALL, 3);
    outer->Add(source, 0, wxEXPAND | wxALL, 6);

    outer->Add(mSimulation.Build(this, "Profil:"), 0, wxEXPAND | wxALL, 6);
    outer->Add(BuildOutputGroup(this, 3848, mCtl.MonitorProfileText(), mCtl.PrinterProfileText(),
                                layout.Texts().printerModel),
               0, wxEXPAND | wxALL, 6);
    auto* buttons = MakeButtons();
    buttons->Insert(0, new wxButton(this, 3748, "Seitenstandardeinstellungen"), 0, wxALL, 4);
    outer->Add(buttons, 0, wxEXPAND | wxALL, 6);

    const std::pair<wxRadioButton*, Source> sources[] = {
        {mZel, Source::Zel}, {mExif, Source::Exif}, {mEmbedded, Source::Embedded}, {mRgb, Source::Rgb}};
    for (auto [radio, which] : sources)
        radio->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this, which](wxCommandEvent&) {
            ReadValues();
            mCtl.ChooseSource(which);
            ShowValues();
        }));
    for (wxRadioButton* radio : {mSimulation.off, mSimulation.rgb, mSimulation.cmyk})
        radio->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
            ReadValues();
            UpdateControlState();
        }));
    Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
             mCtl.LoadLayoutDefaults();
             ShowValues();
         }),
         3748);

    ShowValues();
    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

void CImageColorDlg::ShowValues() {
    const ImageColourController::Values& v = mCtl.GetValues();
    mZel->SetValue(v.source == Source::Zel);
    mExif->SetValue(v.source == Source::Exif);
    mEmbedded->SetValue(v.source == Source::Embedded);
    mRgb->SetValue(v.source == Source::Rgb);
    mEmbeddedText->SetLabel(Text(mCtl.EmbeddedText()));
    mSource->Fill(mCtl.Lists().source, v.sourceProfile);
    mSourceIntent->FillTexts(IntentListTexts(), v.sourceIntent);
    mSimulation.Show(mCtl.Lists(), v.simulation);
    UpdateControlState();
}

void CImageColorDlg::ReadValues() {
    ImageColourController::Values& v = mCtl.GetValues();
    v.sourceProfile = std::max(0, mSource->Entry());
    v.sourceIntent = std::max(0, mSourceIntent->Entry());
    v.simulation = mSimulation.Read();
}

void CImageColorDlg::UpdateControlState() {
    const ImageColourController::ControlState s = mCtl.State();
    mZel->Enable(s.zelEnabled);
    mExif->Enable(s.exifEnabled);
    mEmbedded->Enable(s.embeddedEnabled);
    mSource->Enable(s.sourceListEnabled);
    mSourceIntent->Enable(s.sourceListEnabled);
    mSimulation.Enable(mCtl.GetValues().simulation.mode);
    mZelPicture->Show(s.zelPicture);
    mExifPicture->Show(s.exifPicture);
    if (wxWindow* ok = FindWindow(wxID_OK)) ok->Enable(s.okEnabled);
    Layout();
}

DialogCheck CImageColorDlg::Commit() {
    ReadValues();
    if (!mCtl.Apply()) return {wxID_CANCEL};
    return {};
}

bool WxSettingsDialogs::RunImageColor(CLayoutSetting& layout) {
    if (!BeforeImageColour(layout)) return false;
    CImageColorDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, layout);
    if (dialog.ShowModal() != wxID_OK) return false;
    AfterImageColour(layout);
    return true;
}

}  // namespace vx
