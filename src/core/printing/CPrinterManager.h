#pragma once
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/driver/DriverModule.h"
#include "platform/driver/ModelCatalogue.h"
#include "platform/spool/QueueSource.h"
#include "printing/CDriverModule.h"
#include "printing/OptionControls.h"
#include "printing/PrinterEntries.h"
#include "printing/PrinterSettingsSlot.h"
#include "printing/SettingsChangeRecord.h"

namespace vx {

class BusyIndicator;
class CLayoutSetting;
class ImagingServices;
class LayoutServices;
struct PrintModeRecord;

/// Why the last SelectPrinter, OpenPrinter, RestoreSlot or SyncLayoutAndDriver failed.
enum class PrinterFailure { None, Unavailable, Refused };

/// The one object through which the program talks to printers: the supported printers,
/// the one open printer with its option lists, the bound layout, the three settings
/// slots and the reconciliation of the layout with the driver.
///
/// Invariant after every operation: the current-printer name is non-empty exactly when
/// a printer is open through the driver module, and then names that printer.
class CPrinterManager {
public:
    static constexpr size_t kSlotCount = 3;
    /// The option lists: paper sizes (item 30, kind 1), paper sources (40, 2), media
    /// (60, 3), media profiles (60, 10).
    enum class OptionList { PaperSize, PaperSource, Media, MediaProfile };

    /// Lists the supported printers among the queues.
    CPrinterManager(QueueSource& queues, DriverModuleLocator& modules,
                    const ModelCatalogue& models = ModelCatalogue::Shipped());
    /// Closes the open printer.
    ~CPrinterManager();
    CPrinterManager(const CPrinterManager&) = delete;
    CPrinterManager& operator=(const CPrinterManager&) = delete;

    /// The manager over this machine's queues and the shipped models, made on first
    /// use; null when it cannot be made.
    static CPrinterManager* GetInstance();
    static void DestroyInstance();

    /// Services the application binds; null leaves the built-in ones, which do nothing
    /// and know no profile.
    void BindServices(LayoutServices* layouts, ImagingServices* imaging, BusyIndicator* busy);
    LayoutServices& GetLayoutServices() const { return *mLayoutServices; }

    /// Binds a layout (not owned; null for none) and empties the option lists.
    void BindLayout(CLayoutSetting* layout);
    /// Binds a layout and keeps the option lists.
    void SetLayout(CLayoutSetting* layout);
    CLayoutSetting* GetLayout() const { return mLayout; }

    /// Rebuilds the printer list from nothing, sorted by name byte by byte; 1 when a
    /// supported printer was found. Each queue is probed through a binding of its own,
    /// so the open printer stays open.
    int EnumSupportedPrinters();
    void ClearPrinterList() { mPrinters.clear(); }
    const std::vector<PrinterEntry>& Printers() const { return mPrinters; }
    /// The model stored for that printer name (exact match), or empty.
    std::string GetPrinterModelName(std::string_view printer) const;

    /// Makes the printer current: opens it unless it is current already, then applies
    /// the source (or, for a value whose low 16 bits are 0xFFFF, the bound layout's)
    /// and rebuilds the lists. 1; 0 when the open printer refuses to close (it stays
    /// open and current). Throws PrinterUnavailable when the printer cannot be opened
    /// or made the application's printer; no printer is open then.
    int SelectPrinter(std::string_view name, int32_t source);
    /// Reopens the driver from a settings record (null: fresh defaults) and rebuilds the
    /// paper-size, media and media-profile lists. 1; 0 when the open printer refuses to
    /// close or this one cannot be opened (no printer is open then).
    int OpenPrinter(std::string_view name, const std::string* settings);
    /// 1 when no printer is open afterwards; 0 when the driver refuses to close.
    int ClosePrinter();
    /// Rebuilds the source list, sets the source (see SelectPrinter) and its roll
    /// options, rebuilds the other lists; busy meanwhile. Always 1.
    int ApplyDefaultSource(std::string_view name, int32_t source);
    /// A device for the current printer and settings, owned by the caller; null on
    /// failure.
    std::unique_ptr<PrintDevice> CreatePrinterDC();
    /// The settings record's size (below 1: none); fills buffer when given.
    int GetDevMode(std::string* buffer);
    /// The printer's margins of the current paper in 1/360 inch: 1, or 0 when the
    /// driver fails. The paper id is not read.
    int GetPrintableArea(int32_t paperId, LayoutRect& margins);

    /// Fills the present controls with the current printer's options and states; 0
    /// when a driver query that a present group needs fails (the groups after it are
    /// left alone).
    int FillOptionCombos(OptionControls& controls);

    const std::string& CurrentPrinter() const { return mCurrentPrinter; }
    bool IsDriverOpen() const { return mModule.Handle() != 0; }
    /// The printer the driver module holds open; empty when none.
    const std::string& DriverPrinterName() const { return mModule.PrinterName(); }
    const std::vector<OptionEntry>& List(OptionList list) const { return mLists[static_cast<size_t>(list)]; }

    /// Copies the bound layout (deeply, items with their ids and image data), the
    /// settings record and the printer name into a slot. False, with the slot emptied,
    /// when a printer is open but its settings record cannot be read.
    bool SaveSlot(int slot);
    /// With restoreLayout, copies the slot's layout back into the bound layout the way
    /// undo does, but only into the layout it was taken from; then puts the printer
    /// back: reopened from the slot's settings record, or (without one) selected or
    /// closed so that the open printer is the slot's. True when all of it was done;
    /// false when the layout is another one (nothing copied) or the printer cannot be
    /// reopened (then none is open), or the slot was never saved (nothing done).
    /// The layout's local view and output values (unit, monitor and printer profiles,
    /// `mColorProfDisplay`, `mColorMatchPrinter`, `mRecommend`, the margin-shown flags)
    /// are not rolled back: whoever changes them puts them back.
    bool RestoreSlot(int slot, bool restoreLayout);
    /// Lets the slot's layout copy go, with the pictures it shares, once the slot has
    /// been put back for good; a later RestoreSlot then copies no layout.
    void ReleaseSlotLayout(int slot);
    /// Brings the bound layout and the open printer into agreement, property by
    /// property, and records in `record` what had to change. forceGeometry recomputes
    /// the page geometry even when printer, source, paper, printable area and
    /// orientation stayed; pageDelta changes a roll layout's page count; printing adds
    /// the colour handling of a print; complete goes on past the quality. False on the
    /// first driver failure: the layout may be partly updated and the printer is in
    /// another state, so the caller restores slot 0, and a print must not start.
    bool SyncLayoutAndDriver(SettingsChangeRecord* record, bool forceGeometry, int pageDelta, bool printing,
                             bool complete);
    /// Makes a listed queue the application's printer: 1, else 0.
    int SetApplicationPrinter(std::string_view name);
    const std::string& ApplicationPrinter() const { return mApplicationPrinter; }

    /// The application's printer when set, else the default queue; false when none.
    bool DefaultPrinterName(std::string& name);
    /// The paper of the default printer's model nearest to width x height (1/360 inch;
    /// exchanged papers with swap; mode 1 compares only the width, or with swap only
    /// the height): its id and size (0.1 mm), 256 with the asked size when only a
    /// user-defined paper takes it, 0 and zero sizes when none fits or the default
    /// printer is not supported.
    int32_t FindNearestPaperSize(int32_t width, int32_t height, bool swap, int mode, int32_t& paperWidth,
                                 int32_t& paperHeight);

    PrinterFailure LastFailure() const { return mFailure; }
    /// The printer the last failure concerns.
    const std::string& LastFailurePrinter() const { return mFailurePrinter; }

private:
    std::vector<OptionEntry>& ListRef(OptionList list) { return mLists[static_cast<size_t>(list)]; }
    void RebuildList(OptionList list);
    void ClearLists();
    /// Closes the open printer and opens another: 0, or the failure.
    PrinterFailure OpenPrinterDriver(int mode, const std::string* settings, std::string_view name);
    bool Fail(PrinterFailure failure, std::string_view printer = {});
    bool RestorePrinter(const PrinterSettingsSlot& slot);

    // Reconciliation steps (CPrinterManagerSync.cpp); false ends it.
    bool SyncPrinter(CLayoutSetting& layout, SettingsChangeRecord& record);
    bool SyncSource(CLayoutSetting& layout, SettingsChangeRecord& record);
    bool SyncPaperSize(CLayoutSetting& layout, SettingsChangeRecord& record);
    bool SyncOrientation(CLayoutSetting& layout, SettingsChangeRecord& record);
    bool SyncMedia(CLayoutSetting& layout, SettingsChangeRecord& record);
    bool SyncLayoutFlags(CLayoutSetting& layout, SettingsChangeRecord& record);
    bool SyncGeometry(CLayoutSetting& layout, SettingsChangeRecord& record, int pageDelta, double targetMm);
    bool SyncModes(CLayoutSetting& layout, SettingsChangeRecord& record, bool printing, bool complete);
    /// Puts an option of the layout into the driver: id stays when the list has it,
    /// else becomes the list's first; `changed` is set when it was replaced or differs
    /// from the driver's; `set` writes it, and after a refusal, with retryFirst, the
    /// list's first. False on a driver failure or an empty list.
    bool ApplyOption(OptionList list, int32_t& id, int32_t driverId, uint8_t& changed,
                     const std::function<int(int32_t)>& set, bool retryFirst);
    /// The name of id in a list; empty when the list lacks it.
    std::string NameIn(OptionList list, int32_t id) const;

    // Option controls (CPrinterManagerOptions.cpp).
    void FillCombo(OptionControlState& combo, OptionList list, int32_t current) const;
    /// The print modes offered for the current medium and ink; -1 when a probe could
    /// not put the printer back.
    int CountPrintModes(const PrintModeRecord& mode);

    QueueSource& mQueues;
    DriverModuleLocator& mModules;
    const ModelCatalogue& mModels;
    CDriverModule mModule;
    CLayoutSetting* mLayout = nullptr;
    std::string mCurrentPrinter;
    std::string mApplicationPrinter;
    std::vector<PrinterEntry> mPrinters;
    std::array<std::vector<OptionEntry>, 4> mLists;
    std::array<PrinterSettingsSlot, kSlotCount> mSlots;
    LayoutServices* mLayoutServices;
    ImagingServices* mImaging;
    BusyIndicator* mBusy = nullptr;
    PrinterFailure mFailure = PrinterFailure::None;
    std::string mFailurePrinter;
};

}  // namespace vx
