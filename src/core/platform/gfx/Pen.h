#pragma once
#include "platform/gfx/Colour.h"

namespace vx::gfx {

/// A pen in user units: flat caps, mitred joins; dashed is 3 on, 1 off in pen widths.
/// It never draws thinner than one device pixel, as GDI+ pens do (cairo would fade a
/// thinner line to nothing).
struct Pen {
    Rgba colour;
    double width = 1.0;
    bool dashed = false;
};

}  // namespace vx::gfx
