#pragma once
#include <filesystem>
#include <string_view>

#include "platform/system/Status.h"

namespace vx {

/// Replaces target with bytes so that a failure at any step leaves the old file as it
/// was: an exclusive temporary file beside the target, full write, fsync, checked close,
/// rename over the target, fsync of the folder. A replaced file keeps its mode.
/// IDS_SAVE_FAILED with the path on failure; no temporary file stays behind.
Status WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

/// Reads a whole regular file; IDS_FILE_READ_FAILED with the path when it cannot.
Status ReadWholeFile(const std::filesystem::path& path, std::string& out);

/// Tests make one step of the next WriteFileAtomically calls fail.
enum class AtomicWriteStep { None, Create, Write, Sync, Rename };
void FailAtomicWriteStepForTests(AtomicWriteStep step);

}  // namespace vx
