#pragma once
#include <cstdint>

#include "imaging/DibBuffer.h"

namespace vx {

/// Turns and mirrors a picture by an orientation code (an image item's `mRotate`), for
/// buffers that hold the top row first:
///   1 a quarter turn clockwise, 4 anticlockwise, 2 a half turn, 8 each row mirrored,
///   10 and 16 the rows upside down, 9 and 12 a quarter turn with the rows mirrored.
/// Codes 2, 8, 10 and 16 work in place (also on a mapped, not-owned view); the quarter
/// turns put a new buffer in `buffer` and free the old one. Other codes leave the
/// picture as it is. False for a null buffer, or when the new buffer cannot be made;
/// `buffer` is then unchanged.
bool TransformPixelBuffer(DibBufferPtr& buffer, int code);

}  // namespace vx
