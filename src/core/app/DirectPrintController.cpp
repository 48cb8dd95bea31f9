#include "app/DirectPrintController.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "app/DirectPrintState.h"
#include "dialogs/PrinterProfileText.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlReader.h"
#include "host/ApplicationState.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "printing/CPrinterManager.h"
#include "printing/LayoutServices.h"
#include "printing/PrinterUnavailable.h"
#include "templates/TemplateInfo.h"

namespace fs = std::filesystem;

namespace vx {

std::array<DirectPrintButton, 8> DirectPrintButtons(const AppPreferences& preferences, const CPrinterManager& manager) {
    std::array<DirectPrintButton, 8> buttons{};
    size_t next = 0;
    for (const std::string& name : preferences.directPrintPrinters) {
        if (name.empty()) continue;
        buttons[next].printer = name;
        buttons[next].icon = PrinterModelIcon(manager.GetPrinterModelName(name));
        ++next;
    }
    return buttons;
}

int DirectPrintWindowRows(const std::array<DirectPrintButton, 8>& buttons) {
    int rows = 0;
    for (const DirectPrintButton& b : buttons)
        if (!b.printer.empty()) ++rows;
    return rows == 0 ? 1 : rows;
}

/// The open layout as it was before the job, and the window state around it.
struct DirectPrintController::SetAside {
    std::unique_ptr<CLayoutSetting> layout;
    CTemplateInfoArray templateInfo;
    std::string title;
    int32_t zoomNumerator = 0, zoomDenominator = 0;
    bool hasZoom = false;
    uint32_t previewObject = 0;
    std::vector<int32_t> itemChanged;  // copies start unchanged; the relayout marks come back
    const CLayoutSetting* original = nullptr;  // compared only: it may be gone after the job
};

DirectPrintController::DirectPrintController(CPrinterManager& manager, DirectPrintHost& host)
    : mManager(manager), mHost(host) {}

namespace {

// A document the user closed while the job printed is gone.
bool IsOpen(const CGPDoc* doc) {
    const std::vector<CGPDoc*>& open = CGPDoc::OpenDocuments();
    return doc && std::find(open.begin(), open.end(), doc) != open.end();
}

bool SameFile(const fs::path& a, const fs::path& b) {
    const fs::path ca = CanonicalFilePath(a), cb = CanonicalFilePath(b);
    return !ca.empty() && ca == cb;
}

// A full copy, local settings and texts included, with the items' ids and pictures.
std::unique_ptr<CLayoutSetting> CopyOfLayout(const CLayoutSetting& layout) {
    auto copy = std::make_unique<CLayoutSetting>(false);
    copy->CopyDeep(layout, true, true, true);
    copy->CopyFrom(layout, false, false, false);
    copy->SetInputResolution(layout.GetInputResolution());
    return copy;
}

void PutBack(CLayoutSetting& layout, const CLayoutSetting& saved) {
    layout.CopyDeep(saved, true, true, true);
    layout.CopyFrom(saved, false, false, false);
    layout.SetInputResolution(saved.GetInputResolution());
}

// The print's local output choices, which a copied-in layout brings along for its job.
struct LocalOutput {
    std::string printerProfile;
    int16_t colorMatchPrinter = 0;
    int32_t recommend = 0;
    explicit LocalOutput(const CLayoutSetting& l)
        : printerProfile(l.Texts().printerProfile), colorMatchPrinter(l.GetColorMatchPrinter()),
          recommend(l.GetRecommend()) {}
    void ApplyTo(CLayoutSetting& l) const {
        l.Texts().printerProfile = printerProfile;
        l.SetColorMatchPrinter(colorMatchPrinter);
        l.SetRecommend(recommend);
    }
};

}  // namespace

DirectPrintResult DirectPrintController::Drop(const std::string& printer, const std::vector<fs::path>& files) {
    mHost.BringMainWindowToFront();
    if (printer.empty()) return DirectPrintResult::Ignored;
    if (DirectPrintState::Running()) {
        Messages().Show(IDS_DIRECT_PRINT_RUNNING, {}, Icon::Warning, Buttons::Ok);
        return DirectPrintResult::Refused;
    }
    DirectPrintState::RunningScope running;
    if (files.size() != 1) {
        Messages().Show(IDS_DIRECT_PRINT_ONE_FILE, {}, Icon::Warning, Buttons::Ok);
        return DirectPrintResult::Refused;
    }
    mRememberedPrinter.clear();
    mSavedSettings.reset();
    const fs::path& path = files.front();
    CGPDoc* doc = mHost.ActiveDocument();
    if (doc && !doc->GetLayout()) doc = nullptr;
    if (doc) {
        const CLayoutSetting& layout = *doc->GetLayout();
        if (SameFile(PathFromStored(layout.Texts().documentPath), path)) {
            Messages().Show(IDS_FILE_BEING_EDITED, {PathText(path)}, Icon::Warning, Buttons::Ok);
            return DirectPrintResult::Refused;
        }
        if (Messages().Show(IDS_DIRECT_PRINT_NO_EDITING, {}, Icon::Information, Buttons::Ok) != kIdOk)
            return DirectPrintResult::Refused;
    }

    // Whatever happens from here on, the open layout and printer come back.
    std::unique_ptr<SetAside> aside;
    struct EndOfJob {
        DirectPrintController& self;
        CGPDoc* doc;
        std::unique_ptr<SetAside>& aside;
        ~EndOfJob() {
            try {
                self.Finish(doc, aside.get());
            } catch (...) {
                LogUnexpectedException(std::current_exception());
            }
        }
    } end{*this, doc, aside};

    if (doc) {
        // Made complete before it counts: a copy that fails leaves nothing half set aside.
        CLayoutSetting& layout = *doc->GetLayout();
        auto taken = std::make_unique<SetAside>();
        taken->layout = CopyOfLayout(layout);
        taken->original = &layout;
        for (const CLayoutObj* o = layout.GetFirstItem(); o; o = o->NextItem()) taken->itemChanged.push_back(o->GetChanged());
        taken->templateInfo = CurrentTemplateInfo();
        taken->title = mHost.DocumentTitle(*doc);
        if (const ViewStateBlock* block = layout.GetViewState()) {
            taken->hasZoom = true;
            taken->zoomNumerator = block->zoomNumerator;
            taken->zoomDenominator = block->zoomDenominator;
        }
        if (ToolWindows* tools = HostService<ToolWindows>())
            if (const CLayoutObj* shown = tools->GetCurrentObject()) taken->previewObject = shown->GetObjectId();
        aside = std::move(taken);
    }

    DirectPrintState::WithdrawOpenPermission();
    if (AsciiLower(PathText(path.extension())) != LoadString(IDS_LAYOUT_EXTENSION)) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return DirectPrintResult::Refused;
    }
    return doc ? PrintInDocument(*doc, path, printer) : PrintWithoutDocument(path, printer);
}

bool DirectPrintController::PrintOn(CGPDoc& doc, const std::string& printer) {
    CLayoutSetting& layout = *doc.GetLayout();
    if (layout.Texts().printerName != printer) {
        Messages().Show(IDS_DIRECT_PRINT_FAILED, {}, Icon::Warning, Buttons::Ok);
        return false;
    }
    // The job prints on the button's printer with the file's settings.
    try {
        mManager.BindLayout(&layout);
        mManager.ClosePrinter();
        mManager.SelectPrinter(printer, -1);
    } catch (const PrinterUnavailable&) {
        Messages().Show(IDS_DIRECT_PRINT_FAILED, {}, Icon::Warning, Buttons::Ok);
        return false;
    }
    if (!mManager.GetLayoutServices().Relayout(layout)) return false;
    if (ApplicationState* app = HostService<ApplicationState>()) app->Preferences().directPrint = 1;
    if (Shell* shell = HostService<Shell>()) shell->PrintNow();
    return true;
}

DirectPrintResult DirectPrintController::PrintInDocument(CGPDoc& doc, const fs::path& path, const std::string& printer) {
    CLayoutSetting& layout = *doc.GetLayout();
    const std::string current = layout.Texts().printerName;
    std::string settings;
    if (mManager.GetDevMode(nullptr) <= 0 || mManager.GetDevMode(&settings) <= 0) {
        Messages().Show(IDS_DIRECT_PRINT_FAILED, {}, Icon::Warning, Buttons::Ok);
        return DirectPrintResult::Failed;
    }
    mRememberedPrinter = current;
    mSavedSettings = std::move(settings);

    LayoutLoad load = LoadLayoutXml(path);
    if (!load.Ok() || !load.layout) return DirectPrintResult::Failed;
    const LocalOutput own(layout);
    layout.CopyDeep(*load.layout, true, true, true);
    LocalOutput(*load.layout).ApplyTo(layout);
    mHost.SetDocumentTitle(doc, PathText(path.filename()));
    load.layout.reset();
    const bool printed = PrintOn(doc, printer);
    if (IsOpen(&doc)) own.ApplyTo(layout);
    return printed ? DirectPrintResult::Printed : DirectPrintResult::Failed;
}

DirectPrintResult DirectPrintController::PrintWithoutDocument(const fs::path& path, const std::string& printer) {
    // Opening adds the file to the recent files; the list is put back as it was, so an
    // entry the user had is not lost.
    const std::vector<fs::path> recent = mHost.RecentFiles();
    struct RecentBack {
        DirectPrintHost& host;
        const std::vector<fs::path>& files;
        ~RecentBack() { host.SetRecentFiles(files); }
    } back{mHost, recent};
    CGPDoc* opened = mHost.OpenDocument(path);
    if (!opened || !opened->GetLayout()) return DirectPrintResult::Failed;
    const CLayoutSetting* layout = opened->GetLayout();
    const bool printed = PrintOn(*opened, printer);
    if (mManager.GetLayout() == layout) mManager.BindLayout(nullptr);
    if (IsOpen(opened)) mHost.CloseDocument(*opened);
    return printed ? DirectPrintResult::Printed : DirectPrintResult::Failed;
}

void DirectPrintController::Finish(CGPDoc* doc, SetAside* aside) {
    DirectPrintState::GiveOpenPermission();
    if (ApplicationState* app = HostService<ApplicationState>()) app->Preferences().directPrint = 0;
    if (!doc) return;
    if (!IsOpen(doc) || !doc->GetLayout()) {
        // Nothing left to put back; the manager must not keep the closed layout.
        if (!IsOpen(doc) && aside && mManager.GetLayout() == aside->original) mManager.BindLayout(nullptr);
        mSavedSettings.reset();
        mRememberedPrinter.clear();
        return;
    }
    CLayoutSetting* layout = doc->GetLayout();
    const bool putBack = aside && mHost.HasPrintSettingsPane(*doc);
    if (putBack) {
        PutBack(*layout, *aside->layout);
        size_t index = 0;
        for (CLayoutObj* o = layout->GetFirstItem(); o && index < aside->itemChanged.size(); o = o->NextItem())
            o->SetChanged(aside->itemChanged[index++]);
        CurrentTemplateInfo() = aside->templateInfo;
        mHost.SetDocumentTitle(*doc, aside->title);
        if (aside->hasZoom) {
            ViewStateBlock* block = layout->GetViewState();
            if (!block) block = &layout->RenewViewState();
            block->zoomNumerator = aside->zoomNumerator;
            block->zoomDenominator = aside->zoomDenominator;
        }
        if (ToolWindows* tools = HostService<ToolWindows>()) {
            if (aside->hasZoom) tools->SetZoom(aside->zoomNumerator, aside->zoomDenominator);
            if (aside->previewObject)
                if (CLayoutObj* item = FindObjectById(layout->ItemListHead(), aside->previewObject)) tools->ShowObject(item);
        }
    }
    if (mSavedSettings) {
        mManager.BindLayout(layout);
        mManager.OpenPrinter(mRememberedPrinter, &*mSavedSettings);
        try {
            mManager.SelectPrinter(layout->Texts().printerName, -1);
        } catch (const PrinterUnavailable&) {
            Messages().Show(IDS_PRINTER_NOT_OPENED, {layout->Texts().printerName}, Icon::Error, Buttons::Ok);
        }
    }
    mSavedSettings.reset();
    mRememberedPrinter.clear();
    if (aside) mHost.RedrawLayout(*doc);
    // The pane's refill marks a layout with changed template rows modified; the put-back
    // layout was not edited, so it keeps the state it had.
    if (putBack) layout->SetDirty(aside->layout->GetDirty());
}

}  // namespace vx
