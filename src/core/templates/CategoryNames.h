#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Status.h"

namespace vx {

/// The characters names of templates and categories may not hold, as messages 59443
/// and 59444 list them.
std::string ForbiddenNameCharsText();

/// Whether text holds a control character (below 0x20, or DEL): names never do.
bool HasControlCharacter(std::string_view text);

/// The longest user-category name in characters.
inline constexpr size_t kMaxCategoryNameChars = 64;
/// The most user categories the organiser lets the user make.
inline constexpr size_t kMaxUserCategories = 10;

/// What the add-category dialog does with a typed name.
struct CategoryNameCheck {
    enum class Outcome { Accept, FocusName, Refuse };
    Outcome outcome = Outcome::Accept;
    Status message;    ///< the message to show for Refuse
    std::string name;  ///< for Accept: the name, blanks at both ends trimmed
};

/// The add-category checks in their order: empty (focus only); a leading '.', a
/// forbidden or control character, or blanks only (59443); more than 64 characters or
/// 255 bytes (59429); equal to a user category or a reserved name (tree roots, display
/// names of the built-in categories and image masks), case folded beyond ASCII (10527).
CategoryNameCheck CheckCategoryName(std::string_view typed, const std::vector<std::string>& userCategories);

/// Whether a and b name the same category: compared with case and accents folded.
bool SameCategoryName(std::string_view a, std::string_view b);

/// The user-category file in the user folder ("VellicorEX_TemplatePref.ini").
std::filesystem::path UserCategoryFile();

/// Writes names as the user-category list into file at once, atomically; the file's
/// other sections stay. IDS_SAVE_FAILED with the path when it cannot, the old file
/// then as it was.
Status WriteUserCategoryFile(const std::vector<std::string>& names, const std::filesystem::path& file);

}  // namespace vx
