#pragma once

namespace vx {

class CLayoutSetting;

/// Hint of a view update after a relayout: the pane re-reads page count and settings.
inline constexpr int kHintLayoutChanged = 1;

/// The template-change marks of the pane, which the document sets and the pane reads.
enum class TemplateChangeMark { LayoutMode, PresetImageSize, PresetSizeOption, AutoRotate };

/// The print-settings pane beside the layout view of a document, as core code uses it.
/// The window side implements it; the shell hands out the active document's pane.
class PrintSettingsPane {
public:
    virtual ~PrintSettingsPane() = default;

    /// A view update of the pane's document; with kHintLayoutChanged the pane re-reads
    /// the layout's page count and settings.
    virtual void OnUpdate(int hint) = 0;
    /// Refills the printer, paper source, paper size and media controls; keepUnit keeps
    /// the chosen length unit.
    virtual void FillPrinterControls(bool keepUnit) = 0;
    /// Rebuilds the value texts of the template-settings rows from layout.
    virtual void UpdateTemplateSettingsText(const CLayoutSetting& layout) = 0;
    virtual void SetTemplateChangeMark(TemplateChangeMark mark) = 0;
    /// Clears the marks and the cached template information and refills the list.
    virtual void ResetFormViewInfo() = 0;
    /// Repaints the whole pane.
    virtual void Invalidate() = 0;
    /// Binds the pane to a document's layout and reconciles it with its printer.
    virtual void LoadDocumentSettings(CLayoutSetting& layout) = 0;
    /// After binding: the refilled list does not make the bound layout modified.
    virtual void OnBindingSettled() = 0;
    /// Re-reads the recommended profile and selects the layout's printer profile.
    virtual void UpdateProfileCombo() = 0;
    /// The print-settings dialog ("Mehr...") of the bound layout.
    virtual void OnMorePrintSettings() = 0;
    /// Selects the recommended profile (entry 0) and refreshes, for the monochrome check.
    virtual void SelectFirstProfile() = 0;
};

/// Repaints the print-settings pane of the active document; nothing without one.
void InvalidateMainFormView();

}  // namespace vx
