#include "ui/printpane/CMainFormView.h"

#include <algorithm>

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/tglbtn.h>

#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "printing/OptionControls.h"
#include "printing/PrintSettingsPaneController.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/UndoStore.h"
#include "printing/PrintSettingsChanges.h"
#include "printing/PrinterQueries.h"
#include "printing/PrinterSetupServices.h"
#include "app/MorePrintSettings.h"
#include "dialogs/PrinterProfileCombo.h"
#include "dialogs/PrinterProfileText.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "host/PrintPresetsDialog.h"
#include "host/Shell.h"
#include "host/LayoutView.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/printpane/CArrowSpin.h"
#include "ui/printpane/CSectionButton.h"

namespace {

constexpr int kPaneDialog = 253;
constexpr int kIconPortrait = 241;
constexpr int kIconLandscape = 242;
constexpr int kIconBlank = 255;
constexpr int kIconPencil = 256;
const wxColour kSectionFill(0x28, 0x28, 0x28);

wxBitmap Icon(int id) {
    wxBitmap bitmap;
    const auto path = vx::DataFolder() / "icons" / (std::to_string(id) + ".png");
    bitmap.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG);
    return bitmap;
}

wxString U(const std::string& text) { return wxString::FromUTF8(text); }

}  // namespace

CMainFormView::CMainFormView(wxWindow* parent, vx::CPrinterManager* manager)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL | wxHSCROLL | wxBORDER_SUNKEN),
      mManager(manager) {
    if (mManager) {
        vx::PrintSettingsPaneController::Hooks hooks;
        hooks.refreshControls = [this](bool keepUnit) { RefreshControls(keepUnit); };
        mController = std::make_unique<vx::PrintSettingsPaneController>(*mManager, mMarks, hooks);
    }
    SetScrollRate(0, 1);
    CreateControls();
    // The rectangles the sections fold from are those of the first show.
    for (int i = 0; i < vx::kPaneControlCount; ++i) {
        const wxRect r = mControls[i]->GetRect();
        mCaptured[i] = {r.x, r.y, r.width, r.height};
    }
    for (CSectionButton* b : mSections) b->SetFillColor(kSectionFill);
    mSections[0]->SetState(1);
    mSections[2]->SetState(1);
    ArrangeSections();
    mMarks.Clear();
    FillTemplateSettingsList();
    FillPrinterProfileCombo();
    EnableMoreButtons();
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        ArrangeSections();
        e.Skip();
    });
    // Clicks on the pane itself do nothing.
    Bind(wxEVT_LEFT_DOWN, [](wxMouseEvent&) {});
    Bind(wxEVT_RIGHT_DOWN, [](wxMouseEvent&) {});
    Bind(wxEVT_CONTEXT_MENU, [](wxContextMenuEvent&) {});
}

CMainFormView::~CMainFormView() = default;

wxPoint CMainFormView::Dlu(int x, int y) const { return ConvertDialogToPixels(wxPoint(x, y)); }
wxSize CMainFormView::DluSize(int w, int h) const { return ConvertDialogToPixels(wxSize(w, h)); }

void CMainFormView::CreateControls() {
    using namespace vx;
    auto text = [this](int id, int x, int y, int w, int h) -> wxWindow* {
        return new wxStaticText(this, id, DialogText(kPaneDialog, id), Dlu(x, y), DluSize(w, h), wxST_NO_AUTORESIZE);
    };
    auto choice = [this](int id, int x, int y, int w) {
        auto* c = new wxChoice(this, id, Dlu(x, y), wxSize(DluSize(w, 12).x, -1));
        return c;
    };
    auto section = [this](int id, int x, int y) {
        auto* b = new CSectionButton(this, id, Dlu(x, y), DluSize(8, 8));
        b->Bind(wxEVT_BUTTON, &CMainFormView::OnSection, this);
        return b;
    };
    auto& c = mControls;
    c[kPaneSection1Button] = mSections[0] = section(kSection1, 5, 5);
    c[kPaneSection1Title] = text(3786, 15, 5, 65, 10);
    c[kPanePrinterLabel] = text(1044, 15, 21, 50, 10);
    c[kPanePrinterCombo] = mPrinter = choice(kPrinterCombo, 70, 19, 107);
    c[kPaneSourceLabel] = text(1045, 15, 36, 50, 10);
    c[kPaneSourceCombo] = mSource = choice(kSourceCombo, 70, 34, 107);
    c[kPanePaperLabel] = text(1046, 15, 51, 50, 10);
    c[kPanePaperCombo] = mPaper = choice(kPaperCombo, 70, 49, 107);
    c[kPaneLengthGroup] = new wxStaticBox(this, kLengthGroup, DialogText(kPaneDialog, kLengthGroup), Dlu(70, 66),
                                          DluSize(107, 31));
    c[kPaneLengthValue] = mLength = new wxStaticText(this, kLengthValue, wxString(), Dlu(77, 80), DluSize(38, 8),
                                                     wxST_NO_AUTORESIZE | wxALIGN_RIGHT);
    // A little taller than the template's 14 units, so that each half takes a finger.
    c[kPaneLengthSpin] = mSpin = new CArrowSpin(this, kLengthSpin, Dlu(118, 74), DluSize(12, 18));
    c[kPaneUnitCombo] = mUnit = choice(kUnitCombo, 134, 77, 35);
    c[kPaneMediaLabel] = text(1047, 15, 103, 50, 10);
    c[kPaneMediaCombo] = mMedia = choice(kMediaCombo, 70, 101, 107);
    c[kPaneOrientationLabel] = text(3630, 15, 120, 50, 10);
    c[kPanePortrait] = mPortrait =
        new wxBitmapToggleButton(this, kPortrait, Icon(kIconPortrait), Dlu(70, 120), DluSize(18, 21));
    c[kPaneLandscape] = mLandscape =
        new wxBitmapToggleButton(this, kLandscape, Icon(kIconLandscape), Dlu(92, 120), DluSize(18, 21));
    c[kPaneMorePrint] = new wxButton(this, kMorePrint, DialogText(kPaneDialog, kMorePrint), Dlu(134, 143),
                                     DluSize(43, 14));
    c[kPaneSeparator1] = new wxStaticLine(this, 3793, Dlu(5, 157), DluSize(172, 2));
    c[kPaneSection2Button] = mSections[1] = section(kSection2, 5, 162);
    c[kPaneSection2Title] = text(3787, 15, 162, 59, 8);
    c[kPaneProfileLabel] = text(1049, 15, 177, 50, 10);
    c[kPaneProfileCombo] = mProfile = choice(kProfileCombo, 70, 174, 107);
    c[kPaneMoreColour] = new wxButton(this, kMoreColour, DialogText(kPaneDialog, kMoreColour), Dlu(134, 193),
                                      DluSize(43, 14));
    c[kPaneSeparator2] = new wxStaticLine(this, 3794, Dlu(5, 207), DluSize(172, 2));
    c[kPaneSection3Button] = mSections[2] = section(kSection3, 5, 212);
    c[kPaneSection3Title] = text(3788, 15, 212, 78, 8);
    c[kPaneTemplateList] = mList = new wxListCtrl(this, kTemplateList, Dlu(15, 225), DluSize(162, 161),
                                                  wxLC_REPORT | wxLC_NO_HEADER | wxLC_SINGLE_SEL);
    auto* note = new wxStaticText(this, 3918, DialogText(kPaneDialog, 3918), Dlu(16, 392), DluSize(162, 31),
                                  wxST_NO_AUTORESIZE);
    note->Wrap(DluSize(162, 31).x);
    c[kPanePencilNote] = note;

    c[kPaneMorePrint]->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnMorePrintSettings(); });
    c[kPaneMoreColour]->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOutputColor(); });
    mProfile->Bind(wxEVT_CHOICE, &CMainFormView::OnProfileChoice, this);

    mUnit->Append(U(vx::LoadString(vx::IDS_UNIT_MM)));
    mUnit->Append(U(vx::LoadString(vx::IDS_UNIT_INCH)));
    mSpin->SetRange(1, 32767);
    mSpin->SetValue(1);

    auto* images = new wxImageList(16, 16, true, 4);
    images->Add(Icon(kIconBlank));
    images->Add(Icon(kIconPencil));
    mList->AssignImageList(images, wxIMAGE_LIST_SMALL);
    const int edge = wxSystemSettings::GetMetric(wxSYS_EDGE_X, this);
    const int half = (mList->GetSize().x - 2 * std::max(edge, 0)) / 2;
    mList->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, half);
    mList->InsertColumn(1, wxString(), wxLIST_FORMAT_LEFT, half);

    for (wxChoice* ch : {mPrinter, mSource, mPaper, mMedia}) ch->Bind(wxEVT_CHOICE, &CMainFormView::OnPaperChoice, this);
    mPortrait->Bind(wxEVT_TOGGLEBUTTON, &CMainFormView::OnOrientation, this);
    mLandscape->Bind(wxEVT_TOGGLEBUTTON, &CMainFormView::OnOrientation, this);
    mUnit->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        RefreshControls(true);
        if (vx::ApplicationState* app = vx::HostService<vx::ApplicationState>()) app->GetUndoStore().ClearUndo();
    });
    mSpin->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) {
        if (CanChange()) Changes()->Spin(1);
    });
    mSpin->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) {
        if (CanChange()) Changes()->Spin(-1);
    });
    // Arrow keys on the orientation buttons switch and apply at once.
    for (wxBitmapToggleButton* b : {mPortrait, mLandscape})
        b->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
            switch (e.GetKeyCode()) {
            case WXK_LEFT:
            case WXK_UP:
            case WXK_RIGHT:
            case WXK_DOWN: {
                const bool toLandscape = FindFocus() == mPortrait;
                (toLandscape ? mLandscape : mPortrait)->SetFocus();
                ApplyOrientation(toLandscape ? 2 : 1);
                return;
            }
            default: e.Skip();
            }
        });
}

void CMainFormView::ArrangeSections() {
    const std::array<bool, 3> expanded{mSections[0]->GetState() == 1, mSections[1]->GetState() == 1,
                                       mSections[2]->GetState() == 1};
    vx::PaneMetrics metrics;
    metrics.clientHeight = GetClientSize().y;
    metrics.edgeWidth = std::max(0, wxSystemSettings::GetMetric(wxSYS_EDGE_X, this));
    metrics.scrollBarHeight = std::max(0, wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, this));
    const vx::PaneArrangement a = vx::ArrangeSections(mCaptured, expanded, metrics);
    const wxPoint origin = CalcScrolledPosition(wxPoint(0, 0));
    for (int i = 0; i < vx::kPaneControlCount; ++i) {
        mControls[i]->Move(origin.x + a.places[i].x, origin.y + a.places[i].y);
        mControls[i]->Show(a.places[i].visible);
    }
    SetVirtualSize(a.scrollWidth, a.scrollHeight);
    Refresh();
}

void CMainFormView::OnSection(wxCommandEvent& event) {
    auto* button = dynamic_cast<CSectionButton*>(event.GetEventObject());
    if (!button) return;
    button->SetState(button->GetState() == 1 ? 3 : 1);
    ArrangeSections();
}

void CMainFormView::LoadDocumentSettings(vx::CLayoutSetting& layout) {
    mLayout = &layout;
    if (!mController || !mController->LoadDocumentSettings(layout)) FillTemplateSettingsList();
}

void CMainFormView::OnBindingSettled() { vx::OnBindingSettled(mLayout); }

void CMainFormView::OnUpdate(int hint) {
    if (hint == vx::kHintLayoutChanged) RefreshControls(true);
}

void CMainFormView::RefreshControls(bool keepUnit) {
    if (!mLayout) return;
    UpdateToolBarPicture();
    FillPrinterControls(keepUnit);
    UpdateProfileCombo();
    UpdateTemplateSettingsText(*mLayout);
    EnableMoreButtons();
}

void CMainFormView::UpdateToolBarPicture() {
    vx::Shell* shell = vx::HostService<vx::Shell>();
    if (!shell || !mLayout) return;
    // Our own mapping of the model classes 1, 2 and 3 to the three toolbar pictures.
    const int modelClass = std::clamp(vx::GetPrinterModelClass(mLayout->Texts().printerModel), 1, 3);
    shell->SetPrintToolBarPicture(393 + modelClass);
}

void CMainFormView::EnableMoreButtons() {
    mControls[vx::kPaneMorePrint]->Enable(mLayout && mManager && vx::HostService<vx::PrintPresetsDialog>());
    mControls[vx::kPaneMoreColour]->Enable(vx::HostService<vx::PrinterSetupServices>() != nullptr);
}

void CMainFormView::UpdateViews(int hint) {
    OnUpdate(hint);
    if (vx::Shell* shell = vx::HostService<vx::Shell>())
        if (vx::LayoutView* view = mLayout ? shell->FindLayoutView(*mLayout) : nullptr) view->Invalidate();
}

namespace {
// The active document's layout, else the application's default one.
vx::CLayoutSetting* ProfileLayout() {
    vx::ApplicationState* app = vx::HostService<vx::ApplicationState>();
    if (!app) return nullptr;
    if (vx::CLayoutSetting* active = app->ActiveLayoutSlot()) return active;
    try {
        return &app->DefaultLayoutSetting();
    } catch (const std::exception&) {
        return nullptr;
    }
}
}  // namespace

void CMainFormView::FillPrinterProfileCombo() {
    vx::CLayoutSetting* layout = mLayout ? mLayout : ProfileLayout();
    const std::string recommended =
        layout ? vx::GetRecommendedProfileName(*layout) : std::string(vx::kDefaultRgbProfileFile);
    mProfiles = vx::BuildPrinterProfileList(recommended);
    mProfile->Freeze();
    mProfile->Clear();
    for (const vx::ProfileEntry& e : mProfiles.Entries()) mProfile->Append(U(e.description));
    mProfile->Thaw();
}

void CMainFormView::UpdateProfileCombo() {
    // The pane keeps serving its own document's layout; an unbound pane takes the
    // active or the default layout.
    vx::CLayoutSetting* layout = mLayout ? mLayout : ProfileLayout();
    if (!layout) return;
    if (mProfiles.Empty()) FillPrinterProfileCombo();
    mProfiles.SetFileName(0, vx::GetRecommendedProfileName(*layout));
    if (layout != mLayout) {
        mLayout = layout;
        if (mController) mController->Rebind(layout);
    }
    const vx::PrinterProfileSelection selection = vx::SelectLayoutPrinterProfile(*layout, mProfiles);
    mProfile->SetSelection(selection.index);
    mProfile->Enable(selection.enabled);
}

void CMainFormView::OnProfileChoice(wxCommandEvent&) {
    if (!mLayout) return;
    vx::ApplyPrinterProfileChoice(*mLayout, mProfiles, mProfile->GetSelection());
    RefreshControls(true);
    UpdateViews(vx::kHintLayoutChanged);
    mLayout->SetDirty(1);
}

void CMainFormView::SelectFirstProfile() {
    if (mProfile->GetCount() > 0) mProfile->SetSelection(0);
    RefreshControls(true);
}

void CMainFormView::OnMorePrintSettings() {
    vx::PrintPresetsDialog* dialog = vx::HostService<vx::PrintPresetsDialog>();
    if (!dialog || !CanChange()) return;
    vx::MorePrintSettingsHooks hooks;
    hooks.refreshControls = [this](bool keepUnit) { RefreshControls(keepUnit); };
    hooks.updateViews = [this](int hint) { UpdateViews(hint); };
    hooks.redrawLayout = [this] { UpdateViews(0); };
    hooks.clearUndo = [] {
        if (vx::ApplicationState* app = vx::HostService<vx::ApplicationState>()) app->GetUndoStore().ClearUndo();
    };
    vx::RunMorePrintSettings(*dialog, *mManager, *mLayout, mMarks, hooks);
}

void CMainFormView::OnOutputColor() {
    vx::PrinterSetupServices* services = vx::HostService<vx::PrinterSetupServices>();
    if (!services || !services->RunOutputColorDialog()) return;
    Refresh();
    RefreshControls(true);
    UpdateViews(vx::kHintLayoutChanged);
}

void CMainFormView::FillPrinterControls(bool keepUnit) {
    if (!mLayout) return;
    if (mManager && mManager->GetLayout() == mLayout) {
        using vx::OptionControl;
        vx::OptionControls controls;
        for (OptionControl o : {OptionControl::Printer, OptionControl::PaperSource, OptionControl::PaperSize,
                                OptionControl::Media, OptionControl::Orientation1, OptionControl::Orientation2})
            controls[o].present = true;
        mManager->FillOptionCombos(controls);
        const std::array<std::pair<OptionControl, wxChoice*>, 4> combos{{{OptionControl::Printer, mPrinter},
                                                                         {OptionControl::PaperSource, mSource},
                                                                         {OptionControl::PaperSize, mPaper},
                                                                         {OptionControl::Media, mMedia}}};
        for (size_t i = 0; i < combos.size(); ++i) {
            const vx::OptionControlState& s = controls[combos[i].first];
            wxChoice* choice = combos[i].second;
            if (s.filled) {
                choice->Clear();
                mChoiceData[i].clear();
                for (const vx::ComboItem& item : s.items) {
                    choice->Append(U(item.text));
                    mChoiceData[i].push_back(item.data);
                }
                choice->SetSelection(s.selection);
            }
            if (s.enabled) choice->Enable(*s.enabled);
        }
        const vx::OptionControlState& portrait = controls[OptionControl::Orientation1];
        const vx::OptionControlState& landscape = controls[OptionControl::Orientation2];
        if (portrait.checked) mPortrait->SetValue(*portrait.checked);
        if (landscape.checked) mLandscape->SetValue(*landscape.checked);
        if (portrait.enabled) mPortrait->Enable(*portrait.enabled);
        if (landscape.enabled) mLandscape->Enable(*landscape.enabled);
    } else {
        mPortrait->SetValue(mLayout->GetOrientation() == 1);
        mLandscape->SetValue(mLayout->GetOrientation() != 1);
    }
    const bool roll = mLayout->GetBanner() != 0;
    for (int i : {vx::kPaneLengthGroup, vx::kPaneUnitCombo, vx::kPaneLengthValue, vx::kPaneLengthSpin})
        mControls[i]->Enable(roll);
    if (!keepUnit) mUnit->SetSelection(mLayout->GetUnit() == 2 ? 1 : 0);
    mSpin->SetValue(std::clamp(static_cast<int>(mLayout->GetPageNum() & 0xFFFF), 1, 32767));
    ShowLength();
}

void CMainFormView::ShowLength() {
    if (!mLayout) return;
    mLength->SetLabel(vx::RollLengthNumber(mLayout->GetBannerLength(), mUnit->GetSelection() == 0 ? 0 : 1));
}

void CMainFormView::UpdateTemplateSettingsText(const vx::CLayoutSetting& layout) {
    vx::UpdateTemplateSettingsInfo(layout);
    FillTemplateSettingsList();
}

void CMainFormView::FillTemplateSettingsList() {
    const auto rows = vx::FillTemplateSettingsList(mMarks, mLayout);
    mList->Freeze();
    mList->DeleteAllItems();
    for (size_t i = 0; i < rows.size(); ++i) {
        const long item = mList->InsertItem(static_cast<long>(i), U(rows[i].name), rows[i].marked ? 1 : 0);
        mList->SetItem(item, 1, U(rows[i].value));
    }
    mList->Thaw();
}

void CMainFormView::SetTemplateChangeMark(vx::TemplateChangeMark mark) {
    mMarks.Mark(vx::TemplateSettingRowOf(mark));
}

void CMainFormView::ResetFormViewInfo() {
    mMarks.Clear();
    FillTemplateSettingsList();
}

void CMainFormView::OnPaperChoice(wxCommandEvent& event) {
    using vx::OptionControl;
    wxChoice* choice = dynamic_cast<wxChoice*>(event.GetEventObject());
    if (choice == mPrinter) ApplyChoice(OptionControl::Printer, choice);
    else if (choice == mSource) ApplyChoice(OptionControl::PaperSource, choice);
    else if (choice == mPaper) ApplyChoice(OptionControl::PaperSize, choice);
    else if (choice == mMedia) ApplyChoice(OptionControl::Media, choice);
}

std::unique_ptr<vx::PrintSettingsChanges> CMainFormView::Changes() {
    vx::PrintSettingsChanges::Hooks hooks;
    hooks.markRow = [this](int row) { mMarks.Mark(row); };
    hooks.refreshControls = [this](bool keepUnit) { RefreshControls(keepUnit); };
    hooks.updateViews = [this](int hint) { UpdateViews(hint); };
    hooks.clearUndo = [] {
        if (vx::ApplicationState* app = vx::HostService<vx::ApplicationState>()) app->GetUndoStore().ClearUndo();
    };
    hooks.focusOrientation = [this](int orientation) { (orientation == 1 ? mPortrait : mLandscape)->SetFocus(); };
    return std::make_unique<vx::PrintSettingsChanges>(*mManager, mMarks, hooks);
}

bool CMainFormView::CanChange() const { return mLayout && mManager && mManager->GetLayout() == mLayout; }

void CMainFormView::ApplyChoice(vx::OptionControl control, wxChoice* choice) {
    if (!CanChange()) return;
    const size_t index = static_cast<size_t>(control);
    const int selection = choice->GetSelection();
    if (selection < 0 || static_cast<size_t>(selection) >= mChoiceData[index].size()) return;
    const int32_t value = mChoiceData[index][selection];
    auto changes = Changes();
    switch (control) {
    case vx::OptionControl::Printer: changes->ApplyPrinter(choice->GetString(selection).utf8_string()); break;
    case vx::OptionControl::PaperSource: changes->ApplyOption(vx::PaneOption::PaperSource, value); break;
    case vx::OptionControl::PaperSize: changes->ApplyOption(vx::PaneOption::PaperSize, value); break;
    default: changes->ApplyOption(vx::PaneOption::Media, value); break;
    }
    RefreshControls(true);
}

void CMainFormView::OnOrientation(wxCommandEvent& event) {
    ApplyOrientation(event.GetId() == kPortrait ? 1 : 2);
}

void CMainFormView::ApplyOrientation(int orientation) {
    mPortrait->SetValue(orientation == 1);
    mLandscape->SetValue(orientation != 1);
    if (CanChange()) Changes()->ApplyOption(vx::PaneOption::Orientation, orientation);
    if (mLayout) RefreshControls(true);
}
