#include "dialogs/FrameTextRules.h"

#include <cstdlib>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/gfx/Fonts.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

constexpr int kFirstSizeString = IDS_FONT_SIZE_AUTO;  // then one string per size
constexpr int kSideStrings = IDS_SIDE_TOP;

}  // namespace

bool SameFaceName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

namespace {

int FindFace(const std::vector<std::string>& faces, std::string_view face) {
    for (size_t i = 0; i < faces.size(); ++i)
        if (SameFaceName(faces[i], face)) return int(i);
    return -1;
}

const std::vector<int>& SizePoints() {
    static const std::vector<int> points = [] {
        std::vector<int> out;
        for (int id = kFirstSizeString + 1; !LoadString(id).empty(); ++id) out.push_back(std::atoi(LoadString(id).c_str()));
        return out;
    }();
    return points;
}

}  // namespace

std::vector<std::string> FontSizeEntries() {
    std::vector<std::string> out{LoadString(kFirstSizeString)};
    for (int id = kFirstSizeString + 1; !LoadString(id).empty(); ++id) out.push_back(LoadString(id));
    return out;
}

int FontSizePoints(int index) {
    const std::vector<int>& points = SizePoints();
    return index >= 1 && size_t(index) <= points.size() ? points[size_t(index) - 1] : 0;
}

int NearestEntry(const std::vector<int>& numbers, int value) {
    int best = 0;
    for (size_t i = 1; i < numbers.size(); ++i)
        if (std::abs(numbers[i] - value) < std::abs(numbers[size_t(best)] - value)) best = int(i);
    return best;
}

int FontSizeIndex(int32_t units, bool automatic) {
    if (automatic) return 0;
    return NearestEntry(SizePoints(), units / 5) + 1;
}

int FontIndexFor(const std::vector<std::string>& faces, std::string_view face) {
    if (faces.empty()) return -1;
    for (std::string_view candidate : {face, std::string_view(LoadString(IDS_SUBSTITUTE_FONT)),
                                       std::string_view(gfx::kFallbackFamily)})
        if (int i = FindFace(faces, candidate); i >= 0) return i;
    return 0;
}

std::vector<std::string> SideEntries() {
    std::vector<std::string> out;
    for (int i = 0; i < 4; ++i) out.push_back(LoadString(kSideStrings + i));
    return out;
}

int SkipDisabledSide(int chosen, int previous, int disabled, int count) {
    if (chosen != disabled) return chosen;
    if (chosen > previous) return chosen + 1 >= count ? count - 2 : chosen + 1;
    if (chosen < previous) return chosen - 1 < 0 ? 1 : chosen - 1;
    return chosen;
}

EditedImage ChooseEditedImage(CLayoutSetting& layout, bool preset) {
    EditedImage out;
    CLayoutObj* current = layout.GetCurrentItem();
    if (!preset && current && current->GetKind() == kKindImage)
        out.item = static_cast<CImageObj*>(current);
    else
        out.item = layout.GetBaseImage();
    out.editMode = out.item ? out.item->GetType() : 0;
    if (layout.GetSelected() > 1) out.editMode = 3;
    return out;
}

std::string TitleWithSuffix(std::string_view caption, bool preset) {
    return std::string(caption) + LoadString(preset ? IDS_TITLE_SUFFIX_LAYOUT : IDS_TITLE_SUFFIX_IMAGE);
}

}  // namespace vx::dialogs
