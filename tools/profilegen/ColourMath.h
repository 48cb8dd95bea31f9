#pragma once
#include <lcms2.h>

#include <array>
#include <cmath>

namespace vx::profilegen {

using Vec3 = std::array<double, 3>;

/// Linear sRGB (BT.709 primaries, D65) to D50 XYZ, Bradford-adapted, as in the ICC
/// sRGB profiles.
inline constexpr double kLinearSrgbToXyzD50[3][3] = {
    {0.4360747, 0.3850649, 0.1430804},
    {0.2225045, 0.7168786, 0.0606169},
    {0.0139322, 0.0971045, 0.7141733},
};

inline Vec3 LinearRgbToXyz(const Vec3& rgb) {
    Vec3 out{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) out[r] += kLinearSrgbToXyzD50[r][c] * rgb[c];
    return out;
}

inline Vec3 XyzToLinearRgb(const Vec3& xyz) {
    const auto& m = kLinearSrgbToXyzD50;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    const double inv[3][3] = {
        {(m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det,
         (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det},
        {(m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det,
         (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det},
        {(m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det,
         (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det},
    };
    Vec3 out{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) out[r] += inv[r][c] * xyz[c];
    return out;
}

inline cmsCIELab XyzToLab(const Vec3& xyz) {
    const cmsCIEXYZ v{xyz[0], xyz[1], xyz[2]};
    cmsCIELab lab;
    cmsXYZ2Lab(cmsD50_XYZ(), &lab, &v);
    return lab;
}

inline Vec3 LabToXyz(const cmsCIELab& lab) {
    cmsCIEXYZ v;
    cmsLab2XYZ(cmsD50_XYZ(), &v, &lab);
    return {v.X, v.Y, v.Z};
}

/// The IEC 61966-2-1 sRGB tone curve.
inline double SrgbDecode(double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
inline double SrgbEncode(double v) {
    return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

}  // namespace vx::profilegen
