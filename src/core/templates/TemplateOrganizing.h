#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "templates/TemplateInfo.h"

namespace vx {

// What the organiser's list, tree and drop target do to templates and user categories.
// Files change first; the catalogue and UserCategoryList only after the files did.

/// Whether the templates listed under the organiser's tree item text may be renamed:
/// under the "MyTemplate" root or one of the user categories (compared with case).
bool CanRenameTemplatesUnder(std::string_view treeText);

/// True, after telling the user (59427), when record is the open layout's file: it is
/// then neither renamed, dragged nor deleted.
bool RefuseOpenTemplate(const TemplateInfo& record);

/// Renames the template of catalogue record index, with its image folder, to typed (the
/// list's in-place edit; ".kqt" added unless it ends so) and re-sorts the catalogue.
/// The new file name, or nullopt when refused (the user told why, except for an empty
/// name or one that another template already has): every file then as it was.
std::optional<std::string> RenameTemplate(CTemplateInfoArray& catalog, int index, std::string_view typed);

/// Orders user categories as the tree shows them: case and accents folded, then bytes.
bool UserCategoryLess(std::string_view a, std::string_view b);

/// Renames user category oldName to typed (blanks trimmed): UserCategoryList takes the
/// new name in order and is saved to categoryFile at once, and every user template whose
/// category is exactly oldName is rewritten. The accepted name, or nullopt when refused
/// (59443, 59429 or 10527 shown; nothing for an empty or unchanged name).
std::optional<std::string> RenameUserCategory(CTemplateInfoArray& catalog, std::string_view oldName,
                                              std::string_view typed, const std::filesystem::path& categoryFile);

enum class TemplateDropEffect { None, Copy, Move };

/// What dropping the template at draggedPath would do: move a user template, copy a
/// standard one; None when the catalogue has no such record.
TemplateDropEffect DropEffectFor(const CTemplateInfoArray& catalog, std::string_view draggedPath);

/// Whether text is one of UserCategoryList's names (compared with case): a drop target.
bool IsUserCategoryName(std::string_view text);

/// Makes category the only category of the user template at path, file then record.
bool MoveTemplateToCategory(CTemplateInfoArray& catalog, std::string_view path, std::string_view category);

/// Copies the standard template at path as "<name>_copy(n).kqt" (n from 0 to 99, the
/// first free) into templateFolder, a user template of category with its own images,
/// and adds the new file's summary to the catalogue. False, nothing new, on failure.
bool CopyTemplateToCategory(CTemplateInfoArray& catalog, std::string_view path, std::string_view category,
                            const std::filesystem::path& templateFolder);

/// A drop on a user category: the move or the copy its effect names; the real result.
bool DropTemplateOnCategory(CTemplateInfoArray& catalog, std::string_view path, std::string_view category,
                            const std::filesystem::path& templateFolder);

}  // namespace vx
