#pragma once

#include "imaging/DibBuffer.h"

namespace vx {

/// Copies source's pixels into target: byte for byte when both have the same size,
/// otherwise scaled to the target's size by nearest pixel, so every target pixel is an
/// exact copy of one source pixel. False for a null buffer or when memory is short.
bool CopyDib(const DibBuffer* source, DibBuffer* target);

}  // namespace vx
