#pragma once
#include <cstdint>

namespace vx {

/// Whether the graphics importers (PNG, Photoshop, PICT) can be asked for pictures.
/// They are the program's own code, so they always can; callers still test the flag
/// where the choice of path depends on it.
inline constexpr int32_t QuickTimePresent = 1;

/// The importers' version in the high-word form of the version query (6.0).
inline constexpr int32_t QuickTimeVersion = 0x600;

}  // namespace vx
