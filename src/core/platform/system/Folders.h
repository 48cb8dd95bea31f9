#pragma once
#include <filesystem>

#include "platform/system/Status.h"

namespace vx {

/// The program's three folders. Each comes from its environment variable when set, so
/// tests and users can move it: VELLICOREX_DATA_DIR, VELLICOREX_USER_DIR, VELLICOREX_TEMP_DIR.
std::filesystem::path ExecutableFolder();
/// Read-only data: <exe>/../share/vellicorex (the build tree mirrors the installed layout).
std::filesystem::path DataFolder();
/// Writable per-user settings: $XDG_CONFIG_HOME/vellicorex, else ~/.config/vellicorex.
std::filesystem::path UserFolder();
/// Working files: "TEVRA VellicorEX-<uid>" under $TMPDIR, else /var/tmp. Never under
/// $XDG_RUNTIME_DIR: working bitmaps and print bands take gigabytes.
std::filesystem::path TempFolder();

/// Creates the user folder when missing; an unusable one gives IDS_FOLDER_NOT_CREATED.
Status EnsureUserFolder();

/// Makes the temporary folder private (mode 0700, ours, not a link) and empties what a
/// crashed run left in it without following links. IDS_TEMP_FOLDER_UNSAFE or
/// IDS_FOLDER_NOT_CREATED on failure. Call after the single-instance check, so that a
/// second instance never empties the first one's folder.
Status CreateTempFolder();

/// Removes the temporary folder and everything in it; quiet when it is gone already.
void RemoveTempFolder();

}  // namespace vx
