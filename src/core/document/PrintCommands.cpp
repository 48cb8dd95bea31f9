#include "document/PrintCommands.h"

#include "document/OutputCommands.h"

#include <chrono>
#include <optional>
#include <thread>

#include "colourmanagement/ProfileCatalogue.h"
#include "document/CommandHosts.h"
#include "document/LayoutDocument.h"
#include "host/FatalError.h"
#include "host/LayoutView.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutLimits.h"
#include "platform/colour/ColourProfile.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/spool/QueueSource.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "printing/DriverSettingsEditor.h"
#include "view/LayoutViewCommands.h"
#include "view/RenderState.h"

namespace vx {
namespace {

constexpr int kPrintSlot = 0;
constexpr int kDirectPrintLockOwner = 2;
// Pages rendered at this many pixels per inch or fewer print coarser than laid out.
constexpr int32_t kReducedResolution = 120;
constexpr auto kLockRetryDelay = std::chrono::milliseconds(100);
constexpr int16_t kColourBlack = 1, kColourGreyvance = 256;

void ShowError(int id, Args args = {}) { Messages().Show(id, args, Icon::Error, Buttons::Ok); }

// The direct-print window starts a print while a paint may hold the lock: one more
// try a moment later, then the print is given up.
bool TakeDirectPrintLock(RenderState& render) {
    if (render.Acquire(kDirectPrintLockOwner, false)) return true;
    std::this_thread::sleep_for(kLockRetryDelay);
    return render.Acquire(kDirectPrintLockOwner, false);
}

void SendPrintDirect(LayoutView& view) {
    if (LayoutViewCommands* commands = view.Commands()) commands->OnCommand(kCmdFilePrintDirect);
}

}  // namespace

bool PrintCommands::Handles(int commandId) {
    return commandId == kCmdFilePrint || commandId == kCmdPrintWithDriverSettings;
}

CommandState PrintCommands::State(int commandId, const CLayoutSetting* layout, bool hasView,
                                  const BoundDialogs& dialogs) {
    CommandState state;
    switch (commandId) {
    case kCmdFilePrint: state.enabled = layout != nullptr; break;
    case kCmdPrintWithDriverSettings:
        state.enabled = layout && hasView && dialogs.Has(SettingsDialogs::Dialog::DriverSettings);
        break;
    default: state.enabled = false; break;
    }
    return state;
}

void PrintCommands::OnCommand(int commandId) {
    RunGuarded([&] {
        if (commandId == kCmdFilePrint) OnFilePrint();
        else if (commandId == kCmdPrintWithDriverSettings) OnPrintWithDriverSettings();
    });
}

CPrinterManager* PrintCommands::Manager() const {
    return mTargets.manager ? mTargets.manager : CPrinterManager::GetInstance();
}

bool PrintCommands::AskResolution(CLayoutSetting& layout, LayoutView& view, bool directPrint) {
    if (ChooseInputResolution(layout, 0) > kReducedResolution) return true;
    RenderState* locked = nullptr;
    if (directPrint) {
        RenderState& render = InstallRenderState();
        if (!TakeDirectPrintLock(render)) return false;
        locked = &render;
        view.Invalidate();
    }
    const int answer =
        Messages().Show(IDS_PRINT_RESOLUTION_QUESTION, {}, Icon::Question, Buttons::OkCancel);
    // The job takes the lock itself.
    if (locked) locked->Release();
    return answer == kIdOk;
}

void PrintCommands::RollBack(CPrinterManager& manager, bool unavailable, const std::string& printer) {
    manager.RestoreSlot(kPrintSlot, true);
    manager.ReleaseSlotLayout(kPrintSlot);
    if (unavailable) ShowError(IDS_PRINTER_NOT_OPENED, {printer});
    else ShowError(IDS_PRINT_SETTINGS_NOT_APPLIED);
}

bool PrintCommands::Reconcile(CPrinterManager& manager, CLayoutSetting& layout) {
    // The manager reconciles its bound layout: this document's, whatever was bound before.
    if (manager.GetLayout() != &layout) manager.BindLayout(&layout);
    SettingsChangeRecord record;
    if (manager.SaveSlot(kPrintSlot) && manager.SyncLayoutAndDriver(&record, true, 0, true, true)) return true;
    RollBack(manager, manager.LastFailure() == PrinterFailure::Unavailable, manager.LastFailurePrinter());
    return false;
}

void PrintCommands::RestoreAfterPrint(CPrinterManager& manager) {
    const bool restored = manager.RestoreSlot(kPrintSlot, true);
    // The copy shares the printed layout's pictures: kept, their temporary files would
    // outlive the layout (a direct print's dropped file) until the next print.
    manager.ReleaseSlotLayout(kPrintSlot);
    if (!restored) ShowError(IDS_PRINTER_NOT_OPENED, {manager.LastFailurePrinter()});
}

void PrintCommands::OnFilePrint() {
    // The flag belongs to this one start: left set, it would wrongly make a later print
    // from the menu a direct-print one.
    AppPreferences& preferences = command_hosts::Preferences();
    const bool directPrint = preferences.directPrint != 0;
    preferences.directPrint = 0;

    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    LayoutView* view = FindLayoutView(*layout);
    if (view && !AskResolution(*layout, *view, directPrint)) return;
    ApplyMonochromeCheck(*layout);
    if (!view) return;
    CPrinterManager* manager = Manager();
    if (!manager) {
        ShowError(IDS_PRINTER_NOT_OPENED, {layout->Texts().printerName});
        return;
    }
    if (!Reconcile(*manager, *layout)) return;
    SendPrintDirect(*view);
    RestoreAfterPrint(*manager);
}

void PrintCommands::OnPrintWithDriverSettings() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    const std::string printer = layout->Texts().printerName;
    LayoutView* view = FindLayoutView(*layout);
    if (!view) return;  // the command is disabled without one
    if (!AskResolution(*layout, *view, false)) return;
    ApplyMonochromeCheck(*layout);
    CPrinterManager* manager = Manager();
    if (!manager) {
        ShowError(IDS_PRINTER_NOT_OPENED, {printer});
        return;
    }
    if (!Reconcile(*manager, *layout)) return;

    std::string before;
    if (manager->GetDevMode(&before) < 1 || !manager->ClosePrinter()) {
        RollBack(*manager, false, printer);
        return;
    }
    DriverSettingsEditor editor(mTargets.queues ? *mTargets.queues : SystemQueues(),
                                mTargets.modules ? *mTargets.modules : SystemDriverModules());
    if (!editor.Open(printer, before)) {
        RollBack(*manager, true, printer);
        return;
    }
    SettingsDialogs* dialogs = command_hosts::Dialogs();
    bool print = false;
    while (dialogs && dialogs->RunDriverSettings(editor)) {
        const int answer = Messages().Show(IDS_PRINT_NOW_QUESTION, {}, Icon::Question, Buttons::YesNoCancel);
        if (answer == kIdCancel) continue;
        print = answer == kIdYes;
        break;
    }
    if (print) {
        const std::string chosen = editor.Settings();
        if (!chosen.empty() && manager->OpenPrinter(printer, &chosen)) {
            SendPrintDirect(*view);
        } else {
            RollBack(*manager, manager->LastFailure() == PrinterFailure::Unavailable, printer);
            return;
        }
    }
    // Slot 0 holds the printer's settings from before the dialog.
    RestoreAfterPrint(*manager);
}

}  // namespace vx
