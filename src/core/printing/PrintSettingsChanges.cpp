#include "printing/PrintSettingsChanges.h"

#include "model/CLayoutSetting.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "printing/SettingsTransaction.h"
#include "printing/TemplateMarksPort.h"

namespace vx {
namespace {

int32_t Current(const CLayoutSetting& layout, PaneOption option) {
    switch (option) {
    case PaneOption::Orientation: return layout.GetOrientation();
    case PaneOption::PaperSize: return layout.GetPaperSize();
    case PaneOption::PaperSource: return layout.GetDefaultSource();
    case PaneOption::Media: return layout.GetMediaType();
    }
    return 0;
}

}  // namespace

bool ConfirmAutoRearrange(const CLayoutSetting& layout) {
    if (!layout.GetFirstItem() || layout.GetFree() != 0) return true;
    return Messages().Show(IDS_AUTO_REARRANGE, {}, Icon::Warning, Buttons::YesNo) == kIdYes;
}

PrintSettingsChanges::PrintSettingsChanges(CPrinterManager& manager, TemplateMarksPort& marks, Hooks hooks)
    : mManager(manager), mMarks(marks), mHooks(std::move(hooks)) {}

void PrintSettingsChanges::Refresh() {
    if (mHooks.refreshControls) mHooks.refreshControls(true);
    if (mHooks.updateViews) mHooks.updateViews(1);
}

bool PrintSettingsChanges::ApplyOption(PaneOption option, int32_t value) {
    CLayoutSetting* layout = mManager.GetLayout();
    if (!layout) return false;
    // The option lists hold 16-bit ids; media ids are stored sign-extended.
    if (option != PaneOption::Orientation) value = static_cast<int16_t>(value);
    if (Current(*layout, option) == value) return false;

    int row = kRowMedia;
    SettingsChange change;
    switch (option) {
    case PaneOption::Orientation:
        row = kRowOrientation;
        change.write = [value](CLayoutSetting& l) { l.SetOrientation(static_cast<int16_t>(value)); };
        break;
    case PaneOption::PaperSize:
        row = kRowPaperSize;
        change.write = [value](CLayoutSetting& l) { l.SetPaperSize(static_cast<int16_t>(value)); };
        break;
    case PaneOption::PaperSource:
        row = kRowPaperSource;
        change.write = [value](CLayoutSetting& l) { l.SetDefaultSource(static_cast<int16_t>(value)); };
        break;
    case PaneOption::Media: change.write = [value](CLayoutSetting& l) { l.SetMediaType(value); }; break;
    }
    auto write = change.write;
    change.write = [this, write, row](CLayoutSetting& l) {
        write(l);
        if (mHooks.markRow) mHooks.markRow(row);
    };
    const bool bannerBefore = layout->GetBanner() != 0;
    const int orientationBefore = layout->GetOrientation();
    SettingsTransaction::Hooks hooks;
    hooks.confirm = [this, layout, orientationBefore](const SettingsChangeRecord& r) {
        const bool arranged = r[1] || r[2] || r[3] || r[SettingsChangeRecord::kOrientation];
        if (!arranged || !mHooks.confirm || mHooks.confirm(*layout)) return true;
        if (r[SettingsChangeRecord::kOrientation] && mHooks.focusOrientation) mHooks.focusOrientation(orientationBefore);
        return false;
    };
    hooks.refresh = [this] { Refresh(); };
    SettingsChangeRecord record;
    const bool ok = SettingsTransaction(mManager, mMarks, hooks).Run(change, record);
    return Finish(ok, *layout, bannerBefore, option != PaneOption::Media);
}

bool PrintSettingsChanges::ApplyPrinter(const std::string& name) {
    CLayoutSetting* layout = mManager.GetLayout();
    if (!layout || name == layout->Texts().printerName) return false;
    SettingsChange change;
    change.printer = name;
    change.scratchFirst = true;
    change.forceGeometry = true;
    const bool bannerBefore = layout->GetBanner() != 0;
    const int orientationBefore = layout->GetOrientation();
    SettingsTransaction::Hooks hooks;
    hooks.confirm = [this, layout, orientationBefore](const SettingsChangeRecord& r) {
        if (!r[SettingsChangeRecord::kPaperSize] || !mHooks.confirm || mHooks.confirm(*layout)) return true;
        if (r[SettingsChangeRecord::kOrientation] && mHooks.focusOrientation) mHooks.focusOrientation(orientationBefore);
        return false;
    };
    hooks.refresh = [this] { Refresh(); };
    SettingsChangeRecord record;
    const bool ok = SettingsTransaction(mManager, mMarks, hooks).Run(change, record);
    if (ok && mHooks.markRow) mHooks.markRow(kRowPrinter);
    return Finish(ok, *layout, bannerBefore, true);
}

bool PrintSettingsChanges::Spin(int delta) {
    CLayoutSetting* layout = mManager.GetLayout();
    if (!layout) return false;
    SettingsChange change;
    change.forceGeometry = true;
    change.pageDelta = delta > 0 ? 1 : -1;
    change.write = [this](CLayoutSetting&) {
        if (mHooks.markRow) mHooks.markRow(kRowBannerLength);
    };
    SettingsTransaction::Hooks hooks;
    hooks.refresh = [this] { Refresh(); };
    SettingsChangeRecord record;
    const bool ok = SettingsTransaction(mManager, mMarks, hooks).Run(change, record);
    return Finish(ok, *layout, layout->GetBanner() != 0, true);
}

bool PrintSettingsChanges::Finish(bool ok, CLayoutSetting& layout, bool bannerBefore, bool clearUndo) {
    if (!ok) return false;
    if (layout.GetPageNumber() > layout.GetPageMax()) layout.SetPageNumber(layout.GetPageMax());
    if ((layout.GetBanner() != 0) != bannerBefore && mHooks.markRow) mHooks.markRow(kRowBannerLength);
    Refresh();
    if (clearUndo && mHooks.clearUndo) mHooks.clearUndo();
    return true;
}

}  // namespace vx
