#include "TestProfiles.h"

#include <algorithm>
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

std::array<double, 3> AdobeToSrgb(const std::array<int, 3>& rgb) {
    const double xy[3][2] = {{0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}};
    const double white[3] = {0.3127 / 0.3290, 1.0, (1 - 0.3127 - 0.3290) / 0.3290};
    double m[3][3];  // primaries' XYZ at Y = 1, as columns
    for (int c = 0; c < 3; ++c) {
        m[0][c] = xy[c][0] / xy[c][1];
        m[1][c] = 1;
        m[2][c] = (1 - xy[c][0] - xy[c][1]) / xy[c][1];
    }
    // Scale the columns so that they add up to the white point (Cramer's rule).
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    double scale[3];
    for (int c = 0; c < 3; ++c) {
        double t[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k) t[r][k] = k == c ? white[r] : m[r][k];
        scale[c] = det(t) / det(m);
    }
    double xyz[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        const double lin = std::pow(rgb[c] / 255.0, 563.0 / 256.0);
        for (int r = 0; r < 3; ++r) xyz[r] += m[r][c] * scale[c] * lin;
    }
    const double toSrgb[3][3] = {{3.2404542, -1.5371385, -0.4985314},
                                 {-0.9692660, 1.8760108, 0.0415560},
                                 {0.0556434, -0.2040259, 1.0572252}};
    std::array<double, 3> out{};
    for (int r = 0; r < 3; ++r) {
        double v = toSrgb[r][0] * xyz[0] + toSrgb[r][1] * xyz[1] + toSrgb[r][2] * xyz[2];
        v = std::clamp(v, 0.0, 1.0);
        out[r] = 255 * (v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055);
    }
    return out;
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
