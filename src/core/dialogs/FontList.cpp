#include "dialogs/FontList.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <set>

#include "platform/gfx/Fonts.h"
#include "platform/system/Utf8.h"

namespace vx::dialogs {

int32_t FontListItemHeight = 0;

int FontListEntryHeight() { return std::max<int32_t>(FontListItemHeight, 15); }

namespace {

bool LessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) < lower(y);
    });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCaseAscii(text.substr(0, prefix.size()), prefix);
}

std::set<std::string> OutlineFamilies() {
    std::set<std::string> outline;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_OUTLINE, nullptr), FcObjectSetDestroy);
    if (!pattern || !objects) return outline;
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(FcFontList(nullptr, pattern.get(), objects.get()),
                                                               FcFontSetDestroy);
    if (!set) return outline;
    for (int i = 0; i < set->nfont; ++i) {
        FcBool scalable = FcFalse;
        if (FcPatternGetBool(set->fonts[i], FC_OUTLINE, 0, &scalable) != FcResultMatch || !scalable) continue;
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
            outline.emplace(reinterpret_cast<const char*>(name));
    }
    return outline;
}

}  // namespace

const std::vector<FontFamilyInfo>& InstalledFontFamilies() {
    // Read once, like the family names themselves: the program sees the fonts that
    // were installed when it started.
    static const std::vector<FontFamilyInfo> families = [] {
        const std::set<std::string> outline = OutlineFamilies();
        std::vector<FontFamilyInfo> out;
        for (const std::string& family : gfx::FontFamilies())
            out.push_back({family, outline.count(family) != 0});
        return out;
    }();
    return families;
}

void ComboEntries::Assign(std::vector<std::string> texts) {
    mTexts = std::move(texts);
    mSelection = -1;
}

std::string ComboEntries::CurText() const {
    if (mSelection >= 0 && static_cast<size_t>(mSelection) < mTexts.size())
        return mTexts[static_cast<size_t>(mSelection)];
    return mWindowText;
}

long ComboEntries::Find(std::string_view text, bool exact) const {
    for (size_t i = 0; i < mTexts.size(); ++i) {
        if (exact ? EqualsNoCaseAscii(mTexts[i], text) : StartsWithNoCase(mTexts[i], text))
            return static_cast<long>(i);
    }
    return -1;
}

void ComboEntries::Select(long index) {
    mSelection = index >= 0 && static_cast<size_t>(index) < mTexts.size() ? index : -1;
    if (mSelection >= 0) mWindowText = mTexts[static_cast<size_t>(mSelection)];
}

long ComboEntries::SelectByText(std::string_view text, bool exact) {
    const long found = Find(text, exact);
    Select(found);
    if (found < 0) mWindowText = std::string(text);
    return found;
}

void FontList::Fill(const std::vector<FontFamilyInfo>& families, bool /*printerFonts*/) {
    const std::string previous = mCombo.CurText();
    mEntries.clear();
    mEntries.reserve(families.size());
    for (const FontFamilyInfo& f : families) {
        if (!f.outline || f.name.empty() || f.name.size() > kMaxFaceNameLength) continue;
        mEntries.push_back({f.name, {}, 0, 0, kFontKindOutline});
    }
    auto less = [](const FontEntry& a, const FontEntry& b) { return LessNoCase(a.faceName, b.faceName); };
    // The installed families arrive sorted already; only other lists need the sort.
    if (!std::is_sorted(mEntries.begin(), mEntries.end(), less)) std::stable_sort(mEntries.begin(), mEntries.end(), less);
    mEntries.erase(std::unique(mEntries.begin(), mEntries.end(),
                               [](const FontEntry& a, const FontEntry& b) { return a.faceName == b.faceName; }),
                   mEntries.end());
    std::vector<std::string> texts;
    texts.reserve(mEntries.size());
    for (const FontEntry& e : mEntries) texts.push_back(e.faceName);
    mCombo.Assign(std::move(texts));
    // The remembered name must match whole: a prefix would swap a font that is gone
    // for another whose name merely begins the same.
    if (!previous.empty())
        mCombo.SelectByText(previous, true);
    else if (!mEntries.empty())
        mCombo.Select(0);
}

}  // namespace vx::dialogs
