#pragma once

namespace vx {

/// A side or orientation code 0 to 3 (0 top, 1 bottom, 2 left, 3 right) under a turn:
/// mode 1 gives 0->3, 1->2, 2->0, 3->1; mode 2 swaps 0 with 1 and 2 with 3; mode 4
/// gives 0->2, 1->3, 2->1, 3->0. Other modes and codes outside 0 to 3 stay.
int MapRotation(int mode, int code);

/// The inverse turn: MapRotation with modes 1 and 4 exchanged.
int MapRotationInverse(int mode, int code);

}  // namespace vx
