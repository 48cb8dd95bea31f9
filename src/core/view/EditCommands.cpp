#include "view/EditCommands.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/ClipboardCommands.h"
#include "model/ImageLabels.h"
#include "model/ItemClipboard.h"
#include "model/LayoutLimits.h"
#include "model/LayoutOperations.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/Relayout.h"
#include "model/SelectObjects.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "printing/BusyIndicator.h"
#include "platform/system/StringTable.h"
#include "view/CGPView.h"
#include "view/HitTesting.h"
#include "view/ItemTracker.h"
#include "view/LayoutViewCore.h"
#include "view/ViewMapping.h"

namespace vx {
namespace {

constexpr int kFreeTextCommand = 33004;
constexpr int kFreeLineCommand = 33006;

AppPreferences* Preferences() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

bool PreviewWindowShown() {
    const AppPreferences* p = Preferences();
    return p && p->imagePreviewWindow;
}

bool HasKind(const CLayoutSetting& layout, int kind) {
    return CountObjectsOfKind(layout.ItemListHead(), kind) > 0;
}

bool HasImageOnPage(const CLayoutSetting& layout, int page) {
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage && PageOfY(layout, p->GetPosition().y) - 1 == page) return true;
    return false;
}

/// The item's page by its drawing origin; everything is on page 0 without a paper height.
int PageIndexOfItem(const CLayoutSetting& layout, const CLayoutObj& item) {
    const int32_t height = layout.GetPaper().y;
    return height > 0 ? GetItemDrawOrigin(item).y / height : 0;
}

int SelectModeOf(int commandId) {
    switch (commandId) {
    case kCmdSelectAll: return kSelectAll;
    case kCmdSelectAllImages: return kSelectImages;
    case kCmdSelectAllOnPage: return kSelectImagesOnPage;
    case kCmdSelectAllInFolder: return kSelectImagesInFolder;
    case kCmdSelectAllFreeTexts: return kSelectTexts;
    case kCmdSelectAllFreeLines: return kSelectLines;
    case kCmdSelectInvert: return kSelectInvert;
    case kCmdSelectNone: return kSelectNone;
    default: return 0;
    }
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool DuplicateSeveralBound() {
    SettingsDialogs* dialogs = HostService<SettingsDialogs>();
    return dialogs && dialogs->Has(SettingsDialogs::Dialog::DuplicateSeveralTimes);
}

}  // namespace

bool ImageInfoWindowShown() {
    const AppPreferences* p = Preferences();
    return p && p->imageInfoWindow;
}

EditCommands::EditCommands(LayoutViewCore& core, CGPView& view, ViewWindowPort& window)
    : mCore(core), mView(view), mWindow(window), mKeys([this] { return Layout(); }) {}

CLayoutSetting* EditCommands::Layout() const { return mCore.LayoutSetting(); }

UndoStore* EditCommands::Store() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->GetUndoStore() : nullptr;
}

bool EditCommands::HasSelection() const {
    const CLayoutSetting* layout = Layout();
    return layout && (layout->GetSelected() != 0 || layout->GetOther() != 0);
}

bool EditCommands::Handles(int commandId) {
    switch (commandId) {
    case kCmdEditUndo:
    case kCmdEditUndoForwarded:
    case kCmdEditDuplicate:
    case kCmdEditDuplicateSeveral:
    case kCmdEditClear:
    case kCmdEditCopy:
    case kCmdEditCut:
    case kCmdEditPaste: return true;
    default: return SelectModeOf(commandId) != 0;
    }
}

CommandState EditCommands::State(int commandId) const {
    CommandState state;
    const CLayoutSetting* layout = Layout();
    if (!layout) {
        state.enabled = false;
        return state;
    }
    const bool selection = HasSelection();
    switch (commandId) {
    case kCmdEditUndo:
    case kCmdEditUndoForwarded: {
        const UndoStore* undo = Store();
        state.enabled = undo && undo->CanUndo();
        break;
    }
    case kCmdEditCut:
    case kCmdEditCopy:
    case kCmdEditDuplicate:
    case kCmdEditClear:
    case kCmdSelectNone: state.enabled = selection; break;
    case kCmdEditDuplicateSeveral: state.enabled = selection && DuplicateSeveralBound(); break;
    case kCmdEditPaste: state.enabled = !ItemClipboard::Instance().IsEmpty(); break;
    case kCmdSelectAll:
    case kCmdSelectInvert: state.enabled = layout->GetFirstItem() != nullptr; break;
    case kCmdSelectAllImages: state.enabled = HasKind(*layout, kKindImage); break;
    case kCmdSelectAllOnPage: state.enabled = HasImageOnPage(*layout, mCore.GetCurrentPage()); break;
    case kCmdSelectAllInFolder: state.enabled = layout->GetSelected() > 0; break;
    case kCmdSelectAllFreeTexts: state.enabled = HasKind(*layout, kKindText); break;
    case kCmdSelectAllFreeLines: state.enabled = HasKind(*layout, kKindLine); break;
    default: state.enabled = false; break;
    }
    return state;
}

void EditCommands::OnCommand(int commandId) {
    // Menus and keys reach here only while enabled, but a stale menu must not act.
    if (!State(commandId).enabled) return;
    switch (commandId) {
    case kCmdEditUndo:
    case kCmdEditUndoForwarded: Undo(); break;
    case kCmdEditCut: Cut(); break;
    case kCmdEditCopy: Copy(); break;
    case kCmdEditPaste: Paste(); break;
    case kCmdEditDuplicate: Duplicate(); break;
    case kCmdEditDuplicateSeveral: DuplicateSeveralTimes(); break;
    case kCmdEditClear: Delete(); break;
    default:
        if (const int mode = SelectModeOf(commandId)) Select(mode);
        break;
    }
}

void EditCommands::RefreshImageInfo() const {
    if (!ImageInfoWindowShown()) return;
    const CLayoutSetting* layout = Layout();
    UpdateImageInfoWindow(layout ? layout->GetCurrentItem() : nullptr);
}

void EditCommands::Undo() {
    CLayoutSetting* layout = Layout();
    UndoStore* undo = Store();
    if (!layout || !undo || !undo->CanUndo()) return;
    mKeys.Close();
    BusyScope wait(HostService<BusyIndicator>());
    undo->PerformUndo(*layout);
    Relayout(*layout);
    InvalidateMainFormView();
    StatusBar().UpdateStatusText(kStatusReady);
    RefreshImageInfo();
    undo->ClearUndo();
    mCore.Invalidate();
}

void EditCommands::Copy() {
    if (const CLayoutSetting* layout = Layout()) CopyObjects(*layout);
}

void EditCommands::Cut() {
    CLayoutSetting* layout = Layout();
    UndoStore* undo = Store();
    if (!layout || !undo) return;
    CutObjects(*layout, *undo);
    if (ImageInfoWindowShown() && !layout->GetCurrentItem()) UpdateImageInfoWindow(nullptr);
    InvalidateMainFormView();
    mCore.Invalidate();
}

void EditCommands::Paste() {
    CLayoutSetting* layout = Layout();
    UndoStore* undo = Store();
    if (!layout || !undo) return;
    PasteObjects(*layout, *undo);
    RefreshImageInfo();
    InvalidateMainFormView();
    mCore.Invalidate();
}

void EditCommands::DuplicateFailed(int result) {
    switch (result) {
    case kDuplicateTooLong: Messages().Show(IDS_PAPER_LENGTH_LIMIT, {}, Icon::Error, Buttons::Ok); break;
    case kDuplicateTooManySheets: Messages().Show(IDS_PAGE_COUNT_LIMIT, {}, Icon::Error, Buttons::Ok); break;
    case kDuplicateOutOfMemory: Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok); break;
    case kDuplicateItemLimit: ShowObjectLimitMessage(); break;
    default: break;
    }
}

void EditCommands::Duplicate() {
    CLayoutSetting* layout = Layout();
    UndoStore* undo = Store();
    if (!layout || !undo) return;
    std::unique_ptr<CUndoEntry> snapshot, previous;
    // Without the snapshot a refused duplicate could not be put back: do nothing.
    if (!undo->SnapshotLayout(*layout, snapshot, &previous)) {
        Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
        return;
    }
    const int result = DuplicateSelection(*layout, *undo);
    DuplicateFailed(result);
    if (result == kDuplicateTooLong || result == kDuplicateTooManySheets) {
        undo->RestoreLayoutSnapshot(*layout, *snapshot, previous.get());
        UpdateLayoutAndRedraw(*layout);
        InvalidateMainFormView();
        mCore.Invalidate();
        return;
    }
    if (ImageInfoWindowShown() && layout->GetCurrentItem()) UpdateImageInfoWindow(layout->GetCurrentItem());
    InvalidateMainFormView();
    mCore.Invalidate();
}

void EditCommands::DuplicateSeveralTimes() {
    CLayoutSetting* layout = Layout();
    SettingsDialogs* dialogs = HostService<SettingsDialogs>();
    if (!layout || !dialogs) return;
    // The dialog runs the series as one undo step and puts a refused series back.
    dialogs->RunDuplicateSeveralTimes(*layout);
    if (ImageInfoWindowShown() && layout->GetCurrentItem()) UpdateImageInfoWindow(layout->GetCurrentItem());
    InvalidateMainFormView();
    mCore.Invalidate();
}

void EditCommands::Select(int mode) {
    CLayoutSetting* layout = Layout();
    if (!layout) return;
    SelectObjects(*layout, mode);
    mCore.Invalidate();
    if (!ImageInfoWindowShown()) return;
    switch (mode) {
    case kSelectTexts:
    case kSelectLines: break;
    case kSelectNone: UpdateImageInfoWindow(nullptr); break;
    case kSelectAll: UpdateImageInfoWindow(layout->GetSelected() == 1 ? layout->GetCurrentItem() : nullptr); break;
    default: UpdateImageInfoWindow(layout->GetCurrentItem()); break;
    }
}

void EditCommands::Delete() {
    CLayoutSetting* layout = Layout();
    UndoStore* undo = Store();
    if (!layout) return;
    mKeys.Close();
    if (undo && HasSelection() && undo->PushUndo(*layout, kUndoCodeDelete)) {
        layout->SetCurrentItem(nullptr);
        ToolWindows* tools = HostService<ToolWindows>();
        ItemClipboard& clipboard = ItemClipboard::Instance();
        const ViewMapping mapping = MakeViewMapping(mView);
        std::optional<PixelRect> dirty;
        // One pass over the list: unlinking by id item by item would walk it once per item.
        CLayoutObj* prev = nullptr;
        for (CLayoutObj* p = layout->GetFirstItem(); p;) {
            CLayoutObj* next = p->NextItem();
            if (!p->GetSelected()) {
                prev = p;
                p = next;
                continue;
            }
            PixelRect trueRect;
            SetupObjectTracker(mapping, *p, &trueRect);
            dirty = dirty ? Union(*dirty, trueRect) : trueRect;
            if (prev)
                prev->SetNext(next);
            else
                *layout->ItemListHead() = next;
            p->SetNext(nullptr);
            if (tools) tools->OnPreviewObjectRemoved(p->GetObjectId());
            // The previous list owns it now; its owner is cleared so that nothing reaches
            // the layout through it once the layout closes.
            clipboard.AdoptDeleted(std::unique_ptr<CLayoutObj>(p));
            p = next;
        }
        layout->SetDirty(1);
        // One redraw of where the items were, not one per item.
        if (dirty) mCore.OnViewUpdate({kViewHintZoom, dirty});
        if (ImageInfoWindowShown()) UpdateImageInfoWindow(nullptr);
        if (CLayoutObj* first = layout->GetFirstItem()) first->SetChanged(1);
        Relayout(*layout);
        RenumberImageItems(*layout);
    }
    const int pages = GetPageCount(*layout);
    if (pages <= mCore.GetCurrentPage()) {
        mCore.SetCurrentPage(std::max(pages - 1, 0));
        StatusBar().UpdateStatusText(kStatusReady);
    }
    InvalidateMainFormView();
}

void EditCommands::OnRightButtonDown(PixelPoint client, bool shift) {
    CLayoutSetting* layout = Layout();
    if (!layout) return;
    mKeys.Close();
    CLayoutObj* item = nullptr;
    if (mView.SelectAtPoint(client, shift, &item) == kHitNothing && !shift) mView.DeselectAll();
    if (!IsPointOnPage(*layout, MakeViewMapping(mView), client)) mView.DeselectAll();
    mCore.OnViewUpdate({kViewHintSelection, std::nullopt});
}

CursorChoice EditCommands::CursorAt(PixelPoint client) const {
    return DecideCursor(Layout(), MakeViewMapping(mView), client);
}

void EditCommands::OnDoubleClick(PixelPoint client) {
    CLayoutSetting* layout = Layout();
    if (!layout) return;
    mKeys.Close();
    const ViewMapping mapping = MakeViewMapping(mView);
    if (!IsPointOnPage(*layout, mapping, client)) mView.DeselectAll();
    const int page = mCore.GetCurrentPage();
    CLayoutObj* taken = nullptr;
    for (CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) {
        if (PageIndexOfItem(*layout, *p) != page) continue;
        if (mView.HitTestItem(*p, client) != kHitNothing) taken = p;
    }
    if (!taken) return;
    switch (taken->GetKind()) {
    case kKindImage: {
        if (layout->GetSelected() <= 0) return;
        CLayoutObj* item = FindObjectById(layout->ItemListHead(), taken->GetObjectId());
        if (!item) {
            layout->SetCurrentItem(nullptr);
            mView.DeselectAll();
            return;
        }
        layout->SetCurrentItem(item);
        AppPreferences* prefs = Preferences();
        ToolWindows* tools = HostService<ToolWindows>();
        if (prefs && !prefs->imagePreviewWindow) {
            prefs->imagePreviewWindow = 1;
            // Creates the preview window when it does not exist yet.
            if (tools) tools->ShowToolWindowsFromSettings(*prefs);
        }
        if (tools) tools->UpdateImage();
        break;
    }
    case kKindText:
    case kKindLine:
        if (!taken->GetSelected()) return;
        taken->SetDblClickSelected(1);
        mWindow.PostFrameCommand(taken->GetKind() == kKindText ? kFreeTextCommand : kFreeLineCommand);
        break;
    default: break;
    }
}

void EditCommands::OnActivateView(bool activate, const ActiveView* activated, const ActiveView* deactivated,
                                  bool hasActiveDocument) {
    const void* activatedId = activated ? activated->id : nullptr;
    if (ImageInfoWindowShown()) {
        if (activate && activatedId != mLastActivated && deactivated) {
            const CLayoutObj* current = activated && activated->layout ? activated->layout->GetCurrentItem() : nullptr;
            UpdateImageInfoWindow(current);
        }
        if (!activate && !(activated && activated->printSettingsPane) && !hasActiveDocument)
            UpdateImageInfoWindow(nullptr);
    }
    mLastActivated = activatedId;
}

}  // namespace vx
