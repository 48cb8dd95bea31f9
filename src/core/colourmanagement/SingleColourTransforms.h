#pragma once
#include <span>

#include "model/LayoutTypes.h"
#include "platform/colour/ColourTransform.h"

namespace vx {

class CLayoutSetting;

/// Transforms one COLORREF (0x00BBGGRR) through an RGB-to-RGB chain at 16 bits with the
/// best precalculation; the top byte is kept. Flag 0 changes nothing and succeeds.
/// False, the colour unchanged, when the chain is refused.
bool TransformColor(std::span<const ChainEntry> chain, ColorRef& colour, int flag);

/// A colour of the layout's page as the printer gets it (flag 1: through the printer
/// chain, see BuildColorProfileChain); the colour unchanged when there is no chain or
/// it cannot be made. The transform is kept (ChainTransformCache), so that a page's
/// many colours cost one.
ColorRef TransformColorForView(const CLayoutSetting* layout, int flag, ColorRef colour);

}  // namespace vx
