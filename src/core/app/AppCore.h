#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/DirectPrintState.h"
#include "app/RecentFileList.h"
#include "app/SettingsStore.h"
#include "document/PreferencesFile.h"
#include "host/ApplicationState.h"

namespace vx {

class CLayoutSetting;
class UndoStore;

/// The application object's state without windows: the preferences record and the
/// default layout, the active-layout slot, the undo store, the settings store with the
/// recent files, and the preferences and user-category files in the user folder. The
/// window side's application object owns one and installs it as the ApplicationState
/// host service; start-up code sets the screen width and the language first.
class AppCore : public ApplicationState {
public:
    /// Files in the user folder of the environment.
    AppCore();
    /// Files in userFolder (the preferences file, the category file, the settings store).
    explicit AppCore(std::filesystem::path userFolder);
    ~AppCore() override;
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;

    // ApplicationState
    AppPreferences& Preferences() override { return mPreferences; }
    /// The default layout; a bug to ask before InitAppDefaults built it (throws).
    CLayoutSetting& DefaultLayoutSetting() override;
    CLayoutSetting*& ActiveLayoutSlot() override { return mActiveLayout; }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting> layout, CLayoutSetting** ownerSlot) override;
    /// Defaults for the screen width, the default layout, then the preferences file over
    /// both; false (10413 shown) when the default layout cannot be built.
    bool InitAppDefaults() override;
    /// For a layout of `mType` 2: a fresh view-state block with status values 0 and 1;
    /// false for any other layout or when the block cannot be made.
    bool PrepareNewLayout(CLayoutSetting& layout) override;
    int GetSystemLanguage() override { return mSystemLanguage; }
    /// True while the direct-print window prints.
    bool ImportLocked() override { return mDirectPrintRunning || DirectPrintState::Running(); }
    UndoStore& GetUndoStore() override;

    /// At exit after a full start: saves the preferences file and the user categories
    /// unless the user is restricted (`doNotSave`), frees the default layout. True.
    bool FreeAppDefaults();
    bool HasDefaultLayout() const { return mDefaultLayout != nullptr; }

    /// A new layout record: a copy of source, or the factory defaults; paper, page and
    /// page count settled, "BaseImage" made; stored in ownerSlot when that is empty.
    /// Null when memory runs out.
    std::unique_ptr<CLayoutSetting> CreateDefaultLayout(const CLayoutSetting* source, CLayoutSetting** ownerSlot);
    /// The factory defaults of a layout record (unit and arrow-key step from preferences).
    static void SetLayoutDefaults(CLayoutSetting& layout, const AppPreferences& preferences);
    /// The page count a paper height allows: 15 m over the height, 1 to 32767; a banner
    /// or a height of 0 or less gives 1.
    static int16_t PageMaxFor(int32_t paperHeight, bool banner);
    /// The default layout's paper after the preferences are read: without a printer
    /// paper, a paper menu of -1 becomes 22 when the user paper is the paper, else 16
    /// with A4.
    static void ApplyPaperFallback(CLayoutSetting& layout);
    /// Shows the tool windows whose flags are set (through the ToolWindows service).
    void ShowToolWindowsFromSettings(const AppPreferences& preferences);

    /// The preferences file into the record and the default layout; false when it could
    /// neither be read nor created (the caller shows the tool windows from the defaults).
    bool LoadPreferences();
    /// The record and the default layout into the preferences file; a failed write keeps
    /// the old file and shows a message.
    bool SavePreferences();
    /// UserCategoryList from the catalogue and the category file (see UserCategoryFile.h).
    int LoadUserCategoryList();
    int SaveUserCategoryList();

    std::filesystem::path PreferencesPath() const;
    std::filesystem::path UserCategoryPath() const;
    const std::filesystem::path& UserFolderPath() const { return mUserFolder; }

    /// The registry's stand-in.
    SettingsStore& Settings() { return mSettings; }
    const SettingsStore& Settings() const { return mSettings; }

    /// Reads the recent files from the settings store (start-up).
    void LoadRecentFileList();
    /// Adds a path to the recent files and writes the list.
    void AddRecentFile(const std::filesystem::path& path);
    /// Removes entry 0 and writes the list.
    void RemoveFirstRecentFile();
    void WriteRecentFileList();
    RecentFileList& RecentFiles() { return mRecentFiles; }
    const RecentFileList& RecentFiles() const { return mRecentFiles; }

    /// `GetSystemMetrics(SM_CXSCREEN)` at start-up: the origins of the tool windows.
    void SetScreenWidth(int32_t width) { mScreenWidth = width; }
    int32_t ScreenWidth() const { return mScreenWidth; }
    void SetSystemLanguage(int language) { mSystemLanguage = language; }
    /// Set by the direct-print window around its print; ImportLocked answers it.
    void SetDirectPrintRunning(bool running) { mDirectPrintRunning = running; }
    /// The user folder cannot be written: neither the preferences nor the categories are
    /// saved. Set after InitAppDefaults, which clears it with the rest of the record.
    void SetRestrictedUser(bool restricted) { mPreferences.doNotSave = restricted ? 1 : 0; }
    bool IsRestrictedUser() const { return mPreferences.doNotSave != 0; }

    /// What reading the preferences file asks of the printers; empty members take the
    /// printer manager's answers. The tool windows are always this object's.
    void SetPreferencesHooks(PreferencesHooks hooks) { mPreferencesHooks = std::move(hooks); }
    /// Rebuilds a new layout's image stamp from its stamp file (bound with the image
    /// stamp dialog's logic); until bound, the stamp is left as loaded.
    void SetImageStampBuilder(std::function<void(CLayoutSetting&)> builder) { mStampBuilder = std::move(builder); }

private:
    std::filesystem::path mUserFolder;
    SettingsStore mSettings;
    RecentFileList mRecentFiles;
    AppPreferences mPreferences;
    std::unique_ptr<CLayoutSetting> mDefaultLayout;
    CLayoutSetting* mActiveLayout = nullptr;
    std::unique_ptr<UndoStore> mUndo;
    int32_t mScreenWidth = 1024;
    int mSystemLanguage = 7;
    bool mDirectPrintRunning = false;
    PreferencesHooks mPreferencesHooks;
    std::function<void(CLayoutSetting&)> mStampBuilder;
};

}  // namespace vx
