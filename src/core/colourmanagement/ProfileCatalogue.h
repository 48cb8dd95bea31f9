#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colourmanagement/ProfileDirectoryCache.h"
#include "platform/colour/ColourProfile.h"

namespace vx {

// Profiles are named by their description throughout the program; this catalogue turns
// descriptions into profile files of the colour directories and back, supplies the
// default profile of each class, and opens profiles. A file name without '/' lies in
// the colour directories (the first directory that has it); anything else is a path.

/// The default RGB profile, which the build puts into the data folder's icc/.
inline constexpr std::string_view kDefaultRgbProfileFile = "sRGB Color Space Profile.ICM";

/// Colour modes of the colour-mode choice.
inline constexpr int kColourModeCmyk = 1;
inline constexpr int kColourModeRgb = 2;

/// Where a profile file name leads: the first directory holding a bare name, a path
/// as it is; nullopt when there is no such file.
std::optional<std::filesystem::path> LocateProfileFile(std::string_view nameOrPath);

/// Opens a profile file (see LocateProfileFile) and keeps it only when it is valid;
/// empty otherwise (logged).
ColourProfile OpenProfileByName(std::string_view nameOrPath);
/// A profile held in memory, sized by its header and kept only when valid.
ColourProfile OpenProfileFromMemory(std::span<const uint8_t> bytes);
/// An empty name becomes the default file of the class or space code; empty when
/// there is none or it does not open.
ColourProfile OpenProfileOrDefault(std::string_view name, uint32_t classCode);
/// The program's own profiles: the Zel working space (monitor class) and the photo
/// print process (printer class).
ColourProfile OpenEmbeddedMonitorProfile();
ColourProfile OpenEmbeddedPrintProfile();

/// The description of an open profile into text (emptied first). An empty profile
/// gives true and no text; a profile without a readable description false.
bool GetProfileDescription(const ColourProfile& profile, std::string& text);

/// The file name of the profile with this description (see
/// ProfileDirectoryCache::FindByDescription); nullopt for no match or an empty text.
std::optional<std::string> FindProfileFileByDescription(std::string_view description);

/// The description of a profile file, or with no name the class default's. A name
/// that does not open falls back to the class default. When nothing opens, the file
/// title (name without extension) of the last file tried if that file exists; else
/// nullopt, and the caller keeps what it had.
std::optional<std::string> GetProfileDescriptionOrDefault(uint32_t classCode,
                                                          std::optional<std::string_view> fileName);

/// The description of the program's Zel working-space profile; empty when it does not
/// open.
std::string GetEmbeddedProfileDescription();

/// The default profile file of a class or space: 'RGB ' and 'prtr' the sRGB file,
/// 'CMYK' "Marlo_CMYK.icc", 'mntr' the monitor's profile; nullopt for other codes.
std::optional<std::string> GetDefaultProfileName(uint32_t classCode);
/// kColourModeCmyk gives the 'CMYK' default, kColourModeRgb the 'RGB ' default.
std::optional<std::string> GetDefaultProfileNameForMode(int colourMode);

/// Whether the description names a profile file that exists.
bool ProfileFileExists(std::string_view description);

/// True when the described profile opens and has no 'mdea' tag of at most 512 bytes;
/// false when it has one or does not open (or the description names no file).
bool IsProfileWithoutMdeaTag(std::string_view description);

/// Every usable profile of the colour directories (file name, description, class,
/// space), in the order of the description search; for the profile lists.
std::vector<ProfileListing> ListProfiles();

}  // namespace vx
