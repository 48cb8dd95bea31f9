#pragma once
#include <cstdint>

namespace vx::gfx {
class Canvas;
}

namespace vx {

/// What the free-line dialog's sample shows.
struct FreeLineSampleStyle {
    uint32_t colour = 0;  // COLORREF
    bool dashed = false;
    int arrowMark = 0;    // 0 none, 1 at the start (left), 2 at both ends
    bool wideHead = false;  // the 90-degree types
    bool filledHead = true;
    int arrowSize = 1;      // 1 small, 2 medium, 3 large
};

/// The sample on a white width x height area: a 5-pixel horizontal line at half the
/// height from 5 pixels in on either side, with the chosen heads (3s pen widths long,
/// 4s or 6s wide).
void DrawFreeLineSample(gfx::Canvas& canvas, int width, int height, const FreeLineSampleStyle& style);

}  // namespace vx
