#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

/// Reads a decimal number as atof does in the "C" locale, whatever the process locale:
/// optional blanks, sign, digits, a fraction after a dot, an exponent. Hex forms, "inf"
/// and "nan" are no number. Returns nullopt when no digits were read; *used receives
/// the count of characters consumed.
std::optional<double> ParseDouble(std::string_view text, size_t* used = nullptr);

/// atof: 0 when the text holds no number.
double AtoF(std::string_view text);

/// atol-style: optional blanks, sign, decimal digits; saturates to the int64 range.
std::optional<long long> ParseLong(std::string_view text, size_t* used = nullptr);
long long AtoL(std::string_view text);

/// "%.Nf" in the "C" locale.
std::string FormatFixed(double value, int decimals);

/// Double to int32 as stored in the model: truncates toward zero, saturates outside
/// int32, NaN gives 0 (a plain cast is undefined there).
int32_t TruncToInt32(double value);

/// Rounds half away from zero and saturates to int32; NaN gives 0.
int32_t RoundToInt32(double value);

}  // namespace vx
