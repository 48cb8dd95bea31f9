#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ScreenMetrics.h"
#include "app/SettingsStore.h"
#include "app/StartupSequence.h"
#include "colourmanagement/AdjustmentProfiles.h"
#include "host/QuickTimePresent.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "platform/system/Folders.h"
#include "platform/system/FreeSpace.h"
#include "platform/system/StringTable.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const std::string kHideDiskSpaceAlert(SettingsStore::kHideDiskSpaceAlert);
const std::string kHideQuickTimeAlert(SettingsStore::kHideQuickTimeAlert);
const std::string kHideUsersAlert(SettingsStore::kHideUsersAlert);

constexpr uint64_t kGb = 1024ull * 1024 * 1024;

/// Records the window steps of start-up and plays a document manager with one slot.
struct RecordingStartupHost : StartupHost {
    std::vector<std::string> steps;
    bool frameCreated = true;
    bool categoriesLoaded = true;
    int documents = 0;  // how many documents were opened; the last is active, 0 none
    int slots[8] = {};
    fs::path recent;
    bool openSucceeds = true;

    void LoadSettings() override { steps.push_back("settings"); }
    bool CreateMainFrame() override {
        steps.push_back("frame");
        return frameCreated;
    }
    void ShowSplash() override { steps.push_back("splash"); }
    bool InitAppDefaults() override {
        steps.push_back("defaults");
        return true;
    }
    void LoadCursors() override { steps.push_back("cursors"); }
    void ShowMainFrame() override { steps.push_back("show"); }
    bool LoadUserCategories() override {
        steps.push_back("categories");
        return categoriesLoaded;
    }
    void CloseMainFrame() override { steps.push_back("close"); }
    const void* ActiveDocument() override { return documents ? &slots[documents % 8] : nullptr; }
    void NewDocument() override {
        steps.push_back("new");
        ++documents;
    }
    void OpenDocument(const fs::path& path) override {
        steps.push_back("open " + path.filename().string());
        if (openSucceeds) ++documents;
    }
    fs::path FirstRecentFile() override { return recent; }
};

struct RecordingWarnings : StartupWarnings {
    std::vector<std::string> shown;
    std::vector<double> freeGb;
    std::string folder;
    WarningAnswer answer{kIdOk, false};
    WarningAnswer ShowDiskSpaceWarning(double gb, int minimum, int recommended) override {
        shown.push_back("disk");
        freeGb.push_back(gb);
        EXPECT_EQ(minimum, 3);
        EXPECT_EQ(recommended, 12);
        return answer;
    }
    WarningAnswer ShowQuickTimeWarning() override {
        shown.push_back("quicktime");
        return answer;
    }
    WarningAnswer ShowUserRightsWarning(const std::string& userFolder) override {
        shown.push_back("rights");
        folder = userFolder;
        return answer;
    }
};

/// A machine that lets the program start: a large screen, a printer, the profiles,
/// the importers at 6.0, 20 GB free and a writable user folder.
class StartupTest : public testing::Test {
public:
    StartupTest()
        : user("VELLICOREX_USER_DIR", (root.Path() / "user").string()),
          temp("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()),
          ports(&messages) {
        fs::create_directories(root.Path() / "user");
        fs::create_directories(TempFolder());
        env.screenWidth = 1280;
        env.screenHeight = 1024;
        env.createTempFolder = [] { return true; };
        env.findSupportedPrinters = [this] { return printers; };
        env.checkApplicationProfiles = [] { return true; };
        env.startQuickTime = [this] { return quickTime; };
        env.stopQuickTime = [this] { ++quickTimeStops; };
        env.freeTempBytes = [this] { return freeBytes; };
        env.userFolderWritable = [this] { return writable; };
        env.userFolderText = [] { return std::string("/home/anna/.config/vellicorex"); };
        env.readSwitch = [this](const std::string& name) { return switches.count(name) ? switches[name] : 0u; };
        env.writeSwitch = [this](const std::string& name, uint32_t value) {
            switches[name] = value;
            written.push_back(name + "=" + std::to_string(value));
        };
    }

    /// Both halves; the result of the first that ends the program, else of the second.
    StartupResult Start() {
        sequence.emplace(env, host, warnings);
        StartupResult first = sequence->RunStartupSteps1To21();
        if (!first.run) return first;
        return sequence->RunStartupSteps22To30();
    }

    test::TestRoot root;
    test::ScopedEnv user;
    test::ScopedEnv temp;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports;
    test::InstalledApplicationState app;
    test::RecordingHost shell;
    RecordingStartupHost host;
    RecordingWarnings warnings;
    StartupEnvironment env;
    bool printers = true;
    std::optional<int32_t> quickTime = QuickTimeVersion;
    int quickTimeStops = 0;
    std::optional<uint64_t> freeBytes = 20 * kGb;
    bool writable = true;
    std::map<std::string, uint32_t> switches;
    std::vector<std::string> written;
    std::optional<StartupSequence> sequence;
};

TEST_F(StartupTest, APlainStartRunsEveryStepAndOpensANewLayout) {
    const StartupResult r = Start();
    EXPECT_TRUE(r.run);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(sequence->StartupComplete());
    EXPECT_EQ(host.steps, (std::vector<std::string>{"settings", "frame", "splash", "defaults", "cursors", "show",
                                                    "categories", "new"}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(warnings.shown.empty());
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(sequence->PlatformFlag(), 1);
    EXPECT_EQ(sequence->QuickTimeFlag(), 1);
    EXPECT_EQ(sequence->QuickTimeVersionFound(), 0x600);
    EXPECT_EQ(shell.shell.quickPrintStates, std::vector<int>{9});
    EXPECT_EQ(app.preferences.doNotSave, 0);
    sequence->Exit();
    sequence->Exit();
    EXPECT_EQ(quickTimeStops, 1);
}

TEST_F(StartupTest, QuickPrintOnShowsItsPaneState) {
    app.preferences.quickPrint = 1;
    ASSERT_TRUE(Start().run);
    EXPECT_EQ(shell.shell.quickPrintStates, std::vector<int>{10});
}

TEST_F(StartupTest, RefusalsShowTheirMessageEndWithOneAndCompleteNothing) {
    struct Case {
        const char* name;
        std::function<void(StartupTest&)> arrange;
        std::vector<int> messages;
        bool frameMade;
    };
    const std::vector<Case> cases = {
        {"screen 1023 x 768", [](StartupTest& t) { t.env.screenWidth = 1023, t.env.screenHeight = 768; },
         {IDS_SCREEN_TOO_SMALL}, false},
        {"screen 1024 x 767", [](StartupTest& t) { t.env.screenWidth = 1024, t.env.screenHeight = 767; },
         {IDS_SCREEN_TOO_SMALL}, false},
        {"no supported printer", [](StartupTest& t) { t.printers = false; }, {IDS_SUPPORTED_PRINTER_REQUIRED},
         false},
        {"missing profile", [](StartupTest& t) { t.env.checkApplicationProfiles = CheckApplicationProfiles; },
         {IDS_APPLICATION_PROFILES_MISSING}, true},
        {"2.99 GB free", [](StartupTest& t) { t.freeBytes = uint64_t(2.99 * kGb); }, {IDS_DISK_SPACE_TOO_LOW},
         true},
        {"temporary folder", [](StartupTest& t) { t.env.createTempFolder = [] { return false; }; }, {}, false},
        {"main frame", [](StartupTest& t) { t.host.frameCreated = false; }, {}, false},
        {"user categories", [](StartupTest& t) { t.host.categoriesLoaded = false; }, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestRoot data;
        test::ScopedEnv dataDir("VELLICOREX_DATA_DIR", data.Path().string());
        test::ScopedEnv xdg("XDG_DATA_HOME", data.Path().string());
        StartupTest& t = *this;
        t.env.screenWidth = 1280, t.env.screenHeight = 1024;
        t.printers = true;
        t.env.checkApplicationProfiles = [] { return true; };
        t.env.createTempFolder = [] { return true; };
        t.freeBytes = 20 * kGb;
        t.host = RecordingStartupHost{};
        t.messages.shown.clear();
        c.arrange(t);
        const StartupResult r = Start();
        EXPECT_FALSE(r.run);
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_FALSE(r.failedStep.empty());
        EXPECT_FALSE(sequence->StartupComplete());
        EXPECT_EQ(messages.Ids(), c.messages);
        EXPECT_TRUE(written.empty());
        const bool closed = !host.steps.empty() && host.steps.back() == "close";
        EXPECT_EQ(closed, c.frameMade);
        EXPECT_EQ(host.documents, 0);
    }
}

TEST_F(StartupTest, TooLittleSpaceNamesTheFreeSpaceAndBothLimits) {
    freeBytes = uint64_t(2.5 * kGb);
    ASSERT_FALSE(Start().run);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, Icon::Error);
    EXPECT_NE(messages.shown[0].text.find("ca. 2.50 GB"), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find("mindestens 3 GB"), std::string::npos);
    EXPECT_NE(messages.shown[0].text.find("12 GB oder mehr"), std::string::npos);
    EXPECT_TRUE(warnings.shown.empty());
}

TEST_F(StartupTest, DiskSpaceWarningByFreeSpaceAndSwitch) {
    struct Case {
        uint64_t bytes;
        uint32_t hide;
        bool dialog;
    };
    for (const Case& c : {Case{3 * kGb, 0, true}, Case{11 * kGb, 0, true}, Case{12 * kGb, 0, false},
                          Case{5 * kGb, 1, false}, Case{3 * kGb, 7, false}}) {
        SCOPED_TRACE(std::to_string(c.bytes / kGb) + " GB, switch " + std::to_string(c.hide));
        freeBytes = c.bytes;
        switches = {{kHideDiskSpaceAlert, c.hide}};
        warnings.shown.clear();
        written.clear();
        host = RecordingStartupHost{};
        EXPECT_TRUE(Start().run);
        EXPECT_EQ(warnings.shown, c.dialog ? std::vector<std::string>{"disk"} : std::vector<std::string>{});
        // A confirmed warning stores its box, unticked here.
        EXPECT_EQ(written, c.dialog ? std::vector<std::string>{"HideHDDSpaceAlert=0"} : std::vector<std::string>{});
    }
    EXPECT_DOUBLE_EQ(warnings.freeGb.front(), 3.0);
}

TEST_F(StartupTest, UnknownFreeSpaceSkipsTheCheck) {
    freeBytes = std::nullopt;
    EXPECT_TRUE(Start().run);
    EXPECT_TRUE(warnings.shown.empty());
}

TEST_F(StartupTest, QuickTimeStateAgainstItsSwitchBits) {
    struct State {
        const char* name;
        std::optional<int32_t> version;
        uint32_t bit;  // 0: never warned
    };
    const State states[] = {{"missing", std::nullopt, 1}, {"too old to use", 0x0400, 1}, {"5.0", 0x0500, 2},
                            {"6.0", 0x0600, 0}};
    for (const State& s : states) {
        for (uint32_t hide = 0; hide <= 3; ++hide) {
            SCOPED_TRACE(std::string(s.name) + ", HideQTAlert " + std::to_string(hide));
            quickTime = s.version;
            switches = {{kHideQuickTimeAlert, hide}};
            warnings.shown.clear();
            written.clear();
            warnings.answer = {kIdOk, true};
            host = RecordingStartupHost{};
            EXPECT_TRUE(Start().run);
            const bool shown = s.bit != 0 && (hide & s.bit) == 0;
            EXPECT_EQ(warnings.shown.size(), shown ? 1u : 0u);
            if (shown)
                EXPECT_EQ(written, std::vector<std::string>{"HideQTAlert=" + std::to_string(hide | s.bit)});
            else
                EXPECT_TRUE(written.empty());
            EXPECT_EQ(sequence->QuickTimeFlag(), s.version && *s.version >= 0x500 ? 1 : 0);
        }
    }
}

TEST_F(StartupTest, QuickTimeWarningUntickedStoresNothing) {
    quickTime = std::nullopt;
    warnings.answer = {kIdOk, false};
    EXPECT_TRUE(Start().run);
    EXPECT_EQ(warnings.shown, std::vector<std::string>{"quicktime"});
    EXPECT_TRUE(written.empty());
    sequence->Exit();
    EXPECT_EQ(quickTimeStops, 0);
}

TEST_F(StartupTest, ARestrictedUserIsWarnedUnlessSilenced) {
    writable = false;
    for (uint32_t hide : {0u, 1u}) {
        SCOPED_TRACE(hide);
        switches = {{kHideUsersAlert, hide}};
        warnings.shown.clear();
        written.clear();
        warnings.answer = {kIdOk, true};
        app.preferences.doNotSave = 0;
        host = RecordingStartupHost{};
        EXPECT_TRUE(Start().run);
        EXPECT_EQ(app.preferences.doNotSave, 1);
        if (hide == 0) {
            EXPECT_EQ(warnings.shown, std::vector<std::string>{"rights"});
            EXPECT_EQ(warnings.folder, "/home/anna/.config/vellicorex");
            EXPECT_EQ(written, std::vector<std::string>{"HideUsersAlert=1"});
        } else {
            EXPECT_TRUE(warnings.shown.empty());
        }
    }
    // The warning's text names the folder.
    EXPECT_EQ(MessageText(IDS_USER_FOLDER_NOT_WRITABLE, {std::string("/x")}),
              "Einige Funktionen von TEVRA Vellicor EX stehen nicht zur Verfügung, weil Ihr Benutzerordner „/x“ "
              "nicht beschreibbar ist.");
}

TEST_F(StartupTest, NoWithTheBoxTickedEndsWithoutStoringTheSwitch) {
    struct Case {
        const char* name;
        std::function<void(StartupTest&)> arrange;
        const char* dialog;
    };
    const std::vector<Case> cases = {
        {"disk space", [](StartupTest& t) { t.freeBytes = 4 * kGb; }, "disk"},
        {"user rights", [](StartupTest& t) { t.writable = false; }, "rights"},
        {"QuickTime", [](StartupTest& t) { t.quickTime = std::nullopt; }, "quicktime"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freeBytes = 20 * kGb;
        writable = true;
        quickTime = QuickTimeVersion;
        switches.clear();
        written.clear();
        warnings.shown.clear();
        warnings.answer = {kIdCancel, true};
        app.preferences.doNotSave = 0;
        host = RecordingStartupHost{};
        c.arrange(*this);
        const StartupResult r = Start();
        EXPECT_FALSE(r.run);
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_EQ(warnings.shown, std::vector<std::string>{c.dialog});
        EXPECT_TRUE(written.empty());
        EXPECT_EQ(host.steps.back(), "close");
        EXPECT_FALSE(sequence->StartupComplete());
    }
}

TEST_F(StartupTest, SwitchesLiveInTheSettingsStore) {
    SettingsStore store(root.Path() / "user" / "VellicorEX_Settings.ini");
    store.SetSwitch(SettingsStore::kHideUsersAlert, 1);
    env.BindSwitches(store);
    writable = false;
    quickTime = std::nullopt;
    warnings.answer = {kIdOk, true};
    ASSERT_TRUE(Start().run);
    EXPECT_EQ(warnings.shown, std::vector<std::string>{"quicktime"}) << "the rights warning is silenced";
    SettingsStore reread(store.Path());
    EXPECT_EQ(reread.GetSwitch(SettingsStore::kHideQuickTimeAlert), 1u);
    EXPECT_EQ(reread.GetSwitch(SettingsStore::kHideUsersAlert), 1u);

    warnings.shown.clear();
    host = RecordingStartupHost{};
    ASSERT_TRUE(Start().run);
    EXPECT_TRUE(warnings.shown.empty());
}

TEST_F(StartupTest, StalePreviewFilesGoAndOthersStay) {
    const fs::path t = TempFolder();
    for (const char* name : {"ImageTmp.jpg", "ImageTmp12.jpg", "temppreview.jpg", "ImageTmp3.png", "keep.jpg"})
        std::ofstream(t / name) << "x";
    fs::create_directories(t / "ImageTmpDir.jpg");
    ASSERT_TRUE(Start().run);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(t)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"ImageTmp3.png", "ImageTmpDir.jpg", "keep.jpg"}));
}

TEST_F(StartupTest, StartupLayoutByPreference) {
    struct Case {
        int16_t preference;
        bool atStartup;
        const char* recent;
        int documentsBefore;
        std::vector<std::string> steps;
        bool result;
    };
    const std::vector<Case> cases = {
        {0, true, "", 0, {"new"}, true},
        {1, true, "/l/a.kqf", 0, {"open a.kqf"}, true},
        {1, true, "", 0, {"new"}, true},
        {2, true, "", 0, {}, false},
        {2, false, "", 0, {"new"}, true},
        {0, false, "", 1, {"new"}, true},  // another layout active now
    };
    sequence.emplace(env, host, warnings);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.preference) + (c.atStartup ? " at start-up" : " for a list"));
        app.preferences.startDocument = c.preference;
        host = RecordingStartupHost{};
        host.recent = c.recent;
        host.documents = c.documentsBefore;
        EXPECT_EQ(sequence->OpenStartupLayout(c.atStartup), c.result);
        EXPECT_EQ(host.steps, c.steps);
    }
    // A recent file that no longer opens leaves no layout active.
    app.preferences.startDocument = 1;
    host = RecordingStartupHost{};
    host.recent = "/gone.kqf";
    host.openSucceeds = false;
    EXPECT_FALSE(sequence->OpenStartupLayout(true));
}

TEST(StartupEnvironment, TheSystemAnswersFromTheProgramFolders) {
    test::TestRoot root;
    test::ScopedEnv user("VELLICOREX_USER_DIR", (root.Path() / "user").string());
    test::ScopedEnv temp("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string());
    FakeFreeBytesForTests(std::nullopt);
    const StartupEnvironment env = StartupEnvironment::System(1280, 1024);
    EXPECT_EQ(env.screenWidth, 1280);
    ASSERT_TRUE(env.createTempFolder());
    EXPECT_TRUE(fs::is_directory(root.Path() / "temp" / TempFolder().filename()));
    EXPECT_TRUE(env.freeTempBytes().has_value());
    EXPECT_TRUE(env.userFolderWritable());
    EXPECT_TRUE(fs::is_empty(root.Path() / "user")) << "the probe leaves nothing behind";
    EXPECT_EQ(env.userFolderText(), (root.Path() / "user").string());
    EXPECT_EQ(env.readSwitch("HideQTAlert"), 0u);
    // A user folder that is a file cannot be written.
    fs::remove_all(root.Path() / "user");
    std::ofstream(root.Path() / "user") << "x";
    EXPECT_FALSE(env.userFolderWritable());
    RemoveTempFolder();
}

TEST(ScreenMetrics, UnknownAnswersTakeTheDefaults) {
    const ScreenMetrics gtk = ScreenMetrics::FromSystem(-1, -1, -1);
    EXPECT_EQ(gtk.edge, 2);
    EXPECT_EQ(gtk.frame, 4);
    EXPECT_EQ(gtk.scrollBar, 17);
    EXPECT_EQ(gtk.LeftPaneWidth(), 332 + 17 + 4);
    const ScreenMetrics known = ScreenMetrics::FromSystem(1, 3, 12);
    EXPECT_EQ(known.LeftPaneWidth(), 332 + 12 + 2);
    EXPECT_EQ(known.frame, 3);
    EXPECT_TRUE(StartupSequence::ScreenLargeEnough(1024, 768));
    EXPECT_FALSE(StartupSequence::ScreenLargeEnough(1023, 768));
    EXPECT_FALSE(StartupSequence::ScreenLargeEnough(1024, 767));
}

/// A layout whose paper and page count give the wanted input resolution.
void SizeFor(CLayoutSetting& layout, int32_t resolution) {
    layout.SetPaperWidth(10000);
    layout.SetPaperLength(10000);
    SetPageNumber(layout, resolution == 360 ? 1 : resolution == 120 ? 3 : 6);
}

/// Answers the warning and meanwhile lets idle events run the check again, as the
/// warning box's own event loop does.
struct ReentrantMessagePort : test::RecordingMessagePort {
    std::function<void()> whileShown;
    int Show(int id, const Args& args, Icon icon, Buttons buttons) override {
        if (whileShown) whileShown();
        return RecordingMessagePort::Show(id, args, icon, buttons);
    }
};

TEST(IdleResolution, WarnsOnceWhenTheResolutionFalls) {
    struct Case {
        int32_t stored;
        int32_t now;
        bool warns;
    };
    for (const Case& c : {Case{360, 90, true}, Case{360, 120, true}, Case{120, 90, false}, Case{90, 90, false},
                          Case{90, 360, false}}) {
        SCOPED_TRACE(std::to_string(c.stored) + " -> " + std::to_string(c.now));
        ReentrantMessagePort messages;
        test::ScopedPorts ports(&messages);
        CLayoutSetting layout(true);
        SizeFor(layout, c.now);
        layout.SetInputResolution(c.stored);
        IdleResolutionCheck check;
        int seenInside = 0;
        messages.whileShown = [&] {
            seenInside = layout.GetInputResolution();
            for (int i = 0; i < 3; ++i) EXPECT_FALSE(check.Run(layout));
        };
        EXPECT_EQ(check.Run(layout), c.warns);
        EXPECT_EQ(layout.GetInputResolution(), c.now);
        EXPECT_EQ(messages.Ids(), c.warns ? std::vector<int>{IDS_INPUT_RESOLUTION_REDUCED} : std::vector<int>{});
        if (c.warns) {
            EXPECT_EQ(seenInside, c.now);  // stored before the box shows
            EXPECT_EQ(messages.shown[0].icon, Icon::Warning);
        }
        // Later idle events find the value stored and stay quiet.
        EXPECT_FALSE(check.Run(layout));
        EXPECT_EQ(messages.shown.size(), c.warns ? 1u : 0u);
    }
}

TEST(IdleResolution, NeedsALayoutView) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    test::InstalledApplicationState app;
    CLayoutSetting layout(true);
    SizeFor(layout, 90);
    layout.SetInputResolution(360);
    app.active = &layout;
    IdleResolutionCheck check;
    EXPECT_FALSE(CheckActiveLayoutResolution(check));  // no shell
    EXPECT_EQ(layout.GetInputResolution(), 360);
    test::RecordingHost host;
    EXPECT_TRUE(CheckActiveLayoutResolution(check));
    EXPECT_EQ(layout.GetInputResolution(), 90);
}

}  // namespace
}  // namespace vx
