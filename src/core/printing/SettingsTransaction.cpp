#include "printing/SettingsTransaction.h"

#include <stdexcept>

#include "model/CLayoutSetting.h"
#include "model/LayoutLimits.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "printing/LayoutServices.h"
#include "printing/PrinterUnavailable.h"
#include "printing/TemplateMarksPort.h"

namespace vx {
namespace {

constexpr int kChangeSlot = 0;
constexpr int32_t kLowestSheetResolution = 90;  // pixels per inch; fewer means too many pages

void ShowError(int id, const Args& args = {}) { Messages().Show(id, args, Icon::Error, Buttons::Ok); }

// Binds the scratch copy for its lifetime, then the real layout again, on every path.
class ScratchBinding {
public:
    ScratchBinding(CPrinterManager& manager, CLayoutSetting& scratch, CLayoutSetting& real)
        : mManager(manager), mReal(real) {
        mManager.SetLayout(&scratch);
    }
    ~ScratchBinding() { mManager.SetLayout(&mReal); }
    ScratchBinding(const ScratchBinding&) = delete;
    ScratchBinding& operator=(const ScratchBinding&) = delete;

private:
    CPrinterManager& mManager;
    CLayoutSetting& mReal;
};

}  // namespace

SettingsTransaction::SettingsTransaction(CPrinterManager& manager, TemplateMarksPort& marks, Hooks hooks)
    : mManager(manager), mMarks(marks), mHooks(std::move(hooks)) {}

bool SettingsTransaction::Run(const SettingsChange& change, SettingsChangeRecord& record) {
    record.Clear();
    CLayoutSetting* layout = mManager.GetLayout();
    if (!layout) throw std::logic_error("a settings change needs a bound layout");
    if (!mManager.SaveSlot(kChangeSlot)) {
        ShowError(IDS_PRINT_SETTINGS_NOT_APPLIED);  // nothing was changed yet
        return false;
    }
    mMarks.StoreMarks();
    if (!Reconcile(change, *layout, record)) {
        RollBack(true);
        return false;
    }
    if (mHooks.confirm && !mHooks.confirm(record)) {
        RollBack(false);
        return false;
    }
    mMarks.MarkChangedSettings(*layout, record);

    LayoutServices& services = mManager.GetLayoutServices();
    std::unique_ptr<LayoutSnapshot> snapshot = services.SnapshotLayout(*layout);
    if (!snapshot) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        RollBack(false);
        return false;
    }
    int refusal = 0;
    if (services.Relayout(*layout) == 0)
        refusal = IDS_PAPER_LENGTH_LIMIT;
    else if (!layout->GetBanner() && ChooseInputResolution(*layout, 0) <= kLowestSheetResolution)
        refusal = IDS_PAGE_COUNT_LIMIT;
    if (refusal) {
        ShowError(refusal);
        services.RestoreLayoutSnapshot(*layout, *snapshot);
        snapshot.reset();
        RollBack(false);
        return false;
    }
    return true;
}

bool SettingsTransaction::Reconcile(const SettingsChange& change, CLayoutSetting& layout,
                                    SettingsChangeRecord& record) {
    if (change.printer) {
        layout.Texts().printerName = *change.printer;
        if (!mManager.ClosePrinter()) return false;
        try {
            if (mManager.SelectPrinter(*change.printer, -1) != 1) return false;
        } catch (const PrinterUnavailable&) {
            return false;  // the manager's failure names the printer
        }
    } else if (change.write) {
        change.write(layout);
    }
    if (change.scratchFirst) {
        CLayoutSetting scratch(false);
        scratch.CopyFrom(layout, false, false, false);
        ScratchBinding binding(mManager, scratch, layout);
        if (!mManager.SyncLayoutAndDriver(&record, change.forceGeometry, change.pageDelta, false, true)) return false;
    }
    return mManager.SyncLayoutAndDriver(&record, change.forceGeometry, change.pageDelta, false, true);
}

void SettingsTransaction::RollBack(bool tellWhy) {
    const bool unavailable = mManager.LastFailure() == PrinterFailure::Unavailable;
    const std::string failedPrinter = mManager.LastFailurePrinter();
    if (tellWhy) {
        if (unavailable) ShowError(IDS_PRINTER_NOT_OPENED, {failedPrinter});
        else ShowError(IDS_PRINT_SETTINGS_NOT_APPLIED);
    }
    const bool restored = mManager.RestoreSlot(kChangeSlot, true);
    mMarks.LoadMarks();
    if (mHooks.refresh) mHooks.refresh();
    // The previous printer itself may have gone meanwhile.
    if (!restored && mManager.LastFailure() == PrinterFailure::Unavailable &&
        !(tellWhy && unavailable && mManager.LastFailurePrinter() == failedPrinter))
        ShowError(IDS_PRINTER_NOT_OPENED, {mManager.LastFailurePrinter()});
}

}  // namespace vx
