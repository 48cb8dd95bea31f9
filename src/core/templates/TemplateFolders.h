#pragma once
#include <filesystem>
#include <string_view>

#include "templates/TemplateInfo.h"

namespace vx {

/// The user's template folder: "Templates" in the user folder.
std::filesystem::path GetTemplateFolder();

/// Appends the summary of every readable file below folder whose name ends in extension
/// (compared exactly, so "kqt" also takes "xkqt") to into, depth first, entries of a
/// folder in byte order. Symbolic links to folders are not followed; files that cannot
/// be parsed are left out. Level counts the depth for the caller and is handed down.
void ScanTemplateFolders(const std::filesystem::path& folder, std::string_view extension, int level,
                         CTemplateInfoArray& into);
/// The same into TemplateCatalog.
void ScanTemplateFolders(const std::filesystem::path& folder, std::string_view extension, int level);

/// Orders by file name without folder and extension, case and accents folded as users
/// expect; equal names keep their order by full path, equal paths their order.
void SortTemplateInfoArray(CTemplateInfoArray& array);

/// Whether path is, byte for byte, the file path of the layout that is open.
bool IsActiveDocumentFile(std::string_view path);

}  // namespace vx
