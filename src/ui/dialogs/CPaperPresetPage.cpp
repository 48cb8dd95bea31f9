#include "ui/dialogs/CPaperPresetPage.h"

#include <algorithm>

#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "platform/system/StringTable.h"
#include "printing/PrintPaneSections.h"
#include "printing/PrintPresetsController.h"
#include "ui/dialogs/CPrintPresetDlg.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/DialogTexts.h"

namespace vx {
namespace {

constexpr int kPage = 295;
constexpr int kIconPortrait = 241;
constexpr int kIconLandscape = 242;

// The orientation pictures at their own size.
wxBitmap OrientationPicture(int id) {
    wxImage image;
    const auto path = IconPath(id);
    if (image.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG)) return wxBitmap(image);
    return ResourceIcon(id, 24);
}

void RefreshPane() {
    if (Shell* shell = HostService<Shell>())
        if (PrintSettingsPane* pane = shell->GetActivePrintSettingsPane()) pane->OnUpdate(kHintLayoutChanged);
}

}  // namespace

CPaperPresetPage::CPaperPresetPage(wxWindow* parent, PrintPresetsController& controller)
    : wxPanel(parent, wxID_ANY), mController(controller) {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    grid->AddGrowableCol(1);
    mSource = new wxChoice(this, kSource, wxDefaultPosition, wxSize(240, -1));
    mSize = new wxChoice(this, kSize, wxDefaultPosition, wxSize(240, -1));
    grid->Add(new wxStaticText(this, wxID_ANY, DialogText(kPage, -1)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mSource, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_ANY, DialogText(kPage, -2)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mSize, 1, wxEXPAND);

    mRollLabel = new wxStaticText(this, kRollLabel, DialogText(kPage, kRollLabel));
    grid->Add(mRollLabel, 0, wxALIGN_CENTER_VERTICAL);
    auto* roll = new wxBoxSizer(wxHORIZONTAL);
    mLength = new wxStaticText(this, kRollLength, wxEmptyString, wxDefaultPosition, wxSize(80, -1),
                               wxALIGN_RIGHT | wxST_NO_AUTORESIZE);
    mSpin = new wxSpinButton(this, kRollSpin, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
    mSpin->SetRange(1, 32767);
    mSpin->SetValue(1);
    mUnit = new wxChoice(this, kUnit);
    mUnit->Append(Text(LoadString(IDS_UNIT_MM)));
    mUnit->Append(Text(LoadString(IDS_UNIT_INCH)));
    roll->Add(mLength, 0, wxALIGN_CENTER_VERTICAL);
    roll->Add(mSpin, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    roll->Add(mUnit, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 8);
    grid->Add(roll, 0);

    grid->Add(new wxStaticText(this, wxID_ANY, DialogText(kPage, -3)), 0, wxALIGN_CENTER_VERTICAL);
    auto* orientation = new wxBoxSizer(wxHORIZONTAL);
    mPortrait = new wxBitmapToggleButton(this, kPortrait, OrientationPicture(kIconPortrait));
    mLandscape = new wxBitmapToggleButton(this, kLandscape, OrientationPicture(kIconLandscape));
    orientation->Add(mPortrait, 0, wxRIGHT, 4);
    orientation->Add(mLandscape, 0);
    grid->Add(orientation, 0);
    outer->Add(grid, 0, wxEXPAND | wxALL, 8);

    auto* area = new wxStaticBoxSizer(wxHORIZONTAL, this, DialogText(kPage, -4));
    wxWindow* box = area->GetStaticBox();
    mStandard = new wxRadioButton(box, kStandard, DialogText(kPage, kStandard), wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP);
    mMaximum = new wxRadioButton(box, kMaximum, DialogText(kPage, kMaximum));
    mCentred = new wxCheckBox(box, kCentred, DialogText(kPage, kCentred));
    area->Add(mStandard, 0, wxALL, 4);
    area->Add(mMaximum, 0, wxALL, 4);
    area->AddStretchSpacer();
    area->Add(mCentred, 0, wxALL, 4);
    outer->Add(area, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(outer);

    using preset_controls::ChosenValue;
    mSource->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                      if (auto v = ChosenValue(*mSource, mSourceData); !v || !mController.ApplySource(*v))
                          RefreshControls();
                  }));
    mSize->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                    if (auto v = ChosenValue(*mSize, mSizeData); !v || !mController.ApplyPaperSize(*v))
                        RefreshControls();
                }));
    mUnit->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                    ShowLength();
                    RefreshPane();
                }));
    mSpin->Bind(wxEVT_SPIN_UP, Guarded<wxSpinEvent>([this](wxSpinEvent&) {
                    if (!mController.SpinRoll(+1)) RefreshControls();
                }));
    mSpin->Bind(wxEVT_SPIN_DOWN, Guarded<wxSpinEvent>([this](wxSpinEvent&) {
                    if (!mController.SpinRoll(-1)) RefreshControls();
                }));
    mPortrait->Bind(wxEVT_TOGGLEBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnOrientation(1); }));
    mLandscape->Bind(wxEVT_TOGGLEBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnOrientation(2); }));
    mStandard->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                        if (!mController.ApplyPrintableArea(0)) RefreshControls();
                    }));
    mMaximum->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                       if (!mController.ApplyPrintableArea(1)) RefreshControls();
                   }));
    mCentred->Bind(wxEVT_CHECKBOX, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                       if (!mController.ApplyCentred(mCentred->GetValue())) RefreshControls();
                   }));
}

void CPaperPresetPage::OnOrientation(int orientation) {
    // The two buttons are one radio pair: a click never leaves both up.
    if (!mController.ApplyOrientation(orientation)) RefreshControls();
}

void CPaperPresetPage::RefreshControls() {
    using namespace preset_controls;
    const CLayoutSetting& layout = mController.Layout();
    const OptionControls c = mController.Controls(PresetPart::PaperPage);
    ApplyCombo(*mSource, mSourceData, c[OptionControl::PaperSource]);
    ApplyCombo(*mSize, mSizeData, c[OptionControl::PaperSize]);
    if (!c[OptionControl::Orientation1].checked) {
        mPortrait->SetValue(layout.GetOrientation() == 1);
        mLandscape->SetValue(layout.GetOrientation() != 1);
    }
    ApplyButton(*mPortrait, c[OptionControl::Orientation1]);
    ApplyButton(*mLandscape, c[OptionControl::Orientation2]);
    ApplyButton(*mStandard, c[OptionControl::AreaStandard]);
    ApplyButton(*mMaximum, c[OptionControl::AreaMaximum]);
    ApplyButton(*mCentred, c[OptionControl::AreaCentred]);

    const bool roll = layout.GetBanner() != 0;
    for (wxWindow* w : std::initializer_list<wxWindow*>{mRollLabel, mSpin, mUnit, mLength}) w->Enable(roll);
    if (mFirstRefresh) {
        mUnit->SetSelection(std::clamp(static_cast<int>(layout.GetUnit()) - 1, 0, 1));
        mFirstRefresh = false;
    }
    mSpin->SetValue(std::clamp(static_cast<int>(layout.GetPageNum()), 1, 32767));
    ShowLength();
}

void CPaperPresetPage::ShowLength() {
    mLength->SetLabel(Text(RollLengthNumber(mController.Layout().GetBannerLength(), std::max(0, mUnit->GetSelection()))));
}

}  // namespace vx
