#pragma once
#include <cstdint>

namespace vx {

/// The largest picture an importer decodes, checked before any pixel memory is taken:
/// no side above 25,000 pixels and no more than 64,000,000 pixels.
inline constexpr int64_t kMaxImportSide = 25000;
inline constexpr int64_t kMaxImportPixels = 64000000;

inline bool ImportSizeAllowed(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxImportSide && height <= kMaxImportSide &&
           width * height <= kMaxImportPixels;
}

/// Whole pixels per inch, rounded to nearest, from pixels per metre.
inline uint32_t PpiFromPixelsPerMetre(uint32_t perMetre) {
    return uint32_t((uint64_t(perMetre) * 254 + 5000) / 10000);
}

}  // namespace vx
