#include "colourmanagement/SingleColourTransforms.h"

#include <array>
#include <optional>

#include "colourmanagement/ChainTransformCache.h"
#include "colourmanagement/ProfileChain.h"

namespace vx {
namespace {

ColorRef Apply(const ColourTransform& transform, ColorRef colour) {
    // Widened by 257 so that 255 becomes 0xFFFF; narrowed by dropping the low byte.
    const std::array<uint16_t, 3> rgb = {uint16_t((colour & 0xFF) * 257),
                                         uint16_t(((colour >> 8) & 0xFF) * 257),
                                         uint16_t(((colour >> 16) & 0xFF) * 257)};
    const std::array<uint16_t, 3> out = transform.ApplyToColour(rgb);
    return (colour & 0xFF000000u) | ColorRef(out[0] >> 8) | (ColorRef(out[1] >> 8) << 8) |
           (ColorRef(out[2] >> 8) << 16);
}

}  // namespace

bool TransformColor(std::span<const ChainEntry> chain, ColorRef& colour, int flag) {
    if (flag == 0) return true;
    const ColourTransform transform = ColourTransform::ForColours(chain, TransformQuality::Best);
    if (!transform) return false;
    colour = Apply(transform, colour);
    return true;
}

ColorRef TransformColorForView(const CLayoutSetting* layout, int flag, ColorRef colour) {
    std::optional<ProfileChainPlan> plan = BuildColorProfileChain(layout, flag, CatalogueProfiles());
    if (!plan) return colour;
    SharedChainTransforms().With(*plan, ChainTransformCache::Kind::Colours, TransformQuality::Best,
                                 [&](const ColourTransform& transform, uint32_t) {
                                     colour = Apply(transform, colour);
                                     return true;
                                 });
    return colour;
}

}  // namespace vx
