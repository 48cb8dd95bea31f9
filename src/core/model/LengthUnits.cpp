#include "model/LengthUnits.h"

#include "platform/system/Format.h"
#include "platform/system/Numbers.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr double kMmPerUnit = 0.07055555555555555;      // 25.4 / 360
constexpr double kInchPerUnit = 0.002777777777777778;   // 1 / 360

}  // namespace

std::string FormatLengthInUnit(int32_t value, int unit, double divisor) {
    switch (unit) {
        case 1:
        case 4:
        case -4: return FormatFixed(value * 25.4 / divisor, 2);
        case -1: return FormatFixed(value * 25.4 / divisor, 1);
        case 2: return FormatFixed(value / divisor, 3);
        case -2: return FormatFixed(value / divisor, 2);
        default: return FormatC("%d", value);
    }
}

int32_t ParseLengthInUnit(std::string_view text, int unit) {
    const double number = AtoF(text);
    switch (unit) {
        case 1:
        case 4: return RoundToInt32(number * kUnitsPerMm);
        case 2: return RoundToInt32(number * kUnitsPerInch);
        default: return RoundToInt32(number);
    }
}

void ShowValueRangeError(int code, double minimum, double maximum) {
    const auto whole = [](int id, double lo, double hi, int unitId) {
        const std::string unit = unitId ? LoadString(unitId) : std::string();
        Messages().Show(id, {(long long)TruncToInt32(lo), unit, (long long)TruncToInt32(hi), unit},
                        Icon::Error, Buttons::Ok);
    };
    const auto decimals = [](int id, double lo, double hi, int unitId) {
        const std::string& unit = LoadString(unitId);
        Messages().Show(id, {lo, unit, hi, unit}, Icon::Error, Buttons::Ok);
    };
    switch (code) {
        case 0: return whole(IDS_VALUE_RANGE_INT, minimum, maximum, IDS_UNIT_PIXEL);
        case 1: return decimals(IDS_VALUE_RANGE_2DEC, minimum * kMmPerUnit, maximum * kMmPerUnit, IDS_UNIT_MM);
        case 2:
            return decimals(IDS_VALUE_RANGE_3DEC, minimum * kInchPerUnit, maximum * kInchPerUnit, IDS_UNIT_INCH);
        case 3: return whole(IDS_VALUE_RANGE_INT, minimum, maximum, IDS_UNIT_PAGE);
        case 4: return whole(IDS_VALUE_RANGE_INT, minimum, maximum, IDS_UNIT_POINT);
        case 5: return decimals(IDS_VALUE_RANGE_1DEC, minimum, maximum, IDS_UNIT_PERCENT);
        case 9:
            Messages().Show(IDS_TOO_MANY_CHARS, {(long long)TruncToInt32(maximum)}, Icon::Error, Buttons::Ok);
            return;
        default: return whole(IDS_VALUE_RANGE_INT, minimum, maximum, 0);
    }
}

}  // namespace vx
