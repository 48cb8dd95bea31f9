#include "document/ArrangementCommands.h"

#include <system_error>

#include "document/ColorMatchedView.h"
#include "document/CommandHosts.h"
#include "document/LayoutDocument.h"
#include "host/FatalError.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageSorting.h"
#include "model/LayoutOperations.h"
#include "model/LayoutViewRefresh.h"
#include "model/RefusableEdit.h"
#include "model/StackingOrder.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {

using namespace command_hosts;
using Dialog = SettingsDialogs::Dialog;

namespace {

// The dialogs the update rules ask about, in Dialog order.
constexpr Dialog kAllDialogs[] = {
    Dialog::AutoRotate, Dialog::SelectTemplate, Dialog::Crop, Dialog::Tint,
    Dialog::DuplicateSeveralTimes, Dialog::Margins, Dialog::ImageAlign, Dialog::Labels,
    Dialog::Caption, Dialog::HeaderFooter, Dialog::ImageSize, Dialog::CutLines,
    Dialog::InputColorDefaults, Dialog::ImageColor, Dialog::ImageStamp, Dialog::FreeText,
    Dialog::FreeLine, Dialog::Preferences, Dialog::SaveTemplateAs, Dialog::OrganizeTemplates,
    Dialog::OutputColor, Dialog::DriverSettings,
};

int SortKeyOf(int commandId) {
    switch (commandId) {
        case kCmdSortFileName: return kSortFileName;
        case kCmdSortFolderName: return kSortFolderName;
        case kCmdSortCreated: return kSortCreated;
        case kCmdSortModified: return kSortModified;
        case kCmdSortWidth: return kSortWidth;
        case kCmdSortHeight: return kSortHeight;
        case kCmdSortFileType: return kSortFileType;
        case kCmdSortFileSize: return kSortFileSize;
        case kCmdSortReverse: return kSortReverse;
        default: return 0;
    }
}

int StackingModeOf(int commandId) {
    switch (commandId) {
        case kCmdStackToFront: return kStackToFront;
        case kCmdStackForward: return kStackForward;
        case kCmdStackBackward: return kStackBackward;
        case kCmdStackToBack: return kStackToBack;
        default: return 0;
    }
}

bool IsSelectedImage(const CLayoutObj* item) {
    return item && item->GetKind() == kKindImage && item->GetSelected();
}

/// Crop and tint need the reference image's file: 10417 when it is gone.
CImageObj* ReadableReference(CLayoutSetting& layout) {
    CImageObj* reference = ReferenceImage(layout);
    if (!reference) return nullptr;
    std::error_code error;
    if (!fs::is_regular_file(reference->GetFilePath(), error)) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return nullptr;
    }
    return reference;
}

}  // namespace

BoundDialogs BoundDialogs::Of(SettingsDialogs* dialogs) {
    BoundDialogs bound;
    if (dialogs)
        for (Dialog d : kAllDialogs) bound.Set(d, dialogs->Has(d));
    return bound;
}

BoundDialogs BoundDialogs::All() {
    BoundDialogs bound;
    for (Dialog d : kAllDialogs) bound.Set(d, true);
    return bound;
}

BoundDialogs& BoundDialogs::Set(Dialog dialog, bool bound) {
    const uint32_t bit = 1u << unsigned(dialog);
    mMask = bound ? mMask | bit : mMask & ~bit;
    return *this;
}

CImageObj* ReferenceImage(const CLayoutSetting& layout) {
    if (CLayoutObj* current = layout.GetCurrentItem(); IsSelectedImage(current))
        return static_cast<CImageObj*>(current);
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (IsSelectedImage(p)) return static_cast<CImageObj*>(p);
    return nullptr;
}

bool SelectionIsOneImage(const CLayoutSetting& layout, const CImageObj& reference) {
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (!IsSelectedImage(p)) continue;
        const auto* image = static_cast<const CImageObj*>(p);
        if (image->GetFilePath() != reference.GetFilePath() || image->GetRotate() != reference.GetRotate())
            return false;
    }
    return true;
}

bool ArrangementCommands::Handles(int commandId) {
    switch (commandId) {
        case kCmdAutomaticLayout:
        case kCmdFreeLayout:
        case kCmdShowGrid:
        case kCmdSnapToGrid:
        case kCmdUnsnapGrid:
        case kCmdCrop:
        case kCmdTint:
        case kCmdCutLines:
        case kCmdColorMatchedView: return true;
        default: return SortKeyOf(commandId) != 0 || StackingModeOf(commandId) != 0;
    }
}

CommandState ArrangementCommands::State(int commandId, const CLayoutSetting* layout,
                                        const AppPreferences& preferences, const BoundDialogs& dialogs) {
    if (!layout || !Handles(commandId)) return Enabled(false);
    const bool free = layout->GetFree() != 0;
    const int32_t images = layout->GetSelected();
    const int32_t others = layout->GetOther();
    if (SortKeyOf(commandId)) return Enabled(!free && HasImageItems(*layout));
    if (StackingModeOf(commandId)) {
        // One item to move; automatic layout places its images itself.
        return Enabled(free ? images + others == 1 : images == 0 && others == 1);
    }
    switch (commandId) {
        case kCmdAutomaticLayout: return Enabled(!free || !HasImageItems(*layout), !free);
        case kCmdFreeLayout: return Enabled(true, free);
        case kCmdShowGrid: {
            CommandState state = Enabled(free);
            state.text = LoadString(preferences.gridShown ? IDS_HIDE_GRID : IDS_SHOW_GRID);
            return state;
        }
        case kCmdSnapToGrid: return Enabled(free, preferences.snapToGrid != 0);
        case kCmdUnsnapGrid: return Enabled(free, preferences.snapToGrid == 0);
        case kCmdCrop: return Enabled(images >= 1 && dialogs.Has(Dialog::Crop));
        case kCmdTint: return Enabled(images >= 1 && dialogs.Has(Dialog::Tint));
        case kCmdCutLines: return Enabled(dialogs.Has(Dialog::CutLines));
        case kCmdColorMatchedView: return Enabled(images >= 1);
        default: return Enabled(false);
    }
}

void ArrangementCommands::OnCommand(int commandId) {
    RunGuarded([&] {
        if (const int key = SortKeyOf(commandId)) return Sort(key);
        if (const int mode = StackingModeOf(commandId)) return ChangeStacking(mode);
        switch (commandId) {
            case kCmdAutomaticLayout: return SetLayoutMode(1);
            case kCmdFreeLayout: return SetLayoutMode(kLayoutModeFree);
            case kCmdShowGrid: return ToggleGrid();
            case kCmdSnapToGrid: return SetSnapToGrid(true);
            case kCmdUnsnapGrid: return SetSnapToGrid(false);
            case kCmdCrop: return Crop();
            case kCmdTint: return Tint();
            case kCmdCutLines: return CutLines();
            case kCmdColorMatchedView: return ColorMatchedView();
            default: return;
        }
    });
}

void ArrangementCommands::SetLayoutMode(int mode) {
    CLayoutSetting* layout = mDoc.GetLayout();
    UndoStore* undo = Undo();
    if (!layout) return;
    const int32_t free = mode == kLayoutModeFree ? 1 : 0;
    PrintSettingsPane* pane = Pane();
    if (layout->GetFree() != free && undo) {
        const EditOutcome outcome = RunRefusableEdit(*undo, *layout, 17, true,
                                                     [mode](CLayoutSetting& l) { SwitchLayoutMode(l, mode); });
        if (outcome == EditOutcome::Applied && pane) pane->SetTemplateChangeMark(TemplateChangeMark::LayoutMode);
    }
    if (pane) pane->UpdateTemplateSettingsText(*layout);
}

void ArrangementCommands::ToggleGrid() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    AppPreferences& preferences = Preferences();
    preferences.gridShown = preferences.gridShown ? 0 : 1;
    InvalidateLayoutView(*layout);
}

void ArrangementCommands::SetSnapToGrid(bool snap) {
    if (mDoc.GetLayout()) Preferences().snapToGrid = snap ? 1 : 0;
}

void ArrangementCommands::Crop() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs) return;
    const CImageObj* reference = ReadableReference(*layout);
    if (!reference) return;
    dialogs->RunCrop(*layout, SelectionIsOneImage(*layout, *reference));
}

void ArrangementCommands::Tint() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs || !ReadableReference(*layout)) return;
    dialogs->RunTint(*layout);
}

void ArrangementCommands::CutLines() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (SettingsDialogs* dialogs = Dialogs(); layout && dialogs) dialogs->RunCutLineDialog(*layout);
}

void ArrangementCommands::ChangeStacking(int mode) {
    CLayoutSetting* layout = mDoc.GetLayout();
    UndoStore* undo = Undo();
    if (layout && undo) ChangeObjectZOrder(*layout, mode, *undo);
}

void ArrangementCommands::Sort(int key) {
    CLayoutSetting* layout = mDoc.GetLayout();
    UndoStore* undo = Undo();
    if (!layout || !undo || !layout->GetFirstItem()) return;
    SortImages(*undo, layout, key);
}

void ArrangementCommands::ColorMatchedView() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    ClearUndo();
    ApplyColorMatchedView(*layout);
}

}  // namespace vx
