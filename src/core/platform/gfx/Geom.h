#pragma once
#include <cstddef>
#include <vector>

namespace vx::gfx::geom {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
};

/// A closed polygon (the last point joins the first).
struct Polygon {
    std::vector<Point> points;

    /// Nonzero winding: points on the edge count as inside.
    bool Contains(Point p) const;
    Box Bounds() const;
    /// The polygon turned by degrees (clockwise on a y-down page) about centre.
    Polygon Rotated(Point centre, double degrees) const;
    Polygon Translated(double dx, double dy) const;
};

/// Polygon::Contains over n points kept elsewhere (a closed polygon, nonzero winding,
/// points on the edge inside), for callers that build outlines without allocating.
bool PolygonContains(const Point* points, size_t n, Point p);

/// The rectangle's four corners, clockwise from the top-left.
Polygon RectanglePolygon(double left, double top, double right, double bottom);

/// The union of polygons, each filled by the nonzero rule.
class Region {
public:
    Region() = default;
    explicit Region(Polygon polygon) { Add(std::move(polygon)); }
    void Add(Polygon polygon) { mPolygons.push_back(std::move(polygon)); }
    bool Contains(Point p) const;
    bool Empty() const { return mPolygons.empty(); }
    const std::vector<Polygon>& Polygons() const { return mPolygons; }

private:
    std::vector<Polygon> mPolygons;
};

/// The triangle of an arrow head whose tip lies at tip and which points along direction
/// (radians, y down): its length and half base are in pen widths, as the heads of a pen
/// scale with it. Open heads (filled false) are stroked along the two sides that meet
/// at the tip; the triangle is still their hit region. The free-line drawer and the hit
/// test of free lines share it, so what is drawn is what is hit.
Polygon ArrowHeadPolygon(Point tip, double direction, double halfBase, double length, bool filled,
                         double penWidth);

}  // namespace vx::gfx::geom
