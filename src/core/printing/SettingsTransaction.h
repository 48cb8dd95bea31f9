#pragma once
#include <functional>
#include <optional>
#include <string>

#include "printing/SettingsChangeRecord.h"

namespace vx {

class CLayoutSetting;
class CPrinterManager;
class TemplateMarksPort;

/// A change of a print setting and how it is reconciled.
struct SettingsChange {
    /// Writes the new value into the layout.
    std::function<void(CLayoutSetting&)> write;
    /// A printer change instead: the name goes into the layout, the open printer is
    /// closed and this one selected.
    std::optional<std::string> printer;
    /// Reconcile a scratch copy (settings only) first, for changes that may move the
    /// page geometry.
    bool scratchFirst = false;
    bool forceGeometry = false;
    int pageDelta = 0;
};

/// The bracket around every change of a print setting of the manager's bound layout:
/// keep slot 0 and the template-change marks, write the change, reconcile layout and
/// printer, let the caller confirm, mark what changed and lay the layout out again.
/// Whatever fails or is declined puts layout, printer, printer settings and marks back
/// as they were. Clearing the undo entry after success is the caller's.
class SettingsTransaction {
public:
    struct Hooks {
        /// After a successful reconciliation, with what it changed: false rolls the
        /// change back without a message.
        std::function<bool(const SettingsChangeRecord&)> confirm;
        /// After a roll-back: refresh the controls and views.
        std::function<void()> refresh;
    };

    SettingsTransaction(CPrinterManager& manager, TemplateMarksPort& marks, Hooks hooks = {});

    /// True when the change stands. False when it was rolled back, after telling the
    /// user why: 19601 for a printer that cannot be opened, 19602 for a printer that
    /// refused the settings, 15168 or 59450 for a layout that no longer fits (nothing
    /// when the confirm hook declined).
    bool Run(const SettingsChange& change, SettingsChangeRecord& record);

private:
    bool Reconcile(const SettingsChange& change, CLayoutSetting& layout, SettingsChangeRecord& record);
    /// Slot 0 with its layout, the stored marks, the refresh; then why, unless silent.
    void RollBack(bool tellWhy);

    CPrinterManager& mManager;
    TemplateMarksPort& mMarks;
    Hooks mHooks;
};

}  // namespace vx
