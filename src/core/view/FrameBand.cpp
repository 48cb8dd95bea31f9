#include "view/FrameBand.h"

#include "model/CImageObj.h"
#include "platform/gfx/Canvas.h"
#include "view/PassColours.h"
#include "view/RenderContext.h"

namespace vx {
namespace {
gfx::RectD ToRect(const PixelRect& r) {
    return {double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)};
}
}  // namespace

int FillFrameBand(gfx::Canvas& canvas, const RenderContext& pass, const CImageObj& item, const PixelRect& outer,
                  const PixelRect& inner) {
    canvas.FillXorBand(ToRect(outer), ToRect(inner), PassRgba(pass, item.GetOwner(), item.GetFrameColorValue()));
    return canvas.Ok() ? 1 : 0;
}

}  // namespace vx
