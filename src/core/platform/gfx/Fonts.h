#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vx::gfx {

/// The face that stands in for every family that is not installed.
inline constexpr const char* kFallbackFamily = "DejaVu Sans";

/// The installed font families (fontconfig), sorted, without the generic aliases
/// ("sans-serif" and the like). Read once per process.
const std::vector<std::string>& FontFamilies();

/// Whether a family of that name is installed, ignoring ASCII case.
bool IsFamilyInstalled(std::string_view family);

/// The installed family's own spelling for name (ASCII case ignored), else
/// kFallbackFamily.
std::string ResolveFamily(std::string_view name);

}  // namespace vx::gfx
