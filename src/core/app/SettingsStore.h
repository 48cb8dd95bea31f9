#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/system/IniFile.h"

namespace vx {

/// The per-user settings that stand in for the registry: "VellicorEX_Settings.ini" in
/// the user folder, read once when made and written through at every change. Reads
/// fail soft (a missing file, section, key or a value that is no number gives the
/// fallback, 0 unless said); writes fail soft too (the value stays for this run and the
/// setter answers false). Sections: "Settings" ("WindowPos"), "Window" ("left", "top",
/// "right", "bottom", "show"), "Recent File List" ("File1" to "File10"); the start-up
/// warning switches are 32-bit values at the top, before any section.
class SettingsStore {
public:
    static constexpr std::string_view kFileName = "VellicorEX_Settings.ini";
    /// The warning switches: unread or unreadable they are 0 (the warning is shown).
    static constexpr std::string_view kHideQuickTimeAlert = "HideQTAlert";
    static constexpr std::string_view kHideDiskSpaceAlert = "HideHDDSpaceAlert";
    static constexpr std::string_view kHideUsersAlert = "HideUsersAlert";

    /// The store in the user folder.
    SettingsStore();
    /// The store in file (tests, and a user folder other than the environment's).
    explicit SettingsStore(std::filesystem::path file);

    const std::filesystem::path& Path() const { return mPath; }
    /// Reads the file again; a missing or unreadable one reads as empty.
    void Reload();

    int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback = 0) const;
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
    bool SetInt(std::string_view section, std::string_view key, int32_t value);
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    /// Removes a key, or a whole section with an empty key; false when the file could not
    /// be written.
    bool Remove(std::string_view section, std::string_view key = {});

    /// A warning switch as an unsigned 32-bit bit set; 0 when unreadable.
    uint32_t GetSwitch(std::string_view name) const;
    bool SetSwitch(std::string_view name, uint32_t value);

    /// Runs the changes of fn as one write of the file (the setters inside answer true);
    /// false when that write failed.
    bool Batch(const std::function<void(SettingsStore&)>& fn);

private:
    bool Flush();

    std::filesystem::path mPath;
    IniFile mFile{'='};
    int mBatchDepth = 0;
};

}  // namespace vx
