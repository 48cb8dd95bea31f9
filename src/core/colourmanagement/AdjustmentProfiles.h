#pragma once
#include <filesystem>
#include <optional>

#include "platform/colour/ColourProfile.h"

namespace vx {

/// Kinds of the tint (adjustment) profiles, abstract profiles in the data folder's
/// "VirIza": kinds 1 to 3 come in levels -3 to +3 ("Bright+2", "Vivid-1"), kinds 4 and
/// 5 have none.
inline constexpr int kTintBright = 1;
inline constexpr int kTintContrast = 2;
inline constexpr int kTintVivid = 3;
inline constexpr int kTintGrayStable = 4;
inline constexpr int kTintShadow = 5;

/// The folder of the adjustment profiles.
std::filesystem::path AdjustmentProfileFolder();

/// The file of a kind and level; nullopt (nothing to look for) for another kind, or
/// level 0 of kinds 1 to 3. The file need not exist.
std::optional<std::filesystem::path> AdjustmentProfilePath(int kind, int level);

/// Opens that file as a valid profile; empty when there is nothing to look for or it
/// does not open.
ColourProfile OpenAdjustmentProfile(int kind, int level);

/// Whether every profile the program ships is in place: each level of "Bright",
/// "Contrast" and "Vivid", "GrayStable", "Shadow" and "TV_sRGB" in the adjustment
/// folder, and "Marlo_CMYK.icc" in the colour directories. When one is missing, shows
/// "Anwendungsprofile fehlen." (error icon), logs which, and gives false.
bool CheckApplicationProfiles();

}  // namespace vx
