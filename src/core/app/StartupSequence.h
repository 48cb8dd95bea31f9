#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace vx {

class CLayoutSetting;
class SettingsStore;
class StartupBindings;

/// The free space below which the program refuses to start, and below which it warns.
inline constexpr int kMinimumFreeGb = 3;
inline constexpr int kRecommendedFreeGb = 12;

/// What a start-up warning dialog answered: its button (kIdOk goes on, anything else
/// ends start-up) and its "do not show again" box.
struct WarningAnswer {
    int result = 2;
    bool dontShowAgain = false;
};

/// The three start-up warnings as modal dialogs: disk space (500), QuickTime (218) and
/// user rights (399). The window side implements them; tests record.
class StartupWarnings {
public:
    virtual ~StartupWarnings() = default;
    virtual WarningAnswer ShowDiskSpaceWarning(double freeGb, int minimumGb, int recommendedGb) = 0;
    virtual WarningAnswer ShowQuickTimeWarning() = 0;
    /// The rights warning names the user folder that cannot be written.
    virtual WarningAnswer ShowUserRightsWarning(const std::string& userFolder) = 0;
};

/// The steps of start-up that need windows or the application defaults. The window
/// side implements them; tests record.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    /// Loads the settings store with the recent files; the system language is
    /// StartupSequence::SystemLanguage() by then.
    virtual void LoadSettings() = 0;
    /// Creates the main frame (hidden) and lets it accept dropped files; false ends
    /// start-up silently.
    virtual bool CreateMainFrame() = 0;
    /// Shows the splash window over the main frame.
    virtual void ShowSplash() = 0;
    /// The application defaults and the default layout; false ends start-up.
    virtual bool InitAppDefaults() = 0;
    /// The cursor table.
    virtual void LoadCursors() = 0;
    /// Shows the main frame with the saved show state.
    virtual void ShowMainFrame() = 0;
    /// Loads the user categories; false ends start-up silently.
    virtual bool LoadUserCategories() = 0;
    /// Closes (or, not yet shown, destroys) the main frame after a refusal.
    virtual void CloseMainFrame() = 0;

    /// For the start-up layout: an identity of the active document (null for none).
    virtual const void* ActiveDocument() = 0;
    /// The framework's new-file command.
    virtual void NewDocument() = 0;
    /// Opens a layout file.
    virtual void OpenDocument(const std::filesystem::path& path) = 0;
    /// Entry 0 of the recent-file list; empty for none.
    virtual std::filesystem::path FirstRecentFile() = 0;
};

/// What start-up learns from the machine. System() fills every member with the real
/// answer; tests replace members.
struct StartupEnvironment {
    /// The primary display in logical pixels.
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    /// Makes the temporary folder (its own message is shown); false ends silently.
    std::function<bool()> createTempFolder;
    /// Lists the supported printers; false when there is none.
    std::function<bool()> findSupportedPrinters;
    /// Whether every application profile is present (shows 10409 itself when not).
    std::function<bool()> checkApplicationProfiles;
    /// Starts the graphics importers: their version in the high-word form (0x600);
    /// nullopt when they did not start.
    std::function<std::optional<int32_t>()> startQuickTime;
    /// Takes the start back at exit.
    std::function<void()> stopQuickTime;
    /// Free bytes of the temporary folder's file system; nullopt when it cannot be asked.
    std::function<std::optional<uint64_t>()> freeTempBytes;
    /// Whether a file can be created in the user folder.
    std::function<bool()> userFolderWritable;
    /// The user folder as the rights warning names it.
    std::function<std::string()> userFolderText;
    /// The warning switches of the settings store: unreadable reads 0, a failed write
    /// is ignored.
    std::function<uint32_t(const std::string& name)> readSwitch;
    std::function<void(const std::string& name, uint32_t value)> writeSwitch;
    /// The last step: processes the command line (and the requests of later starts).
    /// Without it the start-up layout opens.
    std::function<void()> processCommandLine;

    /// The real answers for a screen of width x height; with bindings, the printer
    /// manager gets its services once the printers are listed.
    static StartupEnvironment System(int32_t width, int32_t height, StartupBindings* bindings = nullptr);
    /// Reads and writes the warning switches in store (which must outlive start-up).
    void BindSwitches(SettingsStore& store);
};

/// How a start-up call ended.
struct StartupResult {
    bool run = true;         // false: the program ends
    int exitStatus = 0;      // 1 for a refused or silent end
    std::string failedStep;  // which step ended it, for the log line
};

/// The application's start-up decisions (and exit), in two parts: steps 1 to 21 before
/// the splash pause, steps 22 to 30 after it. User-interface thread only.
class StartupSequence {
public:
    StartupSequence(StartupEnvironment environment, StartupHost& host, StartupWarnings& warnings);
    ~StartupSequence();
    StartupSequence(const StartupSequence&) = delete;
    StartupSequence& operator=(const StartupSequence&) = delete;

    /// Screen size, platform, settings, temporary folder, printers, main frame, splash,
    /// defaults, template catalogue, importers, cursors, profiles, quick-print pane,
    /// stale preview files.
    StartupResult RunStartupSteps1To21();
    /// Shows the main frame, decides the restricted user, loads the user categories,
    /// runs the three warnings and opens the start-up layout. A refusal closes the
    /// main frame.
    StartupResult RunStartupSteps22To30();
    /// Stops the importers when they were started. Call once at exit.
    void Exit();

    /// Opens the layout the start-up document preference asks for (0 new, 1 most
    /// recent, 2 none; at start-up only). True when a layout became active (with one
    /// active before: when another one is active now).
    bool OpenStartupLayout(bool atStartup);

    /// Whether the screen is large enough (at least 1024 x 768).
    static bool ScreenLargeEnough(int32_t width, int32_t height);

    int32_t PlatformFlag() const { return mPlatform; }
    int32_t QuickTimeFlag() const { return mQuickTimeFlag; }
    int32_t QuickTimeVersionFound() const { return mQuickTimeVersion; }
    int SystemLanguage() const { return mSystemLanguage; }
    bool StartupComplete() const { return mComplete; }

private:
    bool CheckDiskSpace(std::string& failedStep);
    bool CheckUserRights();
    bool CheckQuickTime();
    StartupResult Refuse(std::string step);

    StartupEnvironment mEnvironment;
    StartupHost& mHost;
    StartupWarnings& mWarnings;
    int32_t mPlatform = 0;
    int32_t mQuickTimeFlag = 0;
    int32_t mQuickTimeVersion = 0;
    int mSystemLanguage = 0;
    bool mQuickTimeStarted = false;
    bool mFrameExists = false;
    bool mComplete = false;
};

/// Deletes the stale preview files ("ImageTmp*.jpg", "temppreview.jpg") in folder.
void DeleteTempPreviewFiles(const std::filesystem::path& folder);

/// The idle step's input-resolution check of the active layout: recomputes the
/// resolution for printing, stores it, and warns (59451) when it fell from a value
/// other than 120. One warning at a time: idle events while it shows do nothing.
class IdleResolutionCheck {
public:
    /// True when the warning was shown.
    bool Run(CLayoutSetting& layout);

private:
    bool mRunning = false;
};

/// The idle step of the application: the check above on the active layout when a
/// layout view shows it. True when the warning was shown.
bool CheckActiveLayoutResolution(IdleResolutionCheck& check);

}  // namespace vx
