#pragma once
#include <string>

#include "document/ArrangementCommands.h"

namespace vx {

class CGPDoc;
class CLayoutSetting;
class CPrinterManager;
class DriverModuleLocator;
class LayoutView;
class PrintSettingsPane;
class QueueSource;

/// Command ids of the two print commands, and the view's print without a dialog.
enum PrintCommandId : int {
    kCmdPrintWithDriverSettings = 32811,
    kCmdFilePrint = 57607,
    kCmdFilePrintDirect = 57608,
};

/// Where the print commands reach printers; null members take the process's printer
/// manager and this machine's queues and driver modules.
struct PrintTargets {
    CPrinterManager* manager = nullptr;
    QueueSource* queues = nullptr;
    DriverModuleLocator* modules = nullptr;
};

/// Print now and print with driver settings for one document. Both reconcile the
/// layout with its printer for the print and put the layout and the printer back
/// afterwards, so that a print never changes what the user laid out.
class PrintCommands {
public:
    explicit PrintCommands(CGPDoc& doc, PrintTargets targets = {}) : mDoc(doc), mTargets(targets) {}

    static bool Handles(int commandId);
    /// 57607 needs a layout; 32811 a layout, its layout view and the bound driver dialog.
    static CommandState State(int commandId, const CLayoutSetting* layout, bool hasView, const BoundDialogs& dialogs);

    /// Runs the command; an unexpected failure goes to FatalError.
    void OnCommand(int commandId);

    /// Prints every page without a dialog. A layout printed at 120 pixels per inch or
    /// less asks first (59452); a direct-print start (the preferences' flag, read and
    /// cleared here) asks only while it can hold the render lock and otherwise prints
    /// nothing. A reconciliation the printer refuses prints nothing and says why.
    void OnFilePrint();
    /// Print now after the printer driver's settings dialog: OK asks 59428 (Yes prints
    /// with the dialog's settings, No ends, Cancel shows the dialog again). The printer
    /// gets its settings from before the dialog back in every case.
    void OnPrintWithDriverSettings();

private:
    CPrinterManager* Manager() const;
    /// The resolution question of both commands; false when the print is to end.
    bool AskResolution(CLayoutSetting& layout, LayoutView& view, bool directPrint);
    /// Saves slot 0 and reconciles the layout for printing; on failure puts slot 0 back
    /// and tells the user why.
    bool Reconcile(CPrinterManager& manager, CLayoutSetting& layout);
    /// Puts slot 0 back after a print; tells the user when the printer could not be.
    void RestoreAfterPrint(CPrinterManager& manager);
    /// After a failure: slot 0 back, 19601 with the printer for one that cannot be
    /// opened, else 19602.
    void RollBack(CPrinterManager& manager, bool unavailable, const std::string& printer);

    CGPDoc& mDoc;
    PrintTargets mTargets;
};

}  // namespace vx
