#pragma once
#include <cstdint>
#include <span>

#include "model/LayoutTypes.h"

namespace vx {

class CLayoutObj;

/// The grey of a COLORREF (red in the low byte): trunc(0.30 red) + trunc(0.59 green) +
/// trunc(0.11 blue) in red, green and blue; the top byte kept.
ColorRef GreyFromRGB(ColorRef colour);

/// Turns B,G,R,A pixels to grey in place with the same weights (red 0.30, green 0.59,
/// blue 0.11, each product truncated), alpha kept. A trailing partial pixel is left.
void ConvertPixelsToGrey(std::span<uint8_t> bgra);

/// Turns the working bitmap of item to grey, and with all that of every image item after
/// it in its list; other kinds are skipped. Bitmaps shared with duplicates or undo copies
/// are made the item's own first. False when one could not be (it stays in colour).
/// Throws WorkingBitmapError when a bitmap cannot be mapped.
bool ConvertToGrey(CLayoutObj& item, bool all);

}  // namespace vx
