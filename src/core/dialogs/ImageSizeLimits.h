#pragma once

// Lengths of the image size dialog: the model's 1/360 inch against mm and inches.
namespace vx::dialogs {

inline constexpr double kMmPerUnit = 0.07055555555555555;  // 25.4 / 360
inline constexpr double kInchPerUnit = 0.002777777777777778;
inline constexpr double kUnitsPerMmExact = 14.173228346456693;
inline constexpr double kMaxSideUnits = 212598.4251968504;  // 15 m
inline constexpr double kMaxSideMm = 15000.0;
inline constexpr double kMaxSideInch = 590.5511811023622;
inline constexpr double kMinSideUnits = 141.73228346456693;  // 10 mm
inline constexpr double kMinSideMm = 10.0;

}  // namespace vx::dialogs
