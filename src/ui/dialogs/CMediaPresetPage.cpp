#include "ui/dialogs/CMediaPresetPage.h"

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "model/CLayoutSetting.h"
#include "printing/PrintPresetsController.h"
#include "ui/dialogs/CPrintPresetDlg.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/DialogTexts.h"

namespace vx {
namespace {
constexpr int kPage = 298;
constexpr int kPictureSize = 64;
}  // namespace

CMediaPresetPage::CMediaPresetPage(wxWindow* parent, PrintPresetsController& controller)
    : wxPanel(parent, wxID_ANY), mController(controller) {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* media = new wxBoxSizer(wxHORIZONTAL);
    media->Add(new wxStaticText(this, wxID_ANY, DialogText(kPage, -1)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    mMedia = new wxChoice(this, kMedia, wxDefaultPosition, wxSize(240, -1));
    media->Add(mMedia, 1, wxALIGN_CENTER_VERTICAL);
    outer->Add(media, 0, wxEXPAND | wxALL, 8);

    auto* groups = new wxBoxSizer(wxHORIZONTAL);
    auto* ink = new wxStaticBoxSizer(wxHORIZONTAL, this, DialogText(kPage, -2));
    wxWindow* inkBox = ink->GetStaticBox();
    auto* inkButtons = new wxBoxSizer(wxVERTICAL);
    mColour = new wxRadioButton(inkBox, kColour, DialogText(kPage, kColour), wxDefaultPosition, wxDefaultSize,
                                wxRB_GROUP);
    mBlack = new wxRadioButton(inkBox, kBlack, DialogText(kPage, kBlack));
    mMonoPhoto = new wxRadioButton(inkBox, kMonoPhoto, DialogText(kPage, kMonoPhoto));
    for (wxRadioButton* r : {mColour, mBlack, mMonoPhoto}) inkButtons->Add(r, 0, wxALL, 3);
    ink->Add(inkButtons, 1);
    mInkPicture = new wxStaticBitmap(inkBox, kInkPicture, ResourceIcon(kIconInkColour, kPictureSize));
    ink->Add(mInkPicture, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    groups->Add(ink, 1, wxEXPAND | wxRIGHT, 8);

    auto* mode = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(kPage, -3));
    wxWindow* modeBox = mode->GetStaticBox();
    mUltrafine = new wxRadioButton(modeBox, kUltrafine, DialogText(kPage, kUltrafine), wxDefaultPosition,
                                   wxDefaultSize, wxRB_GROUP);
    mQuality = new wxRadioButton(modeBox, kQuality, DialogText(kPage, kQuality));
    mFast = new wxRadioButton(modeBox, kFast, DialogText(kPage, kFast));
    for (wxRadioButton* r : {mUltrafine, mQuality, mFast}) mode->Add(r, 0, wxALL, 3);
    groups->Add(mode, 1, wxEXPAND);
    outer->Add(groups, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);

    mVeryFast = new wxCheckBox(this, kVeryFast, DialogText(kPage, kVeryFast));
    mOptimise = new wxCheckBox(this, kOptimise, DialogText(kPage, kOptimise));
    outer->Add(mVeryFast, 0, wxLEFT | wxRIGHT | wxTOP, 8);
    outer->Add(mOptimise, 0, wxALL, 8);
    SetSizerAndFit(outer);

    mMedia->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                     auto v = preset_controls::ChosenValue(*mMedia, mMediaData);
                     if (!v || !mController.ApplyMedia(*v)) RefreshControls();
                 }));
    const std::pair<wxRadioButton*, int32_t> inks[] = {{mColour, 2}, {mBlack, 1}, {mMonoPhoto, 256}};
    for (const auto& [radio, colour] : inks)
        radio->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this, colour](wxCommandEvent&) {
                        if (!mController.ApplyInk(colour)) RefreshControls();
                    }));
    const std::pair<wxRadioButton*, int16_t> modes[] = {{mUltrafine, 15}, {mQuality, 1}, {mFast, 2}};
    for (const auto& [radio, value] : modes)
        radio->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this, value](wxCommandEvent&) {
                        if (!mController.ApplyMode(value)) RefreshControls();
                    }));
    mVeryFast->Bind(wxEVT_CHECKBOX, Guarded<wxCommandEvent>(
                                        [this](wxCommandEvent&) { mController.SetHighSpeed(mVeryFast->GetValue()); }));
    mOptimise->Bind(wxEVT_CHECKBOX, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                        mController.SetPreProcessing(mOptimise->GetValue());
                    }));
}

wxRadioButton* CMediaPresetPage::Ink(int id) const {
    return id == kColour ? mColour : id == kBlack ? mBlack : id == kMonoPhoto ? mMonoPhoto : nullptr;
}

wxRadioButton* CMediaPresetPage::Mode(int id) const {
    return id == kUltrafine ? mUltrafine : id == kQuality ? mQuality : id == kFast ? mFast : nullptr;
}

void CMediaPresetPage::RefreshControls() {
    using namespace preset_controls;
    const OptionControls c = mController.Controls(PresetPart::MediaPage);
    ApplyCombo(*mMedia, mMediaData, c[OptionControl::Media]);
    ApplyButton(*mColour, c[OptionControl::InkColour]);
    ApplyButton(*mBlack, c[OptionControl::InkBlack]);
    ApplyButton(*mMonoPhoto, c[OptionControl::InkMonoPhoto]);
    if (const int icon = c[OptionControl::InkPicture].icon; icon && icon != mInkIcon) {
        mInkIcon = icon;
        mInkPicture->SetBitmap(ResourceIcon(icon, kPictureSize));
    }
    ApplyButton(*mUltrafine, c[OptionControl::ModeUltrafine]);
    ApplyButton(*mQuality, c[OptionControl::ModeQuality]);
    ApplyButton(*mFast, c[OptionControl::ModeFast]);
    ApplyButton(*mVeryFast, c[OptionControl::HighSpeed]);
    mOptimise->SetValue(mController.Layout().GetPreProcessing() == 1);
}

}  // namespace vx
