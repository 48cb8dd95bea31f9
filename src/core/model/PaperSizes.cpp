#include "model/PaperSizes.h"

#include <string>

#include "model/LengthUnits.h"
#include "platform/system/Format.h"

namespace vx {
namespace {

constexpr PaperSizeEntry kPapers[] = {
    {600, 11180, 15800},  // 1118 x 1580 mm
    {601, 10300, 14560},  // JIS B0
    {602, 7280, 10300},   // JIS B1
    {652, 10300, 7280},   // JIS B1 landscape
    {603, 5150, 7280},    // JIS B2
    {259, 3640, 5150},    // JIS B3
    {12, 2570, 3640},     // JIS B4
    {13, 1820, 2570},     // JIS B5
    {604, 9140, 12920},   // 914 x 1292 mm
    {605, 8410, 11890},   // ISO A0
    {612, 6096, 9144},    // 24 x 36 inch
    {606, 5940, 8410},    // ISO A1
    {257, 4200, 5940},    // ISO A2
    {258, 3290, 4830},    // 13 x 19 inch
    {8, 2970, 4200},      // ISO A3
    {9, 2100, 2970},      // ISO A4
    {1, 2159, 2794},      // Letter
    {262, 2794, 4318},    // 11 x 17 inch
    {261, 4318, 5588},    // 17 x 22 inch
    {611, 5588, 8636},    // 22 x 34 inch
    {610, 8636, 11176},   // 34 x 44 inch
};

constexpr int kUnitMm = 1;
constexpr int kLandscape = 2;

int32_t TenthsMmToUnits(int32_t tenths) {
    const std::string mm = FormatC("%lf", tenths * 0.1);
    return ParseLengthInUnit(mm, kUnitMm);
}

}  // namespace

std::span<const PaperSizeEntry> PaperSizeTable() {
    return kPapers;
}

bool LookupPaperSize(int32_t id, int32_t& length, int32_t& width) {
    for (const PaperSizeEntry& p : kPapers)
        if (p.id == id) {
            width = p.width;
            length = p.length;
            return true;
        }
    return false;
}

PaperLengthAndWidth TenthsMmToLayoutUnits(int32_t width, int32_t length) {
    return {TenthsMmToUnits(length), TenthsMmToUnits(width)};
}

LayoutPoint TenthsMmToLayoutUnits(int32_t paperId, int orientation, int32_t length, int32_t width) {
    if (length == 0 || width == 0) LookupPaperSize(paperId, length, width);
    const PaperLengthAndWidth units = TenthsMmToLayoutUnits(width, length);
    if (orientation == kLandscape) return {units.length, units.width};
    return {units.width, units.length};
}

}  // namespace vx
