#include "dialogs/PrinterProfileCombo.h"

#include <optional>
#include <vector>

#include "colourmanagement/ProfileCatalogue.h"
#include "colourmanagement/ProfileDirectoryCache.h"
#include "model/CLayoutSetting.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {

namespace {

bool HasExtension(const std::string& name, std::string_view extension) {
    return name.size() >= extension.size() &&
           EqualsNoCaseAscii(std::string_view(name).substr(name.size() - extension.size()), extension);
}

}  // namespace

ProfileListModel BuildPrinterProfileList(const std::string& recommendedFile) {
    ProfileListModel list(true);
    list.Add(LoadString(IDS_RECOMMENDED_PROFILE), recommendedFile);
    const std::string defaultFile = GetDefaultProfileName(kClassPrinter).value_or(std::string(kDefaultRgbProfileFile));
    const std::string defaultText = GetProfileDescriptionOrDefault(kClassPrinter, defaultFile).value_or(defaultFile);
    list.Add(defaultText, defaultFile);
    std::vector<ProfileListing> icm, icc;
    SharedProfileDirectoryCache().Visit([&](const ProfileListing& p) {
        if (p.colourSpace != kSpaceRgb || (p.deviceClass != kClassPrinter && p.deviceClass != kClassMonitor)) return;
        if (p.description == defaultText) return;
        if (HasExtension(p.fileName, ".icm")) icm.push_back(p);
        else if (HasExtension(p.fileName, ".icc")) icc.push_back(p);
    });
    list.Reserve(2 + icm.size() + icc.size());
    for (auto* group : {&icm, &icc})
        for (ProfileListing& p : *group) list.Add(std::move(p.description), std::move(p.fileName));
    return list;
}

PrinterProfileSelection SelectLayoutPrinterProfile(CLayoutSetting& layout, const ProfileListModel& list) {
    PrinterProfileSelection selection;
    selection.enabled = layout.GetColorMatchPrinter() == 0;
    if (selection.enabled && layout.GetRecommend() == 0 && !layout.Texts().printerProfile.empty()) {
        if (const std::optional<std::string> file = FindProfileFileByDescription(layout.Texts().printerProfile))
            for (size_t i = 1; i < list.Size(); ++i)
                if (list.At(i).fileName == *file) {
                    selection.index = static_cast<int>(i);
                    return selection;
                }
    }
    if (!list.Empty()) layout.Texts().printerProfile = GetComboProfileDescription(list, 0);
    layout.SetRecommend(1);
    selection.index = 0;
    return selection;
}

void ApplyPrinterProfileChoice(CLayoutSetting& layout, const ProfileListModel& list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.Size()) return;
    layout.Texts().printerProfile = GetComboProfileDescription(list, index);
    layout.SetRecommend(index == 0 ? 1 : 0);
    layout.SetDirty(1);
}

}  // namespace vx
