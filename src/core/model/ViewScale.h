#pragma once
#include <algorithm>
#include <cstdint>

#include "host/LayoutView.h"
#include "model/LayoutTypes.h"

namespace vx {

/// The view's scale kept as the exact ratio zoom x pixels per inch / 360 per axis, so
/// that conversions between pixels and layout units truncate the true quotient.
struct ViewScale {
    static constexpr int64_t kUnitsPerInch = 360;
    int64_t num = 0;  // zoom numerator
    int64_t den = 0;  // zoom denominator
    PixelPoint ppi;

    static int32_t Scale(int64_t v, int64_t mul, int64_t div) {
        // 64 bits whenever the product fits: hit tests convert many points.
        if (int64_t product; !__builtin_mul_overflow(v, mul, &product)) return ClampToInt32(product / div);
        return ClampToInt32(int64_t(std::clamp<__int128>(__int128(v) * mul / div, INT64_MIN, INT64_MAX)));
    }
    bool Valid() const { return num > 0 && den > 0 && ppi.x > 0 && ppi.y > 0; }
    int32_t ToUnitsX(int64_t pixels) const { return Scale(pixels, kUnitsPerInch * den, num * ppi.x); }
    int32_t ToUnitsY(int64_t pixels) const { return Scale(pixels, kUnitsPerInch * den, num * ppi.y); }
    int32_t ToPixelsX(int64_t units) const { return Scale(units, num * ppi.x, kUnitsPerInch * den); }
    int32_t ToPixelsY(int64_t units) const { return Scale(units, num * ppi.y, kUnitsPerInch * den); }
    /// Pixels per unit as the drawing pass computes them (zoom times pixels per unit).
    double XPerUnit() const { return double(num) / double(den) * (ppi.x / 360.0); }
    double YPerUnit() const { return double(num) / double(den) * (ppi.y / 360.0); }
};

}  // namespace vx
