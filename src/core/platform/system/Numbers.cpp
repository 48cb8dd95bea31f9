#include "platform/system/Numbers.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "platform/system/Format.h"

namespace vx {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseDouble(std::string_view text, size_t* used) {
    if (used) *used = 0;
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // from_chars, not strtod: GTK sets the locale. It has no sign and knows no hex in
    // general format; refuse inf/nan here, they are no number for a user.
    if (i >= text.size() || !(IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1]))))
        return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                     std::chars_format::general);
    if (ec == std::errc::invalid_argument) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Keep atof's answer: huge values become infinity, tiny ones zero.
        bool tiny = false;
        for (const char* p = text.data() + i; p < end; ++p)
            if (*p == 'e' || *p == 'E') { tiny = (p + 1 < end && p[1] == '-'); break; }
        value = tiny ? 0.0 : HUGE_VAL;
    }
    if (used) *used = size_t(end - text.data());
    return negative ? -value : value;
}

double AtoF(std::string_view text) { return ParseDouble(text).value_or(0.0); }

std::optional<long long> ParseLong(std::string_view text, size_t* used) {
    if (used) *used = 0;
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
    unsigned long long acc = 0;
    const unsigned long long limit = negative ? 1ULL + LLONG_MAX : LLONG_MAX;
    bool saturated = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        unsigned d = unsigned(text[i] - '0');
        if (!saturated && acc > (limit - d) / 10) saturated = true;
        if (!saturated) acc = acc * 10 + d;
    }
    if (saturated) acc = limit;
    if (used) *used = i;
    if (negative) return acc == 1ULL + LLONG_MAX ? LLONG_MIN : -static_cast<long long>(acc);
    return static_cast<long long>(acc);
}

long long AtoL(std::string_view text) { return ParseLong(text).value_or(0); }

std::string FormatFixed(double value, int decimals) {
    return FormatC("%.*f", decimals, value);
}

int32_t TruncToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t RoundToInt32(double value) {
    if (std::isnan(value)) return 0;
    return TruncToInt32(value < 0 ? value - 0.5 : value + 0.5);
}

}  // namespace vx
