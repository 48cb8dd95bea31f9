#include "PrinterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "model/ItemFactory.h"
#include "model/ObjectList.h"
#include "platform/driver/DescribedModuleLocator.h"

namespace vx::test {
namespace {

// A module that numbers its calls through the owning ScriptedModules.
class ScriptedModule : public DriverModule {
public:
    ScriptedModule(std::unique_ptr<DriverModule> inner, ScriptedModules& owner, std::string printer)
        : mInner(std::move(inner)), mOwner(owner), mPrinter(std::move(printer)) {}

    bool Provides(DriverOperation op) const override { return mInner->Provides(op); }
    int Open(std::string_view printer, std::string_view port, int mode, const std::string* settings,
             DriverHandle& handle) override {
        return Failed(DriverOperation::Open) ? 1 : mInner->Open(printer, port, mode, settings, handle);
    }
    int GetDriverInfo(DriverHandle h, DriverInfo& info) override {
        return Failed(DriverOperation::GetDriverInfo) ? 0 : mInner->GetDriverInfo(h, info);
    }
    int GetCommandLevel(DriverHandle h, DriverItem item) override {
        return Failed(DriverOperation::GetCommandLevel, item) ? -1 : mInner->GetCommandLevel(h, item);
    }
    int GetRange(DriverHandle h, DriverItem item, const DriverWords& q, DriverValue& v) override {
        return Failed(DriverOperation::GetRange, item, q) ? kDriverRefused : mInner->GetRange(h, item, q, v);
    }
    int GetData(DriverHandle h, DriverItem item, const DriverWords& q, DriverValue& v) override {
        return Failed(DriverOperation::GetData, item, q) ? kDriverRefused : mInner->GetData(h, item, q, v);
    }
    int SetData(DriverHandle h, DriverItem item, const DriverWords& v) override {
        return Failed(DriverOperation::SetData, item, v) ? kDriverRefused : mInner->SetData(h, item, v);
    }
    std::unique_ptr<PrintDevice> CreateDC(DriverHandle h) override {
        return Failed(DriverOperation::CreateDC) ? nullptr : mInner->CreateDC(h);
    }
    int ResetDC(DriverHandle h, PrintDevice& d) override {
        return Failed(DriverOperation::ResetDC) ? 0 : mInner->ResetDC(h, d);
    }
    int DeleteDC(DriverHandle h, std::unique_ptr<PrintDevice> d) override {
        return Failed(DriverOperation::DeleteDC) ? 0 : mInner->DeleteDC(h, std::move(d));
    }
    std::string GetDevMode(DriverHandle h) override {
        return Failed(DriverOperation::GetDevMode) ? std::string() : mInner->GetDevMode(h);
    }
    int UpdateDevMode(DriverHandle h, const std::string& s) override {
        return Failed(DriverOperation::UpdateDevMode) ? kDriverRefused : mInner->UpdateDevMode(h, s);
    }
    int Close(DriverHandle h) override { return Failed(DriverOperation::Close) ? 0 : mInner->Close(h); }

private:
    bool Failed(DriverOperation op, std::optional<DriverItem> item = std::nullopt, const DriverWords& words = {}) {
        mOwner.calls.push_back({op, item, words, mPrinter});
        return mOwner.Fails(mOwner.calls.back());
    }

    std::unique_ptr<DriverModule> mInner;
    ScriptedModules& mOwner;
    std::string mPrinter;
};

std::string Text(const PropertyValue& v) {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, LayoutPoint>) return std::to_string(x.x) + "," + std::to_string(x.y);
            else if constexpr (std::is_same_v<T, LayoutRect>)
                return std::to_string(x.left) + "," + std::to_string(x.top) + "," + std::to_string(x.right) + "," +
                       std::to_string(x.bottom);
            else if constexpr (std::is_integral_v<T>) return std::to_string(x);
            else return "?";
        },
        v);
}

void DumpProperties(std::ostringstream& out, CObjNode& record, const std::string& prefix) {
    for (const CPropertyMember& m : record.InitPropertyNames()) {
        if (m.Type() == ValueType::Link || m.Type() == ValueType::Bitmap) continue;
        // Reading the layout margins through their name normalises and stores them.
        if (m.Name() == "mLayoutAreaMgn") {
            out << prefix << m.Name() << "=" << Text(static_cast<CLayoutSetting&>(record).GetLayoutAreaMgn()) << "\n";
            continue;
        }
        out << prefix << m.Name() << "=" << Text(m.Get()) << "\n";
    }
}

}  // namespace

std::unique_ptr<DriverModule> ScriptedModules::Load(const PrintQueue& queue) {
    auto it = byQueue.find(queue.name);
    std::unique_ptr<DriverModule> inner = (it == byQueue.end() ? mFallback : *it->second).Load(queue);
    if (!inner) return nullptr;
    return std::make_unique<ScriptedModule>(std::move(inner), *this, queue.name);
}

bool ScriptedModules::Fails(const DriverCall& call) const {
    return (failCall > 0 && static_cast<int>(calls.size()) == failCall) || (refuse && refuse(call));
}

TestModels::TestModels(const std::vector<std::string>& descriptors) {
    static int counter = 0;
    mFolder = std::filesystem::path(::testing::TempDir()) / ("vx-models-" + std::to_string(++counter));
    std::filesystem::remove_all(mFolder);
    std::filesystem::create_directories(mFolder);
    for (size_t i = 0; i < descriptors.size(); ++i)
        std::ofstream(mFolder / ("model" + std::to_string(i) + ".xml"))
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" << descriptors[i];
    mCatalogue = ModelCatalogue::LoadFolder(mFolder);
}

std::unique_ptr<LayoutSnapshot> RecordingLayoutServices::SnapshotLayout(CLayoutSetting&) {
    struct Snapshot : LayoutSnapshot {
        RecordingLayoutServices& owner;
        explicit Snapshot(RecordingLayoutServices& o) : owner(o) { ++owner.snapshotsAlive; }
        ~Snapshot() override {
            --owner.snapshotsAlive;
            owner.log.push_back("FreeLayoutSnapshots");
        }
    };
    log.push_back("SnapshotLayout");
    return std::make_unique<Snapshot>(*this);
}

void RecordingLayoutServices::RestoreLayoutSnapshot(CLayoutSetting&, LayoutSnapshot&) {
    log.push_back("RestoreLayoutSnapshot");
}

int RecordingLayoutServices::Relayout(CLayoutSetting& layout) {
    log.push_back("Relayout");
    if (onRelayout) onRelayout(layout);
    return relayoutResult;
}

bool RecordingImagingServices::ProfileFileExists(const std::string& d) {
    log.push_back("ProfileFileExists " + d);
    return std::find(existing.begin(), existing.end(), d) != existing.end();
}

bool RecordingImagingServices::IsPlainProfile(const std::string& d) {
    log.push_back("IsPlainProfile " + d);
    return std::find(plain.begin(), plain.end(), d) != plain.end();
}

std::string DumpLayout(CLayoutSetting& layout) {
    std::ostringstream out;
    DumpProperties(out, layout, "");
    const LayoutTexts& t = layout.Texts();
    for (const std::string* s : {&t.printerModel, &t.paperSizeName, &t.mediaTypeName, &t.paperSourceName,
                                 &t.printerName, &t.headerText, &t.footerText, &t.printerProfile, &t.monitorProfile})
        out << "text=" << *s << "\n";
    out << "input resolution=" << layout.GetInputResolution() << "\n";
    if (const ViewStateBlock* v = layout.GetViewState())
        out << "view=" << v->zoomNumerator << "/" << v->zoomDenominator << " " << v->statusA << "\n";
    int index = 0;
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem(), ++index) {
        const std::string prefix = "item " + std::to_string(index) + " ";
        out << prefix << "id=" << item->GetObjectId() << " kind=" << item->GetKind() << "\n";
        DumpProperties(out, *item, prefix);
    }
    out << "current=" << (layout.GetCurrentItem() ? layout.GetCurrentItem()->GetObjectId() : 0) << "\n";
    return out.str();
}

std::map<std::string, std::string> RecordFields(const std::string& record) {
    std::map<std::string, std::string> fields;
    std::istringstream in(record);
    for (std::string line; std::getline(in, line);)
        if (size_t eq = line.find('='); eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    return fields;
}

DriverModuleLocator& TestModelModules() {
    static const TestModels models({
        R"(<printer-model format="1" name="TEVRA Rolle" family="48" class="1" resolution="720"
            items="203 205" inks="2" layout-flags="3" largest-width="3290" largest-length="150000">
          <paper id="100" width="2100" height="3300" name="330 mm"/>
          <source id="256" name="Rolle" roll="1" roll-options="1" papers="100" media="1"
                  margins="30 0 30 0" maximum-margins="30 0 30 0"/>
          <medium id="1" name="Papier" profile="Papier.icc"><ink id="2" modes="2"/></medium>
        </printer-model>)",
        R"(<printer-model format="1" name="TEVRA Breit" family="48" class="1" resolution="720"
            items="203" inks="2" layout-flags="3" largest-width="3290" largest-length="150000">
          <paper id="50000" width="2100" height="2970" name="Papier 50000"/>
          <source id="40000" name="Fach 40000" papers="50000" media="60000"
                  margins="30 30 30 140" maximum-margins="30 30 30 30"/>
          <medium id="60000" name="Medium 60000" profile="Medium.icc"><ink id="2" modes="2"/></medium>
        </printer-model>)",
    });
    static DescribedModuleLocator locator(models.Catalogue());
    return locator;
}

uint32_t AddImage(CLayoutSetting& layout, int32_t x, int32_t y) {
    std::unique_ptr<CLayoutObj> item = DefaultItemFactory().Create(kKindImage, "Bild");
    item->SetOwner(&layout);
    item->SetPosition(x, y);
    CLayoutObj* raw = item.get();
    EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
    return raw->GetObjectId();
}

void ExpectPrinterInvariant(const CPrinterManager& manager) {
    EXPECT_EQ(!manager.CurrentPrinter().empty(), manager.IsDriverOpen()) << "current: " << manager.CurrentPrinter();
    if (manager.IsDriverOpen()) {
        EXPECT_EQ(manager.CurrentPrinter(), manager.DriverPrinterName());
    }
}

ShippedPrinters::ShippedPrinters() : modules(SystemDriverModules()) {
    queues.Add("P44", "TEVRA Proof 44").isDefault = true;
    queues.Add("P24", "TEVRA Proof 24");
    queues.Add("PA3", "TEVRA Proof A3");
    manager = std::make_unique<CPrinterManager>(queues, modules);
    manager->BindServices(&layouts, &imaging, nullptr);
}

ShippedPrinters::~ShippedPrinters() {
    if (manager) ExpectPrinterInvariant(*manager);
}

std::unique_ptr<CLayoutSetting> ShippedPrinters::BoundLayout(const std::string& printer) {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->Texts().printerName = printer;
    manager->BindLayout(layout.get());
    if (!printer.empty()) manager->SelectPrinter(printer, -1);
    return layout;
}

}  // namespace vx::test
