#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace vx {

/// Whether the save-layout dialog takes the chosen name: its base name must not be
/// empty, not only blanks, and hold none of \ / : , ; * ? < > | " %.
bool IsAcceptableLayoutFileName(const std::filesystem::path& chosen);

/// A file-dialog filter of the string table ("Text|*.A;*.B||", possibly ending in a line
/// break) in the form the window side takes: the closing "||" and line breaks dropped
/// and every pattern made case-insensitive ("*.[jJ][pP][gG]"), since the toolkit
/// matches patterns by case.
std::string ToDialogFilter(std::string_view filter);

}  // namespace vx
