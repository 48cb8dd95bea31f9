#pragma once

namespace vx {

class CLayoutSetting;
class TemplateChangeMarks;

/// The print-presets dialog ("Druckvoreinstellungen") as the print-settings pane runs it.
/// Installed as HostService<PrintPresetsDialog> by the window side; without one the pane's
/// button stays disabled.
class PrintPresetsDialog {
public:
    virtual ~PrintPresetsDialog() = default;
    /// Runs the dialog modally on layout, which it changes live through settings
    /// transactions; marks receives the rows it changed. True on OK; on Cancel the caller
    /// restores what it set aside.
    virtual bool Run(CLayoutSetting& layout, TemplateChangeMarks& marks) = 0;
};

}  // namespace vx
