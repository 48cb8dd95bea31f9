#pragma once
#include <cstdint>

namespace vx::gfx {

/// A colour with straight alpha, each channel 0 to 1.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;

    /// From a COLORREF (0x00BBGGRR, red in the low byte) and an opacity 0 to 255.
    static constexpr Rgba FromColorRef(uint32_t c, int alpha = 255) {
        return {(c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0, alpha / 255.0};
    }
    /// From a GDI+ style ARGB word (0xAARRGGBB).
    static constexpr Rgba FromArgb(uint32_t c) {
        return {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0};
    }
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

/// Colours of the desktop theme the drawers use (COLORREF values); the window side
/// fills them at start-up, tests keep the defaults.
struct SystemColours {
    uint32_t buttonFace = 0xF0F0F0;
    uint32_t buttonText = 0x000000;
    uint32_t buttonHighlight = 0xFFFFFF;
};
const SystemColours& GetSystemColours();
void SetSystemColours(const SystemColours& colours);

}  // namespace vx::gfx
