#pragma once
#include "model/LayoutTypes.h"
#include "platform/gfx/Colour.h"

namespace vx {

class CLayoutSetting;
class RenderContext;

/// A stored colour as the pass draws it: unchanged on paper and in a colour layout
/// (`mColor` 2), else its grey. layout null: the pass's layout.
ColorRef PassColour(const RenderContext& pass, const CLayoutSetting* layout, ColorRef colour);

/// The same as an opaque drawing colour.
gfx::Rgba PassRgba(const RenderContext& pass, const CLayoutSetting* layout, ColorRef colour);

}  // namespace vx
