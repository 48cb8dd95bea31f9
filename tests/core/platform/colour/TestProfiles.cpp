#include "TestProfiles.h"

#include <cmath>
#include <stdexcept>

#include "platform/system/Folders.h"

namespace vx::test {

std::vector<uint8_t> SaveProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    if (!cmsSaveProfileToMem(profile, nullptr, &size)) throw std::runtime_error("save");
    std::vector<uint8_t> bytes(size);
    if (!cmsSaveProfileToMem(profile, bytes.data(), &size)) throw std::runtime_error("save");
    return bytes;
}

std::vector<uint8_t> MakeAdobeLikeProfile() {
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    CmsProfile p(cmsCreateRGBProfile(&d65, &primaries, curves));
    cmsFreeToneCurve(gamma);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", "Adobe RGB(1998)");
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    return SaveProfile(p.get());
}

std::vector<uint8_t> MakeDescribedProfile(double version,
                                          const std::vector<DescriptionEntry>& desc) {
    CmsProfile p(cmsCreate_sRGBProfile());
    cmsSetProfileVersion(p.get(), version);
    cmsMLU* mlu = cmsMLUalloc(nullptr, cmsUInt32Number(desc.size()));
    for (const DescriptionEntry& e : desc) cmsMLUsetWide(mlu, e.language, e.country, e.text.c_str());
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    return SaveProfile(p.get());
}

ColourProfile OpenDataProfile(const std::filesystem::path& relative) {
    return ColourProfile::OpenFile(DataFolder() / relative);
}

double SrgbGreyLightness(double level) {
    const double v = level / 255.0;
    const double y = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    return y > 216.0 / 24389.0 ? 116.0 * std::cbrt(y) - 16.0 : y * 24389.0 / 27.0;
}

cmsCIELab SrgbToLab(uint8_t r, uint8_t g, uint8_t b) {
    CmsProfile srgb(cmsCreate_sRGBProfile());
    CmsProfile lab(cmsCreateLab4Profile(nullptr));
    CmsTransform t(cmsCreateTransform(srgb.get(), TYPE_RGB_8, lab.get(), TYPE_Lab_DBL,
                                      INTENT_RELATIVE_COLORIMETRIC, 0));
    const uint8_t in[3] = {r, g, b};
    cmsCIELab out;
    cmsDoTransform(t.get(), in, &out, 1);
    return out;
}

}  // namespace vx::test
