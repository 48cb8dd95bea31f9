#pragma once

#include "imaging/DibBuffer.h"

namespace vx {

/// A zeroed buffer of width x height pixels; null when the sides are outside 1 to 32767
/// or memory is short.
DibBufferPtr NewDibBuffer(int width, int height);

/// What the file decoders give their caller: `decoded` itself without a target or when
/// it already has the target's size (sides below 1 count as 1), otherwise a copy scaled
/// to the target. Null with messageId 10413 when the copy cannot be made.
DibBufferPtr ScaleToTarget(DibBufferPtr decoded, const Rect16* target, int& messageId);

}  // namespace vx
