#include "colourmanagement/AdjustmentProfiles.h"

#include <string>
#include <system_error>
#include <vector>

#include "colourmanagement/ProfileCatalogue.h"
#include "platform/colour/ColourLog.h"
#include "platform/system/Folders.h"
#include "platform/system/Format.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr int kLevelsPerKind = 3;

std::string KindName(int kind) { return LoadString(IDS_TINT_BRIGHT + (kind - kTintBright)); }

}  // namespace

fs::path AdjustmentProfileFolder() {
    // The stored name ends in a separator.
    const fs::path folder = PathFromStored(LoadString(IDS_ADJUSTMENT_PROFILE_FOLDER));
    return DataFolder() / (folder.has_filename() ? folder : folder.parent_path());
}

std::optional<fs::path> AdjustmentProfilePath(int kind, int level) {
    if (kind < kTintBright || kind > kTintShadow) return std::nullopt;
    std::string name = KindName(kind);
    if (kind <= kTintVivid) {
        if (level == 0) return std::nullopt;
        name += FormatC("%+d", level);
    }
    return AdjustmentProfileFolder() / name;
}

ColourProfile OpenAdjustmentProfile(int kind, int level) {
    std::optional<fs::path> path = AdjustmentProfilePath(kind, level);
    if (!path) return {};
    return OpenProfileByName(path->string());
}

bool CheckApplicationProfiles() {
    std::vector<fs::path> wanted;
    for (int kind = kTintBright; kind <= kTintVivid; ++kind)
        for (int level = -kLevelsPerKind; level <= kLevelsPerKind; ++level)
            if (level != 0) wanted.push_back(*AdjustmentProfilePath(kind, level));
    wanted.push_back(*AdjustmentProfilePath(kTintGrayStable, 0));
    wanted.push_back(*AdjustmentProfilePath(kTintShadow, 0));
    wanted.push_back(AdjustmentProfileFolder() / "TV_sRGB");

    std::vector<std::string> missing;
    for (const fs::path& p : wanted) {
        std::error_code ec;
        if (!fs::is_regular_file(p, ec)) missing.push_back(PathText(p));
    }
    const std::string cmyk = LoadString(IDS_DEFAULT_CMYK_PROFILE);
    if (!LocateProfileFile(cmyk)) missing.push_back(cmyk + " (colour directories)");
    if (missing.empty()) return true;
    for (const std::string& m : missing) LogColourError("application profile missing: " + m);
    Messages().Show(IDS_APPLICATION_PROFILES_MISSING, {}, Icon::Error, Buttons::Ok);
    return false;
}

}  // namespace vx
