#include "dialogs/ProfileLists.h"

#include <optional>

#include "colourmanagement/ProfileCatalogue.h"
#include "colourmanagement/ProfileDirectoryCache.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {

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

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && EqualsNoCaseAscii(a, b);
}

// The facts of a default profile that the catalogue does not list (it lies elsewhere
// or is unusable): by opening it.
std::optional<ProfileListing> OpenedFacts(const std::string& name, uint32_t code) {
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
    const std::string rgbName = GetDefaultProfileName(kSpaceRgb).value_or(std::string(kDefaultRgbProfileFile));
    const std::string cmykName = GetDefaultProfileName(kSpaceCmyk).value_or(LoadString(IDS_DEFAULT_CMYK_PROFILE));
    // The defaults lead their lists; their places are kept while the catalogue is read
    // once, straight into the lists.
    ProfileListModel source, rgbSimulation, cmykSimulation;
    std::optional<ProfileListing> rgb, cmyk;
    source.Reserve(64);
    source.Add(std::string(), rgbName);
    SharedProfileDirectoryCache().Visit([&](const ProfileListing& p) {
        if (!rgb && p.fileName == rgbName) rgb = p;
        if (!cmyk && p.fileName == cmykName) cmyk = p;
        if (p.colourSpace == kSpaceRgb) {
            if (SameNameNoCase(p.fileName, rgbName)) return;
            source.Add(p.description, p.fileName);
            if (p.deviceClass == kClassPrinter) rgbSimulation.Add(p.description, p.fileName);
        } else if (p.colourSpace == kSpaceCmyk && p.deviceClass == kClassPrinter) {
            if (!SameNameNoCase(p.fileName, cmykName)) cmykSimulation.Add(p.description, p.fileName);
        }
    });
    if (!rgb) rgb = OpenedFacts(rgbName, kSpaceRgb);
    if (!cmyk) cmyk = OpenedFacts(cmykName, kSpaceCmyk);

    std::string rgbText = rgb ? rgb->description : std::string();
    if (rgbText.empty()) rgbText = GetProfileDescriptionOrDefault(kSpaceRgb, rgbName).value_or(rgbName);
    source.SetDescription(0, rgbText);
    lists.source = std::move(source);
    lists.rgbSimulation = ProfileListModel();
    if (rgb && rgb->deviceClass == kClassPrinter) lists.rgbSimulation.Add(std::move(rgbText), rgbName);
    lists.rgbSimulation.Append(std::move(rgbSimulation));
    lists.cmykSimulation = ProfileListModel();
    if (cmyk && cmyk->deviceClass == kClassPrinter) lists.cmykSimulation.Add(cmyk->description, cmykName);
    lists.cmykSimulation.Append(std::move(cmykSimulation));
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
