#pragma once
#include <filesystem>

namespace vx {

/// "VellicorEX_TemplatePref.ini": section "USR_TEMPLATE_FOLDER", keys "UsrTemplate0" to
/// "UsrTemplate9" without gaps, values in double quotes. Read and written with the
/// rules of Windows profile files (names ignore case, one pair of quotes is removed).
std::filesystem::path UserCategoryFilePath(const std::filesystem::path& userFolder);

/// Fills BuiltinCategoryKeys and UserCategoryList: first the categories of the user
/// templates in TemplateCatalog, then the file's names up to the first gap, each once,
/// at most ten. Without any, "MyTemp" (written into a missing file). Beyond ten: 10529
/// is shown and the templates of the dropped categories leave the catalogue. Returns 1.
int LoadUserCategoryList(const std::filesystem::path& file);
/// Writes UserCategoryList and removes the keys after it; a file that cannot be written
/// stays as it was. A name with a line break is left out. Returns 1.
int SaveUserCategoryList(const std::filesystem::path& file);

}  // namespace vx
