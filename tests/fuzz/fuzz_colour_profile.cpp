// Profiles embedded in image files are untrusted bytes: open one from memory, read its
// description, tags and validity, and transform pixels and a colour through it.

#include <lcms2.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/colour/ColourProfile.h"
#include "platform/colour/ColourTransform.h"

namespace {

const vx::ColourProfile& Srgb() {
    static const vx::ColourProfile srgb = [] {
        cmsHPROFILE h = cmsCreate_sRGBProfile();
        cmsUInt32Number size = 0;
        cmsSaveProfileToMem(h, nullptr, &size);
        std::vector<uint8_t> bytes(size);
        cmsSaveProfileToMem(h, bytes.data(), &size);
        cmsCloseProfile(h);
        return vx::ColourProfile::OpenMemory(bytes);
    }();
    return srgb;
}

void Transform(std::span<const vx::ChainEntry> chain) {
    if (vx::ColourTransform t = vx::ColourTransform::ForPixels(chain, vx::TransformQuality::Proof)) {
        uint8_t pixels[8 * 4];
        for (size_t i = 0; i < sizeof pixels; ++i) pixels[i] = uint8_t(i * 37);
        t.ApplyToPixels(pixels, 4, 2, 16);
    }
    if (vx::ColourTransform t = vx::ColourTransform::ForColours(chain, vx::TransformQuality::Proof))
        (void)t.ApplyToColour({0x1234, 0x8000, 0xFFFF});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::ColourProfile p = vx::ColourProfile::OpenMemory({data, size});
    if (!p) return 0;
    (void)p.Description();
    (void)p.RawTag(vx::FourCC("mdea"), 512);
    if (!p.IsValid()) return 0;
    const vx::ChainEntry source[] = {{&p, vx::kOwnIntent}, {&Srgb(), vx::kIntentPerceptual}};
    Transform(source);
    const vx::ChainEntry simulation[] = {{&Srgb(), vx::kIntentRelativeColorimetric},
                                         {&p, vx::kOwnIntent},
                                         {&Srgb(), vx::kIntentRelativeColorimetric}};
    Transform(simulation);
    return 0;
}
