#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <wx/scrolwin.h>

#include "app/TemplateChangeMarks.h"
#include "dialogs/ProfileLists.h"
#include "host/PrintSettingsPane.h"
#include "printing/OptionControls.h"
#include "printing/PrintPaneSections.h"

class CSectionButton;
class wxBitmapToggleButton;
class wxButton;
class wxChoice;
class wxListCtrl;
class CArrowSpin;
class wxStaticBox;
class wxStaticLine;
class wxStaticText;

namespace vx {
class CPrinterManager;
class PrintSettingsChanges;
class PrintSettingsPaneController;
}

/// The print-settings pane left of the layout view: three sections (print settings,
/// colour management, template settings) that open and close with their triangle
/// buttons, over the layout it is bound to.
class CMainFormView : public wxScrolledWindow, public vx::PrintSettingsPane {
public:
    /// Control ids of the pane.
    enum : int {
        kSection1 = 3781, kSection2 = 3782, kSection3 = 3783,
        kPrinterCombo = 3855, kSourceCombo = 1020, kPaperCombo = 1021, kMediaCombo = 3862,
        kUnitCombo = 3614, kLengthSpin = 3878, kLengthValue = 3905, kLengthGroup = 3876,
        kPortrait = 3784, kLandscape = 3785, kMorePrint = 1039, kProfileCombo = 1221, kMoreColour = 1041,
        kTemplateList = 3791,
    };

    /// manager may be null: the pane then shows the layout without a printer.
    CMainFormView(wxWindow* parent, vx::CPrinterManager* manager);
    ~CMainFormView() override;

    // PrintSettingsPane
    void OnUpdate(int hint) override;
    void FillPrinterControls(bool keepUnit) override;
    void UpdateTemplateSettingsText(const vx::CLayoutSetting& layout) override;
    void SetTemplateChangeMark(vx::TemplateChangeMark mark) override;
    void ResetFormViewInfo() override;
    void Invalidate() override { Refresh(); }
    void LoadDocumentSettings(vx::CLayoutSetting& layout) override;
    void OnBindingSettled() override;
    void UpdateProfileCombo() override;
    void OnMorePrintSettings() override;
    void SelectFirstProfile() override;

    /// Toolbar pictures, printer controls, profile and template texts of the bound layout.
    void RefreshControls(bool keepUnit);
    void FillTemplateSettingsList();
    void ArrangeSections();
    /// Refills the printer-profile list: the recommended profile, the printer default,
    /// then the RGB printer and monitor profiles.
    void FillPrinterProfileCombo();
    /// The output colour-management dialog; on OK the pane shows its result.
    void OnOutputColor();
    const vx::ProfileListModel& ProfileList() const { return mProfiles; }

    vx::CLayoutSetting* Layout() const { return mLayout; }
    vx::TemplateChangeMarks& Marks() { return mMarks; }
    CSectionButton* SectionButton(int index) const { return mSections.at(index); }
    wxWindow* PaneControl(vx::PrintPaneControl control) const { return mControls.at(control); }
    wxListCtrl* TemplateList() const { return mList; }

private:
    void CreateControls();
    wxPoint Dlu(int x, int y) const;
    wxSize DluSize(int w, int h) const;
    void OnSection(wxCommandEvent& event);
    void OnOrientation(wxCommandEvent& event);
    void OnPaperChoice(wxCommandEvent& event);
    void ApplyChoice(vx::OptionControl control, wxChoice* choice);
    void ApplyOrientation(int orientation);
    bool CanChange() const;
    std::unique_ptr<vx::PrintSettingsChanges> Changes();
    void ShowLength();
    void OnProfileChoice(wxCommandEvent& event);
    void UpdateViews(int hint);
    void UpdateToolBarPicture();
    void EnableMoreButtons();

    vx::CPrinterManager* mManager;
    std::unique_ptr<vx::PrintSettingsPaneController> mController;
    vx::CLayoutSetting* mLayout = nullptr;
    vx::TemplateChangeMarks mMarks;
    std::array<wxWindow*, vx::kPaneControlCount> mControls{};
    std::array<vx::PaneRect, vx::kPaneControlCount> mCaptured{};
    std::array<CSectionButton*, 3> mSections{};
    wxChoice* mPrinter = nullptr;
    wxChoice* mSource = nullptr;
    wxChoice* mPaper = nullptr;
    wxChoice* mMedia = nullptr;
    wxChoice* mUnit = nullptr;
    wxChoice* mProfile = nullptr;
    CArrowSpin* mSpin = nullptr;
    wxStaticText* mLength = nullptr;
    wxBitmapToggleButton* mPortrait = nullptr;
    wxBitmapToggleButton* mLandscape = nullptr;
    wxListCtrl* mList = nullptr;
    std::array<std::vector<int32_t>, 4> mChoiceData;  // the option ids behind the four choices
    vx::ProfileListModel mProfiles{true};              // behind the profile choice's items
};
