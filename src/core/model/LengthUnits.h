#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Lengths inside the model are in 1/360 inch. Unit codes as the dialogs pass them:
// 0 pixel, 1 and 4 mm, 2 inch, 3 page, 5 percent; -1 and -2 are mm and inch with one
// decimal fewer. Numbers ignore the process locale: texts keep dot decimals.

namespace vx {

inline constexpr double kUnitsPerMm = 14.173228346456693;  // 360 / 25.4
inline constexpr double kUnitsPerInch = 360;

/// value / divisor as text: mm (value * 25.4 / divisor) with 2 decimals for units 1, 4
/// and -4 and 1 decimal for -1; inches with 3 decimals for unit 2 and 2 for -2; any
/// other unit the integer itself. With divisor 360, value is a length in 1/360 inch.
std::string FormatLengthInUnit(int32_t value, int unit, double divisor);

/// The leading decimal number of text (blanks, sign, digits, fraction, exponent; no
/// number gives 0) in mm for units 1 and 4, inches for unit 2, else taken as it is,
/// converted to 1/360 inch, rounded half away from zero and saturated to int32.
int32_t ParseLengthInUnit(std::string_view text, int unit);

/// Shows "value out of range" with the error icon: code 0 pixel, 1 mm, 2 inch, 3 page,
/// 4 point, 5 percent (limits in 1/360 inch for mm and inch, else in the unit itself);
/// code 9 "too many characters" with maximum as the allowed count; other codes whole
/// numbers without unit.
void ShowValueRangeError(int code, double minimum, double maximum);

}  // namespace vx
