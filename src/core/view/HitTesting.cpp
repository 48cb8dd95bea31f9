#include "view/HitTesting.h"

#include <array>
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

// Where a free line lies in the view: its position's page, and whether it is shown.
struct LinePlace {
    LayoutPoint position;
    int64_t pageTop = 0;
    bool shown = false;
};

LinePlace PlaceOf(const ViewMapping& m, const CLineObj& line) {
    LinePlace place;
    place.position = line.GetPosition();
    // A line is drawn from its start point: that decides its page.
    const int page = m.PageOfY(int64_t(place.position.y) + line.GetOffsetStart().y);
    place.pageTop = int64_t(page) * (m.paperHeight > 0 ? m.paperHeight : 0);
    place.shown = page == m.currentPage || (line.GetSelected() == 1 && m.dragState == 2);
    return place;
}

PixelPoint EndToClient(const ViewMapping& m, const LinePlace& place, LayoutPoint offset) {
    return m.PageToClient(int64_t(place.position.x) + offset.x, int64_t(place.position.y) + offset.y - place.pageTop);
}

Point Sum(Point a, Point b, double k) { return {a.x + b.x * k, a.y + b.y * k}; }

// The unit normal of a to b; false for a segment without length.
bool UnitNormal(Point a, Point b, Point& n) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    if (!(len > 0)) return false;
    n = {-dy / len, dx / len};
    return true;
}

// A segment widened by h on both sides.
bool WidenedSegment(Point a, Point b, double h, std::array<Point, 4>& out) {
    Point n;
    if (!UnitNormal(a, b, n)) return false;
    out = {Sum(a, n, h), Sum(b, n, h), Sum(b, n, -h), Sum(a, n, -h)};
    return true;
}

// Hands each polygon of the line's hit region to visit (points, count), body first;
// stops when visit returns true. An open head is stroked wing, apex, wing with the
// line's pen: its region is the two strokes widened by h and the mitre out to the tip.
template <class Visit>
bool VisitLineOutline(const ViewMapping& m, const CLineObj& line, const LinePlace& place, Visit&& visit) {
    const Point origin = m.PageToClientD(place.position.x, double(place.position.y) - double(place.pageTop));
    const double xs = m.scale.XPerUnit(), ys = m.scale.YPerUnit();
    // The drawer's own outline, so that what is drawn is what is hit.
    const FreeLineShape shape = ComputeFreeLineShape(line, origin, xs, ys);
    const double h = shape.penWidth / 2;
    std::array<Point, 4> quad;
    if (WidenedSegment(shape.from, shape.to, h, quad) && visit(quad.data(), quad.size())) return true;
    const LayoutPoint os = line.GetOffsetStart(), oe = line.GetOffsetEnd();
    const Point tips[2] = {{origin.x + os.x * xs, origin.y + os.y * ys}, {origin.x + oe.x * xs, origin.y + oe.y * ys}};
    for (size_t i = 0; i < shape.heads.size(); ++i) {
        const FreeLineShape::Head& head = shape.heads[i];
        const std::vector<Point>& p = head.polygon.points;
        if (head.filled) {
            if (visit(p.data(), p.size())) return true;
            continue;
        }
        if (p.size() != 3) continue;
        const Point apex = p[0];
        for (size_t k = 1; k <= 2; ++k) {
            const Point wing = p[k], other = p[3 - k];
            Point n;
            if (!WidenedSegment(apex, wing, h, quad) || !UnitNormal(apex, wing, n)) continue;
            if (visit(quad.data(), quad.size())) return true;
            // The stroke's outer side at the apex: the normal facing away from the other wing.
            if (n.x * (other.x - apex.x) + n.y * (other.y - apex.y) > 0) n = {-n.x, -n.y};
            const Point mitre[3] = {tips[i], Sum(apex, n, h), apex};
            if (visit(mitre, 3)) return true;
        }
    }
    return false;
}

}  // namespace

gfx::geom::Region GetLineItemRegion(const ViewMapping& m, const CLineObj& line) {
    gfx::geom::Region region;
    VisitLineOutline(m, line, PlaceOf(m, line), [&](const Point* points, size_t n) {
        region.Add(Polygon{{points, points + n}});
        return false;
    });
    return region;
}

int HitTestLineItem(const ViewMapping& m, const CLineObj& line, PixelPoint client) {
    const LinePlace place = PlaceOf(m, line);
    if (!place.shown) return kHitNothing;
    if (InSquare(EndToClient(m, place, line.GetOffsetStart()), kStartHandleOffset, client)) return kHitTopLeft;
    if (InSquare(EndToClient(m, place, line.GetOffsetEnd()), kEndHandleOffset, client)) return kHitBottomRight;
    const Point p{double(client.x), double(client.y)};
    const bool in = VisitLineOutline(m, line, place, [&](const Point* points, size_t n) {
        return gfx::geom::PolygonContains(points, n, p);
    });
    return in ? kHitMiddle : kHitNothing;
}

int HitTestTextItem(const ViewMapping& m, const CTextObj& text, PixelPoint client) {
    if (!m.Shows(text)) return kHitNothing;
    const LayoutPoint position = text.GetPosition();
    const int64_t pageTop = int64_t(m.PageOf(text)) * (m.paperHeight > 0 ? m.paperHeight : 0);
    std::array<Point, 4> frame;
    for (size_t i = 0; i < 4; ++i) {
        const LayoutPoint corner = text.GetBoxPoints()[2 * i];
        const PixelPoint c = m.PageToClient(int64_t(position.x) + corner.x, int64_t(position.y) + corner.y - pageTop);
        frame[i] = {double(c.x), double(c.y)};
    }
    return gfx::geom::PolygonContains(frame.data(), frame.size(), {double(client.x), double(client.y)}) ? kHitMiddle
                                                                                                         : kHitNothing;
}

}  // namespace vx
