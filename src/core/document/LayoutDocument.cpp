#include "document/LayoutDocument.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "document/LayoutXmlReader.h"
#include "document/LayoutXmlWriter.h"
#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/ImageLabels.h"
#include "model/LayoutOperations.h"
#include "model/ObjectList.h"
#include "model/LayoutViewRefresh.h"
#include "model/Relayout.h"
#include "model/CUndoEntry.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Format.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSummary.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

std::vector<CGPDoc*>& Documents() {
    static std::vector<CGPDoc*> documents;
    return documents;
}

void RefreshToolBar() {
    if (Shell* shell = HostService<Shell>()) shell->RefreshToolBar(255);
}

PrintSettingsPane* ActivePane() {
    Shell* shell = HostService<Shell>();
    return shell ? shell->GetActivePrintSettingsPane() : nullptr;
}

void ResetFormViewInfo() {
    if (PrintSettingsPane* pane = ActivePane()) pane->ResetFormViewInfo();
}

void ClearUndo() {
    if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().ClearUndo();
}

fs::path DocumentsFolder() {
    if (DocumentServices* services = HostService<DocumentServices>()) return services->DocumentsFolder();
    if (const char* home = std::getenv("HOME")) return home;
    return fs::current_path();
}

void AddRecentFile(const fs::path& path) {
    if (DocumentServices* services = HostService<DocumentServices>()) services->AddRecentFile(path);
}

std::string UntitledFileName(const CLayoutSetting& layout) {
    const ViewStateBlock* block = layout.GetViewState();
    return FormatTemplate(LoadString(IDS_UNTITLED_LAYOUT), {(long long)(block ? block->untitledNumber : 0)}) +
           LoadString(IDS_LAYOUT_EXTENSION);
}

// A layout made from a template carries the template's path: proposed as it stands, it
// would be saved as "Foto_A4.kqt.kqf".
std::string LayoutFileName(std::string name) {
    const std::string templateExtension = LoadString(IDS_TEMPLATE_EXTENSION);
    const size_t n = templateExtension.size();
    if (name.size() >= n && EqualsNoCaseAscii(std::string_view(name).substr(name.size() - n), templateExtension))
        name.replace(name.size() - n, n, LoadString(IDS_LAYOUT_EXTENSION));
    return name;
}

bool StopRequested() { return Progress().IsCancelled(); }

/// One file of Load image or of a folder walk: counts it, adds it and folds its outcome
/// into result. True when the walk has to stop.
bool AddOneFile(CGPDoc& doc, CLayoutSetting& layout, const fs::path& path, int& result) {
    ViewStateBlock* block = layout.GetViewState();
    if (block) {
        ++block->statusA;
        StatusBar().UpdateStatusText(kStatusLoading, {(long long)block->statusA, (long long)block->statusB});
    }
    switch (doc.AddImageFile(path)) {
    case kAddDone:
        return false;
    case kAddRemovedAgain:
        result = 1;
        return true;
    case kAddSizeOutOfRange:
        result = 2;
        return true;
    case kAddOutOfMemory:
    case kAddItemLimit:
        result = 4;
        return true;
    default:
        result = 3;
        if (block) --block->statusA;
        return false;
    }
}

}  // namespace

int32_t& AppBusyFlag() {
    if (ApplicationState* app = HostService<ApplicationState>()) return app->Preferences().appBusyFlag;
    static int32_t flag = 0;
    return flag;
}

uint16_t& UntitledLayoutCounter() {
    static uint16_t counter = 0;
    return counter;
}

BusyScope::BusyScope() {
    AppBusyFlag() = 1;
    RefreshToolBar();
}

BusyScope::~BusyScope() { Release(); }

void BusyScope::Release() {
    if (!mHeld) return;
    mHeld = false;
    AppBusyFlag() = 0;
    try {
        RefreshToolBar();
    } catch (...) {  // a destructor must not throw; the flag is what matters
    }
}

fs::path CanonicalFilePath(const fs::path& path) {
    std::error_code error;
    fs::path canonical = fs::canonical(path, error);
    if (error || !fs::is_regular_file(canonical, error) || error) return {};
    return canonical;
}

size_t GetPathRootLength(const std::string& path) {
    return path.size() > 1 && path[0] == '/' ? 1 : 0;
}

bool CanSaveRelativePaths(const CLayoutSetting& layout, const fs::path& path) {
    const std::string document = PathText(path);
    const size_t n = GetPathRootLength(document);
    if (n == 0) return false;
    auto sameRoot = [&](const std::string& other) {
        return other.size() >= n && other.compare(0, n, document, 0, n) == 0;
    };
    for (const CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) {
        if (item->GetKind() != 1) continue;
        if (!sameRoot(PathText(static_cast<const CImageObj*>(item)->GetFilePath()))) return false;
    }
    const std::string& stamp = layout.Texts().imageStampPath;
    return stamp.empty() || sameRoot(stamp);
}

CGPDoc::CGPDoc(DocumentOwner* owner) : mOwner(owner) { Documents().push_back(this); }

CGPDoc::~CGPDoc() {
    auto& documents = Documents();
    documents.erase(std::remove(documents.begin(), documents.end(), this), documents.end());
    try {
        DeleteLayout();
    } catch (...) {
    }
}

const std::vector<CGPDoc*>& CGPDoc::OpenDocuments() { return Documents(); }

void CGPDoc::AdoptLayout(std::unique_ptr<CLayoutSetting> layout) {
    DeleteLayout();
    mLayout = std::move(layout);
}

void CGPDoc::DeleteLayout() {
    if (!mLayout) return;
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) {
        mLayout.reset();
        return;
    }
    app->GetUndoStore().ClearUndo();
    app->DeleteLayoutRecord(std::move(mLayout), &app->ActiveLayoutSlot());
}

CGPDoc* CGPDoc::FirstOther() const {
    for (CGPDoc* doc : Documents())
        if (doc != this) return doc;
    return nullptr;
}

bool CGPDoc::CanSave() const {
    return AppBusyFlag() == 0 && mLayout && mLayout->GetDirty() && mLayout->GetSavedLayout();
}

bool CGPDoc::CanSaveAs() const { return AppBusyFlag() == 0; }

bool CGPDoc::OnNewDocument() {
    if (AppBusyFlag()) return false;
    std::optional<fs::path> chosen;
    {
        BusyScope busy;
        SettingsDialogs* dialogs = HostService<SettingsDialogs>();
        if (dialogs) chosen = dialogs->ChooseTemplate();
    }
    if (!chosen) return false;

    // The template is loaded and prepared before the old layout is closed, so that a
    // template that fails leaves the open layout as it was.
    BusyScope busy;
    const bool fromDefaults = chosen->empty();
    const fs::path path = fromDefaults ? fs::path() : CanonicalFilePath(*chosen);
    if (!fromDefaults && path.empty()) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    const CTemplateInfoArray keptInfo = CurrentTemplateInfo();
    LayoutLoad load;
    if (fromDefaults) {
        // A first start has no template yet: the layout is the application's default one.
        try {
            load.layout = NewLayoutFromDefaults();
            load.status = LayoutLoadStatus::Loaded;
        } catch (const std::bad_alloc&) {
            Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
            return false;
        }
    } else {
        load = LoadLayoutXml(path);
        if (!load.Ok()) {
            if (load.status == LayoutLoadStatus::Unreadable)
                Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
            return false;
        }
    }
    ApplicationState* app = HostService<ApplicationState>();
    auto discard = [&] {
        CurrentTemplateInfo() = keptInfo;
        if (app) app->DeleteLayoutRecord(std::move(load.layout), &app->ActiveLayoutSlot());
    };
    if (app && !app->PrepareNewLayout(*load.layout)) {
        discard();
        return false;
    }
    busy.Release();

    mCloseRefused = 0;
    for (CGPDoc* other : std::vector<CGPDoc*>(Documents())) {
        if (other == this || !other->GetLayout()) continue;
        other->OnFileClose();
        if (mCloseRefused) {
            discard();
            return false;
        }
    }
    AdoptLayout(std::move(load.layout));
    const uint16_t number = ++UntitledLayoutCounter();
    if (ViewStateBlock* block = mLayout->GetViewState()) block->untitledNumber = static_cast<int16_t>(number);
    mLayout->SetSavedTemplate(1);
    mLayout->SetSavedLayout(0);
    mTemplateFileName = PathText(path.filename());
    if (!fromDefaults) AddRecentFile(path);
    return true;
}

bool CGPDoc::OnOpenDocument(const fs::path& requested) {
    const fs::path path = CanonicalFilePath(requested);
    if (path.empty()) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    mCloseRefused = 0;
    ApplicationState* app = HostService<ApplicationState>();
    const bool directPrinting = app && app->Preferences().directPrint != 0;
    if (!directPrinting) {
        for (CGPDoc* other : std::vector<CGPDoc*>(Documents())) {
            if (other == this || !other->GetLayout()) continue;
            CLayoutSetting& layout = *other->GetLayout();
            if (CanonicalFilePath(PathFromStored(layout.Texts().documentPath)) == path && layout.GetDirty()) {
                if (Messages().Show(IDS_DISCARD_CURRENT_LAYOUT, {}, Icon::Question, Buttons::YesNo) != kIdYes)
                    return false;
                layout.SetDirty(0);
            }
            other->OnFileClose();
            if (mCloseRefused) return false;
            break;
        }
    }
    if (AppBusyFlag()) return false;
    BusyScope busy;
    LayoutLoad load = LoadLayoutXml(path);
    if (!load.Ok()) {
        if (load.status == LayoutLoadStatus::Unreadable)
            Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    AdoptLayout(std::move(load.layout));
    if (mOwner) mOwner->SetDocumentTitle(PathText(path.stem()));
    busy.Release();
    if (EqualsNoCaseAscii(PathText(path.extension()), LoadString(IDS_TEMPLATE_EXTENSION))) {
        mTemplateFileName = PathText(path.filename());
        mLayout->SetSavedLayout(0);
        mLayout->SetSavedTemplate(1);
    } else {
        mTemplateFileName.clear();
        mLayout->SetSavedLayout(1);
        mLayout->SetSavedTemplate(0);
    }
    return true;
}

bool CGPDoc::AskRelativeFallback(CLayoutSetting& layout, const fs::path& path) {
    if (!layout.GetRelative() || CanSaveRelativePaths(layout, path)) return true;
    if (Messages().Show(IDS_RELATIVE_PATHS_IMPOSSIBLE, {}, Icon::Warning, Buttons::OkCancel) != kIdOk) return false;
    layout.SetRelative(0);
    return true;
}

void CGPDoc::OnFileSave() {
    if (!mLayout || !mLayout->GetViewState()) return;
    if (!mLayout->GetSavedLayout() || !mLayout->GetDirty()) {
        OnFileSaveAs();
        return;
    }
    if (AppBusyFlag()) return;
    BusyScope busy;
    const fs::path path = PathFromStored(mLayout->Texts().documentPath);
    if (!AskRelativeFallback(*mLayout, path)) return;
    if (SaveLayoutFile(mLayout.get(), path)) {
        ResetFormViewInfo();
        ClearUndo();
    }
}

int CGPDoc::SaveLayoutFile(CLayoutSetting* layout, const fs::path& path) {
    if (!layout) return 0;
    if (!SaveLayoutXml(path, *layout)) {
        Messages().Show(IDS_FILE_NOT_SAVED, {}, Icon::Error, Buttons::Ok);
        return 0;
    }
    if (layout->GetViewState() && !layout->GetTemplate()) layout->SetDirty(0);
    layout->SetSavedLayout(1);
    layout->SetSavedTemplate(0);
    return 1;
}

bool CGPDoc::DoSaveAs() {
    if (!mLayout) return true;
    if (AppBusyFlag()) return false;
    BusyScope busy;
    CLayoutSetting& layout = *mLayout;
    // Everything the dialog steps change, put back when the save fails.
    const std::string keptPath = layout.Texts().documentPath;
    const std::string keptComment = layout.Texts().comment;
    const std::string keptDefault = mDefaultPath;
    const auto keptRelative = layout.GetRelative();
    auto restore = [&] {
        layout.Texts().documentPath = keptPath;
        layout.Texts().comment = keptComment;
        mDefaultPath = keptDefault;
        layout.SetRelative(keptRelative);
    };

    std::string name;
    fs::path folder;
    if (keptPath.empty()) {
        name = UntitledFileName(layout);
        mDefaultPath = name;
        folder = DocumentsFolder();
    } else {
        const fs::path current = PathFromStored(keptPath);
        name = LayoutFileName(PathText(current.filename()));
        folder = layout.GetSavedLayout() ? current.parent_path() : DocumentsFolder();
    }

    DocumentServices* services = HostService<DocumentServices>();
    fs::path target;
    bool relative = false;
    for (;;) {
        std::optional<SaveLayoutChoice> choice =
            services ? services->ChooseSaveLayoutPath(folder, name, layout.GetRelative() != 0) : std::nullopt;
        if (!choice) {
            mDefaultPath = keptDefault;
            return false;
        }
        target = choice->path;
        // The extension test is exact: "plan.KQF" becomes "plan.KQF.kqf".
        if (PathText(target.extension()) != LoadString(IDS_LAYOUT_EXTENSION))
            target += LoadString(IDS_LAYOUT_EXTENSION);
        relative = choice->relative;
        std::error_code error;
        // The dialog asks nothing itself: an existing file is replaced only when the user says so.
        if (!fs::exists(target, error) ||
            Messages().Show(IDS_REPLACE_EXISTING_FILE, {PathText(target.filename())}, Icon::Warning, Buttons::YesNo) ==
                kIdYes)
            break;
        folder = target.parent_path();
        name = PathText(choice->path.filename());
    }

    layout.Texts().documentPath = PathText(target);
    if (relative && !CanSaveRelativePaths(layout, target)) {
        if (Messages().Show(IDS_RELATIVE_PATHS_IMPOSSIBLE, {}, Icon::Warning, Buttons::OkCancel) != kIdOk) {
            restore();
            return false;
        }
        relative = false;
    }
    mDefaultPath = PathText(target);
    layout.SetRelative(relative ? 1 : 0);
    layout.Texts().comment.clear();

    if (!SaveLayoutFile(&layout, target)) {
        layout.SetTemplate(0);
        restore();
        return false;
    }
    if (!layout.GetTemplate()) {
        if (mOwner) {
            mOwner->SetDocumentTitle(PathText(target.stem()));
            mOwner->SetDocumentPath(target);
        }
        AddRecentFile(target);
        mTemplateFileName.clear();
        if (services) services->RenewMainTitle();
    } else {
        layout.SetTemplate(0);
        layout.Texts().documentPath = keptPath;
    }
    if (!TemplateCatalog().IsEmpty()) {
        TemplateInfo info;
        if (ReadTemplateSummary(target, info)) SetCurrentTemplateInfo(info);
        if (PrintSettingsPane* pane = ActivePane()) pane->UpdateTemplateSettingsText(layout);
    }
    ClearUndo();
    layout.SetDirty(0);
    ResetFormViewInfo();
    return true;
}

void CGPDoc::OnFileClose() {
    if (mOwner) {
        mOwner->CloseDocument();
    } else if (SaveModified()) {
        DeleteLayout();
    }
    ToolWindows* tools = HostService<ToolWindows>();
    if (tools) tools->RecreatePreviewPane();
}

std::string CGPDoc::QuestionName() const {
    const std::string& path = mLayout->Texts().documentPath;
    return path.empty() ? UntitledFileName(*mLayout) : PathText(PathFromStored(path).filename());
}

void CGPDoc::RefuseCloseOfOthers() {
    if (CGPDoc* other = FirstOther()) other->SetCloseRefused(true);
}

bool CGPDoc::SaveModified() {
    // A document without a layout has nothing to lose.
    if (!mLayout || !mLayout->GetDirty()) return true;
    if (AppBusyFlag()) return false;
    BusyScope busy;
    Shell* shell = HostService<Shell>();
    const bool creating = shell && shell->IsViewCreating();
    const int answer = Messages().Show(IDS_SAVE_BEFORE_CLOSING, {"\"" + QuestionName() + "\""}, Icon::Warning,
                                       creating ? Buttons::YesNo : Buttons::YesNoCancel);
    if (answer == kIdNo) return true;
    if (answer == kIdYes) {
        bool saved;
        if (mLayout->GetSavedLayout() == 1) {
            const fs::path path = PathFromStored(mLayout->Texts().documentPath);
            saved = AskRelativeFallback(*mLayout, path) && SaveLayoutFile(mLayout.get(), path);
            if (saved) ClearUndo();
        } else {
            busy.Release();
            saved = DoSaveAs();
        }
        if (saved) return true;
    }
    // Cancel, or a save that did not happen: the old layout stays open.
    RefuseCloseOfOthers();
    return false;
}

namespace {
ImageFileAdder& Adder() {
    static ImageFileAdder adder;
    return adder;
}
}  // namespace

ImageFileAdder SetImageFileAdder(ImageFileAdder adder) { return std::exchange(Adder(), std::move(adder)); }

int CGPDoc::AddImageFile(const fs::path& path) {
    if (!mLayout) return kAddNothing;
    if (Adder()) return Adder()(*mLayout, path);
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return kAddNothing;
    return AddImageFilesToLayout(mLayout.get(), path, app->GetUndoStore());
}

int CGPDoc::OnLoadImage() {
    ApplicationState* app = HostService<ApplicationState>();
    if (!mLayout || !app || app->ImportLocked() || AppBusyFlag()) return 0;
    CLayoutSetting& layout = *mLayout;
    UndoStore& undo = app->GetUndoStore();
    int result = 0;
    bool quickPrint = false;
    int32_t countBefore = 0;
    std::unique_ptr<CUndoEntry> snapshot;
    {
        BusyScope busy;
        ToolWindows* tools = HostService<ToolWindows>();
        const std::vector<fs::path> paths = tools ? tools->ChooseImageFiles(DocumentsFolder()) : std::vector<fs::path>{};
        if (paths.empty()) return 0;
        if (ViewStateBlock* block = layout.GetViewState()) block->statusA = block->statusB = 0;
        undo.SnapshotLayout(layout, snapshot, nullptr);
        undo.PushUndo(layout, 36);
        const bool automatic = !layout.GetFree();
        quickPrint = app->Preferences().quickPrint == 1 && automatic;
        countBefore = CountObjects(layout.ItemListHead());

        for (const fs::path& path : paths) {
            std::error_code error;
            bool stop = false;
            if (fs::is_directory(path, error)) {
                int folderResult = AddImagesFromFolder(*this, path, layout, stop);
                if (folderResult) result = folderResult;
            } else {
                stop = AddOneFile(*this, layout, path, result);
            }
            if (stop || StopRequested()) break;
        }
        EndImageLoad(layout, automatic, result);
    }
    QuickPrintLoadedImages(layout, undo, snapshot.get(), quickPrint, countBefore);
    return result;
}

int AddImagesFromFolder(CGPDoc& doc, const fs::path& folder, CLayoutSetting& layout, bool& stop) {
    int result = 0;
    std::vector<std::pair<std::string, fs::directory_entry>> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = PathText(it->path().filename());
        if (name.empty() || name[0] == '.') continue;  // hidden files and folders
        entries.emplace_back(FoldForSort(name), *it);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, entry] : entries) {
        std::error_code statusError;
        const fs::file_status own = entry.symlink_status(statusError);
        if (fs::is_directory(own)) {
            int inner = AddImagesFromFolder(doc, entry.path(), layout, stop);
            if (inner) result = inner;
        } else if (fs::is_symlink(own) && fs::is_directory(entry.path(), statusError)) {
            continue;  // linked folders are not followed (a loop would never end)
        } else {
            stop = AddOneFile(doc, layout, entry.path(), result);
        }
        if (stop || (stop = StopRequested())) break;
    }
    StatusBar().UpdateStatusText(result == 3 ? kStatusUnsupported : kStatusReady, {});
    return result;
}

}  // namespace vx
