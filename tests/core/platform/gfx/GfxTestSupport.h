#pragma once
#include "support/TestFolders.h"
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"

namespace vx::gfx::test {

inline constexpr Rgba kWhite{1, 1, 1, 1};
inline constexpr Rgba kBlack{0, 0, 0, 1};
inline constexpr Rgba kRed{1, 0, 0, 1};

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline Rgb At(const ImageSurface& s, int x, int y) {
    const uint32_t p = s.Pixel(x, y);
    return {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
}

inline bool Near(Rgb a, Rgb b, int tolerance = 1) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline bool IsInk(const ImageSurface& s, int x, int y) {
    const Rgb c = At(s, x, y);
    return c.r < 200 || c.g < 200 || c.b < 200;
}

/// Straight-alpha B,G,R,A pixels of one colour.
inline std::vector<uint8_t> Pixels(int w, int h, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    std::vector<uint8_t> v(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < v.size(); i += 4) {
        v[i] = b;
        v[i + 1] = g;
        v[i + 2] = r;
        v[i + 3] = a;
    }
    return v;
}

using vx::test::OutputFolder;

}  // namespace vx::gfx::test
