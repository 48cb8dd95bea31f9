#include "app/StartupSequence.h"

#include "app/SettingsStore.h"
#include "app/StartupBindings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>

#include "colourmanagement/AdjustmentProfiles.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/QuickTimePresent.h"
#include "host/Shell.h"
#include "importers/QtmlStartCount.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutLimits.h"
#include "platform/system/Folders.h"
#include "platform/system/FreeSpace.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/SystemLanguage.h"
#include "printing/CPrinterManager.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSeeding.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

// The version query answers the version in its high word.
static_assert((kImportersVersion >> 16) == QuickTimeVersion);

constexpr int32_t kQuickTimeUsable = 0x0500;
constexpr uint32_t kHideQuickTimeMissing = 1;
constexpr uint32_t kHideQuickTimeOld = 2;

void LogStep(std::string_view text) { std::fprintf(stderr, "VellicorEX: %.*s\n", int(text.size()), text.data()); }

AppPreferences* Preferences() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

std::optional<int32_t> StartImporters() {
    if (QtmlInitialize(0x1F) != 0) return std::nullopt;
    int32_t answer = 0;
    if (QtGestalt(0x7174696D /* 'qtim' */, answer) != 0) return 0;
    return (answer >> 16) & 0xFFFF;
}

bool ProbeUserFolder() {
    if (!EnsureUserFolder()) return false;
    const fs::path probe = UserFolder() / (".write-probe-" + std::to_string(getpid()));
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

bool FindPrinters() {
    CPrinterManager* printers = CPrinterManager::GetInstance();
    if (!printers) return false;
    printers->ClearPrinterList();
    return printers->EnumSupportedPrinters() == 1;
}

uint32_t ReadSwitch(const StartupEnvironment& env, std::string_view name) {
    return env.readSwitch ? env.readSwitch(std::string(name)) : 0;
}

void WriteSwitch(const StartupEnvironment& env, std::string_view name, uint32_t value) {
    if (env.writeSwitch) env.writeSwitch(std::string(name), value);
}

bool MakeTempFolder() {
    if (Status st = CreateTempFolder(); !st) {
        Messages().Show(st.stringId, st.args, Icon::Error, Buttons::Ok);
        return false;
    }
    return true;
}

}  // namespace

StartupEnvironment StartupEnvironment::System(int32_t width, int32_t height, StartupBindings* bindings) {
    StartupEnvironment env;
    env.screenWidth = width;
    env.screenHeight = height;
    env.createTempFolder = MakeTempFolder;
    env.findSupportedPrinters = [bindings] {
        if (!FindPrinters()) return false;
        if (bindings) bindings->BindPrinterManager(*CPrinterManager::GetInstance());
        return true;
    };
    env.checkApplicationProfiles = CheckApplicationProfiles;
    env.startQuickTime = StartImporters;
    env.stopQuickTime = QtmlTerminate;
    env.freeTempBytes = [] { return FreeBytesAt(TempFolder()); };
    env.userFolderWritable = ProbeUserFolder;
    env.userFolderText = [] { return PathText(UserFolder()); };
    env.readSwitch = [](const std::string&) -> uint32_t { return 0; };
    env.writeSwitch = [](const std::string&, uint32_t) {};
    return env;
}

void StartupEnvironment::BindSwitches(SettingsStore& store) {
    readSwitch = [&store](const std::string& name) { return store.GetSwitch(name); };
    writeSwitch = [&store](const std::string& name, uint32_t value) { store.SetSwitch(name, value); };
}

StartupSequence::StartupSequence(StartupEnvironment environment, StartupHost& host, StartupWarnings& warnings)
    : mEnvironment(std::move(environment)), mHost(host), mWarnings(warnings) {}

StartupSequence::~StartupSequence() = default;

bool StartupSequence::ScreenLargeEnough(int32_t width, int32_t height) { return width >= 1024 && height >= 768; }

StartupResult StartupSequence::Refuse(std::string step) {
    LogStep("start-up ended at " + step);
    if (mFrameExists) mHost.CloseMainFrame();
    mFrameExists = false;
    return StartupResult{false, 1, std::move(step)};
}

StartupResult StartupSequence::RunStartupSteps1To21() {
    if (!ScreenLargeEnough(mEnvironment.screenWidth, mEnvironment.screenHeight)) {
        Messages().Show(IDS_SCREEN_TOO_SMALL, {}, Icon::Error, Buttons::Ok);
        return Refuse("screen size");
    }
    mPlatform = 1;
    mSystemLanguage = GetSystemLanguage();
    mHost.LoadSettings();
    if (mEnvironment.createTempFolder && !mEnvironment.createTempFolder()) return Refuse("temporary folder");
    if (!mEnvironment.findSupportedPrinters || !mEnvironment.findSupportedPrinters()) {
        Messages().Show(IDS_SUPPORTED_PRINTER_REQUIRED, {}, Icon::Error, Buttons::Ok);
        return Refuse("supported printers");
    }
    if (!mHost.CreateMainFrame()) return Refuse("main window");
    mFrameExists = true;
    mHost.ShowSplash();
    if (!mHost.InitAppDefaults()) return Refuse("application defaults");

    // A new user starts with the shipped templates; an existing folder stays as it is.
    SeedTemplateFolder();
    CTemplateInfoArray& catalogue = TemplateCatalog();
    catalogue.SetSize(0);
    ScanTemplateFolders(GetTemplateFolder(), "kqt", 0, catalogue);
    SortTemplateInfoArray(catalogue);

    const std::optional<int32_t> version = mEnvironment.startQuickTime ? mEnvironment.startQuickTime() : std::nullopt;
    mQuickTimeStarted = version.has_value();
    mQuickTimeVersion = version.value_or(0);
    mQuickTimeFlag = mQuickTimeVersion >= kQuickTimeUsable ? 1 : 0;

    mHost.LoadCursors();
    if (mEnvironment.checkApplicationProfiles && !mEnvironment.checkApplicationProfiles())
        return Refuse("application profiles");

    if (Shell* shell = HostService<Shell>()) {
        const AppPreferences* prefs = Preferences();
        shell->SetQuickPrintStatus(prefs && prefs->quickPrint == 1 ? 10 : 9);
    }
    DeleteTempPreviewFiles(TempFolder());
    return {};
}

StartupResult StartupSequence::RunStartupSteps22To30() {
    mHost.ShowMainFrame();
    if (mEnvironment.userFolderWritable && !mEnvironment.userFolderWritable())
        if (AppPreferences* prefs = Preferences()) prefs->doNotSave = 1;
    if (!mHost.LoadUserCategories()) return Refuse("user categories");

    std::string step;
    if (!CheckDiskSpace(step)) return Refuse(step);
    if (!CheckUserRights()) return Refuse("user rights warning");
    if (!CheckQuickTime()) return Refuse("QuickTime warning");

    if (mEnvironment.processCommandLine)
        mEnvironment.processCommandLine();
    else
        OpenStartupLayout(true);
    mComplete = true;
    return {};
}

void StartupSequence::Exit() {
    if (mQuickTimeStarted && mEnvironment.stopQuickTime) mEnvironment.stopQuickTime();
    mQuickTimeStarted = false;
}

bool StartupSequence::CheckDiskSpace(std::string& failedStep) {
    const std::optional<uint64_t> bytes = mEnvironment.freeTempBytes ? mEnvironment.freeTempBytes() : std::nullopt;
    if (!bytes) {
        LogStep("free space of the temporary folder unknown; disk-space check skipped");
        return true;
    }
    const double gb = double(*bytes) / (1024.0 * 1024.0 * 1024.0);
    if (gb < kMinimumFreeGb) {
        Messages().Show(IDS_DISK_SPACE_TOO_LOW, {gb, (long long)kMinimumFreeGb, (long long)kRecommendedFreeGb},
                        Icon::Error, Buttons::Ok);
        failedStep = "disk space";
        return false;
    }
    if (gb >= kRecommendedFreeGb) return true;
    if (ReadSwitch(mEnvironment, SettingsStore::kHideDiskSpaceAlert) != 0) return true;
    const WarningAnswer answer = mWarnings.ShowDiskSpaceWarning(gb, kMinimumFreeGb, kRecommendedFreeGb);
    if (answer.result != kIdOk) {
        failedStep = "disk-space warning";
        return false;
    }
    WriteSwitch(mEnvironment, SettingsStore::kHideDiskSpaceAlert, answer.dontShowAgain ? 1 : 0);
    return true;
}

bool StartupSequence::CheckUserRights() {
    const AppPreferences* prefs = Preferences();
    if (!prefs || !prefs->doNotSave) return true;
    if (ReadSwitch(mEnvironment, SettingsStore::kHideUsersAlert) != 0) return true;
    const std::string folder = mEnvironment.userFolderText ? mEnvironment.userFolderText() : std::string();
    const WarningAnswer answer = mWarnings.ShowUserRightsWarning(folder);
    if (answer.result != kIdOk) return false;
    WriteSwitch(mEnvironment, SettingsStore::kHideUsersAlert, answer.dontShowAgain ? 1 : 0);
    return true;
}

bool StartupSequence::CheckQuickTime() {
    const uint32_t hidden = ReadSwitch(mEnvironment, SettingsStore::kHideQuickTimeAlert);
    const bool usable = mQuickTimeFlag != 0;
    const bool current = mQuickTimeVersion >= QuickTimeVersion;
    if (usable && current) return true;
    const uint32_t bit = usable ? kHideQuickTimeOld : kHideQuickTimeMissing;
    if (hidden & bit) return true;
    const WarningAnswer answer = mWarnings.ShowQuickTimeWarning();
    if (answer.result != kIdOk) return false;
    if (answer.dontShowAgain) WriteSwitch(mEnvironment, SettingsStore::kHideQuickTimeAlert, hidden | bit);
    return true;
}

bool StartupSequence::OpenStartupLayout(bool atStartup) {
    const AppPreferences* prefs = Preferences();
    const int startDocument = prefs ? prefs->startDocument : 0;
    const void* before = mHost.ActiveDocument();
    switch (startDocument) {
    case 1: {
        const fs::path recent = mHost.FirstRecentFile();
        if (recent.empty())
            mHost.NewDocument();
        else
            mHost.OpenDocument(recent);
        break;
    }
    case 2:
        if (!atStartup) mHost.NewDocument();
        break;
    default:
        mHost.NewDocument();
        break;
    }
    const void* after = mHost.ActiveDocument();
    return after != nullptr && after != before;
}

void DeleteTempPreviewFiles(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        const bool preview = (name.size() >= 12 && name.starts_with("ImageTmp") && name.ends_with(".jpg")) ||
                             name == "temppreview.jpg";
        if (!preview) continue;
        std::error_code statusError;
        if (fs::is_directory(it->symlink_status(statusError))) continue;
        std::error_code removeError;
        fs::remove(it->path(), removeError);
    }
}

bool IdleResolutionCheck::Run(CLayoutSetting& layout) {
    // The warning box runs its own event loop; idle events inside it must not stack
    // a second warning, and the new value is stored before anyone is told.
    if (mRunning) return false;
    const int32_t previous = layout.GetInputResolution();
    const int32_t chosen = ChooseInputResolution(layout, 0);
    layout.SetInputResolution(chosen);
    if (previous <= chosen || previous == 120) return false;
    mRunning = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{mRunning};
    Messages().Show(IDS_INPUT_RESOLUTION_REDUCED, {}, Icon::Warning, Buttons::Ok);
    return true;
}

bool CheckActiveLayoutResolution(IdleResolutionCheck& check) {
    Shell* shell = HostService<Shell>();
    ApplicationState* app = HostService<ApplicationState>();
    if (!shell || !app || !shell->GetLayoutView()) return false;
    CLayoutSetting* layout = app->ActiveLayoutSlot();
    return layout ? check.Run(*layout) : false;
}

}  // namespace vx
