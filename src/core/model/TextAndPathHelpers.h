#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vx {

/// Characters of UTF-8 text as the user counts them: code points, not counting
/// carriage returns and line feeds; a byte that is not valid UTF-8 counts as one.
size_t CountDisplayChars(std::string_view text);

/// 1 for the lead byte of a multi-byte UTF-8 sequence at index, 2 for a continuation
/// byte of one, 0 otherwise (single bytes, invalid bytes, index past the end).
int MultiByteType(std::string_view text, size_t index);

/// Whether the path exists (no wildcard meaning).
bool FileExists(const std::filesystem::path& path);

/// "/" followed by the name of the folder that holds the file; "/" alone when the file
/// lies in the root folder or the path names no folder. A sort key, never shown.
std::string GetParentFolderName(const std::filesystem::path& path);

}  // namespace vx
