#pragma once
#include <lcms2.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/colour/ColourProfile.h"

namespace vx::test {

struct CmsProfileCloser {
    void operator()(void* h) const noexcept { cmsCloseProfile(h); }
};
using CmsProfile = std::unique_ptr<void, CmsProfileCloser>;

struct CmsTransformDeleter {
    void operator()(void* t) const noexcept { cmsDeleteTransform(t); }
};
using CmsTransform = std::unique_ptr<void, CmsTransformDeleter>;

std::vector<uint8_t> SaveProfile(cmsHPROFILE profile);

/// An RGB matrix profile with Adobe RGB (1998) primaries, D65 and gamma 563/256.
std::vector<uint8_t> MakeAdobeLikeProfile();

/// Adobe RGB (1998) to sRGB (8-bit scale), computed from both sets of primaries (both
/// white points are D65, so chromatic adaptation cancels).
std::array<double, 3> AdobeToSrgb(const std::array<int, 3>& rgb);

/// The LittleCMS sRGB profile at the given version with this description text (wide
/// characters, one per language entry: "en"/"US", "de"/"DE" ...).
struct DescriptionEntry {
    const char* language;
    const char* country;
    std::wstring text;
};
std::vector<uint8_t> MakeDescribedProfile(double version, const std::vector<DescriptionEntry>& desc);

/// A profile of the build's data folder (relative path), opened from its file.
ColourProfile OpenDataProfile(const std::filesystem::path& relative);

/// CIE L* of an sRGB grey level.
double SrgbGreyLightness(double level);

/// Lab of 8-bit sRGB values, through LittleCMS's own sRGB profile.
cmsCIELab SrgbToLab(uint8_t r, uint8_t g, uint8_t b);

}  // namespace vx::test
