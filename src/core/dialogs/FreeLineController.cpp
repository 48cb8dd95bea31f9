#include "dialogs/FreeLineController.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "model/CLayoutSetting.h"
#include "model/FreeLineItem.h"
#include "model/LengthUnits.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr double kMinLength = 141.73228346456693;   // 10 mm
constexpr double kMaxLength = 212598.4251968504;    // 15 m
constexpr double kDegree = 0.01745327777777778;     // 3.14159 / 180, as the lines were always drawn

std::optional<long long> ParseWhole(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc()) return std::nullopt;
    return v;
}

int LengthUnitOf(const CLineObj& line) {
    const CLayoutSetting* layout = line.GetOwner();
    return layout && layout->GetUnit() == 1 ? 1 : 2;
}

}  // namespace

void FreeLineEnds(LayoutPoint orgPos, int32_t length, int angle, LayoutPoint& start, LayoutPoint& end) {
    const double theta = (angle + 180) * kDegree, phi = angle * kDegree;
    const int32_t cx = orgPos.x + length / 2, cy = orgPos.y;
    start = {cx - int32_t(std::trunc(-0.5 * length * std::cos(theta))),
             cy - int32_t(std::trunc(-0.5 * length * std::sin(theta)))};
    end = {cx - int32_t(std::trunc(-0.5 * length * std::cos(phi))),
           cy - int32_t(std::trunc(-0.5 * length * std::sin(phi)))};
}

bool FreeLineController::SetLine(const CLineObj& line) {
    mLine.CopyFrom(line, false);
    mLine.SetOwner(line.GetOwner());
    Values& v = mValues;
    v.lineStyle = mLine.GetLineStyle() == 1 ? 1 : 0;
    v.thicknessText = std::to_string(mLine.GetThickness() / 5);
    v.unit = LengthUnitOf(mLine);
    v.lengthText = FormatLengthInUnit(mLine.GetLength(), v.unit, 360);
    v.angleText = std::to_string(mLine.GetAngle());
    v.colour = mLine.GetLineColor();
    v.arrowMark = mLine.GetArrowMark() >= 0 && mLine.GetArrowMark() <= 2 ? mLine.GetArrowMark() : 0;
    const bool filled = mLine.GetArrowFill() == 1;
    if (mLine.GetArrowAngle() == 90) v.arrowType = filled ? ArrowType::Wide : ArrowType::WideOpen;
    else v.arrowType = filled ? ArrowType::Narrow : ArrowType::NarrowOpen;
    v.arrowSize = mLine.GetArrowSize() == 3 ? 3 : mLine.GetArrowSize() == 2 ? 2 : 1;
    return true;
}

bool FreeLineController::GetLine(CLineObj& line) const {
    CLayoutSetting* owner = line.GetOwner();
    line.CopyFrom(mLine, false);
    line.SetOwner(owner);
    return true;
}

void FreeLineController::SetUnit(int unit) {
    unit = unit == 1 ? 1 : 2;
    if (unit == mValues.unit) return;
    const int32_t length = ParseLengthInUnit(mValues.lengthText, mValues.unit);
    mValues.unit = unit;
    mValues.lengthText = FormatLengthInUnit(length, unit, 360);
}

DialogCheck FreeLineController::Apply() {
    const Values& v = mValues;
    const std::optional<long long> t = ParseWhole(v.thicknessText.empty() ? "0" : v.thicknessText);
    if (!t || *t < 1) {
        ShowValueRangeError(4, 1, 1000);
        return {kIdThickness};
    }
    if (*t > 1000) {
        Messages().Show(IDS_FREE_LINE_TOO_THICK, {}, Icon::Error, Buttons::Ok);
        return {kIdThickness};
    }
    const int32_t length = ParseLengthInUnit(v.lengthText, v.unit);
    if (length < kMinLength || length > kMaxLength) {
        ShowValueRangeError(v.unit == 1 ? 1 : 2, kMinLength, kMaxLength);
        return {kIdLength};
    }
    const std::optional<long long> angle = ParseWhole(v.angleText.empty() ? "0" : v.angleText);
    if (!angle || *angle < -180 || *angle > 180) {
        ShowValueRangeError(-1, -180, 180);
        return {kIdAngle};
    }

    mLine.SetLineStyle(int16_t(v.lineStyle));
    mLine.SetThickness(int32_t(*t * 5));
    const int32_t oldLength = mLine.GetLength();
    mLine.SetLength(length);
    mLine.SetAngle(int16_t(*angle));
    mLine.SetLineColor(v.colour);
    mLine.SetArrowMark(int16_t(v.arrowMark));
    const bool wide = v.arrowType == ArrowType::Wide || v.arrowType == ArrowType::WideOpen;
    mLine.SetArrowAngle(wide ? 90 : 60);
    mLine.SetArrowFill(v.arrowType == ArrowType::Wide || v.arrowType == ArrowType::Narrow ? 1 : 0);
    mLine.SetArrowSize(int16_t(v.arrowSize));

    const LayoutPoint org = mLine.GetOffsetOrgPos();
    const LayoutPoint size = mLine.GetSize();
    const bool placed = size.x != 0 && size.y != 0;
    LayoutPoint oldStart, unused, start, end;
    if (placed) FreeLineEnds(org, oldLength, int(*angle), oldStart, unused);
    FreeLineEnds(org, length, int(*angle), start, end);
    if (placed) {
        // The start stays where a line of the old length at the new angle starts.
        const int32_t dx = oldStart.x - start.x, dy = oldStart.y - start.y;
        start = {start.x + dx, start.y + dy};
        end = {end.x + dx, end.y + dy};
        mLine.SetOffsetOrgPos({org.x + dx, org.y + dy});
    }
    mLine.SetOffsetStart(start);
    mLine.SetOffsetEnd(end);
    ComputeFreeLineGeometry(mLine);
    return {};
}

}  // namespace vx
