#include "templates/UserCategoryFile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/system/IniFile.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/TemplateInfo.h"
#include "templates/UserCategories.h"

namespace vx {
namespace {

constexpr std::string_view kSection = "USR_TEMPLATE_FOLDER";
// Passed as the default of every read: a key that reads back as it is absent.
constexpr std::string_view kSentinel = "zorquint";
constexpr size_t kMaxCategories = 10;
// The reader's buffer: 259 bytes and the terminator.
constexpr size_t kValueBuffer = 260;

std::string KeyName(size_t index) { return "UsrTemplate" + std::to_string(index); }

// A read as the profile functions did it: one pair of enclosing quotes goes, the value
// is cut to the buffer; a missing key gives the sentinel.
std::string ReadKey(const IniFile& file, size_t index) {
    std::optional<std::string> v = file.Get(kSection, KeyName(index));
    if (!v) return std::string(kSentinel);
    std::string_view text = *v;
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return std::string(TruncateBytes(text, kValueBuffer - 1));
}

struct Candidates {
    std::vector<std::string> accepted;
    std::vector<std::string> overflow;

    void Offer(const std::string& name) {
        if (std::find(accepted.begin(), accepted.end(), name) != accepted.end()) return;
        if (accepted.size() < kMaxCategories) accepted.push_back(name);
        else if (std::find(overflow.begin(), overflow.end(), name) == overflow.end()) overflow.push_back(name);
    }
};

// A user template may carry several categories, separated by ':'.
std::vector<std::string> CategoriesOf(const TemplateInfo& info) {
    std::vector<std::string> names;
    std::string_view rest = info.Category;
    while (true) {
        size_t colon = rest.find(':');
        std::string_view part = rest.substr(0, colon);
        if (!part.empty()) names.emplace_back(part);
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return names;
}

// Templates of dropped categories leave the catalogue for this run; one that also
// belongs to a kept category stays there.
void DropTemplatesOf(const Candidates& c) {
    CTemplateInfoArray& catalog = TemplateCatalog();
    for (int i = catalog.GetSize() - 1; i >= 0; --i) {
        const TemplateInfo& info = catalog.ElementAt(i);
        if (info.IsUserTemplate != 1) continue;
        std::vector<std::string> names = CategoriesOf(info);
        bool dropped = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return std::find(c.overflow.begin(), c.overflow.end(), n) != c.overflow.end();
        });
        bool kept = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return std::find(c.accepted.begin(), c.accepted.end(), n) != c.accepted.end();
        });
        if (dropped && !kept) catalog.RemoveAt(i);
    }
    catalog.FreeExtra();
}

}  // namespace

std::filesystem::path UserCategoryFilePath(const std::filesystem::path& userFolder) {
    return userFolder / LoadString(IDS_TEMPLATE_PREFERENCES_FILE);
}

int LoadUserCategoryList(const std::filesystem::path& path) {
    std::vector<std::string>& list = UserCategoryList();
    std::vector<std::string>& builtin = BuiltinCategoryKeys();
    list.clear();
    builtin.clear();
    for (int id = IDS_CATEGORY_KEY_BUSINESS; id <= IDS_CATEGORY_KEY_SHOP; ++id) builtin.push_back(LoadString(id));

    Candidates c;
    for (const TemplateInfo& info : TemplateCatalog())
        if (info.IsUserTemplate)
            for (const std::string& name : CategoriesOf(info)) c.Offer(name);

    IniFile file('=');
    (void)file.Load(path);  // a missing or unreadable file reads as empty
    for (size_t i = 0;; ++i) {
        std::string name = ReadKey(file, i);
        if (name == kSentinel) break;
        c.Offer(name);
    }

    if (c.accepted.empty()) {
        const std::string& name = LoadString(IDS_DEFAULT_USER_CATEGORY);
        std::error_code ec;
        if (!std::filesystem::exists(path, ec) && !ec) {
            IniFile fresh('=');
            fresh.Set(kSection, KeyName(0), name);
            (void)fresh.Save(path);  // profile writes report nothing
        }
        c.accepted.push_back(name);
    }
    list = c.accepted;

    if (!c.overflow.empty()) {
        Messages().Show(IDS_USER_CATEGORY_LIMIT, {}, Icon::Warning, Buttons::Ok);
        DropTemplatesOf(c);
    }
    return 1;
}

int SaveUserCategoryList(const std::filesystem::path& path) {
    IniFile file('=');
    std::error_code ec;
    if (Status st = file.Load(path); !st && std::filesystem::exists(path, ec)) {
        return 1;  // a file that cannot be read is not replaced by a partial one
    }
    size_t count = 0;
    for (const std::string& name : UserCategoryList()) {
        if (count == kMaxCategories) break;
        // A line break would end the value and start a key of its own; such a name
        // (only a template file can carry one) comes back from its templates.
        if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) continue;
        file.Set(kSection, KeyName(count++), "\"" + name + "\"");
    }
    for (size_t i = count; i < kMaxCategories; ++i) {
        if (ReadKey(file, i) == kSentinel) break;
        file.Remove(kSection, KeyName(i));
    }
    (void)file.Save(path);  // a failed write keeps the old file; profile writes report nothing
    return 1;
}

}  // namespace vx
