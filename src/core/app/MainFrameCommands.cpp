#include "app/MainFrameCommands.h"

#include <memory>

#include "document/CommandHosts.h"
#include "document/LayoutDocument.h"
#include "host/FatalError.h"
#include "host/LayoutView.h"
#include "host/ViewServices.h"
#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/CUndoEntry.h"
#include "model/ClampedMove.h"
#include "model/FreeTextItem.h"
#include "model/ImageAdding.h"
#include "model/LayoutLimits.h"
#include "model/LayoutTypes.h"
#include "model/LayoutViewRefresh.h"
#include "model/NewItemPlacement.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {

using namespace command_hosts;
using Dialog = SettingsDialogs::Dialog;

namespace {

constexpr uint16_t kUndoInsert = 5;
constexpr uint16_t kUndoEditLine = 12;
constexpr uint16_t kUndoEditText = 159;
// Both coordinates of a new item that PlaceNewObject is to place.
constexpr int32_t kUnplaced = -65535;

void ShowError(int id) { Messages().Show(id, {}, Icon::Error, Buttons::Ok); }

int KindOf(int commandId) {
    return commandId == kFrameCmdInsertFreeText || commandId == kFrameCmdEditFreeText ? kKindText : kKindLine;
}

/// Whether exactly one item of kind is selected.
bool OneSelectedOfKind(const CLayoutSetting& layout, int kind) {
    int count = 0;
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kind && p->GetSelected()) ++count;
    return count == 1;
}

/// The document's views after a change of items: the layout view repaints, the pane
/// re-reads page count and settings.
void UpdateViews(CLayoutSetting& layout) {
    InvalidateLayoutView(layout);
    if (PrintSettingsPane* pane = Pane()) pane->OnUpdate(kHintLayoutChanged);
}

void Finish(CLayoutSetting& layout) {
    Relayout(layout);
    layout.SetDirty(1);
    UpdateViews(layout);
    StatusBar().UpdateStatusText(kStatusReady, {});
}

/// One undoable step around a dialog: copies of the layout and of the undo state taken
/// first, so that Cancel or a refusal puts both back as they were, the user's earlier
/// undo entry included (undoing the pushed step would lose it).
class UndoBracket {
public:
    UndoBracket(CLayoutSetting& layout, UndoStore& undo) : mLayout(layout), mUndo(undo) {}
    UndoBracket(const UndoBracket&) = delete;
    UndoBracket& operator=(const UndoBracket&) = delete;

    /// Takes the copies; false (the layout unchanged) when memory runs out.
    bool Snapshot() {
        mTaken = mUndo.SnapshotLayout(mLayout, mSnapshot, &mPrevious);
        return mTaken;
    }
    /// Takes the copies and pushes code; false after putting everything back.
    bool Open(uint16_t code) {
        if (!Snapshot()) return false;
        if (mUndo.PushUndo(mLayout, code)) return true;
        GiveBack();
        return false;
    }
    void GiveBack() {
        if (mTaken) mUndo.RestoreLayoutSnapshot(mLayout, *mSnapshot, mPrevious.get());
    }

private:
    CLayoutSetting& mLayout;
    UndoStore& mUndo;
    std::unique_ptr<CUndoEntry> mSnapshot;
    std::unique_ptr<CUndoEntry> mPrevious;
    bool mTaken = false;
};

/// After a refused header or footer: the layout as before, laid out and shown again.
void PutBack(UndoBracket& bracket, CLayoutSetting& layout, int message) {
    ShowError(message);
    bracket.GiveBack();
    UpdateLayoutAndRedraw(layout);
    InvalidateMainFormView();
}

}  // namespace

CLayoutObj* ChooseEditedItem(CLayoutSetting& layout, int kind) {
    CLayoutObj* only = nullptr;
    int selected = 0;
    CLayoutObj* clicked = nullptr;
    int clicks = 0;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() != kind) continue;
        if (p->GetSelected()) {
            ++selected;
            only = p;
            if (p->GetDblClickSelected()) {
                ++clicks;
                clicked = p;
            }
        }
        // A flag left behind would steer a later edit.
        p->SetDblClickSelected(0);
    }
    if (selected == 1) return only;
    return clicks == 1 ? clicked : nullptr;
}

bool MainFrameCommands::Handles(int commandId) {
    switch (commandId) {
        case kFrameCmdPreferences:
        case kFrameCmdOrganizeTemplates:
        case kFrameCmdHeaderFooter:
        case kFrameCmdInsertFreeText:
        case kFrameCmdEditFreeText:
        case kFrameCmdInsertFreeLine:
        case kFrameCmdEditFreeLine: return true;
        default: return false;
    }
}

CommandState MainFrameCommands::State(int commandId, const CGPDoc* doc, const AppPreferences& preferences,
                                      const BoundDialogs& dialogs) {
    const CLayoutSetting* layout = doc ? doc->GetLayout() : nullptr;
    switch (commandId) {
        case kFrameCmdPreferences: return Enabled(dialogs.Has(Dialog::Preferences));
        case kFrameCmdOrganizeTemplates:
            return Enabled(!preferences.doNotSave && dialogs.Has(Dialog::OrganizeTemplates));
        case kFrameCmdHeaderFooter: return Enabled(layout && dialogs.Has(Dialog::HeaderFooter));
        // Inserting works on the active document's layout: a window without one has
        // nothing to insert into, whatever the defaults hold.
        case kFrameCmdInsertFreeText: return Enabled(layout && dialogs.Has(Dialog::FreeText));
        case kFrameCmdInsertFreeLine: return Enabled(layout && dialogs.Has(Dialog::FreeLine));
        case kFrameCmdEditFreeText:
        case kFrameCmdEditFreeLine: {
            const bool freeText = commandId == kFrameCmdEditFreeText;
            const bool bound = dialogs.Has(freeText ? Dialog::FreeText : Dialog::FreeLine);
            return Enabled(layout && bound && layout->GetOther() == 1 && layout->GetSelected() == 0 &&
                           OneSelectedOfKind(*layout, KindOf(commandId)));
        }
        default: return Enabled(false);
    }
}

void MainFrameCommands::OnCommand(int commandId) {
    RunGuarded([&] {
        switch (commandId) {
            case kFrameCmdPreferences: return Preferences();
            case kFrameCmdOrganizeTemplates: return OrganizeTemplates();
            case kFrameCmdHeaderFooter: return HeaderFooter();
            case kFrameCmdInsertFreeText:
            case kFrameCmdInsertFreeLine: return InsertItem(commandId);
            case kFrameCmdEditFreeText:
            case kFrameCmdEditFreeLine: return EditItem(commandId);
            default: return;
        }
    });
}

CLayoutSetting* MainFrameCommands::Layout() const { return mDoc ? mDoc->GetLayout() : nullptr; }

void MainFrameCommands::Preferences() {
    if (SettingsDialogs* dialogs = Dialogs()) dialogs->RunPreferences();
    // The dialog's answer is not asked: what it stored shows either way.
    Shell* shell = HostService<Shell>();
    if (!shell) return;
    if (LayoutView* view = shell->GetLayoutView()) view->Invalidate();
    if (!mDoc) return;
    CLayoutSetting* layout = Layout();
    if (PrintSettingsPane* pane = Pane(); pane && layout) pane->UpdateTemplateSettingsText(*layout);
    const bool armed = layout && !layout->GetFree() && command_hosts::Preferences().quickPrint;
    shell->SetQuickPrintStatus(armed ? kQuickPrintPaneArmed : kQuickPrintPaneIdle);
}

void MainFrameCommands::HeaderFooter() {
    CLayoutSetting* layout = Layout();
    SettingsDialogs* dialogs = Dialogs();
    UndoStore* undo = Undo();
    if (!layout || !dialogs || !undo) return;
    UndoBracket bracket(*layout, *undo);
    if (!bracket.Snapshot()) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return;
    }
    // The dialog edits a copy and takes undo step 21 itself on OK; Cancel changed nothing.
    if (!dialogs->RunHeaderFooter(*layout)) return;
    if (ViewServices* services = HostService<ViewServices>()) services->FormatHeaderFooterText(0, *layout);
    if (layout->GetViewState()) {
        if (!Relayout(*layout)) return PutBack(bracket, *layout, IDS_PAPER_LENGTH_LIMIT);
        if (!layout->GetBanner() && ChooseInputResolution(*layout, 0) <= kLowestInputResolution)
            return PutBack(bracket, *layout, IDS_PAGE_COUNT_LIMIT);
        if (CLayoutObj* first = layout->GetFirstItem()) {
            first->SetChanged(1);
            Relayout(*layout);
        }
        InvalidateMainFormView();
    }
    layout->SetDirty(1);
    UpdateViews(*layout);
}

void MainFrameCommands::InsertItem(int commandId) {
    CLayoutSetting* layout = Layout();
    SettingsDialogs* dialogs = Dialogs();
    UndoStore* undo = Undo();
    if (!layout || !dialogs || !undo) return;
    if (!CanAddObjects(*layout, true)) {
        ShowObjectLimitMessage();
        return;
    }
    UndoBracket bracket(*layout, *undo);
    if (!bracket.Open(kUndoInsert)) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return;
    }
    const int kind = KindOf(commandId);
    // The run makes the new item, takes it out again on Cancel and leaves it current on OK.
    const bool ok = kind == kKindText ? dialogs->RunFreeText(*layout, nullptr) : dialogs->RunFreeLine(*layout, nullptr);
    CLayoutObj* item = ok ? layout->GetCurrentItem() : nullptr;
    if (!item || item->GetKind() != kind) {
        bracket.GiveBack();
        return;
    }
    item->SetChanged(1);
    if (kind == kKindText && !MeasureFreeText(static_cast<CTextObj&>(*item))) {
        // A text that cannot be laid out is not kept, and neither is its undo step.
        bracket.GiveBack();
        Relayout(*layout);
        UpdateViews(*layout);
        return;
    }
    item->SetPosition(kUnplaced, kUnplaced);
    PlaceNewObject(*item);
    Finish(*layout);
}

void MainFrameCommands::EditItem(int commandId) {
    CLayoutSetting* layout = Layout();
    SettingsDialogs* dialogs = Dialogs();
    UndoStore* undo = Undo();
    if (!layout || !dialogs || !undo) return;
    const int kind = KindOf(commandId);
    // Chosen before the undo step: finding nothing must not cost the user's undo entry.
    CLayoutObj* item = ChooseEditedItem(*layout, kind);
    if (!item) return;
    UndoBracket bracket(*layout, *undo);
    if (!bracket.Open(kind == kKindText ? kUndoEditText : kUndoEditLine)) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return;
    }
    const bool ok = kind == kKindText ? dialogs->RunFreeText(*layout, item) : dialogs->RunFreeLine(*layout, item);
    if (!ok) {
        bracket.GiveBack();
        return;
    }
    item->SetChanged(1);
    if (kind == kKindText && !MeasureFreeText(static_cast<CTextObj&>(*item))) {
        // An emptied text goes; the undo step brings it back.
        if (layout->GetCurrentItem() == item) layout->SetCurrentItem(nullptr);
        DeleteLayoutObject(item, layout->ItemListHead());
        Relayout(*layout);
        layout->SetDirty(1);
        UpdateViews(*layout);
        return;
    }
    MoveItemClamped(*item, 0, 0, ShownPageIndex(*layout));
    Finish(*layout);
}

void MainFrameCommands::OrganizeTemplates() {
    if (SettingsDialogs* dialogs = Dialogs()) dialogs->RunOrganizeTemplates();
}

}  // namespace vx
