#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/CLayoutSetting.h"
#include "platform/driver/DriverModule.h"
#include "platform/driver/ModelCatalogue.h"
#include "printing/CPrinterManager.h"
#include "printing/ImagingServices.h"
#include "printing/LayoutServices.h"
#include "printing/SettingsChangeRecord.h"
#include "printing/TemplateMarksPort.h"
#include "support/printing/FakeQueueSource.h"

namespace vx {
inline void PrintTo(const PrinterEntry& e, std::ostream* os) { *os << "{" << e.printer << ", " << e.model << "}"; }
inline void PrintTo(const OptionEntry& e, std::ostream* os) { *os << "{" << e.value << ", " << e.name << "}"; }
}  // namespace vx

namespace vx::test {

/// One driver call as ScriptedModules saw it.
struct DriverCall {
    DriverOperation op;
    std::optional<DriverItem> item;
    DriverWords words;    // SetData's value, the query otherwise
    std::string printer;  // the queue the module was loaded for
};

/// Wraps the modules of other locators (one per queue name, else `fallback`): numbers
/// and logs every driver call of every module it loaded, and fails the `failCall`-th
/// (from 1) or those `refuse` picks, the way a refusing driver answers.
class ScriptedModules : public DriverModuleLocator {
public:
    explicit ScriptedModules(DriverModuleLocator& fallback) : mFallback(fallback) {}

    std::map<std::string, DriverModuleLocator*> byQueue;
    int failCall = 0;
    std::function<bool(const DriverCall&)> refuse;
    std::vector<DriverCall> calls;

    std::unique_ptr<DriverModule> Load(const PrintQueue& queue) override;
    /// Whether the call, just logged, is to fail.
    bool Fails(const DriverCall& call) const;

private:
    DriverModuleLocator& mFallback;
};

/// A folder of test descriptors and the catalogue read from it.
class TestModels {
public:
    /// Writes one file per descriptor text (the printer-model element and its children)
    /// and reads the folder.
    explicit TestModels(const std::vector<std::string>& descriptors);
    const ModelCatalogue& Catalogue() const { return mCatalogue; }

private:
    std::filesystem::path mFolder;
    ModelCatalogue mCatalogue;
};

/// Records the layout services' calls; Relayout answers `relayoutResult` after running
/// `onRelayout`.
struct RecordingLayoutServices : LayoutServices {
    std::vector<std::string> log;
    int relayoutResult = 1;
    std::function<void(CLayoutSetting&)> onRelayout;
    int snapshotsAlive = 0;

    std::unique_ptr<LayoutSnapshot> SnapshotLayout(CLayoutSetting& layout) override;
    void RestoreLayoutSnapshot(CLayoutSetting& layout, LayoutSnapshot& snapshot) override;
    int Relayout(CLayoutSetting& layout) override;
    void RebuildWorkingBitmaps(CLayoutSetting&) override { log.push_back("RebuildWorkingBitmaps"); }
};

/// Records the imaging services' calls; answers from the scripted profile sets.
struct RecordingImagingServices : ImagingServices {
    std::vector<std::string> log;
    std::vector<std::string> existing;  // profiles that exist
    std::vector<std::string> plain;     // profiles without the 'mdea' tag

    void ReloadStampPicture(CLayoutSetting&) override { log.push_back("ReloadStampPicture"); }
    bool ProfileFileExists(const std::string& d) override;
    bool IsPlainProfile(const std::string& d) override;
};

struct RecordingMarks : TemplateMarksPort {
    std::vector<std::string> log;
    std::vector<SettingsChangeRecord> marked;
    void StoreMarks() override { log.push_back("Store"); }
    void LoadMarks() override { log.push_back("Load"); }
    void MarkChangedSettings(const CLayoutSetting&, const SettingsChangeRecord& r) override {
        log.push_back("Mark");
        marked.push_back(r);
    }
};

/// Every property, text, font, item (id, kind, position, properties) and view value of
/// a layout, one per line, for comparing layouts.
std::string DumpLayout(CLayoutSetting& layout);

/// The "key=value" lines of a settings record.
std::map<std::string, std::string> RecordFields(const std::string& record);

/// The driver modules of the test models: "TEVRA Rolle" (a roll source 256 with a
/// 330 mm paper 100) and "TEVRA Breit" (source 40000, paper 50000, medium 60000).
DriverModuleLocator& TestModelModules();

/// Adds an image item at a position; returns its object id.
uint32_t AddImage(CLayoutSetting& layout, int32_t x, int32_t y);

/// The manager's invariant: a current-printer name exactly when a printer is open, and
/// then the open one's.
void ExpectPrinterInvariant(const CPrinterManager& manager);

/// Three queues of the shipped models, "P44", "P24" and "PA3" (default "P44"), with
/// their modules numbered through `modules`, and a manager with recorders bound.
struct ShippedPrinters {
    ShippedPrinters();
    ~ShippedPrinters();

    FakeQueueSource queues;
    ScriptedModules modules;
    RecordingLayoutServices layouts;
    RecordingImagingServices imaging;
    std::unique_ptr<CPrinterManager> manager;

    /// A new layout bound to the manager, with the given printer selected.
    std::unique_ptr<CLayoutSetting> BoundLayout(const std::string& printer);
};

}  // namespace vx::test
