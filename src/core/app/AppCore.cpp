#include "app/AppCore.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "dialogs/ImageStampController.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/LengthUnits.h"
#include "model/PaperSizes.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Folders.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "templates/UserCategoryFile.h"

namespace vx {
namespace {

constexpr LayoutPoint kA4{2976, 4209};
constexpr int16_t kA4PaperMenu = 16;
constexpr int16_t kUserPaperMenu = 22;
constexpr int16_t kDriverPaperA4 = 9;
// 15,000 mm, the longest total paper length, in layout units.
constexpr double kMaxPaperLength = 212598.4251968504;
constexpr ColorRef kWhite = 0x00FFFFFF;
constexpr std::string_view kDefaultFontFace = "DejaVu Sans";

}  // namespace

AppCore::AppCore() : AppCore(UserFolder()) {}

AppCore::AppCore(std::filesystem::path userFolder)
    : mUserFolder(std::move(userFolder)), mSettings(mUserFolder / SettingsStore::kFileName) {}

AppCore::~AppCore() {
    if (mUndo) mUndo->ClearUndo();
    mPreferences.defaultLayout = nullptr;
}

CLayoutSetting& AppCore::DefaultLayoutSetting() {
    if (!mDefaultLayout) throw std::logic_error("default layout asked for before InitAppDefaults");
    return *mDefaultLayout;
}

void AppCore::DeleteLayoutRecord(std::unique_ptr<CLayoutSetting> layout, CLayoutSetting** ownerSlot) {
    if (!layout) return;
    if (ownerSlot && *ownerSlot == layout.get()) *ownerSlot = nullptr;
    layout.reset();  // frees its items, prototypes and view state with it
}

bool AppCore::InitAppDefaults() {
    mPreferences = AppPreferences{};
    mPreferences.imageInfoX = mScreenWidth - 435;
    mPreferences.imagePreviewX = mScreenWidth - 490;
    mPreferences.defaultLayout = nullptr;
    mDefaultLayout.reset();

    std::unique_ptr<CLayoutSetting> layout = CreateDefaultLayout(nullptr, nullptr);
    if (!layout) {
        Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    layout->SetType(0);
    mDefaultLayout = std::move(layout);
    mPreferences.defaultLayout = mDefaultLayout.get();
    mActiveLayout = nullptr;

    if (Shell* shell = HostService<Shell>()) shell->RefreshToolBar(255);

    if (!LoadPreferences()) ShowToolWindowsFromSettings(mPreferences);

    ApplyPaperFallback(*mDefaultLayout);
    mPreferences.directPrint = 0;
    return true;
}

void AppCore::ApplyPaperFallback(CLayoutSetting& d) {
    if (d.GetPaperSetup() != 0) return;
    d.SetPaperSetup(0);
    if (d.GetPaperMenu() != -1) return;
    if (d.GetUserDefinePaper() == d.GetPaper()) {
        d.SetPaperMenu(kUserPaperMenu);
    } else {
        d.SetPaperMenu(kA4PaperMenu);
        d.SetPaper(kA4);
    }
}

bool AppCore::PrepareNewLayout(CLayoutSetting& layout) {
    if (layout.GetType() != kRecordTypeLayout) return false;
    ViewStateBlock* block = CreateViewStateBlock(layout);
    if (!block) return false;
    block->statusA = 0;
    block->statusB = 1;
    if (!layout.Texts().imageStampPath.empty()) {
        if (mStampBuilder) {
            mStampBuilder(layout);
        } else {
            // A stamp that no longer builds keeps the layout's old one.
            ImageStampController stamp(&layout);
            if (const int result = stamp.BuildStamp(layout.Texts().imageStampPath, 0); result != kStampBuilt)
                ShowStampBuildFailure(result);
        }
    }
    return true;
}

UndoStore& AppCore::GetUndoStore() {
    if (!mUndo) mUndo = std::make_unique<UndoStore>();
    return *mUndo;
}

bool AppCore::FreeAppDefaults() {
    const bool save = mPreferences.doNotSave == 0;
    if (save) SavePreferences();
    mPreferences.defaultLayout = nullptr;
    DeleteLayoutRecord(std::move(mDefaultLayout), nullptr);
    for (std::string& name : mPreferences.directPrintPrinters) name.clear();
    if (save) SaveUserCategoryList();
    return true;
}

std::unique_ptr<CLayoutSetting> AppCore::CreateDefaultLayout(const CLayoutSetting* source, CLayoutSetting** ownerSlot) {
    std::unique_ptr<CLayoutSetting> layout;
    try {
        layout = std::make_unique<CLayoutSetting>(true);
        if (source) layout->CopyFrom(*source, false, false, false);
        else SetLayoutDefaults(*layout, mPreferences);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    CLayoutSetting& l = *layout;
    l.SetPaperSize(kDriverPaperA4);
    if (l.GetPaperSetup() && !l.GetBanner()) {
        if (l.GetPaperLength() == 0 || l.GetPaperWidth() == 0) {
            int32_t length = 0, width = 0;
            if (LookupPaperSize(l.GetPaperSize(), length, width)) {
                l.SetPaperLength(length);
                l.SetPaperWidth(width);
            } else {
                l.SetOrientation(1);
                l.SetPaperSize(kDriverPaperA4);
                l.SetPaperLength(2970);
                l.SetPaperWidth(2100);
            }
        }
        l.SetPaper(TenthsMmToLayoutUnits(l.GetPaperSize(), l.GetOrientation(), l.GetPaperLength(), l.GetPaperWidth()));
    }
    const LayoutRect m = l.GetMargin();
    const LayoutPoint paper = l.GetPaper();
    l.SetPage(LayoutRect{m.left, m.top, paper.x - m.right, paper.y - m.bottom});
    l.SetPageMax(PageMaxFor(paper.y, l.GetBanner() != 0));

    std::unique_ptr<CImageObj> base(CreateImageObj(nullptr, nullptr, "BaseImage"));
    if (!base) return nullptr;  // the record frees what it holds
    base->SetType(1);
    l.SetBaseImage(std::move(base));

    if (ownerSlot && !*ownerSlot) *ownerSlot = layout.get();
    if (mDefaultLayout) {
        l.SetMarginShow(mDefaultLayout->GetMarginShow());
        l.SetLayoutMarginShow(mDefaultLayout->GetLayoutMarginShow());
    }
    return layout;
}

void AppCore::SetLayoutDefaults(CLayoutSetting& l, const AppPreferences& p) {
    l.SetType(kRecordTypeLayout);
    l.SetOrientation(1);
    l.SetPaperSize(0);
    l.SetPaperLength(0);
    l.SetPaperWidth(0);
    l.SetBackDefaultSource(-1);
    l.SetMediaType(0);
    l.SetPaperSetup(0);
    l.SetPaperMenu(kA4PaperMenu);
    l.SetPaper(kA4);
    l.SetPaperOrient(0);
    l.SetBanner(0);
    l.SetMargin(LayoutRect{});
    l.SetMarginShow(1);
    l.SetLayoutMarginShow(1);
    l.SetPageNumber(1);
    l.SetPageMax(PageMaxFor(kA4.y, false));
    l.SetUnit(p.unit);
    l.Texts().localText = LoadString(IDS_UNIT_PIXEL + p.unit);
    l.SetKeyMove(p.arrowKeyStep);
    l.SetFree(0);
    l.SetAlign(LayoutPoint{4, 2});
    l.SetSpace(LayoutPoint{70, 70});
    l.SetVerticalAlign(1);
    l.SetColorProfRGB(1);
    l.SetColorIntentRGB(1);
    l.SetColorEmbedRGB(0);
    l.SetColorProof(0);
    l.SetColorProfSimulation(1);
    l.SetColorIntentSimulation(1);
    l.SetColorProfDisplay(1);
    l.SetColorMatchPrinter(1);
    l.SetRecommend(1);
    l.SetHeaderFooterLineHeight(55);
    l.SetHeaderFooterJustify(1);
    l.SetHeaderFooterFontSizeAuto(0);
    l.SetHeaderShow(0);
    l.SetFooterShow(0);
    const int32_t offset = ParseLengthInUnit("4.9", 1);
    l.SetHeaderOffset(static_cast<int16_t>(offset));
    l.SetFooterOffset(static_cast<int16_t>(offset));
    l.SetHeaderText(0);
    l.SetHeaderPrintInfo(0);
    l.SetHeaderDatePage(0);
    l.SetHeaderUseFixedDate(0);
    l.SetHeaderFixedDate_Year(0);
    l.SetHeaderFixedDate_Month(0);
    l.SetHeaderFixedDate_Day(0);
    l.SetFooterText(0);
    l.SetFooterPrintInfo(0);
    l.SetFooterDatePage(0);
    l.SetFooterUseFixedDate(0);
    l.SetFooterFixedDate_Year(0);
    l.SetFooterFixedDate_Month(0);
    l.SetFooterFixedDate_Day(0);
    l.SetCutterLine(0);
    l.SetCutterMargin(0);
    l.SetDirty(0);
    l.SetTemplate(0);
    l.SetAutoRotate(0);
    l.SetZel(1);
    l.SetPreProcessing(1);
    l.SetRelative(0);
    l.SetUserDefinePaper(kA4);
    l.SetLayoutAreaMode(0);
    l.SetLayoutAreaMgn(LayoutRect{});
    l.SetImageStampInUse(0);
    l.SetImageStampSettings(0);
    l.SetImageStampPosition(LayoutPoint{});
    l.SetImageStampSize(LayoutPoint{});
    l.SetImageStampConstrainPropotion(1);
    l.SetSaveTemplateWithImages(0);

    l.Texts().printerModel.clear();
    l.Texts().paperSizeName.clear();
    l.Texts().mediaTypeName.clear();
    l.Texts().paperSourceName.clear();
    l.HeaderFooterFont() = FontSpec{std::string(kDefaultFontFace), 0, 50, 0};
    l.SetPaperColor(kWhite);
    // Cut lines: none, marks at the corners 5 mm long, 0 mm from the picture, black.
    l.CutLine() = CutLineSettings{0, 2, ParseLengthInUnit("5", 1), ParseLengthInUnit("0", 1), 0};
}

int16_t AppCore::PageMaxFor(int32_t paperHeight, bool banner) {
    // A damaged record can hold a height of 0, and short papers give more pages than
    // 16 bits hold: compute in double and keep 1 to 32767.
    if (banner || paperHeight <= 0) return 1;
    const double pages = std::floor(kMaxPaperLength / paperHeight);
    return static_cast<int16_t>(std::clamp(pages, 1.0, 32767.0));
}

void AppCore::ShowToolWindowsFromSettings(const AppPreferences& preferences) {
    if (!preferences.imageInfoWindow && !preferences.imagePreviewWindow && !preferences.directPrintWindow) return;
    if (ToolWindows* windows = HostService<ToolWindows>()) windows->ShowToolWindowsFromSettings(preferences);
}

bool AppCore::LoadPreferences() {
    PreferencesHooks hooks = mPreferencesHooks;
    if (!hooks.showToolWindows)
        hooks.showToolWindows = [this](const AppPreferences& p) { ShowToolWindowsFromSettings(p); };
    return vx::LoadPreferences(PreferencesPath(), mPreferences, hooks);
}

bool AppCore::SavePreferences() { return vx::SavePreferences(PreferencesPath(), mPreferences); }

int AppCore::LoadUserCategoryList() { return vx::LoadUserCategoryList(UserCategoryPath()); }

int AppCore::SaveUserCategoryList() { return vx::SaveUserCategoryList(UserCategoryPath()); }

std::filesystem::path AppCore::PreferencesPath() const { return PreferencesFilePath(mUserFolder); }

std::filesystem::path AppCore::UserCategoryPath() const { return UserCategoryFilePath(mUserFolder); }

void AppCore::LoadRecentFileList() { mRecentFiles.Read(mSettings); }

void AppCore::AddRecentFile(const std::filesystem::path& path) {
    mRecentFiles.Add(path);
    WriteRecentFileList();
}

void AppCore::RemoveFirstRecentFile() {
    mRecentFiles.RemoveFirst();
    WriteRecentFileList();
}

void AppCore::WriteRecentFileList() { mRecentFiles.Write(mSettings); }

}  // namespace vx
