#pragma once

namespace vx {

/// The most items one layout holds.
inline constexpr int kMaxLayoutObjects = 999;

}  // namespace vx
