#include "view/PassColours.h"

#include "model/CLayoutSetting.h"
#include "model/GreyConversion.h"
#include "view/RenderContext.h"

namespace vx {

ColorRef PassColour(const RenderContext& pass, const CLayoutSetting* layout, ColorRef colour) {
    if (!layout) layout = pass.GetLayoutSetting();
    if (pass.IsPrinting() || (layout && layout->GetColor() == 2)) return colour;
    return GreyFromRGB(colour);
}

gfx::Rgba PassRgba(const RenderContext& pass, const CLayoutSetting* layout, ColorRef colour) {
    return gfx::Rgba::FromColorRef(PassColour(pass, layout, colour) & 0xFFFFFF);
}

}  // namespace vx
