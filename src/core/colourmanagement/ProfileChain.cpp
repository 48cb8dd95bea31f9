#include "colourmanagement/ProfileChain.h"

#include <system_error>
#include <utility>

#include "colourmanagement/AdjustmentProfiles.h"
#include "colourmanagement/ImageProfiles.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/colour/ColourLog.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/Paths.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class Catalogue final : public ChainProfileSource {
public:
    std::optional<fs::path> FileFor(std::string_view description, uint32_t classCode) override {
        std::optional<std::string> name = FindProfileFileByDescription(description);
        if (!name) name = GetDefaultProfileName(classCode);
        if (!name) return std::nullopt;
        return LocateProfileFile(*name);
    }
    std::optional<fs::path> AdjustmentFile(int kind, int level) override {
        std::optional<fs::path> path = AdjustmentProfilePath(kind, level);
        std::error_code ec;
        if (!path || !fs::is_regular_file(*path, ec)) return std::nullopt;
        return path;
    }
    std::vector<uint8_t> EmbeddedProfile(const CImageObj& item) override {
        return LoadImageEmbeddedProfile(item);
    }
};

ChainProfile FromFile(fs::path file, int intent) {
    ChainProfile p;
    p.file = std::move(file);
    p.intent = intent;
    return p;
}

ChainProfile FromProgram(int resource, int intent) {
    ChainProfile p;
    p.from = ChainProfile::From::Program;
    p.resource = resource;
    p.intent = intent;
    return p;
}

// Adds the file a description opens under a class code; false (logged) when missing.
bool AddDescribed(ProfileChainPlan& plan, ChainProfileSource& source, std::string_view description,
                  uint32_t classCode, int intent) {
    std::optional<fs::path> file = source.FileFor(description, classCode);
    if (!file) {
        LogColourError("no profile for \"" + std::string(description) + "\" and no default");
        return false;
    }
    plan.push_back(FromFile(std::move(*file), intent));
    return true;
}

// The plan ended by the profile a description opens; nullopt when that is missing.
std::optional<ProfileChainPlan> WithOutput(ProfileChainPlan plan, ChainProfileSource& source,
                                           std::string_view description, uint32_t classCode, int intent) {
    if (!AddDescribed(plan, source, description, classCode, intent)) return std::nullopt;
    return plan;
}

// Without an output profile the colours would end in the connection space.
std::nullopt_t NoOutput(int colorMatchPrinter) {
    LogColourError("printer colour matching " + std::to_string(colorMatchPrinter) + " has no output profile");
    return std::nullopt;
}

bool AddSource(ProfileChainPlan& plan, const CImageObj& item, ChainProfileSource& source) {
    const int intent = IntentFromSetting(item.GetProfileIntent());
    if (item.GetUseZelFile() != 0) {
        plan.push_back(FromProgram(kZelMonitorProfileResource, intent));
        return true;
    }
    if (item.GetFileEmbedded() && item.GetProfileUseEmbed()) {
        std::vector<uint8_t> bytes = source.EmbeddedProfile(item);
        if (bytes.empty()) {
            LogColourError("the embedded profile of " + PathText(item.GetFilePath()) + " cannot be read");
            return false;
        }
        ChainProfile p;
        p.from = ChainProfile::From::Memory;
        p.bytes = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
        p.intent = intent;
        plan.push_back(std::move(p));
        return true;
    }
    return AddDescribed(plan, source, item.GetSourceProfile(), item.GetColorSpace(), intent);
}

bool AddTints(ProfileChainPlan& plan, const CImageObj& item, ChainProfileSource& source) {
    const std::pair<int, int> tints[] = {{kTintBright, item.GetTuneBright()},
                                         {kTintContrast, item.GetTuneContrast()},
                                         {kTintVivid, item.GetTuneVivid()}};
    for (auto [kind, level] : tints) {
        if (level == 0) continue;
        std::optional<fs::path> file = source.AdjustmentFile(kind, level);
        if (!file) {
            LogColourError("no adjustment profile of kind " + std::to_string(kind) + " at level " +
                           std::to_string(level));
            return false;
        }
        plan.push_back(FromFile(std::move(*file), kOwnIntent));
    }
    return true;
}

}  // namespace

int IntentFromSetting(int setting) {
    switch (setting) {
        case 1: return kIntentPerceptual;
        case 2: return kIntentSaturation;
        case 3: return kIntentRelativeColorimetric;
        case 4: return kIntentAbsoluteColorimetric;
        default: return kOwnIntent;
    }
}

bool operator==(const ChainProfile& a, const ChainProfile& b) {
    if (a.from != b.from || a.intent != b.intent) return false;
    switch (a.from) {
        case ChainProfile::From::File: return a.file == b.file;
        case ChainProfile::From::Program: return a.resource == b.resource;
        case ChainProfile::From::Memory: return a.bytes && b.bytes && *a.bytes == *b.bytes;
    }
    return false;
}

ChainProfileSource& CatalogueProfiles() {
    static Catalogue catalogue;
    return catalogue;
}

OutputColourSettings OutputSettingsOf(const CLayoutSetting* layout) {
    OutputColourSettings s;
    if (!layout) return s;
    s.monitorProfile = layout->Texts().monitorProfile;
    s.printerProfile = layout->Texts().printerProfile;
    s.colorMatchPrinter = layout->GetColorMatchPrinter();
    s.recommend = layout->GetRecommend() != 0;
    return s;
}

std::optional<ProfileChainPlan> BuildImageProfileChain(const CImageObj& item,
                                                       const OutputColourSettings& output, int mode,
                                                       ChainProfileSource& source) {
    ProfileChainPlan plan;
    if (!AddSource(plan, item, source)) return std::nullopt;
    int outputIntent = plan.front().intent;
    if (mode >= kColourModeScreenWithTint && item.GetTuneMode() == 2 && !AddTints(plan, item, source))
        return std::nullopt;
    if (const int proof = item.GetColorProof(); proof != 0) {
        outputIntent = IntentFromSetting(item.GetColorIntentSimulation());
        if (!AddDescribed(plan, source, item.GetSimulationProfile(), proof == 1 ? kSpaceCmyk : kSpaceRgb,
                          outputIntent))
            return std::nullopt;
    }
    if (mode != kColourModePrint)
        return WithOutput(std::move(plan), source, output.monitorProfile, kClassMonitor, outputIntent);
    switch (output.colorMatchPrinter) {
        case 0:
            if (output.recommend) outputIntent = item.GetUseZelFile() != 0 ? kIntentSaturation : kOwnIntent;
            return WithOutput(std::move(plan), source, output.printerProfile, kClassPrinter, outputIntent);
        case 1:
        case 2: return WithOutput(std::move(plan), source, "", kSpaceRgb, outputIntent);
        default: return NoOutput(output.colorMatchPrinter);
    }
}

std::optional<ProfileChainPlan> BuildPrintProfileChain(const OutputColourSettings& output,
                                                       ChainProfileSource& source) {
    return WithOutput({FromProgram(kPhotoPrintProfileResource, kIntentPerceptual)}, source,
                      output.printerProfile, kClassPrinter, kIntentPerceptual);
}

std::optional<ProfileChainPlan> BuildColorProfileChain(const CLayoutSetting* layout, int flag,
                                                       ChainProfileSource& source) {
    if (flag == 0 || !layout) return std::nullopt;
    const OutputColourSettings output = OutputSettingsOf(layout);
    if (output.colorMatchPrinter == 2) return BuildPrintProfileChain(output, source);
    ProfileChainPlan plan;
    if (!AddDescribed(plan, source, "", kSpaceRgb, kOwnIntent)) return std::nullopt;
    switch (output.colorMatchPrinter) {
        case 0:
            return WithOutput(std::move(plan), source, output.printerProfile, kClassPrinter,
                              output.recommend ? kOwnIntent : kIntentPerceptual);
        case 1: return WithOutput(std::move(plan), source, "", kSpaceRgb, kIntentRelativeColorimetric);
        default: return NoOutput(output.colorMatchPrinter);
    }
}

std::optional<OpenedChain> OpenedChain::Open(const ProfileChainPlan& plan) {
    OpenedChain chain;
    for (const ChainProfile& p : plan) {
        ColourProfile profile;
        switch (p.from) {
            case ChainProfile::From::File: profile = OpenProfileByName(p.file.string()); break;
            case ChainProfile::From::Program:
                profile = OpenProgramProfile(p.resource);
                if (profile && !profile.IsValid()) profile = {};
                break;
            case ChainProfile::From::Memory:
                if (p.bytes) profile = OpenProfileFromMemory(*p.bytes);
                break;
        }
        if (!profile) return std::nullopt;
        chain.mProfiles.push_back(std::make_unique<ColourProfile>(std::move(profile)));
        chain.mEntries.push_back({chain.mProfiles.back().get(), p.intent});
    }
    if (chain.mProfiles.empty()) return std::nullopt;
    return chain;
}

}  // namespace vx
