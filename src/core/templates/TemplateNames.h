#pragma once
#include <string>
#include <string_view>

#include "templates/TemplateInfo.h"

namespace vx {

/// Which vocabulary MapTemplateCategory searches.
enum TemplateVocabulary : int {
    kCategoriesAndImageMasks = 0,
    kTemplateCategories = 1,
    kImageMasks = 2,
};

/// The longest template name in characters, extension included.
inline constexpr size_t kMaxTemplateNameChars = 64;
/// The longest path of a template file in characters.
inline constexpr size_t kMaxTemplatePathChars = 255;

/// Whether name is one of the ':'-separated entries of the record's categories (exact).
bool TemplateHasCategory(std::string_view name, const TemplateInfo& info);

/// Replaces a built-in key text by its German display text (toDisplay) or a display text
/// by its key; text that matches none of the table's entries stays as it is.
void MapTemplateCategory(std::string& text, int table, bool toDisplay);

/// A template name the user may give: no drive or folder part, a base name that does not
/// start with '.' and holds none of \ / : , ; * ? < > | " %. Blanks around it do not count.
bool IsValidTemplateFileName(std::string_view name);

/// Whether a template of that name fits the name and path limits (in characters), with
/// ".kqt" still to come when the name has no extension. Tells the user why not.
bool CheckTemplatePathLength(std::string_view folder, std::string_view name, bool nameHasExtension);

}  // namespace vx
