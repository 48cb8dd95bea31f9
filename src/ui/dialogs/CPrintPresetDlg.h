#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/notebook.h>
#include <wx/statbmp.h>

#include "printing/OptionControls.h"
#include "printing/PrintPresetsController.h"

namespace vx {

class CLayoutSetting;
class CMediaPresetPage;
class CPaperPresetPage;
class CPrinterManager;
class PrintPresetsDialog;
class TemplateChangeMarks;

/// How the preset pages show the states FillOptionCombos gives.
namespace preset_controls {
/// Refills a choice when the state was filled; data receives the items' values.
void ApplyCombo(wxChoice& choice, std::vector<int32_t>& data, const OptionControlState& state);
/// Check state and enabling of a radio button, check box or toggle button.
void ApplyButton(wxWindow& button, const OptionControlState& state);
/// The value of the chosen item; nullopt without one.
std::optional<int32_t> ChosenValue(const wxChoice& choice, const std::vector<int32_t>& data);
}  // namespace preset_controls

/// "Druckvoreinstellungen": the printer of the layout the printer manager holds and,
/// on two tabs, its paper and print quality. Every change applies at once; the opener
/// keeps what Cancel puts back.
class CPrintPresetDlg : public wxDialog {
public:
    enum : int { kPrinterCombo = 3855, kPrinterPicture = 3856, kTabs = 3712 };

    /// marks: the dialog's own template-change marks, cleared here; they receive the
    /// rows that the dialog's changes marked.
    CPrintPresetDlg(wxWindow* parent, CPrinterManager& manager, CLayoutSetting& layout, TemplateChangeMarks& marks);
    ~CPrintPresetDlg() override;

    PrintPresetsController& Controller() { return *mController; }
    CLayoutSetting& EditedLayout() { return mLayout; }
    wxChoice* PrinterCombo() const { return mPrinter; }
    wxNotebook* Tabs() const { return mTabs; }
    CPaperPresetPage* PaperPage() const { return mPaperPage; }
    CMediaPresetPage* MediaPage() const { return mMediaPage; }

    /// The printer picture, the printer list and both pages from the layout and printer.
    void RefreshControls();
    /// The printer chosen in the list becomes the layout's.
    void ApplyPrinterChange();
    /// Ends with OK or Cancel as the buttons do (hidden when shown modeless).
    void End(int code);

private:
    /// This dialog, its pages and the print-settings pane of the active document.
    void RefreshAll();

    CLayoutSetting& mLayout;
    TemplateChangeMarks& mMarks;
    std::unique_ptr<PrintPresetsController> mController;
    wxChoice* mPrinter = nullptr;
    wxStaticBitmap* mPicture = nullptr;
    wxNotebook* mTabs = nullptr;
    CPaperPresetPage* mPaperPage = nullptr;
    CMediaPresetPage* mMediaPage = nullptr;
    std::vector<int32_t> mPrinterData;
};

/// The presets dialog as the print-settings pane runs it, over the program's printer
/// manager; installed by the application.
PrintPresetsDialog& PrintPresetsDialogWindow();

}  // namespace vx
