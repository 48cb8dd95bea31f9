#include "printing/PrintSettingsPaneController.h"

#include "model/CLayoutSetting.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "printing/LayoutServices.h"
#include "printing/PrinterUnavailable.h"
#include "printing/TemplateMarksPort.h"

namespace vx {
namespace {

constexpr int kBindingSlot = 0;

void ShowError(int id, const Args& args = {}) { Messages().Show(id, args, Icon::Error, Buttons::Ok); }

}  // namespace

PrinterChoice ChoosePrinterForLayout(const std::vector<PrinterEntry>& printers, const std::string& model,
                                     const std::string& name) {
    PrinterChoice choice;
    if (printers.empty()) return choice;
    choice.index = 0;
    if (name.empty()) return choice;
    for (size_t i = 0; i < printers.size(); ++i)
        if (printers[i].model == model && printers[i].printer == name) return {i, false};
    for (size_t i = 0; i < printers.size(); ++i)
        if (printers[i].model == model) return {i, false};
    choice.changed = true;
    return choice;
}

PrintSettingsPaneController::PrintSettingsPaneController(CPrinterManager& manager, TemplateMarksPort& marks,
                                                         Hooks hooks)
    : mManager(manager), mMarks(marks), mHooks(std::move(hooks)) {}

bool PrintSettingsPaneController::LoadDocumentSettings(CLayoutSetting& layout) {
    mLayout = &layout;
    mManager.BindLayout(&layout);
    const PrinterChoice choice =
        ChoosePrinterForLayout(mManager.Printers(), layout.Texts().printerModel, layout.Texts().printerName);
    if (choice.index >= mManager.Printers().size()) return false;  // no supported printer at all
    const std::string chosen = mManager.Printers()[choice.index].printer;

    // A queue that went away is a message, not the end of the program; the layout keeps
    // the printer it names.
    const std::string previousName = layout.Texts().printerName;
    layout.Texts().printerName = chosen;
    bool selected = false;
    try {
        selected = mManager.ClosePrinter() && mManager.SelectPrinter(chosen, -1) == 1;
    } catch (const PrinterUnavailable& e) {
        layout.Texts().printerName = previousName;
        ShowError(IDS_PRINTER_NOT_OPENED, {e.Printer()});
        return false;
    }
    if (!selected) {
        layout.Texts().printerName = previousName;
        ShowError(IDS_PRINTER_NOT_OPENED, {chosen});
        return false;
    }
    if (!mManager.SaveSlot(kBindingSlot)) {
        ShowError(IDS_PRINT_SETTINGS_NOT_APPLIED);
        return false;
    }

    SettingsChangeRecord record;
    bool reconciled = false;
    {
        CLayoutSetting scratch(false);
        scratch.CopyFrom(layout, false, false, false);
        mManager.SetLayout(&scratch);
        reconciled = mManager.SyncLayoutAndDriver(&record, true, 0, false, true);
        mManager.SetLayout(&layout);
    }
    if (reconciled) reconciled = mManager.SyncLayoutAndDriver(&record, true, 0, false, true);
    if (!reconciled) {
        // The reconciliation may have stopped half-way through the real layout.
        mManager.RestoreSlot(kBindingSlot, true);
        ShowError(IDS_PRINT_SETTINGS_NOT_APPLIED);
        return false;
    }

    // A layout made from the program's defaults has no file: the driver fills in its
    // placeholders, which changes nothing a template asked for.
    if (layout.Texts().documentPath.empty()) record.Clear();
    if (choice.changed) record[SettingsChangeRecord::kPrinter] = 1;
    mMarks.MarkChangedSettings(layout, record);
    mManager.GetLayoutServices().Relayout(layout);
    if (mHooks.zoomToFit) mHooks.zoomToFit();
    if (mHooks.refreshControls) mHooks.refreshControls(false);
    if (mHooks.updateViews) mHooks.updateViews(1);
    return true;
}

}  // namespace vx
