#pragma once
#include <cstdint>
#include <span>

#include "model/LayoutTypes.h"

namespace vx {

/// The grey of a COLORREF (red in the low byte): trunc(0.30 red) + trunc(0.59 green) +
/// trunc(0.11 blue) in red, green and blue; the top byte kept.
ColorRef GreyFromRGB(ColorRef colour);

/// Turns B,G,R,A pixels to grey in place with the same weights (red 0.30, green 0.59,
/// blue 0.11, each product truncated), alpha kept. A trailing partial pixel is left.
void ConvertPixelsToGrey(std::span<uint8_t> bgra);

}  // namespace vx
