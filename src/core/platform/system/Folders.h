#pragma once
#include <filesystem>

#include "platform/system/Status.h"

namespace vx {

/// The program's three folders. Environment variables move them, for tests and users:
/// VELLICOREX_DATA_DIR and VELLICOREX_USER_DIR name the folder, VELLICOREX_TEMP_DIR the
/// place in which the temporary folder is made.
std::filesystem::path ExecutableFolder();
/// Read-only data: <exe>/../share/vellicorex (the build tree mirrors the installed layout).
std::filesystem::path DataFolder();
/// Writable per-user settings: $XDG_CONFIG_HOME/vellicorex, else ~/.config/vellicorex.
std::filesystem::path UserFolder();
/// Working files: the folder "TEVRA VellicorEX-<uid>" in the place VELLICOREX_TEMP_DIR
/// names, else in $TMPDIR, else in /var/tmp; only that folder is ever emptied or removed.
/// Never under $XDG_RUNTIME_DIR: working bitmaps and print bands take gigabytes.
std::filesystem::path TempFolder();

/// Creates the user folder when missing; an unusable one gives IDS_FOLDER_NOT_CREATED.
Status EnsureUserFolder();

/// Makes the temporary folder private (mode 0700, ours, not a link) and empties what a
/// crashed run left in it without following links; the place it lies in is made when
/// missing and otherwise left as it is. IDS_TEMP_FOLDER_UNSAFE or
/// IDS_FOLDER_NOT_CREATED on failure. Call after the single-instance check, so that a
/// second instance never empties the first one's folder.
Status CreateTempFolder();

/// Removes the temporary folder and everything in it; quiet when it is gone already.
void RemoveTempFolder();

}  // namespace vx
