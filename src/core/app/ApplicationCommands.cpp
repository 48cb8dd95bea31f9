#include "app/ApplicationCommands.h"

#include <optional>
#include <system_error>

#include "document/DocumentCommands.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlReader.h"
#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ViewServices.h"
#include "model/CLayoutSetting.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/spool/PrintDevice.h"
#include "platform/system/Folders.h"
#include "platform/system/Format.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"

namespace fs = std::filesystem;

namespace vx {

std::string VersionText(int major, int minor, int patch) {
    return major == 0 ? FormatC("Version %d.%d%d", major, minor, patch) : FormatC("Version %d.%d", major, minor);
}

fs::path ManualPath() { return DataFolder() / "help" / "index.htm"; }

bool OpenManual(const std::function<bool(const fs::path&)>& launch) {
    const fs::path path = ManualPath();
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        Messages().Show(IDS_MANUAL_NOT_FOUND, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    return launch(path);
}

std::string ToolWindowToggleText(int commandId, bool shown) {
    switch (commandId) {
    case 33605: return LoadString(shown ? IDS_HIDE_IMAGE_PREVIEW : IDS_SHOW_IMAGE_PREVIEW);
    case 33604: return LoadString(shown ? IDS_HIDE_IMAGE_INFO : IDS_SHOW_IMAGE_INFO);
    case 33401: return LoadString(shown ? IDS_HIDE_DIRECT_PRINT : IDS_SHOW_DIRECT_PRINT);
    default: return {};
    }
}

ReloadResult ReloadOpenLayout(CGPDoc& doc, const fs::path& path) {
    CLayoutSetting* old = doc.GetLayout();
    if (!old) return ReloadResult::Failed;
    if (old->GetDirty() &&
        Messages().Show(IDS_DISCARD_CURRENT_LAYOUT, {}, Icon::Question, Buttons::YesNo) != kIdYes)
        return ReloadResult::KeptByUser;
    LayoutLoad load = LoadLayoutXml(path);
    if (!load.Ok()) {
        if (load.status == LayoutLoadStatus::Unreadable)
            Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return ReloadResult::Failed;
    }
    CLayoutSetting& fresh = *load.layout;
    const ViewStateBlock* oldBlock = old->GetViewState();
    ViewStateBlock* block = fresh.GetViewState();
    if (!block) block = &fresh.RenewViewState();
    if (oldBlock) {
        block->zoomNumerator = oldBlock->zoomNumerator;
        block->zoomDenominator = oldBlock->zoomDenominator;
        block->untitledNumber = oldBlock->untitledNumber;
    }
    ApplicationState* app = HostService<ApplicationState>();
    const bool wasActive = app && app->ActiveLayoutSlot() == old;
    doc.AdoptLayout(std::move(load.layout));
    CLayoutSetting* layout = doc.GetLayout();
    if (wasActive) app->ActiveLayoutSlot() = layout;
    layout->SetSavedLayout(1);
    layout->SetSavedTemplate(0);
    if (CPrinterManager* printers = CPrinterManager::GetInstance()) printers->BindLayout(layout);
    layout->SetDirty(0);
    Shell* shell = HostService<Shell>();
    if (PrintSettingsPane* pane = shell ? shell->GetActivePrintSettingsPane() : nullptr) {
        pane->ResetFormViewInfo();
        pane->OnUpdate(kHintLayoutChanged);
    }
    if (LayoutView* view = shell ? shell->FindLayoutView(*layout) : nullptr) view->Invalidate();
    return ReloadResult::Reloaded;
}

void OpenLayoutFiles(const std::vector<fs::path>& paths, const std::function<void(const fs::path&)>& open) {
    ApplicationState* app = HostService<ApplicationState>();
    if (AppBusyFlag() || (app && app->Preferences().directPrint)) return;
    std::optional<BusyScope> busy(std::in_place);
    const std::string extension = LoadString(IDS_LAYOUT_EXTENSION);
    for (const fs::path& path : paths) {
        std::string ext = PathText(path.extension());
        for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (ext != extension) {
            Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
            return;
        }
        if (CGPDoc* doc = FindOpenDocument(path)) {
            if (ReloadOpenLayout(*doc, path) == ReloadResult::KeptByUser) return;
        } else {
            // The document's own open refuses while the flag is set.
            busy.reset();
            open(path);
            busy.emplace();
        }
        if (Progress().IsCancelled()) break;
    }
}

bool CanRunAutoRotate(bool layoutWindowActive) {
    SettingsDialogs* dialogs = HostService<SettingsDialogs>();
    return layoutWindowActive && dialogs && dialogs->Has(SettingsDialogs::Dialog::AutoRotate);
}

bool RunAutoRotateCommand(CLayoutSetting& layout) {
    SettingsDialogs* dialogs = HostService<SettingsDialogs>();
    if (!dialogs || !dialogs->Has(SettingsDialogs::Dialog::AutoRotate)) return false;
    const auto before = layout.GetAutoRotate();
    if (!dialogs->RunAutoRotate(layout)) return false;
    if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().ClearUndo();
    Shell* shell = HostService<Shell>();
    if (PrintSettingsPane* pane = shell ? shell->GetActivePrintSettingsPane() : nullptr) {
        if (layout.GetAutoRotate() != before) pane->SetTemplateChangeMark(TemplateChangeMark::AutoRotate);
        pane->UpdateTemplateSettingsText(layout);
    }
    layout.SetDirty(1);
    InvalidateMainFormView();
    return true;
}

int ApplyPrintSetup(PrintSetupInfo& info, CPrinterManager& printers, CLayoutSetting* layout) {
    if (printers.GetDevMode(&info.settings) < 1) return 2;
    if (layout)
        if (ViewServices* services = HostService<ViewServices>()) services->FormatHeaderFooterText(0, *layout);
    if (!info.device) info.device = printers.CreatePrinterDC();
    return info.device ? 1 : 2;
}

}  // namespace vx
