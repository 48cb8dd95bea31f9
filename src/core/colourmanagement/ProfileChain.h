#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colour/ColourProfile.h"
#include "platform/colour/ColourTransform.h"

namespace vx {

class CImageObj;
class CLayoutSetting;

/// Modes of colour-managing a picture: 0 and 1 the screen, 2 the screen with tint,
/// 3 printing (tinted, best precalculation, ending at the printer side).
inline constexpr int kColourModeScreenWithTint = 2;
inline constexpr int kColourModePrint = 3;

/// The rendering intent of an intent setting of the model (`mProfileIntent`,
/// `mColorIntentSimulation`): 1 perceptual, 2 saturation, 3 relative colorimetric,
/// 4 absolute colorimetric, anything else the profile's own (kOwnIntent).
int IntentFromSetting(int setting);

/// One profile of a planned chain: a file, one of the program's profiles or profile
/// bytes (an image's embedded profile), with its intent (kOwnIntent allowed).
struct ChainProfile {
    enum class From { File, Program, Memory };
    From from = From::File;
    std::filesystem::path file;
    int resource = 0;
    std::shared_ptr<const std::vector<uint8_t>> bytes;
    int intent = kIntentPerceptual;

    /// Same source, same intent; bytes compare by content.
    friend bool operator==(const ChainProfile& a, const ChainProfile& b);
};
using ProfileChainPlan = std::vector<ChainProfile>;

/// Where chains find their profiles: the catalogue in the program, fakes in tests.
class ChainProfileSource {
public:
    virtual ~ChainProfileSource() = default;
    /// The file that a description opens under a class or space code: the profile of
    /// that description, else the code's default; nullopt when that file is missing.
    virtual std::optional<std::filesystem::path> FileFor(std::string_view description,
                                                         uint32_t classCode) = 0;
    /// An existing adjustment profile file of a tint kind and level; else nullopt.
    virtual std::optional<std::filesystem::path> AdjustmentFile(int kind, int level) = 0;
    /// The profile bytes embedded in the item's file; empty when none.
    virtual std::vector<uint8_t> EmbeddedProfile(const CImageObj& item) = 0;
};

/// The catalogue as a ChainProfileSource.
ChainProfileSource& CatalogueProfiles();

/// The output settings of a layout that chains read; defaults without a layout.
struct OutputColourSettings {
    std::string monitorProfile;  // descriptions
    std::string printerProfile;
    int colorMatchPrinter = 0;  // 0 printer profile, 1 sRGB, 2 sRGB then print profile
    bool recommend = true;
};
OutputColourSettings OutputSettingsOf(const CLayoutSetting* layout);

/// The chain of an image item for a mode: source (Zel working space, embedded profile
/// or source description under the item's space), the tint profiles (modes 2 and 3,
/// custom tint), the simulation, and the monitor (modes 0 to 2) or printer side
/// (mode 3). nullopt when a profile is missing or the chain would have no output.
std::optional<ProfileChainPlan> BuildImageProfileChain(const CImageObj& item,
                                                       const OutputColourSettings& output, int mode,
                                                       ChainProfileSource& source);

/// The photo print profile, then the layout's printer profile, both perceptual.
std::optional<ProfileChainPlan> BuildPrintProfileChain(const OutputColourSettings& output,
                                                       ChainProfileSource& source);

/// The chain for single colours put on the printed page; nullopt for flag 0, no layout,
/// a missing profile, or a chain that would end without an output profile.
std::optional<ProfileChainPlan> BuildColorProfileChain(const CLayoutSetting* layout, int flag,
                                                       ChainProfileSource& source);

/// The opened profiles of a plan with their entries for a ColourTransform.
class OpenedChain {
public:
    /// nullopt (logged) when any profile does not open as a valid profile.
    static std::optional<OpenedChain> Open(const ProfileChainPlan& plan);

    std::span<const ChainEntry> Entries() const { return mEntries; }
    const ColourProfile& First() const { return *mProfiles.front(); }

private:
    std::vector<std::unique_ptr<ColourProfile>> mProfiles;
    std::vector<ChainEntry> mEntries;
};

}  // namespace vx
