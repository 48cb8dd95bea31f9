#include "app/SettingsStore.h"

#include "platform/system/Folders.h"

namespace vx {

SettingsStore::SettingsStore() : SettingsStore(UserFolder() / kFileName) {}
SettingsStore::SettingsStore(std::filesystem::path file) : mPath(std::move(file)) { Reload(); }
void SettingsStore::Reload() { (void)mFile.Load(mPath); }
int32_t SettingsStore::GetInt(std::string_view, std::string_view, int32_t fallback) const { return fallback; }
std::string SettingsStore::GetString(std::string_view, std::string_view, std::string_view fallback) const {
    return std::string(fallback);
}
bool SettingsStore::SetInt(std::string_view, std::string_view, int32_t) { return false; }
bool SettingsStore::SetString(std::string_view, std::string_view, std::string_view) { return false; }
bool SettingsStore::Remove(std::string_view, std::string_view) { return false; }
uint32_t SettingsStore::GetSwitch(std::string_view) const { return 0; }
bool SettingsStore::SetSwitch(std::string_view, uint32_t) { return false; }
bool SettingsStore::Flush() { return false; }

}  // namespace vx
