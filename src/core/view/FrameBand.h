#pragma once
#include "host/LayoutView.h"

namespace vx {

class CImageObj;
class RenderContext;
namespace gfx {
class Canvas;
}

/// Fills outer XOR inner (the frame band when inner lies inside) with the item's frame
/// colour, fully opaque: as stored on paper and in colour layouts, else its grey.
/// Gives 1, or 0 when the canvas is in error afterwards.
int FillFrameBand(gfx::Canvas& canvas, const RenderContext& pass, const CImageObj& item, const PixelRect& outer,
                  const PixelRect& inner);

}  // namespace vx
