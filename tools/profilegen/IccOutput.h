#pragma once
#include <lcms2.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vx::profilegen {

/// The creation date every generated profile carries, so that a build gives the same
/// bytes each time.
inline constexpr int kCreationDate[6] = {2024, 1, 1, 0, 0, 0};  // y, m, d, h, min, s

/// The profile's bytes with the fixed creation date and its MD5 profile ID set;
/// throws std::runtime_error when LittleCMS cannot write it.
std::vector<uint8_t> SerialiseReproducibly(cmsHPROFILE profile);

/// C++ source defining kProgramProfileResources with the given profiles by resource id.
std::string ProgramProfileSource(const std::map<int, std::vector<uint8_t>>& profiles);

}  // namespace vx::profilegen
