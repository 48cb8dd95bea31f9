#include "ui/dialogs/CPreferencesDlg.h"

#include <filesystem>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CNumEdit.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }
wxString Wx(const char* text) { return wxString::FromUTF8(text); }

constexpr int kMm = 10101, kInch = 10102;
constexpr int kGeneralTab = 33800, kDirectPrintTab = 33801;

wxChoice* UnitList(wxWindow* parent, int id) {
    auto* list = new wxChoice(parent, id);
    list->Append(Wx(LoadString(kMm)));
    list->Append(Wx(LoadString(kInch)));
    return list;
}

wxBitmap ModelIcon(int id) {
    const auto path = DataFolder() / "icons" / (std::to_string(id) + ".png");
    wxImage image;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !image.LoadFile(Wx(path.string()), wxBITMAP_TYPE_PNG))
        return wxBitmap(48, 48);
    if (image.GetWidth() != 48 || image.GetHeight() != 48) image.Rescale(48, 48, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

wxStaticBoxSizer* Group(wxWindow* parent, const char* title) {
    return new wxStaticBoxSizer(wxVERTICAL, parent, Wx(title));
}

}  // namespace

CPreferencesDlg::CPreferencesDlg(wxWindow* parent, AppPreferences& preferences, CLayoutSetting& layout,
                                 bool documentOpen, std::vector<PrinterEntry> printers)
    : wxDialog(parent, wxID_ANY, Wx("Voreinstellungen")),
      mController(preferences, layout, documentOpen, std::move(printers)) {
    mTabs = new wxNotebook(this, kTabs);
    mGeneral = BuildGeneralPage();
    mPrinter = BuildPrinterPage();
    mTabs->AddPage(mGeneral, Wx(LoadString(kGeneralTab)), true);
    mTabs->AddPage(mPrinter, Wx(LoadString(kDirectPrintTab)));

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    buttons->Add(ok);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Abbrechen"), 0, wxLEFT, 6);
    ok->SetDefault();
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(mTabs, 1, wxEXPAND | wxALL, 8);
    column->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(column);
    ok->Bind(wxEVT_BUTTON, &CPreferencesDlg::OnOk, this);
    CentreOnParent();
}

wxPanel* CPreferencesDlg::BuildGeneralPage() {
    auto* page = new wxPanel(mTabs);
    PreferencesController& c = mController;
    mUnit = UnitList(page, kUnit);
    mGrid = new CNumEdit(page, kGrid);
    mGridUnit = UnitList(page, kGridUnit);

    auto* grid = new wxFlexGridSizer(3, 6, 6);
    grid->Add(new wxStaticText(page, wxID_ANY, Wx("Einheit:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mUnit);
    grid->AddSpacer(0);
    grid->Add(new wxStaticText(page, wxID_ANY, Wx("Rasterlinie alle:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mGrid);
    grid->Add(mGridUnit);

    wxStaticBoxSizer* fine = Group(page, "Feinsteuerung der Objektposition:");
    auto* fineRow = new wxBoxSizer(wxHORIZONTAL);
    fineRow->Add(new wxStaticText(fine->GetStaticBox(), wxID_ANY, Wx("Pfeiltasten-Inkrement:")), 0,
                 wxALIGN_CENTER_VERTICAL);
    mArrowStep = new CNumEdit(fine->GetStaticBox(), kArrowStep);
    mArrowStepUnit = UnitList(fine->GetStaticBox(), kArrowStepUnit);
    fineRow->Add(mArrowStep, 0, wxLEFT, 8);
    fineRow->Add(mArrowStepUnit, 0, wxLEFT, 6);
    fine->Add(fineRow, 0, wxALL, 6);

    wxStaticBoxSizer* start = Group(page, "Anwendung starten mit:");
    wxWindow* startBox = start->GetStaticBox();
    wxRadioButton* startButtons[] = {
        new wxRadioButton(startBox, kStartNew, Wx("Neuem Dokument"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP),
        new wxRadioButton(startBox, kStartLast, Wx("Letztem Dokument")),
        new wxRadioButton(startBox, kStartNone, Wx("Keinem Dokument")),
    };
    for (int i = 0; i < 3; ++i) {
        start->Add(startButtons[i], 0, wxALL, 3);
        startButtons[i]->SetValue(c.StartChoice() == i);
        startButtons[i]->Bind(wxEVT_RADIOBUTTON, [this, i](wxCommandEvent&) { mController.SetStartChoice(i); });
    }

    wxStaticBoxSizer* quick = Group(page, "Schnelldruckfunktion im Automatischen Layoutmodus:");
    wxWindow* quickBox = quick->GetStaticBox();
    auto* on = new wxRadioButton(quickBox, kQuickPrintOn, Wx("Aktiviert"), wxDefaultPosition, wxDefaultSize,
                                 wxRB_GROUP);
    mConfirmation = new wxCheckBox(quickBox, kConfirmation, Wx("Bestätigungsdialogfeld anzeigen"));
    auto* off = new wxRadioButton(quickBox, kQuickPrintOff, Wx("Deaktiviert"));
    quick->Add(on, 0, wxALL, 3);
    quick->Add(mConfirmation, 0, wxLEFT | wxBOTTOM, 20);
    quick->Add(off, 0, wxALL, 3);
    on->SetValue(c.QuickPrintChoice() == 0);
    off->SetValue(c.QuickPrintChoice() == 1);
    mConfirmation->SetValue(c.Confirmation());
    mConfirmation->Enable(c.ConfirmationEnabled());
    on->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
        mController.SetQuickPrintChoice(0);
        mConfirmation->Enable(true);
    });
    off->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
        mController.SetQuickPrintChoice(1);
        mConfirmation->Enable(false);
    });
    mConfirmation->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { mController.SetConfirmation(e.IsChecked()); });

    auto* thumbnails = new wxCheckBox(page, kThumbnails, Wx("Miniaturansichten in hoher Qualität"));
    thumbnails->SetValue(c.Thumbnails());
    thumbnails->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { mController.SetThumbnails(e.IsChecked()); });

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(grid, 0, wxALL, 8);
    column->Add(fine, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    column->Add(start, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    column->Add(quick, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    column->Add(thumbnails, 0, wxALL, 8);
    page->SetSizer(column);

    mUnit->SetSelection(c.Unit() == 2 ? 1 : 0);
    ShowLengths();
    mUnit->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        mController.SetUnit(e.GetSelection() == 1 ? 2 : 1);
        ShowLengths();
    });
    mGridUnit->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        mController.SetGridUnit(e.GetSelection() == 1 ? 2 : 1);
        ShowLengths();
    });
    mArrowStepUnit->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        mController.SetArrowStepUnit(e.GetSelection() == 1 ? 2 : 1);
        ShowLengths();
    });
    mGrid->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
        mController.EditGridText(std::string(mGrid->GetValue().utf8_str()));
        e.Skip();
    });
    mArrowStep->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) {
        mController.EditArrowStepText(std::string(mArrowStep->GetValue().utf8_str()));
        e.Skip();
    });
    return page;
}

void CPreferencesDlg::ShowLengths() {
    const struct {
        CNumEdit* edit;
        wxChoice* list;
        int unit;
        const std::string& text;
    } fields[] = {{mGrid, mGridUnit, mController.GridUnit(), mController.GridText()},
                  {mArrowStep, mArrowStepUnit, mController.ArrowStepUnit(), mController.ArrowStepText()}};
    for (const auto& f : fields) {
        const PreferencesController::FieldRange range = PreferencesController::RangeFor(f.unit);
        f.edit->SetParams(0, range.maximum, false, range.formatCode, 9);
        f.list->SetSelection(f.unit == 2 ? 1 : 0);
        const std::string text = f.text;  // SetValue reports the text back to the controller
        if (f.edit->GetValue() != Wx(text)) f.edit->SetValue(Wx(text));
    }
    mUnit->SetSelection(mController.Unit() == 2 ? 1 : 0);
}

wxPanel* CPreferencesDlg::BuildPrinterPage() {
    auto* page = new wxPanel(mTabs);
    wxStaticBoxSizer* printers = Group(page, "Drucker:");
    wxWindow* printerBox = printers->GetStaticBox();
    mPrinterList = new wxListBox(printerBox, kPrinters, wxDefaultPosition, wxSize(220, 140), 0, nullptr,
                                 wxLB_SINGLE | wxLB_SORT | wxLB_ALWAYS_SB);
    for (const PrinterEntry& entry : mController.Printers()) mPrinterList->Append(Wx(entry.printer));
    auto* modelColumn = new wxBoxSizer(wxVERTICAL);
    modelColumn->Add(new wxStaticText(printerBox, wxID_ANY, Wx("Druckermodell")), 0, wxBOTTOM, 8);
    mModelPicture = new wxStaticBitmap(printerBox, kModelPicture, wxBitmap(48, 48));
    mModelPicture->Hide();
    modelColumn->Add(mModelPicture, 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 8);
    mModelText = new wxStaticText(printerBox, kModelText, wxString(), wxDefaultPosition, wxSize(110, -1));
    modelColumn->Add(mModelText);
    auto* printerRow = new wxBoxSizer(wxHORIZONTAL);
    printerRow->Add(mPrinterList, 0, wxALL, 6);
    printerRow->Add(modelColumn, 0, wxALL, 6);
    printers->Add(printerRow);

    mDeleteButton = new wxButton(page, kDelete, Wx("Drucker löschen"));
    mAddButton = new wxButton(page, kAdd, Wx("Drucker hinzufügen"));
    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->Add(mDeleteButton);
    buttonRow->Add(mAddButton, 0, wxLEFT, 8);

    wxStaticBoxSizer* store = Group(page, "Druckerablage:");
    mStoreList = new wxListBox(store->GetStaticBox(), kStore, wxDefaultPosition, wxSize(-1, 90), 0, nullptr,
                               wxLB_SINGLE | wxLB_SORT | wxLB_ALWAYS_SB);
    for (const std::string& name : mController.StoreEntries()) mStoreList->Append(Wx(name));
    store->Add(mStoreList, 1, wxEXPAND | wxALL, 6);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(printers, 0, wxEXPAND | wxALL, 8);
    column->Add(buttonRow, 0, wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT, 8);
    column->Add(store, 1, wxEXPAND | wxALL, 8);
    page->SetSizer(column);

    mAddButton->Disable();
    mDeleteButton->Disable();
    mPrinterList->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) {
        mController.ChoosePrinter(std::string(e.GetString().utf8_str()));
        ShowModel();
        UpdateButtons();
    });
    mStoreList->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) {
        mController.ChooseStoreEntry(std::string(e.GetString().utf8_str()));
        UpdateButtons();
    });
    mAddButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (!mController.Add()) return;
        mStoreList->Append(Wx(mController.ChosenPrinter()));
        UpdateButtons();
        mStoreList->SetFocus();
    });
    mDeleteButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const int at = mStoreList->GetSelection();
        if (at == wxNOT_FOUND || !mController.Delete()) return;
        mStoreList->Delete(unsigned(at));
        UpdateButtons();
    });
    return page;
}

void CPreferencesDlg::ShowModel() {
    mModelText->SetLabel(Wx(mController.ModelText()));
    mShownIcon = mController.ModelIconId();
    if (mShownIcon) {
        mModelPicture->SetBitmap(ModelIcon(mShownIcon));
        mModelPicture->Show();
    } else {
        mModelPicture->Hide();
    }
    mPrinter->Layout();
}

void CPreferencesDlg::UpdateButtons() {
    mAddButton->Enable(mController.CanAdd());
    mDeleteButton->Enable(mController.CanDelete(mStoreList->GetSelection() != wxNOT_FOUND));
}

void CPreferencesDlg::OnOk(wxCommandEvent&) {
    const int failed = mController.Apply();
    if (failed == 0) {
        EndModal(wxID_OK);
        return;
    }
    // The refused field: its page, the focus and its whole text selected.
    mTabs->SetSelection(0);
    CNumEdit* edit = failed == PreferencesController::kGridEdit ? mGrid : mArrowStep;
    edit->SetFocus();
    edit->ShowPosition(0);
    edit->SelectAll();
}

bool WxSettingsDialogs::RunPreferences() {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return false;
    CLayoutSetting* active = app->ActiveLayoutSlot();
    CLayoutSetting& layout = active ? *active : app->DefaultLayoutSetting();
    std::vector<PrinterEntry> printers;
    {
        wxBusyCursor wait;
        printers = PreferencesPrinterList(active != nullptr, app->DefaultLayoutSetting());
    }
    CPreferencesDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, app->Preferences(), layout,
                           active != nullptr, std::move(printers));
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
