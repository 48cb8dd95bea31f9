#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "model/LayoutTypes.h"

namespace vx {

class CLayoutSetting;
struct AppPreferences;

/// "VellicorEX_Preferences.ini" in userFolder.
std::filesystem::path PreferencesFilePath(const std::filesystem::path& userFolder);

/// What reading the preferences asks of the rest of the program. Empty members take the
/// program's own: the printer manager's supported printers, its paper query, nothing to
/// show.
struct PreferencesHooks {
    /// Whether a direct-print printer name is one of the supported printers.
    std::function<bool(std::string_view)> isSupportedPrinter;
    /// The "done" key: show the tool windows the flags ask for.
    std::function<void(const AppPreferences&)> showToolWindows;
    /// QueryPrinterPaperCaps for a banner default layout.
    std::function<int32_t(int32_t& length, int32_t& width, int32_t banner, int32_t paperOrient, LayoutPoint paper)>
        paperCaps;
};

/// The file's text for the record and the default layout: "Header" with version and
/// platform, "User" with "default", keys "infoShow" to "layoutMarginShow" and "done",
/// tab-indented, CR LF line ends.
std::string FormatPreferences(const AppPreferences& preferences, const CLayoutSetting& defaultLayout);
/// Reads text into the record and the default layout (null: its keys are skipped), by
/// the line rules of the file; the banner paper of the default layout is settled last.
void ParsePreferences(std::string_view text, AppPreferences& preferences, CLayoutSetting* defaultLayout,
                      const PreferencesHooks& hooks = {});

/// Reads the file; a missing one is created empty (the defaults stay). False, with a
/// message shown, when it can neither be read nor created.
bool LoadPreferences(const std::filesystem::path& file, AppPreferences& preferences,
                     const PreferencesHooks& hooks = {});
/// Writes the file atomically; true also when there is no default layout (nothing is
/// written). False, with the message shown and the old file kept, when it fails.
bool SavePreferences(const std::filesystem::path& file, const AppPreferences& preferences);

}  // namespace vx
