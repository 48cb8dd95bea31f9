#include "app/AppCore.h"

#include <stdexcept>

#include "model/CLayoutSetting.h"
#include "model/UndoStore.h"
#include "platform/system/Folders.h"

namespace vx {

AppCore::AppCore() : AppCore(UserFolder()) {}
AppCore::AppCore(std::filesystem::path userFolder)
    : mUserFolder(std::move(userFolder)), mSettings(mUserFolder / SettingsStore::kFileName) {}
AppCore::~AppCore() = default;

CLayoutSetting& AppCore::DefaultLayoutSetting() {
    if (!mDefaultLayout) throw std::logic_error("no default layout yet");
    return *mDefaultLayout;
}
void AppCore::DeleteLayoutRecord(std::unique_ptr<CLayoutSetting> layout, CLayoutSetting** ownerSlot) {
    if (ownerSlot && *ownerSlot == layout.get()) *ownerSlot = nullptr;
}
bool AppCore::InitAppDefaults() { return false; }
bool AppCore::PrepareNewLayout(CLayoutSetting&) { return false; }
UndoStore& AppCore::GetUndoStore() {
    if (!mUndo) mUndo = std::make_unique<UndoStore>();
    return *mUndo;
}
bool AppCore::FreeAppDefaults() { return true; }
std::unique_ptr<CLayoutSetting> AppCore::CreateDefaultLayout(const CLayoutSetting*, CLayoutSetting**) { return nullptr; }
void AppCore::SetLayoutDefaults(CLayoutSetting&, const AppPreferences&) {}
int16_t AppCore::PageMaxFor(int32_t, bool) { return 1; }
void AppCore::ShowToolWindowsFromSettings(const AppPreferences&) {}
bool AppCore::LoadPreferences() { return false; }
bool AppCore::SavePreferences() { return false; }
int AppCore::LoadUserCategoryList() { return 1; }
int AppCore::SaveUserCategoryList() { return 1; }
std::filesystem::path AppCore::PreferencesPath() const { return {}; }
std::filesystem::path AppCore::UserCategoryPath() const { return {}; }
void AppCore::LoadRecentFileList() {}
void AppCore::AddRecentFile(const std::filesystem::path&) {}
void AppCore::RemoveFirstRecentFile() {}
void AppCore::WriteRecentFileList() {}

}  // namespace vx
