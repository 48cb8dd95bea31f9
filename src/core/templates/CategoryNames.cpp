#include "templates/CategoryNames.h"

#include <system_error>

#include "model/TextAndPathHelpers.h"
#include "platform/system/Folders.h"
#include "platform/system/IniFile.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

constexpr std::string_view kForbidden = "\\/:,;*?<>|\"%";
constexpr std::string_view kSection = "USR_TEMPLATE_FOLDER";
// A name is one directory entry's worth of bytes at most.
constexpr size_t kMaxNameBytes = 255;

bool IsReservedName(std::string_view name) {
    const int ranges[][2] = {{IDS_TREE_MODE_CATEGORY, IDS_TREE_ROOT_MY_TEMPLATE},
                             {IDS_CATEGORY_BUSINESS, IDS_CATEGORY_SHOP},
                             {IDS_IMAGE_MASK_A_VERSION, IDS_IMAGE_MASK_PHOTO}};
    for (const auto& range : ranges)
        for (int id = range[0]; id <= range[1]; ++id)
            if (SameCategoryName(name, LoadString(id))) return true;
    return false;
}

std::string KeyName(size_t index) { return "UsrTemplate" + std::to_string(index); }

}  // namespace

bool HasControlCharacter(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f) return true;
    return false;
}

std::string ForbiddenNameCharsText() {
    std::string text;
    for (char c : kForbidden) {
        if (!text.empty()) text += ' ';
        text += c;
    }
    return text;
}

bool SameCategoryName(std::string_view a, std::string_view b) { return FoldForSort(a) == FoldForSort(b); }

CategoryNameCheck CheckCategoryName(std::string_view typed, const std::vector<std::string>& userCategories) {
    CategoryNameCheck check;
    if (typed.empty()) {
        check.outcome = CategoryNameCheck::Outcome::FocusName;
        return check;
    }
    check.outcome = CategoryNameCheck::Outcome::Refuse;
    const Status badChars(IDS_CATEGORY_NAME_CHARS, {ForbiddenNameCharsText()});
    if (typed.front() == '.' || typed.find_first_of(kForbidden) != std::string_view::npos || HasControlCharacter(typed)) {
        check.message = badChars;
        return check;
    }
    // Blanks at both ends go, as the category file trims them when it is read again.
    const std::string_view name = TrimBlanks(typed);
    if (name.empty() || name.front() == '.') {
        check.message = badChars;
        return check;
    }
    if (CountDisplayChars(name) > kMaxCategoryNameChars || name.size() > kMaxNameBytes) {
        check.message = Status(IDS_TOO_MANY_CHARS, {static_cast<long long>(kMaxCategoryNameChars)});
        return check;
    }
    for (const std::string& existing : userCategories)
        if (SameCategoryName(name, existing)) {
            check.message = Status(IDS_USER_CATEGORY_EXISTS);
            return check;
        }
    if (IsReservedName(name)) {
        check.message = Status(IDS_USER_CATEGORY_EXISTS);
        return check;
    }
    check.outcome = CategoryNameCheck::Outcome::Accept;
    check.name = std::string(name);
    return check;
}

std::filesystem::path UserCategoryFile() { return UserFolder() / LoadString(IDS_TEMPLATE_PREFERENCES_FILE); }

Status WriteUserCategoryFile(const std::vector<std::string>& names, const std::filesystem::path& file) {
    IniFile ini('=');
    std::error_code ec;
    if (Status st = ini.Load(file); !st && std::filesystem::exists(file, ec))
        return Status(IDS_SAVE_FAILED, {file.string()});  // never replace what could not be read
    size_t count = 0;
    for (const std::string& name : names) {
        if (count == kMaxUserCategories) break;
        // A line break would end the value and start a key of its own.
        if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) continue;
        ini.Set(kSection, KeyName(count++), "\"" + name + "\"");
    }
    // Keys beyond the list would come back as categories at the next start.
    for (size_t i = count; i < kMaxUserCategories; ++i) ini.Remove(kSection, KeyName(i));
    return ini.Save(file);
}

}  // namespace vx
