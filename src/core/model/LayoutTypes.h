#pragma once
#include <climits>
#include <cstdint>
#include <string>

namespace vx {

/// A point or size in layout units (1/360 inch), the form property values carry.
struct LayoutPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};

/// A rectangle in layout units; right and bottom are exclusive in point tests.
struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

/// A position or size kept with fractions (items keep them between edits).
struct LayoutPointD {
    double x = 0;
    double y = 0;
    friend bool operator==(const LayoutPointD&, const LayoutPointD&) = default;
};

/// A colour as the layout stores it: 0x00BBGGRR, red in the low byte.
using ColorRef = uint32_t;

/// A font as records keep it: face name, style bits (0x100 bold, 0x200 italic,
/// 0x400 underline), size in 1/360 inch (5 per point) and colour.
struct FontSpec {
    std::string face;
    int16_t style = 0;
    int16_t size = 0;
    ColorRef color = 0;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

/// A 64-bit sum or product of layout values, saturated to int32 (damaged files can
/// carry values whose sums leave the range).
constexpr int32_t ClampToInt32(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : int32_t(v);
}

/// Item kinds: single bits, so that one mask selects several.
enum ItemKind : int16_t {
    kKindImage = 1,
    kKindText = 16,
    kKindCutLine = 32,
    kKindLine = 64,
};

/// `mType` of every item, and of a layout once it has been created or loaded.
inline constexpr int16_t kRecordTypeLayout = 2;

}  // namespace vx
