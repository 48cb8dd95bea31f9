#pragma once
#include <vector>

#include <wx/dialog.h>

#include "app/PreferencesController.h"

class CNumEdit;
class wxButton;
class wxCheckBox;
class wxChoice;
class wxListBox;
class wxNotebook;
class wxPanel;
class wxRadioButton;
class wxStaticBitmap;
class wxStaticText;

namespace vx {

/// The "Voreinstellungen" dialog: a notebook with the general page ("Allgemeine
/// Einstellungen") and the printer page ("Direktdruck"), bound by control ids to a
/// PreferencesController, which checks and writes on OK.
class CPreferencesDlg : public wxDialog {
public:
    static constexpr int kTabs = 3712;
    // General page.
    static constexpr int kUnit = 3614, kGridUnit = 3615, kArrowStepUnit = 3616;
    static constexpr int kGrid = 1148, kArrowStep = 1149;
    static constexpr int kStartNew = 3874, kStartLast = 3875, kStartNone = 3876;
    static constexpr int kQuickPrintOn = 3877, kQuickPrintOff = 3878;
    static constexpr int kConfirmation = 1081, kThumbnails = 1032;
    // Printer page.
    static constexpr int kPrinters = 3827, kStore = 3877, kModelText = 3908, kModelPicture = 3900;
    static constexpr int kDelete = 3748, kAdd = 3749;

    CPreferencesDlg(wxWindow* parent, AppPreferences& preferences, CLayoutSetting& layout, bool documentOpen,
                    std::vector<PrinterEntry> printers);

    PreferencesController& Controller() { return mController; }
    wxNotebook* Tabs() const { return mTabs; }
    wxPanel* GeneralPage() const { return mGeneral; }
    wxPanel* PrinterPage() const { return mPrinter; }
    /// The icon id the model picture shows (0: none).
    int ShownModelIcon() const { return mShownIcon; }

private:
    wxPanel* BuildGeneralPage();
    wxPanel* BuildPrinterPage();
    void ShowLengths();
    void ShowModel();
    void UpdateButtons();
    void OnOk(wxCommandEvent& event);

    PreferencesController mController;
    wxNotebook* mTabs = nullptr;
    wxPanel* mGeneral = nullptr;
    wxPanel* mPrinter = nullptr;
    wxChoice* mUnit = nullptr;
    wxChoice* mGridUnit = nullptr;
    wxChoice* mArrowStepUnit = nullptr;
    CNumEdit* mGrid = nullptr;
    CNumEdit* mArrowStep = nullptr;
    wxCheckBox* mConfirmation = nullptr;
    wxListBox* mPrinterList = nullptr;
    wxListBox* mStoreList = nullptr;
    wxStaticText* mModelText = nullptr;
    wxStaticBitmap* mModelPicture = nullptr;
    wxButton* mAddButton = nullptr;
    wxButton* mDeleteButton = nullptr;
    int mShownIcon = 0;
};

}  // namespace vx
