#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "printing/OptionControls.h"
#include "printing/PrintSettingsChanges.h"
#include "printing/SettingsTransaction.h"

namespace vx {

class CLayoutSetting;
class CPrinterManager;
class TemplateMarksPort;

/// The parts of the print-presets dialog whose controls a refresh fills.
enum class PresetPart { Dialog, PaperPage, MediaPage };

/// The changes of the print-presets dialog ("Druckvoreinstellungen") and its paper and
/// print-quality pages. Each change is one settings transaction on the layout that the
/// printer manager holds: a refused, declined or unfitting change puts layout, printer,
/// printer settings and marks back. The dialog's marks are set by the change itself,
/// so that a roll-back takes them back too.
class PrintPresetsController {
public:
    struct Hooks {
        /// Sets one row of the dialog's template-change marks.
        std::function<void(int row)> markRow;
        /// Refreshes the dialog, its pages and the print-settings pane.
        std::function<void()> refresh;
        /// Question 10428 before an automatic layout with items is re-arranged.
        std::function<bool(const CLayoutSetting&)> confirm = ConfirmAutoRearrange;
    };

    PrintPresetsController(CPrinterManager& manager, CLayoutSetting& layout, TemplateMarksPort& marks, Hooks hooks);

    CLayoutSetting& Layout() const { return mLayout; }

    /// The states of the controls of one part, from the current printer.
    OptionControls Controls(PresetPart part) const;

    // Each returns true when the change stands; false when there was nothing to change
    // or it was rolled back.
    bool ApplyPrinter(const std::string& name);
    bool ApplySource(int32_t id);
    bool ApplyPaperSize(int32_t id);
    bool ApplyOrientation(int orientation);
    /// 0 standard, 1 maximum.
    bool ApplyPrintableArea(int area);
    bool ApplyCentred(bool centred);
    /// The roll's page count one up (delta > 0) or one down.
    bool SpinRoll(int delta);
    bool ApplyMedia(int32_t id);
    /// `mColor`: 2 colour, 1 black, 256 black-and-white photo; applied even when equal.
    bool ApplyInk(int32_t colour);
    /// `mAutoMode`: 15 "Ultrafine" (applied even when equal), 1 quality, 2 fast.
    bool ApplyMode(int16_t mode);
    /// Written into the layout only; the driver gets them at the next reconciliation.
    void SetHighSpeed(bool on);
    void SetPreProcessing(bool on);

private:
    enum class Question { None, PaperSize, Arrangement };
    bool Run(std::function<void(CLayoutSetting&)> write, int row, Question question, bool paperPage);
    bool RunChange(const SettingsChange& change, Question question);
    bool Finish(bool paperPage);

    CPrinterManager& mManager;
    CLayoutSetting& mLayout;
    TemplateMarksPort& mMarks;
    Hooks mHooks;
};

}  // namespace vx
