#pragma once
#include <filesystem>
#include <functional>

namespace vx {

/// Copies one file; false when it could not be copied whole.
using SeedCopyFile = std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)>;

/// Gives a new user the shipped templates: when target does not exist, the tree below
/// shipped is copied into a hidden sibling of target and that is renamed into place, so
/// target never exists half-filled. An existing target (file, folder or link) is never
/// touched, so templates the user deleted or renamed stay so. A failure leaves no
/// target and no sibling behind and writes one line to stderr. True when target
/// exists afterwards. copyFile replaces the file copy (for tests); empty: the real one.
bool SeedTemplateFolder(const std::filesystem::path& shipped, const std::filesystem::path& target,
                        const SeedCopyFile& copyFile = {});

/// The same from the data folder's "templates" into the user's template folder.
bool SeedTemplateFolder();

}  // namespace vx
