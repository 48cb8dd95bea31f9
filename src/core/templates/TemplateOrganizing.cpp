#include "templates/TemplateOrganizing.h"

#include <algorithm>
#include <system_error>

#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/CategoryNames.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateFiles.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateNames.h"
#include "templates/TemplateSummary.h"
#include "templates/UserCategories.h"
#include "templates/UserCategoryFile.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// A file name may not be longer on Linux, whatever its characters.
constexpr size_t kMaxFileNameBytes = 255;

std::string FileNameOf(std::string_view path) {
    const size_t cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

void ShowTooLong() {
    Messages().Show(IDS_TOO_MANY_CHARS, {static_cast<long long>(kMaxTemplateNameChars)}, Icon::Warning, Buttons::Ok);
}

bool IsDirectoryOrLink(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    return fs::is_directory(status) || fs::is_symlink(status);
}

}  // namespace

bool CanRenameTemplatesUnder(std::string_view treeText) {
    return treeText == LoadString(IDS_TREE_ROOT_MY_TEMPLATE) || IsUserCategoryName(treeText);
}

bool RefuseOpenTemplate(const TemplateInfo& record) {
    if (!IsActiveDocumentFile(record.Path)) return false;
    Messages().Show(IDS_TEMPLATE_IN_USE, {}, Icon::Error, Buttons::Ok);
    return true;
}

std::optional<std::string> RenameTemplate(CTemplateInfoArray& catalog, int index, std::string_view typed) {
    if (index < 0 || index >= catalog.GetSize()) return std::nullopt;
    std::string name(TrimBlanks(typed));
    if (name.empty()) return std::nullopt;
    const std::string& extension = LoadString(IDS_TEMPLATE_EXTENSION);
    if (name.size() < extension.size() ||
        !EqualsNoCaseAscii(std::string_view(name).substr(name.size() - extension.size()), extension))
        name += extension;
    // The final name is what must be unique: "Foto" is "Foto.kqt" once renamed.
    if (FindTemplateByFileName(catalog, name) >= 0) return std::nullopt;
    if (RefuseOpenTemplate(catalog.ElementAt(index))) return std::nullopt;
    if (!IsValidTemplateFileName(name) || HasControlCharacter(name)) {
        Messages().Show(IDS_TEMPLATE_NAME_CHARS, {ForbiddenNameCharsText()}, Icon::Warning, Buttons::Ok);
        return std::nullopt;
    }
    const fs::path oldPath(catalog.ElementAt(index).Path);
    const fs::path folder = oldPath.parent_path();
    if (!CheckTemplatePathLength(folder.string(), name, true)) return std::nullopt;
    if (name.size() > kMaxFileNameBytes) {
        ShowTooLong();
        return std::nullopt;
    }

    const fs::path newPath = folder / name;
    if (!RenameNoReplace(oldPath, newPath)) return std::nullopt;
    const fs::path oldImages = TemplateImageFolder(oldPath);
    const fs::path newImages = TemplateImageFolder(newPath);
    if (!oldImages.empty() && IsDirectoryOrLink(oldImages)) {
        bool ok = RenameNoReplace(oldImages, newImages);
        if (ok && !RewriteTemplateRelativePaths(newPath)) {
            ok = false;
            RenameNoReplace(newImages, oldImages);
        }
        if (!ok) {
            // When even that fails, the record follows the file so the two still agree.
            if (!RenameNoReplace(newPath, oldPath)) {
                catalog.ElementAt(index).Path = newPath.string();
                SortTemplateInfoArray(catalog);
            }
            return std::nullopt;
        }
    }
    catalog.ElementAt(index).Path = newPath.string();
    SortTemplateInfoArray(catalog);
    return name;
}

bool UserCategoryLess(std::string_view a, std::string_view b) {
    const std::string fa = FoldForSort(a);
    const std::string fb = FoldForSort(b);
    return fa != fb ? fa < fb : a < b;
}

std::optional<std::string> RenameUserCategory(CTemplateInfoArray& catalog, std::string_view oldName,
                                              std::string_view typed, const fs::path& categoryFile) {
    if (TrimBlanks(typed) == oldName) return std::nullopt;
    std::vector<std::string>& list = UserCategoryList();
    CategoryNameCheck check = CheckCategoryName(typed, list);
    if (check.outcome == CategoryNameCheck::Outcome::FocusName) return std::nullopt;
    if (check.outcome == CategoryNameCheck::Outcome::Refuse) {
        Messages().Show(check.message.stringId, check.message.args, Icon::Warning, Buttons::Ok);
        return std::nullopt;
    }
    const std::string name = std::move(check.name);

    const auto old = std::find(list.begin(), list.end(), oldName);
    if (old != list.end()) *old = name;
    std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) { return UserCategoryLess(a, b); });
    // Saved at once: a crash later must not leave templates naming a category the file lacks.
    SaveUserCategoryList(categoryFile);
    for (TemplateInfo& record : catalog)
        if (record.IsUserTemplate == 1 && record.Category == oldName && SetUserCategoryInFile(record.Path, name))
            record.Category = name;
    return name;
}

TemplateDropEffect DropEffectFor(const CTemplateInfoArray& catalog, std::string_view draggedPath) {
    const TemplateInfo* record = TemplateAtIndex(catalog, FindTemplateByPath(catalog, draggedPath));
    if (!record) return TemplateDropEffect::None;
    return record->IsUserTemplate == 1 ? TemplateDropEffect::Move : TemplateDropEffect::Copy;
}

bool IsUserCategoryName(std::string_view text) {
    const std::vector<std::string>& list = UserCategoryList();
    return std::find(list.begin(), list.end(), text) != list.end();
}

bool MoveTemplateToCategory(CTemplateInfoArray& catalog, std::string_view path, std::string_view category) {
    const int index = FindTemplateByPath(catalog, path);
    if (index < 0 || !SetTemplateCategoryInFile(fs::path(std::string(path)), category)) return false;
    catalog.ElementAt(index).Category = std::string(category);
    return true;
}

bool CopyTemplateToCategory(CTemplateInfoArray& catalog, std::string_view path, std::string_view category,
                            const fs::path& templateFolder) {
    const int index = FindTemplateByPath(catalog, path);
    if (index < 0) return false;
    std::error_code ec;
    if (!fs::is_directory(templateFolder, ec) && (!TemplateFileStep() || !fs::create_directories(templateFolder, ec)))
        return false;
    const std::string name = FileNameOf(path);
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? std::string() : name.substr(dot);
    fs::path target;
    for (int n = 0; n < 100 && target.empty(); ++n) {
        fs::path candidate = templateFolder / (stem + "_copy(" + std::to_string(n) + ")" + extension);
        if (!fs::exists(fs::symlink_status(candidate, ec))) target = std::move(candidate);
    }
    if (target.empty() || !WriteCopiedTemplate(fs::path(std::string(path)), target, category)) return false;

    TemplateInfo record;
    if (!ReadTemplateSummary(target, record)) {
        record = catalog.ElementAt(index);
        record.Category = std::string(category);
        record.IsUserTemplate = 1;
    }
    record.Path = target.string();
    catalog.Add(std::move(record));
    SortTemplateInfoArray(catalog);
    return true;
}

bool DropTemplateOnCategory(CTemplateInfoArray& catalog, std::string_view path, std::string_view category,
                            const fs::path& templateFolder) {
    if (!IsUserCategoryName(category)) return false;
    switch (DropEffectFor(catalog, path)) {
        case TemplateDropEffect::Move: return MoveTemplateToCategory(catalog, path, category);
        case TemplateDropEffect::Copy: return CopyTemplateToCategory(catalog, path, category, templateFolder);
        case TemplateDropEffect::None: break;
    }
    return false;
}

}  // namespace vx
