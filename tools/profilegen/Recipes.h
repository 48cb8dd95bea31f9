#pragma once
#include <lcms2.h>

#include <memory>

#include "profilegen/ProfileEntry.h"

namespace vx::profilegen {

struct ProfileCloser {
    void operator()(void* h) const noexcept { cmsCloseProfile(h); }
};
using ProfileHandle = std::unique_ptr<void, ProfileCloser>;

/// Builds the version 2.1 profile a entry describes. Recipes and their keys:
///   srgb          the LittleCMS sRGB profile (matrix and curves, PCS XYZ); no keys
///   bt709-gamma   RGB to Lab tables: BT.709 primaries, D65, pure power curve; Gamma
///   printer-rgb   RGB to Lab tables: sRGB colours printed on a paper whose white has
///                 L* PaperWhiteL and whose black has L* BlackL (mixed in linear light);
///                 Mdea=1 adds a private 'mdea' tag
///   cmyk-ink      CMYK to Lab tables from CmykInkModel; InkLimit in percent
///   lab-adjust    Lab to Lab abstract table: L* = 50 + (L* - 50) x ContrastFactor +
///                 LightnessShift, C* + ChromaShift (a raise grows over the first 10 C*
///                 so that greys stay grey); all keys optional, none is the identity
/// Throws std::runtime_error naming the entry for a wrong class, space or key.
ProfileHandle BuildProfile(const ProfileEntry& entry);

}  // namespace vx::profilegen
