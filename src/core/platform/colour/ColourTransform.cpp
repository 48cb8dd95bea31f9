#include "platform/colour/ColourTransform.h"

#include <lcms2.h>

#include <limits>
#include <stdexcept>
#include <vector>

#include "platform/colour/ColourLog.h"
#include "platform/colour/ColourProfile.h"

namespace vx {
namespace {

// LittleCMS accepts at most 255 profiles; each entry may go in twice.
constexpr size_t kMaxChainEntries = 100;

cmsUInt32Number ResolveIntent(const ChainEntry& e) {
    // Negative values other than kOwnIntent wrap to large ones and become perceptual.
    const uint32_t intent =
        e.intent == kOwnIntent ? e.profile->Header().renderingIntent : uint32_t(e.intent);
    return intent <= uint32_t(kIntentAbsoluteColorimetric) ? intent : uint32_t(kIntentPerceptual);
}

}  // namespace

void ColourTransform::Deleter::operator()(void* handle) const noexcept {
    cmsDeleteTransform(handle);
}

ColourTransform ColourTransform::ForPixels(std::span<const ChainEntry> chain,
                                           TransformQuality quality) {
    return Create(chain, quality, Kind::Pixels);
}

ColourTransform ColourTransform::ForColours(std::span<const ChainEntry> chain,
                                            TransformQuality quality) {
    return Create(chain, quality, Kind::Colours);
}

ColourTransform ColourTransform::Create(std::span<const ChainEntry> chain,
                                        TransformQuality quality, Kind kind) {
    InstallColourLog();
    if (chain.size() < 2 || chain.size() > kMaxChainEntries) {
        LogColourError("a transform needs two to 100 profiles");
        return {};
    }
    for (const ChainEntry& e : chain)
        if (!e.profile || !*e.profile) {
            LogColourError("a transform got a profile that is not open");
            return {};
        }
    const uint32_t firstSpace = chain.front().profile->Header().colourSpace;
    const uint32_t lastSpace = chain.back().profile->Header().colourSpace;
    const bool cmykPixels = kind == Kind::Pixels && firstSpace == kSpaceCmyk;
    if (firstSpace != kSpaceRgb && !cmykPixels) {
        LogColourError("a transform must start at an RGB or CMYK profile");
        return {};
    }
    // The last profile is always used as output, so an RGB space there is an RGB result.
    if (lastSpace != kSpaceRgb) {
        LogColourError("a transform must end at an RGB profile");
        return {};
    }

    std::vector<cmsHPROFILE> profiles;
    std::vector<cmsUInt32Number> intents;
    for (size_t i = 0; i < chain.size(); ++i) {
        const ChainEntry& e = chain[i];
        const bool middle = i > 0 && i + 1 < chain.size();
        const int uses = (middle && e.profile->Header().deviceClass != kClassAbstract) ? 2 : 1;
        for (int k = 0; k < uses; ++k) {
            profiles.push_back(e.profile->Handle());
            intents.push_back(ResolveIntent(e));
        }
    }
    std::vector<cmsBool> noBlackPointCompensation(profiles.size(), FALSE);
    std::vector<cmsFloat64Number> fullAdaptation(profiles.size(), 1.0);

    cmsUInt32Number inFormat = TYPE_BGRA_8, outFormat = TYPE_BGRA_8;
    // No white fix-up: a simulated paper must keep its own white on the screen.
    cmsUInt32Number flags = cmsFLAGS_NOWHITEONWHITEFIXUP;
    if (quality == TransformQuality::Best) flags |= cmsFLAGS_HIGHRESPRECALC;
    if (kind == Kind::Colours) {
        inFormat = outFormat = TYPE_RGB_16;
    } else {
        flags |= cmsFLAGS_COPY_ALPHA;
        if (cmykPixels) inFormat = TYPE_CMYK_8;
    }
    cmsHTRANSFORM t = cmsCreateExtendedTransform(
        nullptr, cmsUInt32Number(profiles.size()), profiles.data(),
        noBlackPointCompensation.data(), intents.data(), fullAdaptation.data(), nullptr, 0,
        inFormat, outFormat, flags);
    if (!t) {
        LogColourError("cannot create the colour transform");
        return {};
    }
    ColourTransform result;
    result.mHandle.reset(t);
    result.mKind = kind;
    result.mAlphaOpaque = cmykPixels;
    return result;
}

void ColourTransform::ApplyToPixels(uint8_t* pixels, uint32_t width, uint32_t height,
                                    size_t stride) const {
    if (!mHandle || mKind != Kind::Pixels)
        throw std::logic_error("ApplyToPixels needs a pixel transform");
    if (width == 0 || height == 0) return;
    if (stride / 4 < width || stride > std::numeric_limits<cmsUInt32Number>::max())
        throw std::invalid_argument("pixel row stride");
    cmsDoTransformLineStride(mHandle.get(), pixels, pixels, width, height,
                             cmsUInt32Number(stride), cmsUInt32Number(stride), 0, 0);
    if (mAlphaOpaque)
        for (uint32_t y = 0; y < height; ++y) {
            uint8_t* row = pixels + size_t(y) * stride;
            for (uint32_t x = 0; x < width; ++x) row[size_t(x) * 4 + 3] = 255;
        }
}

std::array<uint16_t, 3> ColourTransform::ApplyToColour(const std::array<uint16_t, 3>& rgb) const {
    if (!mHandle || mKind != Kind::Colours)
        throw std::logic_error("ApplyToColour needs a colour transform");
    std::array<uint16_t, 3> out{};
    cmsDoTransform(mHandle.get(), rgb.data(), out.data(), 1);
    return out;
}

}  // namespace vx
