#include "ui/dialogs/GPTextDlg.h"

#include <wx/app.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/settings.h>
#include <wx/stattext.h>

#include "dialogs/FontList.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/FreeTextItem.h"
#include "model/ImageAdding.h"
#include "model/ObjectList.h"
#include "ui/controls/CFontComboBox.h"
#include "ui/controls/CNumEdit.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {

std::vector<std::string> InstalledFaceNames() {
    dialogs::FontList list;
    list.Fill(dialogs::InstalledFontFamilies());
    std::vector<std::string> faces;
    for (const dialogs::FontEntry& e : list.Entries()) faces.push_back(e.faceName);
    return faces;
}

namespace {
wxToggleButton* IconToggle(wxWindow* parent, int id, const char* label, int icon) {
    // A button with a picture never gets a text again: GTK drops its image widget then.
    const bool picture = std::filesystem::exists(IconPath(icon));
    auto* button =
        new wxToggleButton(parent, id, picture ? "" : label, wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    if (picture) button->SetBitmap(ResourceIcon(icon, 16));
    return button;
}
}  // namespace

CGPTextDlg::CGPTextDlg(wxWindow* parent) : SettingsDialog(parent, "Freier Text"), mCtl(InstalledFaceNames()) {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 4, 6);
    auto label = [&](const wxString& text) { grid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL); };

    label("Schriftart:");
    mFont = new CFontComboBox(this, 1162, wxDefaultPosition, wxSize(220, -1));
    mFont->FillFonts();
    grid->Add(mFont, 1, wxEXPAND);

    label(Text("Größe:"));
    auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
    mSize = new CNumEdit(this, 1148, "", wxDefaultPosition, wxSize(70, -1));
    mSize->SetParams(0, 4608, true, 0, 9);
    sizeRow->Add(mSize);
    sizeRow->Add(new wxStaticText(this, wxID_ANY, "Punkt"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    grid->Add(sizeRow);

    label("Stil:");
    auto* styleRow = new wxBoxSizer(wxHORIZONTAL);
    mBold = IconToggle(this, 1171, "B", 161);
    mItalic = IconToggle(this, 1172, "I", 162);
    mUnderline = IconToggle(this, 1173, "U", 163);
    for (wxWindow* w : {mBold, mItalic, mUnderline}) styleRow->Add(w, 0, wxRIGHT, 2);
    grid->Add(styleRow);

    label("Ausrichtung:");
    auto* alignRow = new wxBoxSizer(wxHORIZONTAL);
    mLeft = IconToggle(this, 1168, "L", 158);
    mCentre = IconToggle(this, 1169, "C", 159);
    mRight = IconToggle(this, 1170, "R", 160);
    for (wxWindow* w : {mLeft, mCentre, mRight}) alignRow->Add(w, 0, wxRIGHT, 2);
    mVertical = new wxCheckBox(this, 1081, "Vertikaler Text");
    alignRow->Add(mVertical, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 8);
    grid->Add(alignRow);

    label(Text("Zeilenhöhe:"));
    mLineHeight = new wxChoice(this, 1164);
    for (const std::string& t : mCtl.LineHeightTexts()) mLineHeight->Append(Text(t));
    grid->Add(mLineHeight);

    label("Winkel:");
    auto* angleRow = new wxBoxSizer(wxHORIZONTAL);
    mAngle = new CNumEdit(this, 1149, "", wxDefaultPosition, wxSize(70, -1));
    mAngle->SetParams(-180, 180, true, 0, 9);
    angleRow->Add(mAngle);
    angleRow->Add(new wxStaticText(this, wxID_ANY, "Grad"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    grid->Add(angleRow);

    label("Schriftfarbe:");
    mTextColour = new ColourSwatchButton(this, 1165, *wxBLACK, SharedColourChooser());
    grid->Add(mTextColour);

    label("Hintergrund:");
    auto* backRow = new wxBoxSizer(wxHORIZONTAL);
    mNoBackground = new wxRadioButton(this, 3796, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mBackground = new wxRadioButton(this, 3797, "Farbe");
    backRow->Add(mNoBackground, 0, wxRIGHT, 8);
    backRow->Add(mBackground);
    grid->Add(backRow);

    label("Hintergrundfarbe:");
    mBackgroundColour = new ColourSwatchButton(this, 1166, *wxWHITE, SharedColourChooser());
    grid->Add(mBackgroundColour);
    grid->AddGrowableCol(1);
    outer->Add(grid, 0, wxEXPAND | wxALL, 8);

    // A plain entry field: it does not follow the chosen font, size, style or colour.
    mText = new wxTextCtrl(this, 1167, "", wxDefaultPosition, wxSize(360, 120), wxTE_MULTILINE);
    wxFont gui = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    gui.SetPointSize(10);
    mText->SetFont(gui);
    mText->SetForegroundColour(*wxBLACK);
    outer->Add(mText, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    outer->Add(MakeButtons(), 0, wxEXPAND | wxALL, 6);

    for (wxToggleButton* b : {mLeft, mCentre, mRight})
        b->Bind(wxEVT_TOGGLEBUTTON, Guarded<wxCommandEvent>([this, b](wxCommandEvent&) {
                    SetJustify(b == mCentre ? 1 : b == mRight ? -1 : 0);
                }));
    mVertical->Bind(wxEVT_CHECKBOX,
                    Guarded<wxCommandEvent>([this](wxCommandEvent&) { ShowVertical(mVertical->GetValue()); }));
    for (wxRadioButton* r : {mNoBackground, mBackground})
        r->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                    mBackgroundColour->Enable(mBackground->GetValue());
                }));
    mText->Bind(wxEVT_TEXT, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                    if (wxWindow* ok = FindWindow(wxID_OK)) ok->Enable(!mText->IsEmpty());
                }));

    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

int CGPTextDlg::SetTextSettings(const CTextObj& item) {
    mCtl.SetTextSettings(item);
    ShowValues();
    return 1;
}

int CGPTextDlg::GetTextSettings(CTextObj& item) const {
    mCtl.GetTextSettings(item);
    return 1;
}

void CGPTextDlg::SetJustify(int justify) {
    mLeft->SetValue(justify == 0);
    mCentre->SetValue(justify == 1);
    mRight->SetValue(justify == -1);
    mCtl.GetValues().justify = justify;
}

void CGPTextDlg::ShowVertical(bool vertical) {
    mVertical->SetValue(vertical);
    const int first = vertical ? 264 : 158;
    wxToggleButton* buttons[] = {mLeft, mCentre, mRight};
    const char* const labels[] = {"L", "C", "R"};
    for (int i = 0; i < 3; ++i) {
        // Without its pictures a button shows its letter.
        if (std::filesystem::exists(IconPath(first + i))) buttons[i]->SetBitmap(ResourceIcon(first + i, 16));
        else if (!buttons[i]->GetBitmap().IsOk()) buttons[i]->SetLabel(labels[i]);
    }
    if (vertical) mUnderline->SetValue(false);
    mUnderline->Enable(!vertical);
}

void CGPTextDlg::ShowValues() {
    const FreeTextController::Values& v = mCtl.GetValues();
    mFont->SelectByText(Text(v.face), true);
    mSize->ChangeValue(Text(v.sizeText));
    mBold->SetValue(v.bold);
    mItalic->SetValue(v.italic);
    mUnderline->SetValue(v.underline);
    SetJustify(v.justify);
    ShowVertical(v.vertical);
    mLineHeight->SetSelection(v.lineHeightEntry);
    mAngle->ChangeValue(Text(v.angleText));
    mTextColour->SetColour(ToWx(v.textColour));
    mNoBackground->SetValue(!v.background);
    mBackground->SetValue(v.background);
    mBackgroundColour->SetColour(ToWx(v.backgroundColour));
    mBackgroundColour->Enable(v.background);
    mText->ChangeValue(Text(v.text));
    if (wxWindow* ok = FindWindow(wxID_OK)) ok->Enable(mCtl.OkEnabled());
}

void CGPTextDlg::ReadValues() {
    FreeTextController::Values& v = mCtl.GetValues();
    wxString face;
    mFont->GetCurText(face);
    v.face = Utf8(face);
    v.sizeText = Utf8(mSize->GetValue());
    v.bold = mBold->GetValue();
    v.italic = mItalic->GetValue();
    v.underline = mUnderline->GetValue();
    v.vertical = mVertical->GetValue();
    v.lineHeightEntry = std::max(0, mLineHeight->GetSelection());
    v.angleText = Utf8(mAngle->GetValue());
    v.textColour = FromWx(mTextColour->GetColour());
    v.background = mBackground->GetValue();
    v.backgroundColour = FromWx(mBackgroundColour->GetColour());
    v.text = Utf8(mText->GetValue());
}

DialogCheck CGPTextDlg::Commit() {
    ReadValues();
    return mCtl.Apply();
}

bool WxSettingsDialogs::RunFreeText(CLayoutSetting& layout, CLayoutObj* item) {
    if (item && item->GetKind() != kKindText) return false;
    // A new text lives in the layout while the dialog runs; Cancel takes it out again.
    CTextObj* text = item ? static_cast<CTextObj*>(item) : CreateTextObject(&layout, layout.ItemListHead());
    if (!text) return false;
    CGPTextDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
    dialog.SetTextSettings(*text);
    if (dialog.ShowModal() != wxID_OK) {
        if (!item) DeleteLayoutObject(text, layout.ItemListHead());
        return false;
    }
    dialog.GetTextSettings(*text);
    if (!item) layout.SetCurrentItem(text);
    return true;
}

}  // namespace vx
