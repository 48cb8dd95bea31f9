#include "ui/dialogs/DriverSettingsDlg.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "platform/driver/DriverItem.h"
#include "platform/system/StringTable.h"
#include "printing/DriverSettingsEditor.h"
#include "ui/dialogs/CropDialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

using C = OptionControl;
constexpr int kInkIconSize = 32;

wxString Str(int id) { return Text(LoadString(id)); }

void ApplyCombo(wxChoice* choice, const OptionControlState& state) {
    choice->Clear();
    for (const ComboItem& item : state.items) choice->Append(Text(item.text));
    if (state.selection >= 0) choice->SetSelection(state.selection);
    choice->Enable(state.enabled.value_or(false));
}

}  // namespace

DriverSettingsDlg::DriverSettingsDlg(wxWindow* parent, DriverSettingsEditor& editor)
    : SettingsDialog(parent, Str(IDS_DRIVER_SETTINGS_TITLE)), mEditor(editor) {
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->AddGrowableCol(1);
    const auto label = [&](int id) {
        grid->Add(new wxStaticText(this, wxID_ANY, Str(id)), 0, wxALIGN_CENTER_VERTICAL);
    };
    const auto radios = [&](std::initializer_list<std::pair<C, int>> entries) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        bool first = true;
        for (auto [control, text] : entries) {
            auto* radio = new wxRadioButton(this, wxID_ANY, Str(text), wxDefaultPosition, wxDefaultSize,
                                            first ? wxRB_GROUP : 0);
            mRadios[size_t(control)] = radio;
            row->Add(radio, 0, wxRIGHT | wxALIGN_CENTER_VERTICAL, 10);
            radio->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this, c = control](wxCommandEvent&) { OnRadio(c); }));
            first = false;
        }
        return row;
    };

    label(IDS_DRIVER_SETTINGS_SOURCE);
    mSource = new wxChoice(this, wxID_ANY);
    grid->Add(mSource, 1, wxEXPAND);
    label(IDS_DRIVER_SETTINGS_PAPER);
    mPaper = new wxChoice(this, wxID_ANY);
    grid->Add(mPaper, 1, wxEXPAND);
    label(IDS_DRIVER_SETTINGS_ORIENTATION);
    grid->Add(radios({{C::Orientation1, IDS_DRIVER_SETTINGS_PORTRAIT}, {C::Orientation2, IDS_DRIVER_SETTINGS_LANDSCAPE}}));
    grid->AddSpacer(0);
    auto* note = new wxStaticText(this, wxID_ANY, Str(IDS_DRIVER_SETTINGS_FIXED));
    note->Wrap(FromDIP(340));
    grid->Add(note, 0, wxBOTTOM, 6);

    label(IDS_DRIVER_SETTINGS_MEDIA);
    mMedia = new wxChoice(this, wxID_ANY);
    mMedia->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnMedia(); }));
    grid->Add(mMedia, 1, wxEXPAND);
    label(IDS_DRIVER_SETTINGS_INK);
    auto* inkRow = radios({{C::InkColour, IDS_INK_COLOUR}, {C::InkBlack, IDS_INK_BLACK}, {C::InkMonoPhoto, IDS_INK_GREYVANCE}});
    mInkPicture = new wxStaticBitmap(this, wxID_ANY, ResourceIcon(kIconInkColour, kInkIconSize));
    inkRow->Add(mInkPicture, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(inkRow);
    label(IDS_DRIVER_SETTINGS_MODE);
    grid->Add(radios({{C::ModeQuality, IDS_DRIVER_SETTINGS_QUALITY},
                      {C::ModeFast, IDS_DRIVER_SETTINGS_FAST},
                      {C::ModeUltrafine, IDS_DRIVER_SETTINGS_ULTRAFINE}}));
    grid->AddSpacer(0);
    mHighSpeed = new wxCheckBox(this, wxID_ANY, Str(IDS_DRIVER_SETTINGS_HIGH_SPEED));
    mHighSpeed->Bind(wxEVT_CHECKBOX, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnHighSpeed(); }));
    grid->Add(mHighSpeed);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, 12);
    top->Add(MakeButtons(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(top);
    ShowDriverState();
    SetMinSize(wxSize(FromDIP(460), -1));
    Fit();
    CentreOnParent();
}

wxRadioButton* DriverSettingsDlg::Radio(OptionControl control) const { return mRadios[size_t(control)]; }

void DriverSettingsDlg::ShowDriverState() {
    const OptionControls c = mEditor.Controls();
    ApplyCombo(mSource, c[C::PaperSource]);
    ApplyCombo(mPaper, c[C::PaperSize]);
    ApplyCombo(mMedia, c[C::Media]);
    for (size_t i = 0; i < kOptionControlCount; ++i) {
        if (!mRadios[i]) continue;
        const OptionControlState& s = c.states[i];
        mRadios[i]->Enable(s.enabled.value_or(false));
        if (s.checked.value_or(false)) mRadios[i]->SetValue(true);
    }
    if (c[C::InkPicture].icon) mInkPicture->SetBitmap(ResourceIcon(c[C::InkPicture].icon, kInkIconSize));
    mHighSpeed->Enable(c[C::HighSpeed].enabled.value_or(false));
    mHighSpeed->SetValue(c[C::HighSpeed].checked.value_or(false));
}

void DriverSettingsDlg::OnMedia() {
    const OptionControls c = mEditor.Controls();
    const int index = mMedia->GetSelection();
    const std::vector<ComboItem>& items = c[C::Media].items;
    if (index >= 0 && size_t(index) < items.size()) mEditor.SetMedia(items[size_t(index)].data);
    // A refused choice snaps back; an accepted medium may change the inks and modes.
    ShowDriverState();
}

void DriverSettingsDlg::OnRadio(OptionControl control) {
    switch (control) {
    case C::InkColour: mEditor.SetInk(kInkColour); break;
    case C::InkBlack: mEditor.SetInk(kInkBlack); break;
    case C::InkMonoPhoto: mEditor.SetInk(kInkMonoPhoto); break;
    case C::ModeQuality:
    case C::ModeFast:
    case C::ModeUltrafine: mEditor.SetPrintMode(control); break;
    default: break;
    }
    ShowDriverState();
}

void DriverSettingsDlg::OnHighSpeed() {
    mEditor.SetHighSpeed(mHighSpeed->GetValue());
    ShowDriverState();
}

bool WxSettingsDialogs::RunDriverSettings(DriverSettingsEditor& editor) {
    DriverSettingsDlg dialog(cropdialogs::DialogParent(), editor);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
