#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace vx {

class CLayoutSetting;
class CPrinterManager;
class TemplateMarksPort;

/// The settings the pane's option controls change, with the template-list row each marks.
enum class PaneOption { Orientation, PaperSize, PaperSource, Media };

/// Question 10428 before a layout with items that is laid out automatically is
/// re-arranged; true to go on. Empty and free layouts go on without asking.
bool ConfirmAutoRearrange(const CLayoutSetting& layout);

/// The changes the print-settings pane's controls start, each one settings transaction
/// on the manager's bound layout: the same value does nothing; a refused, declined or
/// unfitting change puts layout, printer, settings and marks back.
class PrintSettingsChanges {
public:
    struct Hooks {
        std::function<void(int row)> markRow;           // set one template-list mark
        std::function<void(bool keepUnit)> refreshControls;
        std::function<void(int hint)> updateViews;      // of the active document
        std::function<void()> clearUndo;
        std::function<void(int orientation)> focusOrientation;  // after a declined re-arrangement
        std::function<bool(const CLayoutSetting&)> confirm = ConfirmAutoRearrange;
    };

    PrintSettingsChanges(CPrinterManager& manager, TemplateMarksPort& marks, Hooks hooks);

    /// True when the change stands; false when nothing changed or it was rolled back.
    bool ApplyOption(PaneOption option, int32_t value);
    bool ApplyPrinter(const std::string& name);
    /// The roll's page count one up (delta > 0) or down.
    bool Spin(int delta);

private:
    bool Finish(bool ok, CLayoutSetting& layout, bool bannerBefore, bool clearUndo);
    void Refresh();

    CPrinterManager& mManager;
    TemplateMarksPort& mMarks;
    Hooks mHooks;
};

}  // namespace vx
