#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "printing/PrinterEntries.h"
#include "printing/SettingsChangeRecord.h"

namespace vx {

class CLayoutSetting;
class CPrinterManager;
class TemplateMarksPort;

/// The printer a layout is shown with: the entry of its model and name, else the first
/// of its model, else the first at all. changed is set when the layout named a printer
/// that none of the entries matches by model. npos without entries.
struct PrinterChoice {
    size_t index = static_cast<size_t>(-1);
    bool changed = false;
};
PrinterChoice ChoosePrinterForLayout(const std::vector<PrinterEntry>& printers, const std::string& model,
                                     const std::string& name);

/// The print-settings pane's binding to a document's layout, without windows: choose
/// and select the printer, reconcile a scratch copy and then the layout with the driver,
/// mark what changed and lay out again.
class PrintSettingsPaneController {
public:
    struct Hooks {
        std::function<void()> zoomToFit;                 // the layout view fits the page
        std::function<void(bool keepUnit)> refreshControls;
        std::function<void(int hint)> updateViews;       // of the active document
    };

    PrintSettingsPaneController(CPrinterManager& manager, TemplateMarksPort& marks, Hooks hooks = {});

    /// True when layout is bound and reconciled. A printer that cannot be opened gives
    /// 19601 and leaves the layout; a failed reconciliation puts the layout and printer
    /// back and gives 19602. The controls are refreshed only on success.
    bool LoadDocumentSettings(CLayoutSetting& layout);

    CLayoutSetting* Layout() const { return mLayout; }
    /// Binds without reconciling (the profile combo's refresh rebinds to the active layout).
    void Rebind(CLayoutSetting* layout) { mLayout = layout; }

private:
    CPrinterManager& mManager;
    TemplateMarksPort& mMarks;
    Hooks mHooks;
    CLayoutSetting* mLayout = nullptr;
};

}  // namespace vx
