#include "document/ObjectSettingCommands.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "dialogs/ImageSizeCommands.h"
#include "document/CommandHosts.h"
#include "document/LayoutDocument.h"
#include "host/FatalError.h"
#include "host/LayoutView.h"
#include "host/ToolWindows.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/ImageAdding.h"
#include "model/ImageLabels.h"
#include "model/ImageMemoryBudget.h"
#include "model/LayoutLimits.h"
#include "model/LayoutViewRefresh.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {

using namespace command_hosts;
using Dialog = SettingsDialogs::Dialog;

namespace {

constexpr uint16_t kUndoBackground = 22;
constexpr uint16_t kUndoReplaceImage = 26;

CommandState Texted(bool enabled, int textId) {
    CommandState state = Enabled(enabled);
    state.text = LoadString(textId);
    return state;
}

void ShowError(int id) { Messages().Show(id, {}, Icon::Error, Buttons::Ok); }

fs::path DocumentsFolder() {
    if (DocumentServices* services = HostService<DocumentServices>()) return services->DocumentsFolder();
    if (const char* home = std::getenv("HOME")) return home;
    return fs::current_path();
}

/// Counts the messages shown while it lives, passing each on to the port it replaced:
/// the opener names its own failures, and the user sees each failure once.
class CountingMessages final : public MessagePort {
public:
    CountingMessages() : mPrevious(SetMessagePort(this)) {}
    ~CountingMessages() override { SetMessagePort(mPrevious); }
    CountingMessages(const CountingMessages&) = delete;
    CountingMessages& operator=(const CountingMessages&) = delete;

    int Show(int id, const Args& args, Icon icon, Buttons buttons) override {
        ++mCount;
        SetMessagePort(mPrevious);
        struct Back {
            CountingMessages* self;
            ~Back() { SetMessagePort(self); }
        } back{this};
        return Messages().Show(id, args, icon, buttons);
    }
    int Count() const { return mCount; }

private:
    MessagePort* mPrevious;
    int mCount = 0;
};

/// The new image for a replacement, opened and with its preview; null after the
/// message that says why (none when the preview could not be stored, as the loader
/// has spoken then).
std::unique_ptr<CImageObj> OpenReplacement(CLayoutSetting& layout, const fs::path& path) {
    std::unique_ptr<CImageObj> source(CreateImageObj(layout.GetBaseImage(), nullptr, "StdImage"));
    if (!source) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    source->SetOwner(&layout);
    source->SetType(kRecordTypeLayout);
    // The taking item turns the picture to its own orientation.
    source->SetRotate(0);
    {
        CountingMessages counted;
        if (!OpenImageFile(source.get(), path)) {
            if (counted.Count() == 0) ShowError(IDS_IMAGE_FORMAT_UNSUPPORTED);
            return nullptr;
        }
    }
    if (!IsImageSizeSupported(*source)) {
        ShowError(IDS_IMAGE_SIZE_OUT_OF_RANGE);
        return nullptr;
    }
    ApplyLayoutColorSettings(*source);
    source->SetWorkingBitmap(LoadImagePreview(*source));
    if (source->IsSaveFile() == 0) return nullptr;
    return source;
}

/// Gives every selected image, in list order, the image of source; false after the
/// message of a refusal (the caller puts the layout back).
bool ReplaceSelectedImages(CLayoutSetting& layout, const CImageObj& source) {
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() != kKindImage || !p->GetSelected()) continue;
        if (!static_cast<CImageObj*>(p)->ReplaceImageFrom(source)) return false;
        if (LayoutPictureBytes(layout) > kImageMemoryBudgetBytes) {
            ShowError(IDS_NOT_ENOUGH_MEMORY);
            return false;
        }
    }
    return true;
}

/// Lays an automatic layout out again after a replacement; false after the message of
/// a refusal.
bool RelayoutAfterReplacement(CLayoutSetting& layout) {
    if (layout.GetFree()) return true;
    RenumberImageItems(layout);
    if (!Relayout(layout)) {
        ShowError(IDS_PAPER_LENGTH_LIMIT);
        return false;
    }
    if (!layout.GetBanner() && ChooseInputResolution(layout, 0) <= kLowestInputResolution) {
        ShowError(IDS_PAGE_COUNT_LIMIT);
        return false;
    }
    return true;
}

/// Redraws the document's views after a change of what the page shows.
void UpdateViews(CLayoutSetting& layout) {
    InvalidateLayoutView(layout);
    if (PrintSettingsPane* pane = Pane()) pane->OnUpdate(kHintLayoutChanged);
}

}  // namespace

bool ObjectSettingCommands::Handles(int commandId) {
    switch (commandId) {
        case kCmdImageAlign:
        case kCmdBackgroundWhite:
        case kCmdBackgroundBlack:
        case kCmdBackgroundOther:
        case kCmdPageMargins:
        case kCmdPresetImageSize:
        case kCmdReplaceImage:
        case kCmdPresetCaption:
        case kCmdPresetLabels:
        case kCmdPresetInputColors:
        case kCmdImageSize:
        case kCmdLabels:
        case kCmdCaption:
        case kCmdShowPrintMargins:
        case kCmdShowPageMargins: return true;
        default: return false;
    }
}

CommandState ObjectSettingCommands::State(int commandId, const CLayoutSetting* layout, const AppPreferences&,
                                          const BoundDialogs& dialogs) {
    // The preset size edits the application's defaults while no layout is open.
    if (commandId == kCmdPresetImageSize) return Enabled(dialogs.Has(Dialog::ImageSize));
    if (!layout) return Enabled(false);
    const bool image = layout->GetSelected() >= 1;
    const uint32_t colour = layout->GetPaperColor();
    switch (commandId) {
        case kCmdReplaceImage: return Enabled(image);
        case kCmdBackgroundBlack: return Enabled(true, colour == kBackgroundBlack);
        case kCmdBackgroundWhite: return Enabled(true, colour == kBackgroundWhite);
        case kCmdBackgroundOther: return Enabled(true, colour != kBackgroundBlack && colour != kBackgroundWhite);
        case kCmdShowPrintMargins:
            return Texted(true, layout->GetMarginShow() ? IDS_HIDE_PRINT_MARGINS : IDS_SHOW_PRINT_MARGINS);
        case kCmdShowPageMargins:
            return Texted(true, layout->GetLayoutMarginShow() ? IDS_HIDE_PAGE_MARGINS : IDS_SHOW_PAGE_MARGINS);
        case kCmdPageMargins: return Enabled(dialogs.Has(Dialog::Margins));
        case kCmdImageAlign: return Enabled(!layout->GetFree() && dialogs.Has(Dialog::ImageAlign));
        case kCmdLabels: return Enabled(image && dialogs.Has(Dialog::Labels));
        case kCmdImageSize: return Enabled(image && dialogs.Has(Dialog::ImageSize));
        case kCmdCaption: return Enabled(image && dialogs.Has(Dialog::Caption));
        case kCmdPresetLabels: return Enabled(dialogs.Has(Dialog::Labels));
        case kCmdPresetCaption: return Enabled(dialogs.Has(Dialog::Caption));
        case kCmdPresetInputColors: return Enabled(dialogs.Has(Dialog::InputColorDefaults));
        default: return Enabled(false);
    }
}

void ObjectSettingCommands::OnCommand(int commandId) {
    RunGuarded([&] {
        switch (commandId) {
            case kCmdReplaceImage: return ReplaceImage();
            case kCmdBackgroundBlack: return SetBackgroundColor(kBackgroundBlack);
            case kCmdBackgroundWhite: return SetBackgroundColor(kBackgroundWhite);
            case kCmdBackgroundOther: return ChooseBackgroundColor();
            case kCmdShowPrintMargins: return TogglePrintMargins();
            case kCmdShowPageMargins: return TogglePageMargins();
            case kCmdPageMargins: return PageMargins();
            case kCmdImageAlign: return ImageAlign();
            case kCmdLabels: return Labels(false);
            case kCmdPresetLabels: return Labels(true);
            case kCmdCaption: return Caption(false);
            case kCmdPresetCaption: return Caption(true);
            case kCmdImageSize: return ImageSize();
            case kCmdPresetImageSize: return PresetImageSize(mDoc.GetLayout());
            case kCmdPresetInputColors: return InputColorDefaults();
            default: return;
        }
    });
}

void ObjectSettingCommands::ReplaceImage() {
    if (!mDoc.GetLayout() || AppBusyFlag()) return;
    BusyScope busy;
    ToolWindows* tools = HostService<ToolWindows>();
    const std::vector<fs::path> paths = tools ? tools->ChooseImageFiles(DocumentsFolder()) : std::vector<fs::path>{};
    // One picture replaces the selection: of several chosen files the first counts.
    if (!paths.empty()) ReplaceImageWith(paths.front());
}

bool ObjectSettingCommands::ReplaceImageWith(const fs::path& path) {
    CLayoutSetting* layout = mDoc.GetLayout();
    UndoStore* undo = Undo();
    if (!layout || !undo) return false;
    std::unique_ptr<CUndoEntry> snapshot, previous;
    if (!undo->SnapshotLayout(*layout, snapshot, &previous)) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (LayoutView* view = FindLayoutView(*layout)) view->Update();
    if (ViewStateBlock* block = layout->GetViewState()) block->statusA = block->statusB = 0;

    bool replaced = false;
    if (std::unique_ptr<CImageObj> source = OpenReplacement(*layout, path)) {
        undo->PushUndo(*layout, kUndoReplaceImage);
        replaced = ReplaceSelectedImages(*layout, *source);
        source.reset();
        replaced = replaced && RelayoutAfterReplacement(*layout);
        // A refusal takes back the whole replacement and gives the user's earlier undo
        // entry back, which undoing the entry just pushed would lose.
        if (replaced)
            layout->SetDirty(1);
        else
            undo->RestoreLayoutSnapshot(*layout, *snapshot, previous.get());
    }
    snapshot.reset();
    previous.reset();
    UpdateLayoutAndRedraw(*layout);
    InvalidateLayoutView(*layout);
    StatusBar().UpdateStatusText(kStatusReady, {});
    return replaced;
}

void ObjectSettingCommands::SetBackgroundColor(uint32_t colour) {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout || layout->GetPaperColor() == colour) return;
    if (UndoStore* undo = Undo()) undo->PushUndo(*layout, kUndoBackground);
    layout->SetPaperColor(colour);
    InvalidateLayoutView(*layout);
    if (CLayoutSetting* defaults = DefaultLayout()) defaults->SetPaperColor(colour);
    layout->SetDirty(1);
}

void ObjectSettingCommands::ChooseBackgroundColor() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs) return;
    if (const std::optional<uint32_t> colour = dialogs->ChooseColour(layout->GetPaperColor()))
        SetBackgroundColor(*colour & 0xFFFFFF);
}

void ObjectSettingCommands::TogglePrintMargins() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    layout->SetMarginShow(layout->GetMarginShow() ? 0 : 1);
    if (CLayoutSetting* defaults = DefaultLayout()) defaults->SetMarginShow(layout->GetMarginShow());
    InvalidateLayoutView(*layout);
}

void ObjectSettingCommands::TogglePageMargins() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout) return;
    layout->SetLayoutMarginShow(layout->GetLayoutMarginShow() ? 0 : 1);
    if (CLayoutSetting* defaults = DefaultLayout()) defaults->SetLayoutMarginShow(layout->GetLayoutMarginShow());
    InvalidateLayoutView(*layout);
}

void ObjectSettingCommands::PageMargins() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs) return;
    if (dialogs->RunMargins(*layout))
        if (CLayoutSetting* defaults = DefaultLayout()) {
            defaults->SetLayoutAreaMode(layout->GetLayoutAreaMode());
            defaults->SetLayoutAreaMgn(layout->GetLayoutAreaMgn());
        }
    UpdateViews(*layout);
}

void ObjectSettingCommands::ImageAlign() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    UndoStore* undo = Undo();
    if (!layout || !dialogs || !undo) return;
    // The dialog lays the layout out with every change; Cancel puts all of it back.
    std::unique_ptr<CUndoEntry> snapshot, previous;
    if (!undo->SnapshotLayout(*layout, snapshot, &previous)) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return;
    }
    if (dialogs->RunImageAlign(*layout)) return;
    undo->RestoreLayoutSnapshot(*layout, *snapshot, previous.get());
    UpdateLayoutAndRedraw(*layout);
    InvalidateLayoutView(*layout);
}

void ObjectSettingCommands::Labels(bool preset) {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs) return;
    if (dialogs->RunLabels(*layout, preset) && preset) ClearUndo();
}

void ObjectSettingCommands::Caption(bool preset) {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs) return;
    if (dialogs->RunCaption(*layout, preset) && preset) ClearUndo();
}

void ObjectSettingCommands::ImageSize() {
    // The run takes the snapshot, lays out and puts back a refused size itself.
    if (CLayoutSetting* layout = mDoc.GetLayout()) RunImageSizeCommand(*layout);
}

void ObjectSettingCommands::PresetImageSize(CLayoutSetting* layout) {
    // Without a document the run works on the application's default layout.
    RunGuarded([&] { RunPresetImageSizeCommand(layout); });
}

void ObjectSettingCommands::InputColorDefaults() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs) return;
    if (dialogs->RunInputColorDefaults(*layout)) ClearUndo();
}

}  // namespace vx
