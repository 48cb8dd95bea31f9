#include "templates/TemplateNames.h"

#include "model/TextAndPathHelpers.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

/// A vocabulary: key ids run upward from firstKey, their display texts from firstDisplay.
struct Vocabulary {
    int firstKey;
    int firstDisplay;
};

constexpr Vocabulary kCategories{IDS_CATEGORY_KEY_BUSINESS, IDS_CATEGORY_BUSINESS};
constexpr Vocabulary kMasks{IDS_IMAGE_MASK_KEY_A_VERSION, IDS_IMAGE_MASK_A_VERSION};

bool MapIn(std::string& text, const Vocabulary& v, bool toDisplay) {
    const int from = toDisplay ? v.firstKey : v.firstDisplay;
    const int to = toDisplay ? v.firstDisplay : v.firstKey;
    for (int i = 0;; ++i) {
        const std::string& candidate = LoadString(from + i);
        if (candidate.empty()) return false;
        if (candidate == text) {
            text = LoadString(to + i);
            return true;
        }
    }
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

bool TemplateHasCategory(std::string_view name, const TemplateInfo& info) {
    std::string_view rest = info.Category;
    for (;;) {
        const size_t colon = rest.find(':');
        if (rest.substr(0, colon) == name) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

void MapTemplateCategory(std::string& text, int table, bool toDisplay) {
    if (table == kCategoriesAndImageMasks || table == kTemplateCategories)
        if (MapIn(text, kCategories, toDisplay)) return;
    if (table == kCategoriesAndImageMasks || table == kImageMasks) MapIn(text, kMasks, toDisplay);
}

bool IsValidTemplateFileName(std::string_view raw) {
    const std::string_view name = TrimBlanks(raw);
    if (name.empty() || EqualsNoCaseAscii(name, LoadString(IDS_TEMPLATE_EXTENSION))) return false;
    // Split as drive, folder, base name and extension; only the base name is examined.
    if (name.size() >= 2 && name[1] == ':') return false;
    for (char c : name)
        if (IsSeparator(c)) return false;
    const size_t dot = name.rfind('.');
    const std::string_view base = name.substr(0, dot);
    if (base.empty() || base.front() == '.') return false;
    return base.find_first_of("\\/:,;*?<>|\"%") == std::string_view::npos;
}

bool CheckTemplatePathLength(std::string_view folder, std::string_view name, bool nameHasExtension) {
    const size_t extension = nameHasExtension ? 0 : CountDisplayChars(LoadString(IDS_TEMPLATE_EXTENSION));
    const size_t maxName = kMaxTemplateNameChars - extension;
    const size_t nameChars = CountDisplayChars(name);
    if (nameChars > maxName) {
        Messages().Show(IDS_TOO_MANY_CHARS, {static_cast<long long>(maxName)}, Icon::Warning, Buttons::Ok);
        return false;
    }
    // folder + separator + name + extension must fit the path limit.
    const size_t folderChars = CountDisplayChars(folder);
    const size_t fixedChars = folderChars + 1 + extension;
    if (fixedChars + nameChars <= kMaxTemplatePathChars) return true;
    if (fixedChars < kMaxTemplatePathChars) {
        Messages().Show(IDS_TOO_MANY_CHARS, {static_cast<long long>(kMaxTemplatePathChars - fixedChars)}, Icon::Warning,
                        Buttons::Ok);
    } else {
        Messages().Show(IDS_TEMPLATE_NOT_SAVED, {}, Icon::Error, Buttons::Ok);
    }
    return false;
}

}  // namespace vx
