#pragma once
#include <cstdint>

namespace vx {

/// Rectangle of a pixel buffer in 16-bit fields, stored top, left, bottom, right.
struct Rect16 {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;

    /// Takes its values in the order left, top, right, bottom.
    void Set(int16_t l, int16_t t, int16_t r, int16_t b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void Offset(int dx, int dy) {
        left = int16_t(left + dx);
        right = int16_t(right + dx);
        top = int16_t(top + dy);
        bottom = int16_t(bottom + dy);
    }
    void Inset(int dx, int dy) {
        left = int16_t(left + dx);
        top = int16_t(top + dy);
        right = int16_t(right - dx);
        bottom = int16_t(bottom - dy);
    }
    // int, not int16_t: right - left of two 16-bit values needs 17 bits.
    int Width() const { return int(right) - int(left); }
    int Height() const { return int(bottom) - int(top); }

    friend bool operator==(const Rect16&, const Rect16&) = default;
};

/// The same rectangle in 32-bit fields, stored left, top, right, bottom.
struct RectL {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const RectL&, const RectL&) = default;
};

}  // namespace vx
