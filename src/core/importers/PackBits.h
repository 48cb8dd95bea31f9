#pragma once
#include <cstddef>
#include <cstdint>

namespace vx {

/// Unpacks one PackBits row of `packedBytes` into exactly `rowBytes`: false when a run
/// reaches past the packed data or past the row, or the row is not filled. A packed
/// row that goes on after the row is filled is taken (writers pad).
bool UnpackBits(const uint8_t* packed, size_t packedBytes, uint8_t* row, size_t rowBytes);

}  // namespace vx
