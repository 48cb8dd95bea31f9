#pragma once
#include <filesystem>
#include <string_view>

#include "platform/system/Status.h"

namespace vx {

/// Replaces target with bytes so that a failure at any step leaves the old file as it
/// was: an unnamed temporary file (O_TMPFILE) beside the target, full write, fsync,
/// linked under a hidden unique name only just before the rename over the target, fsync
/// of the folder; where the file system has no O_TMPFILE, an exclusive hidden temporary
/// file instead. So even a killed save leaves nothing behind. A replaced file keeps its
/// mode; a symbolic link as target stays a link, and the file it names is replaced in
/// that file's folder. IDS_SAVE_FAILED with the path on failure.
Status WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

/// Reads a whole regular file; IDS_FILE_READ_FAILED with the path when it cannot.
Status ReadWholeFile(const std::filesystem::path& path, std::string& out);

/// Tests make one step of the next WriteFileAtomically calls fail.
enum class AtomicWriteStep { None, Create, Write, Sync, Rename, Link };
void FailAtomicWriteStepForTests(AtomicWriteStep step);
/// Tests get called at the start of every step (a killed save); null removes the hook.
void SetAtomicWriteStepHookForTests(void (*hook)(AtomicWriteStep));
/// Tests make WriteFileAtomically use a named temporary file as without O_TMPFILE.
void DisableTmpFileForTests(bool disable);

/// The file a save to path replaces: path itself, or what its chain of symbolic links
/// finally names (relative links resolved against their own folder).
std::filesystem::path ResolveSaveTarget(const std::filesystem::path& path);

}  // namespace vx
