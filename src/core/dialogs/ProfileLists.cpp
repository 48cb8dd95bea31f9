#include "dialogs/ProfileLists.h"

#include <optional>

#include "colourmanagement/ProfileCatalogue.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {

void ProfileListModel::Add(std::string description, std::string fileName) {
    mEntries.push_back({std::move(description), std::move(fileName)});
}

int FindProfileComboItem(uint32_t classCode, const ProfileListModel& list, std::string_view description) {
    const int start = (classCode == kClassPrinter || list.IsPrinterClass()) ? 1 : 0;
    if (description.empty()) return start;
    for (size_t i = size_t(start); i < list.Size(); ++i)
        if (list.At(i).description == description) return int(i);
    return start;
}

std::string GetComboProfileFileName(const ProfileListModel& list, int index) {
    if (index < 0 || size_t(index) >= list.Size()) return {};
    return list.At(size_t(index)).fileName;
}

std::string GetComboProfileDescription(const ProfileListModel& list, int index) {
    const std::string name = GetComboProfileFileName(list, index);
    if (std::optional<std::string> text =
            GetProfileDescriptionOrDefault(kClassPrinter, name.empty() ? std::nullopt : std::optional<std::string_view>(name)))
        return *text;
    return index >= 0 && size_t(index) < list.Size() ? list.At(size_t(index)).description : std::string();
}

void FreeProfileComboData(ProfileListModel& list) { list.Clear(); }

bool ReadProfileDescription(const std::filesystem::path& path, std::string& description) {
    description.clear();
    const ColourProfile profile = OpenProfileByName(path.string());
    if (!profile) return false;
    GetProfileDescription(profile, description);
    return true;
}

namespace {

// The facts of a default profile: from the listing when the catalogue has it (no file
// is opened again), else by opening it.
std::optional<ProfileListing> DefaultFacts(const std::vector<ProfileListing>& all, const std::string& name,
                                           uint32_t code) {
    for (const ProfileListing& p : all)
        if (p.fileName == name) return p;
    const ColourProfile profile = OpenProfileOrDefault(name, code);
    if (!profile) return std::nullopt;
    ProfileListing p;
    p.fileName = name;
    GetProfileDescription(profile, p.description);
    p.deviceClass = profile.Header().deviceClass;
    p.colourSpace = profile.Header().colourSpace;
    return p;
}

}  // namespace

void FillInputProfileLists(InputProfileLists& lists) {
    lists.source.Clear();
    lists.rgbSimulation.Clear();
    lists.cmykSimulation.Clear();
    const std::vector<ProfileListing> all = ListProfiles();

    const std::string rgbName = GetDefaultProfileName(kSpaceRgb).value_or(std::string(kDefaultRgbProfileFile));
    const std::optional<ProfileListing> rgb = DefaultFacts(all, rgbName, kSpaceRgb);
    std::string rgbText = rgb ? rgb->description : std::string();
    if (rgbText.empty()) rgbText = GetProfileDescriptionOrDefault(kSpaceRgb, rgbName).value_or(rgbName);
    lists.source.Add(rgbText, rgbName);
    if (rgb && rgb->deviceClass == kClassPrinter) lists.rgbSimulation.Add(rgbText, rgbName);

    const std::string cmykName = GetDefaultProfileName(kSpaceCmyk).value_or(LoadString(IDS_DEFAULT_CMYK_PROFILE));
    if (const std::optional<ProfileListing> cmyk = DefaultFacts(all, cmykName, kSpaceCmyk);
        cmyk && cmyk->deviceClass == kClassPrinter)
        lists.cmykSimulation.Add(cmyk->description, cmykName);

    for (const ProfileListing& p : all) {
        if (p.colourSpace == kSpaceRgb) {
            if (EqualsNoCaseAscii(p.fileName, rgbName)) continue;
            lists.source.Add(p.description, p.fileName);
            if (p.deviceClass == kClassPrinter) lists.rgbSimulation.Add(p.description, p.fileName);
        } else if (p.colourSpace == kSpaceCmyk && p.deviceClass == kClassPrinter) {
            if (EqualsNoCaseAscii(p.fileName, cmykName)) continue;
            lists.cmykSimulation.Add(p.description, p.fileName);
        }
    }
}

const std::vector<std::string>& IntentListTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int id = IDS_INTENT_PERCEPTUAL; id < IDS_INTENT_PERCEPTUAL + kIntentCount; ++id)
            t.push_back(LoadString(id));
        return t;
    }();
    return texts;
}

int IntentEntryForCode(int code) { return code >= 1 && code <= kIntentCount ? code - 1 : 0; }

}  // namespace vx
