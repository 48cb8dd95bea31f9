#include "colourmanagement/ProfileCatalogue.h"

#include <system_error>

#include "colourmanagement/DeviceProfiles.h"
#include "platform/colour/ColourLog.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr uint32_t kMediaTag = FourCC("mdea");
constexpr size_t kMediaTagLimit = 512;

bool IsBareName(std::string_view name) { return name.find('/') == std::string_view::npos; }

ColourProfile KeepValid(ColourProfile profile, std::string_view what) {
    if (profile && !profile.IsValid()) {
        LogColourError("not a usable profile: " + std::string(what));
        return {};
    }
    return profile;
}

}  // namespace

std::optional<fs::path> LocateProfileFile(std::string_view nameOrPath) {
    if (nameOrPath.empty()) return std::nullopt;
    if (IsBareName(nameOrPath)) return SharedProfileDirectoryCache().Locate(nameOrPath);
    std::error_code ec;
    fs::path path(nameOrPath);
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    return path;
}

ColourProfile OpenProfileByName(std::string_view nameOrPath) {
    if (nameOrPath.empty()) return {};
    std::optional<fs::path> path = LocateProfileFile(nameOrPath);
    if (!path) {
        LogColourError("no profile file " + std::string(nameOrPath));
        return {};
    }
    return KeepValid(ColourProfile::OpenFile(*path), nameOrPath);
}

ColourProfile OpenProfileFromMemory(std::span<const uint8_t> bytes) {
    return KeepValid(ColourProfile::OpenMemory(bytes), "profile data in memory");
}

ColourProfile OpenProfileOrDefault(std::string_view name, uint32_t classCode) {
    if (!name.empty()) return OpenProfileByName(name);
    std::optional<std::string> fallback = GetDefaultProfileName(classCode);
    if (!fallback) return {};
    return OpenProfileByName(*fallback);
}

ColourProfile OpenEmbeddedMonitorProfile() {
    return KeepValid(OpenProgramProfile(kZelMonitorProfileResource), "the Zel working space");
}

ColourProfile OpenEmbeddedPrintProfile() {
    return KeepValid(OpenProgramProfile(kPhotoPrintProfileResource), "the photo print profile");
}

bool GetProfileDescription(const ColourProfile& profile, std::string& text) {
    text.clear();
    if (!profile) return true;
    std::optional<std::string> description = profile.Description();
    if (!description) return false;
    text = std::move(*description);
    return true;
}

std::optional<std::string> FindProfileFileByDescription(std::string_view description) {
    if (description.empty()) return std::nullopt;
    return SharedProfileDirectoryCache().FindByDescription(description);
}

std::optional<std::string> GetProfileDescriptionOrDefault(uint32_t classCode,
                                                          std::optional<std::string_view> fileName) {
    const std::optional<std::string> fallback = GetDefaultProfileName(classCode);
    std::string tried = fileName ? std::string(*fileName) : fallback.value_or("");
    ColourProfile profile = OpenProfileByName(tried);
    if (!profile && fileName && fallback) {
        tried = *fallback;
        profile = OpenProfileByName(tried);
    }
    if (profile) {
        std::string text;
        GetProfileDescription(profile, text);
        return text;
    }
    if (std::optional<fs::path> path = LocateProfileFile(tried)) return path->stem().string();
    return std::nullopt;
}

std::string GetEmbeddedProfileDescription() {
    std::string text;
    GetProfileDescription(OpenEmbeddedMonitorProfile(), text);
    return text;
}

std::optional<std::string> GetDefaultProfileName(uint32_t classCode) {
    switch (classCode) {
        case kSpaceRgb:
        case kClassPrinter: return std::string(kDefaultRgbProfileFile);
        case kSpaceCmyk: return LoadString(IDS_DEFAULT_CMYK_PROFILE);
        case kClassMonitor: return GetMonitorProfileName();
        default: return std::nullopt;
    }
}

std::optional<std::string> GetDefaultProfileNameForMode(int colourMode) {
    if (colourMode == kColourModeCmyk) return GetDefaultProfileName(kSpaceCmyk);
    if (colourMode == kColourModeRgb) return GetDefaultProfileName(kSpaceRgb);
    return std::nullopt;
}

bool ProfileFileExists(std::string_view description) {
    std::optional<std::string> file = FindProfileFileByDescription(description);
    return file && LocateProfileFile(*file);
}

bool IsProfileWithoutMdeaTag(std::string_view description) {
    std::optional<std::string> file = FindProfileFileByDescription(description);
    if (!file) return false;
    ColourProfile profile = OpenProfileByName(*file);
    if (!profile) return false;
    return !profile.RawTag(kMediaTag, kMediaTagLimit);
}

std::vector<ProfileListing> ListProfiles() { return SharedProfileDirectoryCache().List(); }

}  // namespace vx
