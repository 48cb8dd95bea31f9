#include "platform/gfx/Geom.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vx::gfx::geom {
namespace {

// Twice the signed area of (a, b, p): > 0 when p lies left of a->b on a y-up plane.
double Cross(Point a, Point b, Point p) { return (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y); }

bool OnSegment(Point a, Point b, Point p) {
    if (std::abs(Cross(a, b, p)) > 1e-9 * (1 + std::abs(b.x - a.x) + std::abs(b.y - a.y))) return false;
    return p.x >= std::min(a.x, b.x) - 1e-9 && p.x <= std::max(a.x, b.x) + 1e-9 &&
           p.y >= std::min(a.y, b.y) - 1e-9 && p.y <= std::max(a.y, b.y) + 1e-9;
}

}  // namespace

bool Polygon::Contains(Point p) const { return PolygonContains(points.data(), points.size(), p); }

bool PolygonContains(const Point* points, size_t n, Point p) {
    if (n < 3) return false;
    int winding = 0;
    for (size_t i = 0; i < n; ++i) {
        const Point a = points[i];
        const Point b = points[i + 1 < n ? i + 1 : 0];
        if (OnSegment(a, b, p)) return true;
        if (a.y <= p.y) {
            if (b.y > p.y && Cross(a, b, p) > 0) ++winding;
        } else if (b.y <= p.y && Cross(a, b, p) < 0) {
            --winding;
        }
    }
    return winding != 0;
}

Box Polygon::Bounds() const {
    if (points.empty()) return {};
    Box b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        b.left = std::min(b.left, p.x);
        b.top = std::min(b.top, p.y);
        b.right = std::max(b.right, p.x);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

Polygon Polygon::Rotated(Point centre, double degrees) const {
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    Polygon out;
    out.points.reserve(points.size());
    for (const Point& p : points) {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        out.points.push_back({centre.x + dx * c - dy * s, centre.y + dx * s + dy * c});
    }
    return out;
}

Polygon Polygon::Translated(double dx, double dy) const {
    Polygon out = *this;
    for (Point& p : out.points) {
        p.x += dx;
        p.y += dy;
    }
    return out;
}

Polygon RectanglePolygon(double left, double top, double right, double bottom) {
    return Polygon{{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}

bool Region::Contains(Point p) const {
    return std::any_of(mPolygons.begin(), mPolygons.end(), [p](const Polygon& poly) { return poly.Contains(p); });
}

Polygon ArrowHeadPolygon(Point tip, double direction, double halfBase, double length, bool filled,
                         double penWidth) {
    (void)filled;  // the same triangle: open heads are stroked along its two sides
    const double ux = std::cos(direction), uy = std::sin(direction);
    const double len = length * penWidth, half = halfBase * penWidth;
    const Point base{tip.x - ux * len, tip.y - uy * len};
    // Perpendicular (-uy, ux).
    return Polygon{{tip, {base.x - uy * half, base.y + ux * half}, {base.x + uy * half, base.y - ux * half}}};
}

}  // namespace vx::gfx::geom
