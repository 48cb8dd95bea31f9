#include "app/LayoutDrops.h"

#include <memory>
#include <system_error>

#include "app/ApplicationCommands.h"
#include "document/LayoutDocument.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/ImageAdding.h"
#include "model/ImageLabels.h"
#include "model/LayoutOperations.h"
#include "model/LayoutViewRefresh.h"
#include "model/ObjectList.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Ports.h"

namespace fs = std::filesystem;

namespace vx {
CLayoutSetting* CGPDocDropDocument::Layout() { return mDoc.GetLayout(); }

int CGPDocDropDocument::AddImageFile(const fs::path& path) { return mDoc.AddImageFile(path); }

int CGPDocDropDocument::AddImagesFromFolder(const fs::path& folder, bool& stop) {
    CLayoutSetting* layout = mDoc.GetLayout();
    return layout ? vx::AddImagesFromFolder(mDoc, folder, *layout, stop) : 0;
}

int DropFilesOnLayout(DropDocument* doc, const std::vector<fs::path>& files) {
    ApplicationState* app = HostService<ApplicationState>();
    if (app && app->ImportLocked()) return -1;
    CLayoutSetting* target = doc ? doc->Layout() : nullptr;
    if (!app || !target || AppBusyFlag()) return -1;
    CLayoutSetting& layout = *target;
    UndoStore& undo = app->GetUndoStore();

    std::unique_ptr<CUndoEntry> snapshot;
    bool quickPrint = false;
    int32_t countBefore = 0;
    int result = 0;
    {
        BusyScope busy;
        undo.ClearUndo();
        undo.SnapshotLayout(layout, snapshot, nullptr);
        undo.PushUndo(layout, 36);
        ViewStateBlock* block = layout.GetViewState();
        if (block) {
            block->statusA = 0;
            block->statusB = static_cast<int32_t>(files.size());
        }
        const bool automatic = layout.GetFree() == 0;
        quickPrint = automatic && app->Preferences().quickPrint == 1;
        countBefore = CountObjects(layout.ItemListHead());

        for (const fs::path& path : files) {
            std::error_code error;
            const fs::file_status status = fs::status(path, error);
            bool stop = false;
            if (fs::is_directory(status)) {
                if (int folderResult = doc->AddImagesFromFolder(path, stop)) result = folderResult;
            } else if (fs::exists(status)) {
                if (block) {
                    ++block->statusA;
                    const Args counts{(long long)block->statusA, (long long)block->statusB};
                    StatusBar().UpdateStatusText(kStatusLoading, counts);
                }
                switch (doc->AddImageFile(path)) {
                case kAddDone:
                    break;
                case kAddRemovedAgain:
                    result = 1;
                    stop = true;
                    break;
                case kAddSizeOutOfRange:
                    result = 2;
                    stop = true;
                    break;
                case kAddOutOfMemory:
                case kAddItemLimit:
                    result = 4;
                    stop = true;
                    break;
                default:  // not taken: the count goes back, loading goes on
                    result = 3;
                    if (block) --block->statusA;
                    break;
                }
            }
            // Keeps the window painted and reads the cancel chord (Ctrl with '.').
            if (stop || Progress().IsCancelled()) break;
        }
        if (automatic) InvalidateMainFormView();
        EndImageLoad(layout, automatic, result);
    }
    QuickPrintLoadedImages(layout, undo, snapshot.get(), quickPrint, countBefore);
    return result;
}

void DropFilesOnFrame(const std::vector<fs::path>& files, const std::function<void(const fs::path&)>& open) {
    ApplicationState* app = HostService<ApplicationState>();
    if (app && app->ImportLocked()) return;
    if (app) {
        Shell* shell = HostService<Shell>();
        if (shell && shell->GetLayoutView() && app->ActiveLayoutSlot()) app->GetUndoStore().ClearUndo();
    }
    // A drop while another command holds the busy flag leaves the flag to that command.
    if (files.empty() || AppBusyFlag()) return;
    OpenLayoutFiles({files.front()}, open);
}

}  // namespace vx
