#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "app/AppCore.h"
#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "model/ViewStateBlock.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/UserCategories.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

struct RecordingToolWindows : ToolWindows {
    std::vector<int> shown;  // info + 2 preview + 4 direct print, per call
    bool IsImageInfoShown() override { return false; }
    void ShowImageInfo(const CLayoutObj&, int) override {}
    void ResetImageInfoRows() override {}
    void OnPreviewObjectRemoved(uint32_t) override {}
    void RecreatePreviewPane() override {}
    void ShowToolWindowsFromSettings(const AppPreferences& p) override {
        shown.push_back(p.imageInfoWindow + 2 * p.imagePreviewWindow + 4 * p.directPrintWindow);
    }
    void SetZoom(int32_t, int32_t) override {}
    std::vector<fs::path> ChooseImageFiles(const fs::path&) override { return {}; }
};

class AppCoreTest : public testing::Test {
protected:
    AppCoreTest() {
        TemplateCatalog().RemoveAll();
        UserCategoryList().clear();
    }
    ~AppCoreTest() override {
        TemplateCatalog().RemoveAll();
        UserCategoryList().clear();
    }
    // A core as start-up makes it: screen width, printers known to the hooks.
    std::unique_ptr<AppCore> MakeCore(int32_t screenWidth = 1280) {
        auto core = std::make_unique<AppCore>(root.Path());
        core->SetScreenWidth(screenWidth);
        PreferencesHooks hooks;
        hooks.isSupportedPrinter = [](std::string_view name) { return name == "Proof 24"; };
        hooks.paperCaps = [](int32_t&, int32_t&, int32_t, int32_t, LayoutPoint) { return 0; };
        core->SetPreferencesHooks(hooks);
        return core;
    }

    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    RecordingToolWindows tools;
    ScopedHostService<ToolWindows> installed{&tools};
};

TEST_F(AppCoreTest, DefaultsFollowTheScreenWidth) {
    auto core = MakeCore(1280);
    ASSERT_TRUE(core->InitAppDefaults());
    const AppPreferences& p = core->Preferences();
    EXPECT_EQ(p.imagePreviewX, 790);
    EXPECT_EQ(p.imagePreviewY, 495);
    EXPECT_EQ(p.imageInfoX, 845);
    EXPECT_EQ(p.imageInfoY, 60);
    EXPECT_EQ(p.imagePreviewSize, 450);
    EXPECT_EQ(p.imagePreviewMode, 3);
    EXPECT_EQ(p.gridX, 70);
    EXPECT_EQ(p.confirmationDialogs, 1);
    EXPECT_EQ(p.defaultLayout, &core->DefaultLayoutSetting());
    EXPECT_EQ(core->ActiveLayoutSlot(), nullptr);
    // A first start creates the empty preferences file; no tool window is asked for.
    EXPECT_TRUE(fs::exists(core->PreferencesPath()));
    EXPECT_TRUE(tools.shown.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AppCoreTest, TheDefaultLayoutHasTheFactoryDefaults) {
    auto core = MakeCore();
    ASSERT_TRUE(core->InitAppDefaults());
    const CLayoutSetting& d = core->DefaultLayoutSetting();
    EXPECT_EQ(d.GetType(), 0);
    EXPECT_EQ(d.GetPaperSize(), 9);
    EXPECT_EQ(d.GetPaperMenu(), 16);
    EXPECT_EQ(d.GetPaper(), (LayoutPoint{2976, 4209}));
    EXPECT_EQ(d.GetPage(), (LayoutRect{0, 0, 2976, 4209}));
    EXPECT_EQ(d.GetPageMax(), 50);
    EXPECT_EQ(d.GetBackDefaultSource(), -1);
    EXPECT_EQ(d.GetAlign(), (LayoutPoint{4, 2}));
    EXPECT_EQ(d.GetSpace(), (LayoutPoint{70, 70}));
    EXPECT_EQ(d.GetUnit(), 1);
    EXPECT_EQ(d.Texts().localText, "mm");
    EXPECT_EQ(d.GetKeyMove(), 70);
    EXPECT_EQ(d.GetHeaderOffset(), ParseLengthInUnit("4.9", 1));
    EXPECT_EQ(d.GetZel(), 1);
    EXPECT_EQ(d.GetImageStampConstrainPropotion(), 1);
    EXPECT_EQ(d.GetMarginShow(), 1);
    EXPECT_EQ(d.HeaderFooterFont(), (FontSpec{"DejaVu Sans", 0, 50, 0}));
    EXPECT_EQ(d.GetPaperColor(), 0x00FFFFFFu);
    EXPECT_EQ(d.CutLine(), (CutLineSettings{0, 2, ParseLengthInUnit("5", 1), 0, 0}));
    ASSERT_NE(d.GetBaseImage(), nullptr);
    EXPECT_EQ(d.GetBaseImage()->GetType(), 1);
    EXPECT_EQ(d.GetViewState(), nullptr);
}

TEST_F(AppCoreTest, PageMaxIsClampedAndNeverDividesByZero) {
    struct Case {
        int32_t height;
        bool banner;
        int16_t pages;
    };
    for (const Case& c : std::vector<Case>{{4209, false, 50},
                                           {4209, true, 1},
                                           {0, false, 1},
                                           {-5, false, 1},
                                           {212599, false, 1},
                                           {1, false, 32767},
                                           {6, false, 32767},
                                           {7, false, 30371}}) {
        SCOPED_TRACE(c.height);
        EXPECT_EQ(AppCore::PageMaxFor(c.height, c.banner), c.pages);
    }
    // A damaged source record with a paper height of 0.
    auto core = MakeCore();
    ASSERT_TRUE(core->InitAppDefaults());
    CLayoutSetting damaged(true);
    damaged.SetPaper(LayoutPoint{2976, 0});
    std::unique_ptr<CLayoutSetting> copy = core->CreateDefaultLayout(&damaged, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetPageMax(), 1);
}

TEST(AppCorePaper, APaperMenuOfMinusOneFollowsTheUserPaper) {
    struct Case {
        int32_t paperSetup;
        int16_t menuBefore;
        LayoutPoint userPaper, paper;
        int16_t menu;
        LayoutPoint result;
    };
    for (const Case& c : std::vector<Case>{{0, -1, {5000, 7000}, {5000, 7000}, 22, {5000, 7000}},
                                           {0, -1, {5000, 7000}, {5000, 6999}, 16, {2976, 4209}},
                                           {0, 3, {5000, 7000}, {5000, 6999}, 3, {5000, 6999}},
                                           {1, -1, {5000, 7000}, {5000, 6999}, -1, {5000, 6999}}}) {
        SCOPED_TRACE(testing::Message() << c.paperSetup << " " << c.menuBefore << " " << c.paper.y);
        CLayoutSetting d(true);
        d.SetPaperSetup(c.paperSetup);
        d.SetPaperMenu(c.menuBefore);
        d.SetUserDefinePaper(c.userPaper);
        d.SetPaper(c.paper);
        AppCore::ApplyPaperFallback(d);
        EXPECT_EQ(d.GetPaperMenu(), c.menu);
        EXPECT_EQ(d.GetPaper(), c.result);
    }
}

TEST_F(AppCoreTest, ThePreferencesFileOverwritesTheDefaultsAndShowsToolWindows) {
    auto core = MakeCore();
    test::WriteFileBytes(core->PreferencesPath(),
             "User\r\n\tdefault\r\n\tscopeShow:true\r\n\tunit:\"inch\"\r\n\tkeyMove:35\r\n"
             "\tmargin:1,2,3,4\r\n\tdirectPrintPrinter1:\"Proof 24\"\r\n\tdone\r\n");
    ASSERT_TRUE(core->InitAppDefaults());
    EXPECT_EQ(core->Preferences().unit, 2);
    EXPECT_EQ(core->DefaultLayoutSetting().GetUnit(), 2);
    EXPECT_EQ(core->DefaultLayoutSetting().GetKeyMove(), 35);
    EXPECT_EQ(core->DefaultLayoutSetting().GetMargin(), (LayoutRect{2, 1, 4, 3}));
    EXPECT_EQ(core->Preferences().directPrintPrinters[0], "Proof 24");
    EXPECT_EQ(tools.shown, std::vector<int>{2});
}

TEST_F(AppCoreTest, AnUnreadableFileShowsToolWindowsFromTheDefaults) {
    auto core = MakeCore();
    fs::create_directory(core->PreferencesPath());
    ASSERT_TRUE(core->InitAppDefaults());
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_FILE_READ_FAILED});
    EXPECT_TRUE(tools.shown.empty());  // all flags off: nothing to show
}

TEST_F(AppCoreTest, FreeAppDefaultsSavesBothFilesAndTheNextStartReadsThem) {
    {
        auto core = MakeCore();
        ASSERT_TRUE(core->InitAppDefaults());
        ASSERT_EQ(core->LoadUserCategoryList(), 1);
        core->Preferences().ruler = 1;
        core->DefaultLayoutSetting().SetMarginShow(0);
        UserCategoryList().push_back("Hochzeit");
        EXPECT_TRUE(core->FreeAppDefaults());
        EXPECT_FALSE(core->HasDefaultLayout());
        EXPECT_EQ(core->Preferences().defaultLayout, nullptr);
    }
    UserCategoryList().clear();
    auto next = MakeCore();
    ASSERT_TRUE(next->InitAppDefaults());
    next->LoadUserCategoryList();
    EXPECT_EQ(next->Preferences().ruler, 1);
    EXPECT_EQ(next->DefaultLayoutSetting().GetMarginShow(), 0);
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"MyTemp", "Hochzeit"}));
    EXPECT_NE(test::ReadFileBytes(next->UserCategoryPath()).find("UsrTemplate0=\"MyTemp\""), std::string::npos);
}

TEST_F(AppCoreTest, ARestrictedQuitLeavesBothFilesByteIdentical) {
    auto core = MakeCore();
    test::WriteFileBytes(core->PreferencesPath(), "User\r\n\trulerShow:false\r\n# hand-edited\r\n");
    test::WriteFileBytes(core->UserCategoryPath(), "[USR_TEMPLATE_FOLDER]\r\nUsrTemplate0=Alt\r\n");
    const std::string prefs = test::ReadFileBytes(core->PreferencesPath());
    const std::string categories = test::ReadFileBytes(core->UserCategoryPath());
    ASSERT_TRUE(core->InitAppDefaults());
    core->SetRestrictedUser(true);
    core->LoadUserCategoryList();
    core->Preferences().ruler = 1;
    UserCategoryList().push_back("Neu");
    EXPECT_TRUE(core->FreeAppDefaults());
    EXPECT_EQ(test::ReadFileBytes(core->PreferencesPath()), prefs);
    EXPECT_EQ(test::ReadFileBytes(core->UserCategoryPath()), categories);
}

TEST_F(AppCoreTest, NewLayoutsCopyTheDefaultsMarginDisplays) {
    auto core = MakeCore();
    ASSERT_TRUE(core->InitAppDefaults());
    core->DefaultLayoutSetting().SetMarginShow(0);
    core->DefaultLayoutSetting().SetLayoutMarginShow(0);
    CLayoutSetting* slot = nullptr;
    std::unique_ptr<CLayoutSetting> made = core->CreateDefaultLayout(nullptr, &slot);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(slot, made.get());
    EXPECT_EQ(made->GetType(), 2);
    EXPECT_EQ(made->GetMarginShow(), 0);
    EXPECT_EQ(made->GetLayoutMarginShow(), 0);
    // A filled slot is left alone.
    std::unique_ptr<CLayoutSetting> second = core->CreateDefaultLayout(made.get(), &slot);
    EXPECT_EQ(slot, made.get());
    core->DeleteLayoutRecord(std::move(made), &slot);
    EXPECT_EQ(slot, nullptr);
    core->DeleteLayoutRecord(nullptr, &slot);  // nothing
}

TEST_F(AppCoreTest, APaperSetUpLayoutTakesItsPaperFromTheTable) {
    auto core = MakeCore();
    ASSERT_TRUE(core->InitAppDefaults());
    CLayoutSetting source(true);
    AppCore::SetLayoutDefaults(source, core->Preferences());
    source.SetPaperSetup(1);
    source.SetOrientation(2);
    source.SetMargin(LayoutRect{10, 20, 30, 40});
    std::unique_ptr<CLayoutSetting> made = core->CreateDefaultLayout(&source, nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetPaperLength(), 2970);
    EXPECT_EQ(made->GetPaperWidth(), 2100);
    EXPECT_EQ(made->GetPaper(), (LayoutPoint{4209, 2976}));  // landscape A4
    EXPECT_EQ(made->GetPage(), (LayoutRect{10, 20, 4209 - 30, 2976 - 40}));
    EXPECT_EQ(made->GetPageMax(), 71);
}

TEST_F(AppCoreTest, PrepareNewLayoutRenewsTheViewStateOfLayoutsOnly) {
    auto core = MakeCore();
    CLayoutSetting layout(true);
    layout.SetType(2);
    ASSERT_TRUE(core->PrepareNewLayout(layout));
    ASSERT_NE(layout.GetViewState(), nullptr);
    EXPECT_EQ(layout.GetViewState()->statusA, 0);
    EXPECT_EQ(layout.GetViewState()->statusB, 1);
    EXPECT_EQ(layout.GetViewState()->zoomNumerator, 1);

    int stamps = 0;
    core->SetImageStampBuilder([&](CLayoutSetting&) { ++stamps; });
    ASSERT_TRUE(core->PrepareNewLayout(layout));
    EXPECT_EQ(stamps, 0);
    layout.Texts().imageStampPath = "/bilder/stempel.png";
    ASSERT_TRUE(core->PrepareNewLayout(layout));
    EXPECT_EQ(stamps, 1);

    CLayoutSetting defaults(true);
    EXPECT_FALSE(core->PrepareNewLayout(defaults));
    EXPECT_EQ(defaults.GetViewState(), nullptr);
}

TEST_F(AppCoreTest, RecentFilesGoThroughTheSettingsStore) {
    {
        auto core = MakeCore();
        core->AddRecentFile("/a/eins.kqf");
        core->AddRecentFile("/a/zwei.kqf");
        core->RemoveFirstRecentFile();
        core->AddRecentFile("/a/drei.kqf");
    }
    auto next = MakeCore();
    next->LoadRecentFileList();
    EXPECT_EQ(next->RecentFiles().Entries(), (std::vector<fs::path>{"/a/drei.kqf", "/a/eins.kqf"}));
    EXPECT_EQ(next->Settings().Path(), root.Path() / "VellicorEX_Settings.ini");
}

TEST_F(AppCoreTest, StateThatTheRunKeeps) {
    auto core = MakeCore();
    EXPECT_THROW(core->DefaultLayoutSetting(), std::logic_error);
    EXPECT_FALSE(core->ImportLocked());
    core->SetDirectPrintRunning(true);
    EXPECT_TRUE(core->ImportLocked());
    core->SetSystemLanguage(12);
    EXPECT_EQ(core->GetSystemLanguage(), 12);
    UndoStore& undo = core->GetUndoStore();
    EXPECT_EQ(&undo, &core->GetUndoStore());
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST_F(AppCoreTest, PrepareNewLayoutBuildsTheNamedStamp) {
    auto core = MakeCore();
    test::JpegFixture fixture;
    fixture.width = fixture.height = 300;
    fixture.densityUnit = 1;
    fixture.xDensity = fixture.yDensity = 300;
    const std::filesystem::path stamp = root.Path() / "stempel.jpg";
    test::WriteBytes(stamp, test::EncodeJpeg(fixture));
    CLayoutSetting layout(true);
    layout.SetType(2);
    layout.SetColor(2);
    layout.Texts().imageStampPath = stamp.string();
    ASSERT_TRUE(core->PrepareNewLayout(layout));
    ASSERT_NE(layout.GetStampImage(), nullptr);
    EXPECT_EQ(layout.GetStampImage()->GetSize(), (LayoutPoint{360, 360}));

    // A stamp that no longer builds keeps the one the layout has, and says why.
    CImageObj* kept = layout.GetStampImage();
    test::WriteBytes(stamp, test::Bytes("kein Bild"));
    ASSERT_TRUE(core->PrepareNewLayout(layout));
    EXPECT_EQ(layout.GetStampImage(), kept);
    EXPECT_EQ(messages.Ids().back(), 10526);
}

}  // namespace
}  // namespace vx
