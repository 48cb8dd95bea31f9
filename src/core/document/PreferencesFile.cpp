#include "document/PreferencesFile.h"

#include "host/ApplicationState.h"

namespace vx {

std::filesystem::path PreferencesFilePath(const std::filesystem::path& userFolder) {
    return userFolder / "VellicorEX_Preferences.ini";
}
std::string FormatPreferences(const AppPreferences&, const CLayoutSetting&) { return {}; }
void ParsePreferences(std::string_view, AppPreferences&, CLayoutSetting*, const PreferencesHooks&) {}
bool LoadPreferences(const std::filesystem::path&, AppPreferences&, const PreferencesHooks&) { return false; }
bool SavePreferences(const std::filesystem::path&, const AppPreferences&) { return false; }

}  // namespace vx
