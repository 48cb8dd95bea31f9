#pragma once
#include <filesystem>
#include <optional>
#include <vector>

namespace vx {

/// The folders searched for ICC profiles, earlier ones first: the user's
/// $XDG_DATA_HOME/icc (~/.local/share/icc when unset), the data folder's icc/, then
/// /usr/share/color/icc. Folders that do not exist stay in the list.
std::vector<std::filesystem::path> ColourDirectories();

/// Replaces the list (tests point it at temporary folders); nullopt restores it.
void SetColourDirectories(std::optional<std::vector<std::filesystem::path>> directories);

}  // namespace vx
