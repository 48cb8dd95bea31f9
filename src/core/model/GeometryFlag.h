#pragma once

namespace vx {

/// The process-wide geometry flag: set at start; the screen paint clears it for its
/// duration and sets it again. No item setter reads it.
void ClearGeometryFlag();
void SetGeometryFlag();
bool IsGeometryFlagSet();

}  // namespace vx
