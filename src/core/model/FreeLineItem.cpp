#include "model/FreeLineItem.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "model/CLineObj.h"
#include "model/LengthUnits.h"
#include "model/ObjectList.h"
#include "platform/system/Numbers.h"

namespace vx {
namespace {

// Pi taken as 3.14159, as the stored angles and origins were made.
constexpr double kRadiansPerDegree = 0.01745327777777778;
constexpr double kDegreesPerRadian = 57.29582790879778;

struct Direction {
    double x = 0;
    double y = 0;
};

Direction At(double degrees) {
    return {std::cos(degrees * kRadiansPerDegree), std::sin(degrees * kRadiansPerDegree)};
}

// base + trunc(f1 * v1) + trunc(f2 * v2) per axis: each product truncated by itself.
LayoutPoint Offset(LayoutPoint base, double f1, Direction v1, double f2 = 0, Direction v2 = {}) {
    return {ClampToInt32(int64_t(base.x) + TruncToInt32(f1 * v1.x) + TruncToInt32(f2 * v2.x)),
            ClampToInt32(int64_t(base.y) + TruncToInt32(f1 * v1.y) + TruncToInt32(f2 * v2.y))};
}

int32_t Distance(LayoutPoint a, LayoutPoint b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    return TruncToInt32(std::sqrt(dx * dx + dy * dy));
}

LayoutPoint Moved(LayoutPoint p, int64_t dx, int64_t dy) {
    return {ClampToInt32(p.x + dx), ClampToInt32(p.y + dy)};
}

}  // namespace

CLineObj* CreateLineObject(CLayoutSetting* layout, CLayoutObj** listHead) {
    if (!listHead) return nullptr;
    try {
        auto item = std::make_unique<CLineObj>(true);
        item->SetOwner(layout);
        item->SetSelected(0);
        item->SetChanged(1);
        item->SetDblClickSelected(0);
        item->SetLength(ParseLengthInUnit("100", 1));
        item->SetThickness(100);
        item->SetLineStyle(0);
        item->SetAngle(0);
        item->SetLineColor(0);
        item->SetArrowMark(0);
        item->SetArrowAngle(60);
        item->SetArrowFill(0);
        item->SetArrowSize(1);
        item->SetOffsetStart({0, 0});
        CLineObj* raw = item.get();
        return AppendObject(listHead, item) ? raw : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void MoveFreeLineEnd(CLineObj& item, int32_t dx, int32_t dy, int end) {
    LayoutPoint start = item.GetOffsetStart(), stop = item.GetOffsetEnd();
    LayoutPoint& moved = end == 0 ? start : stop;
    const LayoutPoint target = Moved(moved, dx, dy);
    const int32_t tried = Distance(target, end == 0 ? stop : start);
    if (tried >= kFreeLineMinLength && tried <= kFreeLineMaxLength) {
        moved = target;
        item.SetOffsetStart(start);
        item.SetOffsetEnd(stop);
    }

    const int32_t length = Distance(start, stop);
    int32_t angle = 0;
    if (length > 0) {
        // Rounding of huge coordinates could push the cosine a hair past 1.
        const double cosine = std::clamp((double(stop.x) - start.x) / length, -1.0, 1.0);
        angle = TruncToInt32(std::acos(cosine) * kDegreesPerRadian);
        if (int64_t(stop.y) - start.y < 0) angle = -angle;
    }
    item.SetLength(length);
    item.SetAngle(int16_t(angle));

    // The left end of the unturned line of this length centred on the line's middle.
    const Direction u = At(angle);
    item.SetOffsetOrgPos({ClampToInt32(int64_t(start.x) - TruncToInt32(-0.5 * length * u.x) - length / 2),
                          ClampToInt32(int64_t(start.y) - TruncToInt32(-0.5 * length * u.y))});
    ComputeFreeLineGeometry(item);
}

void ComputeFreeLineGeometry(CLineObj& item) {
    const double angle = item.GetAngle();
    const Direction u = At(angle), p = At(angle + 90), q = At(angle + 270);
    const LayoutPoint s = item.GetOffsetStart(), e = item.GetOffsetEnd();

    const double h = item.GetThickness() / 2;
    const double w = 2.0 * item.GetArrowSize() * item.GetThickness();  // half base of a head
    const double a = item.GetArrowAngle() == 90 ? w : std::trunc(std::sqrt(3.0) * w);  // its length
    const int mark = item.GetArrowMark();

    CLineObj::GeometryPoints outline{Offset(s, h, p), Offset(s, h, q), Offset(e, h, p), Offset(e, h, q)};
    if (mark == 1 || mark == 2) {
        const LayoutPoint base = Offset(s, a, u);
        outline[0] = Offset(base, w, p);
        outline[1] = Offset(base, w, q);
    }
    if (mark == 2) {
        const LayoutPoint base = Offset(e, -a, u);
        outline[2] = Offset(base, w, p);
        outline[3] = Offset(base, w, q);
    }

    int64_t minX = std::min(s.x, e.x), minY = std::min(s.y, e.y);
    int64_t maxX = std::max(s.x, e.x), maxY = std::max(s.y, e.y);
    for (const LayoutPoint& o : outline) {
        minX = std::min<int64_t>(minX, o.x);
        minY = std::min<int64_t>(minY, o.y);
        maxX = std::max<int64_t>(maxX, o.x);
        maxY = std::max<int64_t>(maxY, o.y);
    }

    const LayoutPointD position = item.GetPositionD();
    item.SetPositionD(position.x + double(minX), position.y + double(minY));
    item.SetSize(ClampToInt32(maxX - minX), ClampToInt32(maxY - minY));
    item.SetOffsetStart(Moved(s, -minX, -minY));
    item.SetOffsetEnd(Moved(e, -minX, -minY));
    item.SetOffsetOrgPos(Moved(item.GetOffsetOrgPos(), -minX, -minY));
    for (LayoutPoint& o : outline) o = Moved(o, -minX, -minY);
    item.SetGeometryPoints(outline);
}

}  // namespace vx
