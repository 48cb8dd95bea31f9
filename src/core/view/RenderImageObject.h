#pragma once
#include "view/RenderContext.h"
#include "view/ViewGeometry.h"

namespace vx {

class CImageObj;
namespace gfx {
class Canvas;
}

/// Parts of an image item that RenderImageObject draws; the layout view asks for the
/// picture (kRenderPicturePass) and then for what lies over it (kRenderOverlayPass),
/// the preview pane for everything (kRenderAllParts).
enum RenderImagePart : unsigned {
    kRenderPicture = 1,       // the picture, and the crop frame of mCropOut 2
    kRenderFrameBand = 2,     // the frame band, over the picture
    kRenderStamp = 4,         // the layout's image stamp
    kRenderUnpaged = 8,       // item coordinates are not reduced to its page
    kRenderPicturePass = kRenderPicture | kRenderFrameBand,
    kRenderOverlayPass = kRenderStamp,
    kRenderAllParts = 15,  // the preview pane
};

/// Draws one image item at the scales of the running pass into canvas, clipped to
/// geometry.band. stamp is the layout's "StampImage" item, or null. A drawing failure
/// raises the pass's failure flag (pass.MarkBitmapDrawn(true)); nothing throws.
void RenderImageObject(RenderContext& pass, const CImageObj& item, gfx::Canvas& canvas,
                       const ViewGeometry& geometry, const CImageObj* stamp, unsigned parts);

}  // namespace vx
