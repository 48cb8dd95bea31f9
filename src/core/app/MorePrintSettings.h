#pragma once
#include <functional>

namespace vx {

class CLayoutSetting;
class CPrinterManager;
class PrintPresetsDialog;
class TemplateChangeMarks;

/// The print-settings pane's "Mehr..." button: the print-presets dialog on the bound
/// layout, with the layout and printer slot 1 set aside around it.
struct MorePrintSettingsHooks {
    std::function<void(bool keepUnit)> refreshControls;
    std::function<void(int hint)> updateViews;  // of the active document
    std::function<void()> redrawLayout;
    std::function<void()> clearUndo;
};

/// OK keeps what the dialog did: pictures follow a changed ink (rebuilt in colour, else
/// made grey with the printer matching colours), the dialog's marks are added to marks
/// (none cleared) and the undo entry goes. Cancel puts the layout and the printer back
/// and leaves marks alone. True on OK.
bool RunMorePrintSettings(PrintPresetsDialog& dialog, CPrinterManager& manager, CLayoutSetting& layout,
                          TemplateChangeMarks& marks, const MorePrintSettingsHooks& hooks);

}  // namespace vx
