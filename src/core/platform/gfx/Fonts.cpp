#include "platform/gfx/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

#include "platform/system/Utf8.h"

namespace vx::gfx {
namespace {

std::vector<std::string> ReadFamilies() {
    std::vector<std::string> families;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                                       FcObjectSetDestroy);
    if (!pattern || !objects) return families;
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(FcFontList(nullptr, pattern.get(), objects.get()),
                                                               FcFontSetDestroy);
    if (!set) return families;
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
            families.emplace_back(reinterpret_cast<const char*>(name));
    }
    static constexpr std::string_view kGeneric[] = {"sans-serif", "sans", "serif", "monospace", "mono",
                                                    "cursive", "fantasy", "system-ui", "emoji", "math"};
    std::erase_if(families, [](const std::string& f) {
        return std::any_of(std::begin(kGeneric), std::end(kGeneric),
                           [&](std::string_view g) { return EqualsNoCaseAscii(f, g); });
    });
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

}  // namespace

const std::vector<std::string>& FontFamilies() {
    static const std::vector<std::string> families = ReadFamilies();
    return families;
}

bool IsFamilyInstalled(std::string_view family) {
    const auto& all = FontFamilies();
    return std::any_of(all.begin(), all.end(), [&](const std::string& f) { return EqualsNoCaseAscii(f, family); });
}

std::string ResolveFamily(std::string_view name) {
    for (const std::string& f : FontFamilies())
        if (EqualsNoCaseAscii(f, name)) return f;
    return kFallbackFamily;
}

}  // namespace vx::gfx
