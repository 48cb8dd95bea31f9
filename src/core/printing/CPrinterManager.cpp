#include "printing/CPrinterManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "model/CLayoutSetting.h"
#include "model/LayoutCopyBack.h"
#include "model/LengthUnits.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/system/Numbers.h"
#include "platform/system/Paths.h"
#include "printing/BusyIndicator.h"
#include "printing/DriverItemAccess.h"
#include "printing/ImagingServices.h"
#include "printing/LayoutServices.h"
#include "printing/PrinterUnavailable.h"

namespace vx {
namespace {

constexpr int32_t kUserDefinedPaper = 256;

// What a list asks the driver: the item whose range gives the ids, and the kind of
// their names.
struct ListSource {
    DriverItem item;
    NameKind kind;
};
constexpr ListSource kListSources[] = {
    {DriverItem::PaperOld, kNamePaper},
    {DriverItem::Source, kNameSource},
    {DriverItem::Media, kNameMedium},
    {DriverItem::Media, kNameProfilePath},
};

// Services that do nothing, for a manager nobody bound them to.
struct NoLayoutServices : LayoutServices {
    std::unique_ptr<LayoutSnapshot> SnapshotLayout(CLayoutSetting&) override {
        return std::make_unique<LayoutSnapshot>();
    }
    void RestoreLayoutSnapshot(CLayoutSetting&, LayoutSnapshot&) override {}
    int Relayout(CLayoutSetting&) override { return 1; }
    void RebuildWorkingBitmaps(CLayoutSetting&) override {}
};
struct NoImagingServices : ImagingServices {
    void ReloadStampPicture(CLayoutSetting&) override {}
    bool ProfileFileExists(const std::string&) override { return false; }
    bool IsPlainProfile(const std::string&) override { return false; }
};
NoLayoutServices gNoLayoutServices;
NoImagingServices gNoImagingServices;

// 0.1 mm to 1/360 inch, rounded as a length typed in mm is.
int64_t TenthsToUnitsRounded(int32_t tenths) { return static_cast<int64_t>(tenths * 0.1 * kUnitsPerMm + 0.5); }

// 1/360 inch to 0.1 mm through the length text in mm, as the user would see it.
int32_t UnitsToTenths(int32_t units) {
    return static_cast<int32_t>(std::lround(AtoF(FormatLengthInUnit(units, 1, 360)) * 10));
}

std::unique_ptr<CPrinterManager>& Instance() {
    static std::unique_ptr<CPrinterManager> instance;
    return instance;
}

}  // namespace

CPrinterManager::CPrinterManager(QueueSource& queues, DriverModuleLocator& modules, const ModelCatalogue& models)
    : mQueues(queues), mModules(modules), mModels(models), mModule(queues, modules),
      mLayoutServices(&gNoLayoutServices), mImaging(&gNoImagingServices) {
    EnumSupportedPrinters();
}

CPrinterManager::~CPrinterManager() { ClosePrinter(); }

CPrinterManager* CPrinterManager::GetInstance() {
    std::unique_ptr<CPrinterManager>& instance = Instance();
    if (!instance) {
        try {
            instance = std::make_unique<CPrinterManager>(SystemQueues(), SystemDriverModules());
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    return instance.get();
}

void CPrinterManager::DestroyInstance() { Instance().reset(); }

void CPrinterManager::BindServices(LayoutServices* layouts, ImagingServices* imaging, BusyIndicator* busy) {
    mLayoutServices = layouts ? layouts : &gNoLayoutServices;
    mImaging = imaging ? imaging : &gNoImagingServices;
    mBusy = busy;
}

void CPrinterManager::BindLayout(CLayoutSetting* layout) {
    ClearLists();
    mLayout = layout;
}

void CPrinterManager::SetLayout(CLayoutSetting* layout) { mLayout = layout; }

void CPrinterManager::ClearLists() {
    for (std::vector<OptionEntry>& list : mLists) list.clear();
}

bool CPrinterManager::Fail(PrinterFailure failure, std::string_view printer) {
    mFailure = failure;
    mFailurePrinter = std::string(printer.empty() ? std::string_view(mCurrentPrinter) : printer);
    return false;
}

int CPrinterManager::EnumSupportedPrinters() {
    mPrinters.clear();
    CDriverModule probe(mQueues, mModules);
    for (const PrintQueue& queue : mQueues.ListQueues()) {
        if (probe.OpenDriver(0, nullptr, queue.name) != 0) continue;
        DriverInfoRecord info{};
        if (probe.GetDriverInfo(&info) >= 1 && info.family == kSupportedPrinterFamily)
            mPrinters.push_back({queue.name, info.model});
        probe.CloseDriver();
    }
    // std::string compares bytes as unsigned characters: "B" before "a" before "b".
    std::stable_sort(mPrinters.begin(), mPrinters.end(),
                     [](const PrinterEntry& a, const PrinterEntry& b) { return a.printer < b.printer; });
    return mPrinters.empty() ? 0 : 1;
}

std::string CPrinterManager::GetPrinterModelName(std::string_view printer) const {
    for (const PrinterEntry& e : mPrinters)
        if (e.printer == printer) return e.model;
    return {};
}

void CPrinterManager::RebuildList(OptionList list) {
    std::vector<OptionEntry>& out = ListRef(list);
    out.clear();
    const ListSource& source = kListSources[static_cast<size_t>(list)];
    DriverValue range;
    if (mModule.GetRange(source.item, range) != 0) return;
    for (int32_t raw : range.words) {
        const int32_t id = Id16(raw);
        if (list == OptionList::PaperSize && id == kUserDefinedPaper) continue;
        DriverValue name;
        if (mModule.GetData(DriverItem::Names, {source.kind, id}, name) != 0) {
            if (list == OptionList::MediaProfile) continue;
            return;
        }
        if (list == OptionList::MediaProfile) name.text = PathText(PathFromStored(name.text).filename());
        out.push_back({id, std::move(name.text)});
    }
}

PrinterFailure CPrinterManager::OpenPrinterDriver(int mode, const std::string* settings, std::string_view name) {
    const std::string copy(name);  // the name may be the current one, which closing empties
    if (!ClosePrinter()) return PrinterFailure::Refused;
    const int result = mModule.OpenDriver(mode, settings, copy);
    if (result == 0) return PrinterFailure::None;
    return result == -1 ? PrinterFailure::Unavailable : PrinterFailure::Refused;
}

int CPrinterManager::SelectPrinter(std::string_view name, int32_t source) {
    mFailure = PrinterFailure::None;
    if (name != mCurrentPrinter) {
        const std::string copy(name);
        switch (OpenPrinterDriver(0, nullptr, copy)) {
        case PrinterFailure::None: break;
        case PrinterFailure::Refused:
            if (IsDriverOpen()) {  // the open printer would not close and stays current
                Fail(PrinterFailure::Refused);
                return 0;
            }
            [[fallthrough]];
        case PrinterFailure::Unavailable:
            mCurrentPrinter.clear();
            Fail(PrinterFailure::Unavailable, copy);
            throw PrinterUnavailable(copy);
        }
        if (SetApplicationPrinter(copy) != 1) {
            mModule.Unload();
            mCurrentPrinter.clear();
            Fail(PrinterFailure::Unavailable, copy);
            throw PrinterUnavailable(copy);
        }
        mCurrentPrinter = copy;
    }
    ApplyDefaultSource(name, source);
    return 1;
}

int CPrinterManager::OpenPrinter(std::string_view name, const std::string* settings) {
    mFailure = PrinterFailure::None;
    const std::string copy(name);
    const PrinterFailure failure = OpenPrinterDriver(settings ? 2 : 0, settings, copy);
    if (failure != PrinterFailure::None) {
        if (!IsDriverOpen()) mCurrentPrinter.clear();
        Fail(failure, copy);
        return 0;
    }
    mCurrentPrinter = copy;
    RebuildList(OptionList::PaperSize);
    RebuildList(OptionList::Media);
    RebuildList(OptionList::MediaProfile);
    return 1;
}

int CPrinterManager::ClosePrinter() {
    if (!IsDriverOpen()) {
        mModule.Unload();
        mCurrentPrinter.clear();
        return 1;
    }
    if (mModule.CloseDriver() == 0) {
        Fail(PrinterFailure::Refused);
        return 0;
    }
    mCurrentPrinter.clear();
    return 1;
}

int CPrinterManager::ApplyDefaultSource(std::string_view, int32_t source) {
    BusyScope busy(mBusy);
    RebuildList(OptionList::PaperSource);
    const bool fromLayout = Id16(source) == 0xFFFF;
    if (!fromLayout || mLayout) {
        if (fromLayout) source = Id16(mLayout->GetDefaultSource());
        DriverItemAccess items(mModule);
        items.SetPaperSource(source);
        items.EnableRollOptions(source);
    }
    RebuildList(OptionList::PaperSize);
    RebuildList(OptionList::Media);
    RebuildList(OptionList::MediaProfile);
    return 1;
}

std::unique_ptr<PrintDevice> CPrinterManager::CreatePrinterDC() { return mModule.CreateDC(); }

int CPrinterManager::GetDevMode(std::string* buffer) { return mModule.GetDevMode(buffer); }

int CPrinterManager::GetPrintableArea(int32_t, LayoutRect& margins) {
    return DriverItemAccess(mModule).GetPrintableArea(margins);
}

bool CPrinterManager::SaveSlot(int slot) {
    PrinterSettingsSlot& s = mSlots.at(static_cast<size_t>(slot));
    std::string settings;
    const bool readable = !IsDriverOpen() || mModule.GetDevMode(&settings) >= 1;
    std::unique_ptr<CLayoutSetting> copy;
    if (readable && mLayout) {
        copy = std::make_unique<CLayoutSetting>(false);
        copy->CopyDeep(*mLayout, true, true, true);
    }
    s.taken = readable;
    s.layout = std::move(copy);
    s.takenFrom = s.layout ? mLayout : nullptr;
    s.takenFromId = s.layout ? mLayout->GetObjectId() : 0;
    s.settings = readable ? std::move(settings) : std::string();
    s.printerName = readable ? mCurrentPrinter : std::string();
    return readable;
}

bool CPrinterManager::RestoreSlot(int slot, bool restoreLayout) {
    const PrinterSettingsSlot& s = mSlots.at(static_cast<size_t>(slot));
    mFailure = PrinterFailure::None;
    if (!s.taken) return Fail(PrinterFailure::Refused);  // nothing to put back
    const bool sameLayout =
        s.layout && mLayout && s.takenFrom == mLayout && s.takenFromId == mLayout->GetObjectId();
    if (restoreLayout && sameLayout) CopyLayoutBack(*mLayout, *s.layout, true);
    if (!RestorePrinter(s)) return false;
    if (restoreLayout && !sameLayout) return Fail(PrinterFailure::Refused);
    return true;
}

void CPrinterManager::ReleaseSlotLayout(int slot) {
    PrinterSettingsSlot& s = mSlots.at(static_cast<size_t>(slot));
    s.layout.reset();
    s.takenFrom = nullptr;
    s.takenFromId = 0;
}

bool CPrinterManager::RestorePrinter(const PrinterSettingsSlot& s) {
    if (!s.settings.empty()) {
        if (!OpenPrinter(s.printerName, &s.settings)) return false;
        ApplyDefaultSource(s.printerName, -1);
        return true;
    }
    // Without a record no printer was open when the slot was taken.
    if (s.printerName.empty()) return ClosePrinter() == 1;
    try {
        return SelectPrinter(s.printerName, -1) == 1;
    } catch (const PrinterUnavailable&) {
        return false;
    }
}

int CPrinterManager::SetApplicationPrinter(std::string_view name) {
    if (!mQueues.FindQueue(name)) return 0;
    mApplicationPrinter = std::string(name);
    return 1;
}

bool CPrinterManager::DefaultPrinterName(std::string& name) {
    name = mApplicationPrinter.empty() ? mQueues.DefaultQueueName() : mApplicationPrinter;
    return !name.empty();
}

int32_t CPrinterManager::FindNearestPaperSize(int32_t width, int32_t height, bool swap, int mode,
                                              int32_t& paperWidth, int32_t& paperHeight) {
    paperWidth = paperHeight = 0;
    std::string name;
    if (!DefaultPrinterName(name)) return 0;
    const std::optional<PrintQueue> queue = mQueues.FindQueue(name);
    const std::shared_ptr<const PrinterModel> model = queue ? mModels.ModelForQueue(*queue) : nullptr;
    if (!model) return 0;

    const ModelPaper* best = nullptr;
    int64_t bestDistance = INT64_MAX;
    for (const ModelPaper& p : model->papers) {
        const int64_t w = TenthsToUnitsRounded(swap ? p.height : p.width);
        const int64_t h = TenthsToUnitsRounded(swap ? p.width : p.height);
        const int64_t dx = std::llabs(w - width), dy = std::llabs(h - height);
        const int64_t distance = mode == 1 ? (swap ? dy : dx) : std::max(dx, dy);
        if (distance < bestDistance) {
            best = &p;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    if (best && bestDistance < 6 && best->id != kUserDefinedPaper) {
        paperWidth = best->width;
        paperHeight = best->height;
        return best->id;
    }
    const int64_t maxWidth = TenthsToUnitsRounded(swap ? model->largestLength : model->largestWidth);
    const int64_t maxHeight = TenthsToUnitsRounded(swap ? model->largestWidth : model->largestLength);
    if (width < 1 || height < 1 || width > maxWidth || height > maxHeight) return 0;
    paperWidth = UnitsToTenths(width);
    paperHeight = UnitsToTenths(height);
    return kUserDefinedPaper;
}

}  // namespace vx
