#pragma once
#include <string>

#include "platform/gfx/Canvas.h"

namespace vx {

struct FontSpec;
class CImageObj;

/// A drawing font from a stored face and style word (0x100 bold, 0x200 italic, 0x400
/// underline) at size pixels; a face that is not installed draws in the fallback face.
gfx::Font MakeFont(const std::string& face, int style, double size);

/// Where a label or caption goes in an image's device rectangle: the text box (laid out
/// unturned) and the angle it is turned by about the box's centre. False when the side
/// has no frame.
struct FrameTextPlace {
    gfx::RectD box;
    double angle = 0;
};
bool PlaceFrameText(int side, bool upsideDown, double left, double top, double right, double bottom,
                    double frameLeft, double frameTop, double frameRight, double frameBottom, FrameTextPlace& out);

}  // namespace vx
