#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace vx {

/// A path as stored in a file: '\\' separators (written on Windows) become '/'.
std::filesystem::path PathFromStored(std::string_view stored);

/// A stored path relative to baseFolder (absolute ones stay), lexically normalised.
std::filesystem::path ResolveStoredPath(const std::filesystem::path& baseFolder,
                                        std::string_view stored);

/// UTF-8 text of a path, for messages and files.
std::string PathText(const std::filesystem::path& p);

}  // namespace vx
