#include "app/StartupBindings.h"

#include <utility>

#include "app/SettingsStore.h"
#include "colourmanagement/DeviceProfiles.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "host/ViewServices.h"
#include "importers/PictureImport.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/gfx/TextMeasurer.h"
#include "printing/CPrinterManager.h"
#include "printing/ImagingServices.h"
#include "printing/LayoutServices.h"
#include "printing/PrinterQueries.h"
#include "printing/PrinterSetupServices.h"
#include "view/HeaderFooterText.h"
#include "zel/ZelConversion.h"

namespace vx {
namespace {

/// The layout and the undo state as they were, for a refused change.
struct ModelSnapshot final : LayoutSnapshot {
    std::unique_ptr<CUndoEntry> layout;
    std::unique_ptr<CUndoEntry> previous;
    bool hadUndo = false;
};

/// The layout model's operations for printer setup, on the application's undo store.
class ModelLayoutServices final : public LayoutServices {
public:
    std::unique_ptr<LayoutSnapshot> SnapshotLayout(CLayoutSetting& layout) override {
        ApplicationState* app = HostService<ApplicationState>();
        if (!app) return nullptr;
        auto snapshot = std::make_unique<ModelSnapshot>();
        UndoStore& undo = app->GetUndoStore();
        snapshot->hadUndo = undo.CanUndo();
        if (!undo.SnapshotLayout(layout, snapshot->layout, &snapshot->previous)) return nullptr;
        return snapshot;
    }
    void RestoreLayoutSnapshot(CLayoutSetting& layout, LayoutSnapshot& snapshot) override {
        ApplicationState* app = HostService<ApplicationState>();
        auto* taken = dynamic_cast<ModelSnapshot*>(&snapshot);
        if (!app || !taken || !taken->layout) return;
        app->GetUndoStore().RestoreLayoutSnapshot(layout, *taken->layout,
                                                  taken->hadUndo ? taken->previous.get() : nullptr);
    }
    int Relayout(CLayoutSetting& layout) override { return vx::Relayout(layout); }
    // Working bitmaps follow the output profile once the view binds their rebuild.
    void RebuildWorkingBitmaps(CLayoutSetting&) override {}
};

/// Profile questions of printer setup, answered by the profile catalogue.
class CatalogueImagingServices final : public ImagingServices {
public:
    // The stamp picture is reloaded by the image-stamp code once it binds here.
    void ReloadStampPicture(CLayoutSetting&) override {}
    bool ProfileFileExists(const std::string& description) override { return vx::ProfileFileExists(description); }
    bool IsPlainProfile(const std::string& description) override { return IsProfileWithoutMdeaTag(description); }
};

/// The printer questions of the document; the output colour dialog comes with its window.
class CorePrinterSetupServices final : public PrinterSetupServices {
public:
    bool RunOutputColorDialog() override {
        SettingsDialogs* dialogs = HostService<SettingsDialogs>();
        ApplicationState* app = HostService<ApplicationState>();
        if (!dialogs || !app) return false;
        CLayoutSetting* layout = nullptr;
        if (app->ActiveLayoutSlot()) {
            CPrinterManager* manager = CPrinterManager::GetInstance();
            layout = manager && manager->GetLayout() ? manager->GetLayout() : app->ActiveLayoutSlot();
        } else {
            layout = &app->DefaultLayoutSetting();
        }
        const bool accepted = dialogs->RunOutputColor(*layout);
        if (Shell* shell = HostService<Shell>())
            if (PrintSettingsPane* pane = shell->GetActivePrintSettingsPane()) pane->UpdateProfileCombo();
        return accepted;
    }
    int QueryPrinterPaperCaps(int32_t paperLength, int32_t paperWidth, bool banner, int32_t paperOrientation,
                              LayoutPoint paper) override {
        return vx::QueryPrinterPaperCaps(paperLength, paperWidth, banner ? 1 : 0, paperOrientation, paper);
    }
};

// Process-wide, so a manager that outlives the bindings never holds a dangling service.
ModelLayoutServices gLayoutServices;
CatalogueImagingServices gImaging;
CorePrinterSetupServices gPrinterSetup;
CoreViewServices gViewServices;

std::string DefaultPrinter() {
    std::string name;
    return vx::GetDefaultPrinterName(name) ? name : std::string();
}

}  // namespace

StartupBindings::StartupBindings(HostBindingPorts ports)
    : mPorts(std::move(ports)) {
    InstallHostService<ApplicationState>(mPorts.application);
    InstallHostService<Shell>(mPorts.shell);
    InstallHostService<ToolWindows>(mPorts.toolWindows);
    InstallHostService<gfx::TextMeasurer>(mPorts.textMeasurer);
    InstallHostService<ViewServices>(&gViewServices);
    InstallHostService<PrinterSetupServices>(&gPrinterSetup);

    InstallColourManagement();
    InstallImporters();
    InstallZel();
    if (SettingsStore* settings = mPorts.settings)
        SetMonitorProfilePreference([settings] {
            return settings->GetString(SettingsStore::kMonitorProfileSection, SettingsStore::kMonitorProfileKey);
        });
    else
        SetMonitorProfilePreference(mPorts.monitorProfile);
    SetDefaultPrinterProvider(DefaultPrinter);
}

StartupBindings::~StartupBindings() {
    SetDefaultPrinterProvider({});
    SetMonitorProfilePreference({});
    InstallHostService<PrinterSetupServices>(nullptr);
    InstallHostService<ViewServices>(nullptr);
    InstallHostService<gfx::TextMeasurer>(nullptr);
    InstallHostService<ToolWindows>(nullptr);
    InstallHostService<Shell>(nullptr);
    InstallHostService<ApplicationState>(nullptr);
}

void StartupBindings::BindShell(Shell* shell, ToolWindows* toolWindows) {
    mPorts.shell = shell;
    mPorts.toolWindows = toolWindows;
    InstallHostService<Shell>(shell);
    InstallHostService<ToolWindows>(toolWindows);
}

void StartupBindings::BindPrinterManager(CPrinterManager& manager) {
    manager.BindServices(&gLayoutServices, &gImaging, mPorts.busy);
}

}  // namespace vx
