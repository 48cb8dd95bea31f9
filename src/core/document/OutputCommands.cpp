#include "document/OutputCommands.h"

#include <optional>
#include <string>

#include "colourmanagement/ProfileCatalogue.h"
#include "document/CommandHosts.h"
#include "document/LayoutDocument.h"
#include "host/FatalError.h"
#include "model/CImageObj.h"
#include "model/CImageTransformOp.h"
#include "model/CLayoutSetting.h"
#include "model/LastModifiedImage.h"
#include "model/LayoutTypes.h"
#include "model/LayoutViewRefresh.h"
#include "model/UndoStore.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/StringTable.h"
#include "printing/PrinterSetupServices.h"
#include "view/RulerCommand.h"

namespace vx {

using namespace command_hosts;
using Dialog = SettingsDialogs::Dialog;

namespace {

constexpr uint16_t kUndoRotationMode = 159;
constexpr int16_t kColourBlack = 1;
constexpr int16_t kColourMonochrome = 256;
constexpr int16_t kSizeByDimensions = 1;

bool IsSelectedImage(const CLayoutObj* item) { return item->GetKind() == kKindImage && item->GetSelected(); }

/// The rotation and flip code of a command, 0 for back to the file's orientation.
int TransformOf(int commandId) {
    switch (commandId) {
        case kCmdRotate180: return kOrientHalf;
        case kCmdRotateRight: return kOrientRight;
        case kCmdRotateLeft: return kOrientLeft;
        case kCmdFlipHorizontal: return kOrientMirrorH;
        case kCmdFlipVertical: return kOrientMirrorV;
        default: return kOrientReset;
    }
}

CommandState RotationModeState(int commandId, const CLayoutSetting& layout) {
    const CImageObj* reference = layout.GetSelected() != 0 ? RotationModeReference(layout) : nullptr;
    const bool enabled = reference && reference->GetSizeMethod() == kSizeByDimensions;
    const bool withFrame = reference && reference->GetFrameRotation() != 0;
    return Enabled(enabled, enabled && (commandId == kCmdRotateWithFrame ? withFrame : !withFrame));
}

}  // namespace

const CImageObj* RotationModeReference(const CLayoutSetting& layout) {
    const int32_t selected = layout.GetSelected();
    if (selected <= 0) return nullptr;
    const CLayoutObj* reference = nullptr;
    if (selected == 1) {
        for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
            if (IsSelectedImage(p)) reference = p;
    } else {
        reference = GetLastModifiedImage(layout);
        for (const CLayoutObj* p = layout.GetFirstItem(); p && !reference; p = p->NextItem())
            if (IsSelectedImage(p)) reference = p;
    }
    return static_cast<const CImageObj*>(reference);
}

void ApplyMonochromeCheck(CLayoutSetting& layout) {
    if (layout.GetColor() != kColourBlack && layout.GetColor() != kColourMonochrome) return;
    layout.SetColorMatchPrinter(1);
    // Without any RGB profile the layout keeps the name it had.
    if (std::optional<std::string> description = GetProfileDescriptionOrDefault(kSpaceRgb, std::nullopt))
        layout.Texts().printerProfile = *description;
    if (PrintSettingsPane* pane = Pane()) pane->SelectFirstProfile();
}

bool OutputCommands::Handles(int commandId) {
    switch (commandId) {
        case kCmdPrintPresets:
        case kCmdOutputColor:
        case kCmdImageStamp:
        case kCmdRotate180:
        case kCmdRotateRight:
        case kCmdRotateLeft:
        case kCmdOriginalOrientation:
        case kCmdFlipHorizontal:
        case kCmdFlipVertical:
        case kCmdImageColor:
        case kCmdRotateWithFrame:
        case kCmdPrintSettingsPane:
        case kCmdRotateInFrame: return true;
        default: return false;
    }
}

bool OutputCommands::HandlesState(int commandId) { return Handles(commandId) || commandId == kCmdViewRulers; }

CommandState OutputCommands::State(int commandId, const CLayoutSetting* layout, bool panelShown,
                                   const BoundDialogs& dialogs) {
    if (commandId == kCmdViewRulers) return RulerCommandState();
    if (!layout) return Enabled(false);
    const bool selection = layout->GetSelected() != 0;
    switch (commandId) {
        case kCmdOutputColor: return Enabled(dialogs.Has(Dialog::OutputColor));
        case kCmdImageColor: return Enabled(selection && dialogs.Has(Dialog::ImageColor));
        case kCmdRotate180:
        case kCmdRotateRight:
        case kCmdRotateLeft:
        case kCmdFlipHorizontal:
        case kCmdFlipVertical:
        case kCmdOriginalOrientation: return Enabled(selection);
        case kCmdRotateWithFrame:
        case kCmdRotateInFrame: return RotationModeState(commandId, *layout);
        case kCmdImageStamp: return Enabled(dialogs.Has(Dialog::ImageStamp));
        case kCmdPrintSettingsPane: {
            CommandState state = Enabled(true);
            state.text = LoadString(panelShown ? IDS_LAYOUT_MENU_HIDE : IDS_LAYOUT_MENU_SHOW);
            return state;
        }
        case kCmdPrintPresets: return Enabled(true);
        default: return Enabled(false);
    }
}

void OutputCommands::OnCommand(int commandId) {
    RunGuarded([&] {
        switch (commandId) {
            case kCmdOutputColor: return OutputColor();
            case kCmdImageColor: return ImageColor();
            case kCmdImageStamp: return ImageStamp();
            case kCmdRotate180:
            case kCmdRotateRight:
            case kCmdRotateLeft:
            case kCmdFlipHorizontal:
            case kCmdFlipVertical:
            case kCmdOriginalOrientation: return Transform(TransformOf(commandId));
            case kCmdRotateWithFrame: return SetRotationMode(true);
            case kCmdRotateInFrame: return SetRotationMode(false);
            case kCmdPrintSettingsPane: return TogglePrintSettingsPane();
            case kCmdPrintPresets: return PrintPresets();
            default: return;
        }
    });
}

void OutputCommands::OutputColor() {
    CLayoutSetting* layout = mDoc.GetLayout();
    PrinterSetupServices* setup = HostService<PrinterSetupServices>();
    if (!layout || !setup || !setup->RunOutputColorDialog()) return;
    InvalidateLayoutView(*layout);
    if (PrintSettingsPane* pane = Pane()) pane->UpdateProfileCombo();
}

void OutputCommands::ImageColor() {
    // The run refuses greyscale images (10408) and renews labels and pane after OK.
    CLayoutSetting* layout = mDoc.GetLayout();
    if (SettingsDialogs* dialogs = Dialogs(); layout && dialogs) dialogs->RunImageColor(*layout);
}

void OutputCommands::ImageStamp() {
    // The run marks the layout modified on OK.
    CLayoutSetting* layout = mDoc.GetLayout();
    if (SettingsDialogs* dialogs = Dialogs(); layout && dialogs) dialogs->RunImageStamp(*layout);
}

void OutputCommands::Transform(int op) {
    CLayoutSetting* layout = mDoc.GetLayout();
    UndoStore* undo = Undo();
    if (!layout || !undo) return;
    // Undo, relayout and redraw are the operation's.
    CImageTransformOp transform(*layout, *undo);
    if (op == kOrientReset)
        transform.RestoreOriginal();
    else
        transform.ApplyToSelection(op);
}

void OutputCommands::SetRotationMode(bool withFrame) {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    if (UndoStore* undo = Undo()) undo->PushUndo(*layout, kUndoRotationMode);
    // Only later rotations read the mode: nothing is laid out or drawn.
    for (CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem())
        if (IsSelectedImage(p)) static_cast<CImageObj*>(p)->SetFrameRotation(withFrame ? 1 : 0);
}

void OutputCommands::TogglePrintSettingsPane() {
    if (!mDoc.GetLayout()) return;
    const bool shown = !mDoc.LayoutPanelShown();
    mDoc.SetLayoutPanelShown(shown);
    if (Shell* shell = HostService<Shell>()) shell->ShowPrintSettingsPane(shown);
    if (PrintSettingsPane* pane = Pane()) pane->Invalidate();
}

void OutputCommands::PrintPresets() {
    if (!mDoc.GetLayout()) return;
    if (PrintSettingsPane* pane = Pane()) pane->OnMorePrintSettings();
}

}  // namespace vx
