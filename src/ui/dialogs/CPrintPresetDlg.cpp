#include "ui/dialogs/CPrintPresetDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/tglbtn.h>

#include "app/TemplateChangeMarks.h"
#include "host/HostService.h"
#include "host/PrintPresetsDialog.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "ui/dialogs/CMediaPresetPage.h"
#include "ui/dialogs/CPaperPresetPage.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/DialogTexts.h"

namespace vx {

namespace preset_controls {

void ApplyCombo(wxChoice& choice, std::vector<int32_t>& data, const OptionControlState& state) {
    if (state.filled) {
        choice.Freeze();
        choice.Clear();
        data.clear();
        for (const ComboItem& item : state.items) {
            choice.Append(Text(item.text));
            data.push_back(item.data);
        }
        choice.SetSelection(state.selection >= 0 && size_t(state.selection) < data.size() ? state.selection
                                                                                          : wxNOT_FOUND);
        choice.Thaw();
    }
    if (state.enabled) choice.Enable(*state.enabled);
}

void ApplyButton(wxWindow& button, const OptionControlState& state) {
    if (state.checked) {
        if (auto* radio = dynamic_cast<wxRadioButton*>(&button)) {
            if (*state.checked) radio->SetValue(true);  // a radio group clears the others itself
        } else if (auto* box = dynamic_cast<wxCheckBox*>(&button)) {
            box->SetValue(*state.checked);
        } else if (auto* toggle = dynamic_cast<wxToggleButton*>(&button)) {
            toggle->SetValue(*state.checked);
        }
    }
    if (state.enabled) button.Enable(*state.enabled);
}

std::optional<int32_t> ChosenValue(const wxChoice& choice, const std::vector<int32_t>& data) {
    const int i = choice.GetSelection();
    if (i < 0 || size_t(i) >= data.size()) return std::nullopt;
    return data[size_t(i)];
}

}  // namespace preset_controls

namespace {
constexpr int kDialog = 294;
constexpr int kPictureSize = 32;
}  // namespace

CPrintPresetDlg::CPrintPresetDlg(wxWindow* parent, CPrinterManager& manager, CLayoutSetting& layout,
                                 TemplateChangeMarks& marks)
    : wxDialog(parent, wxID_ANY, DialogText(kDialog, 0)), mLayout(layout), mMarks(marks) {
    mMarks.Clear();
    PrintPresetsController::Hooks hooks;
    hooks.markRow = [this](int row) { mMarks.Mark(row); };
    hooks.refresh = [this] { RefreshAll(); };
    mController = std::make_unique<PrintPresetsController>(manager, layout, marks, std::move(hooks));

    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticText(this, wxID_ANY, DialogText(kDialog, -1)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    mPrinter = new wxChoice(this, kPrinterCombo, wxDefaultPosition, wxSize(260, -1));
    top->Add(mPrinter, 1, wxALIGN_CENTER_VERTICAL);
    mPicture = new wxStaticBitmap(this, kPrinterPicture, ResourceIcon(346, kPictureSize));
    top->Add(mPicture, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 8);
    outer->Add(top, 0, wxEXPAND | wxALL, 8);

    mTabs = new wxNotebook(this, kTabs);
    mPaperPage = new CPaperPresetPage(mTabs, *mController);
    mMediaPage = new CMediaPresetPage(mTabs, *mController);
    mTabs->AddPage(mPaperPage, Text(LoadString(IDS_PRESETS_PAPER_TAB)), true);
    mTabs->AddPage(mMediaPage, Text(LoadString(IDS_PRESETS_QUALITY_TAB)), false);
    outer->Add(mTabs, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALL, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Abbrechen"), 0, wxALL, 4);
    outer->Add(buttons, 0, wxEXPAND | wxALL, 4);
    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);

    // GTK has no close-up of its own: a choice applies when it is made.
    mPrinter->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) { ApplyPrinterChange(); }));
    mTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, Guarded<wxBookCtrlEvent>([this](wxBookCtrlEvent& e) {
                    if (wxWindow* page = mTabs->GetPage(size_t(e.GetSelection()))) page->SetFocus();
                    e.Skip();
                }));
    Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { End(wxID_OK); }), wxID_OK);
    Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { End(wxID_CANCEL); }), wxID_CANCEL);

    RunGuarded([this] { RefreshControls(); });
    mPrinter->SetFocus();
    CentreOnParent();
}

CPrintPresetDlg::~CPrintPresetDlg() = default;

void CPrintPresetDlg::RefreshControls() {
    mPicture->SetBitmap(PrinterModelPicture(mLayout.Texts().printerModel, kPictureSize));
    const OptionControls controls = mController->Controls(PresetPart::Dialog);
    preset_controls::ApplyCombo(*mPrinter, mPrinterData, controls[OptionControl::Printer]);
    mPaperPage->RefreshControls();
    mMediaPage->RefreshControls();
}

void CPrintPresetDlg::RefreshAll() {
    RefreshControls();
    if (Shell* shell = HostService<Shell>())
        if (PrintSettingsPane* pane = shell->GetActivePrintSettingsPane()) pane->OnUpdate(kHintLayoutChanged);
}

void CPrintPresetDlg::ApplyPrinterChange() {
    const int i = mPrinter->GetSelection();
    if (i < 0) return;
    if (!mController->ApplyPrinter(Utf8(mPrinter->GetString(unsigned(i))))) RefreshControls();
}

void CPrintPresetDlg::End(int code) {
    if (IsModal()) EndModal(code);
    else {
        SetReturnCode(code);
        Hide();
    }
}

namespace {

class WxPrintPresetsDialog final : public PrintPresetsDialog {
public:
    bool Run(CLayoutSetting& layout, TemplateChangeMarks& marks) override {
        CPrinterManager* manager = CPrinterManager::GetInstance();
        if (!manager || manager->GetLayout() != &layout) return false;
        CPrintPresetDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, *manager, layout, marks);
        return dialog.ShowModal() == wxID_OK;
    }
};

}  // namespace

PrintPresetsDialog& PrintPresetsDialogWindow() {
    static WxPrintPresetsDialog dialog;
    return dialog;
}

}  // namespace vx
