#include "view/HitTesting.h"

#include <cmath>

#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/PageGeometry.h"
#include "view/LineWork.h"
#include "view/ViewMapping.h"

namespace vx {
namespace {

using gfx::geom::Point;
using gfx::geom::Polygon;

// The 5 x 5 handle squares of a free line's ends, placed as the view draws them.
constexpr PixelPoint kStartHandleOffset{-3, -3};
constexpr PixelPoint kEndHandleOffset{-2, -2};
constexpr int kHandleSize = 5;

bool InSquare(PixelPoint centre, PixelPoint offset, PixelPoint p) {
    const int64_t left = int64_t(centre.x) + offset.x, top = int64_t(centre.y) + offset.y;
    return p.x >= left && p.x < left + kHandleSize && p.y >= top && p.y < top + kHandleSize;
}

int64_t PageTop(const ViewMapping& m, const CLayoutObj& item) {
    return int64_t(m.PageOf(item)) * (m.paperHeight > 0 ? m.paperHeight : 0);
}

// The client pixel of a point relative to the item's position.
PixelPoint ItemPointToClient(const ViewMapping& m, const CLayoutObj& item, LayoutPoint offset) {
    const LayoutPoint p = item.GetPosition();
    return m.PageToClient(int64_t(p.x) + offset.x, int64_t(p.y) + offset.y - PageTop(m, item));
}

Point Sum(Point a, Point b, double k) { return {a.x + b.x * k, a.y + b.y * k}; }

// The unit normal of a to b, or nullopt for a segment without length.
bool UnitNormal(Point a, Point b, Point& n) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (!(len > 0)) return false;
    n = {-dy / len, dx / len};
    return true;
}

// A segment widened by h on both sides.
bool WidenedSegment(Point a, Point b, double h, Polygon& out) {
    Point n;
    if (!UnitNormal(a, b, n)) return false;
    out.points = {Sum(a, n, h), Sum(b, n, h), Sum(b, n, -h), Sum(a, n, -h)};
    return true;
}

// An open head is stroked wing, apex, wing with the line's pen: its region is the two
// strokes widened by h, and the mitre out to the tip at the stored end.
void AddOpenHead(gfx::geom::Region& region, const Polygon& head, Point tip, double h) {
    if (head.points.size() != 3) return;
    const Point apex = head.points[0];
    for (size_t i = 1; i <= 2; ++i) {
        const Point wing = head.points[i], other = head.points[3 - i];
        Polygon stroke;
        if (!WidenedSegment(apex, wing, h, stroke)) continue;
        region.Add(stroke);
        // The stroke's outer side at the apex: the normal facing away from the other wing.
        Point n;
        UnitNormal(apex, wing, n);
        if (n.x * (other.x - apex.x) + n.y * (other.y - apex.y) > 0) n = {-n.x, -n.y};
        region.Add(Polygon{{tip, Sum(apex, n, h), apex}});
    }
}

}  // namespace

gfx::geom::Region GetLineItemRegion(const ViewMapping& m, const CLineObj& line) {
    gfx::geom::Region region;
    const LayoutPoint p = line.GetPosition();
    const Point origin = m.PageToClientD(p.x, double(p.y) - double(PageTop(m, line)));
    const double xs = m.scale.XPerUnit(), ys = m.scale.YPerUnit();
    // The drawer's own outline, so that what is drawn is what is hit.
    const FreeLineShape shape = ComputeFreeLineShape(line, origin, xs, ys);
    const double h = shape.penWidth / 2;
    Polygon body;
    if (WidenedSegment(shape.from, shape.to, h, body)) region.Add(body);
    const LayoutPoint os = line.GetOffsetStart(), oe = line.GetOffsetEnd();
    const Point tips[2] = {{origin.x + os.x * xs, origin.y + os.y * ys}, {origin.x + oe.x * xs, origin.y + oe.y * ys}};
    for (size_t i = 0; i < shape.heads.size(); ++i) {
        const FreeLineShape::Head& head = shape.heads[i];
        if (head.filled) region.Add(head.polygon);
        else AddOpenHead(region, head.polygon, tips[i], h);
    }
    return region;
}

int HitTestLineItem(const ViewMapping& m, const CLineObj& line, PixelPoint client) {
    if (!m.Shows(line)) return kHitNothing;
    if (InSquare(ItemPointToClient(m, line, line.GetOffsetStart()), kStartHandleOffset, client)) return kHitTopLeft;
    if (InSquare(ItemPointToClient(m, line, line.GetOffsetEnd()), kEndHandleOffset, client)) return kHitBottomRight;
    if (GetLineItemRegion(m, line).Contains({double(client.x), double(client.y)})) return kHitMiddle;
    return kHitNothing;
}

int HitTestTextItem(const ViewMapping& m, const CTextObj& text, PixelPoint client) {
    if (!m.Shows(text)) return kHitNothing;
    Polygon frame;
    for (size_t i = 0; i < 8; i += 2) {
        const PixelPoint c = ItemPointToClient(m, text, text.GetBoxPoints()[i]);
        frame.points.push_back({double(c.x), double(c.y)});
    }
    return frame.Contains({double(client.x), double(client.y)}) ? kHitMiddle : kHitNothing;
}

}  // namespace vx
