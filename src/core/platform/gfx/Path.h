#pragma once
#include <vector>

#include "platform/gfx/Geom.h"

namespace vx::gfx {

/// Figures of straight lines, replayed into cairo by the canvas.
class Path {
public:
    enum class Op { Move, Line, Close };
    struct Step {
        Op op;
        geom::Point p;
    };

    Path& MoveTo(double x, double y) { return Add(Op::Move, x, y); }
    Path& LineTo(double x, double y) { return Add(Op::Line, x, y); }
    Path& Close() { return Add(Op::Close, 0, 0); }
    Path& AddRectangle(double x, double y, double w, double h) {
        return MoveTo(x, y).LineTo(x + w, y).LineTo(x + w, y + h).LineTo(x, y + h).Close();
    }
    Path& AddPolygon(const geom::Polygon& polygon) {
        for (size_t i = 0; i < polygon.points.size(); ++i)
            i == 0 ? MoveTo(polygon.points[i].x, polygon.points[i].y) : LineTo(polygon.points[i].x, polygon.points[i].y);
        return polygon.points.empty() ? *this : Close();
    }
    Path& Reserve(size_t steps) {
        mSteps.reserve(steps);
        return *this;
    }
    const std::vector<Step>& Steps() const { return mSteps; }
    bool Empty() const { return mSteps.empty(); }

private:
    Path& Add(Op op, double x, double y) {
        mSteps.push_back({op, {x, y}});
        return *this;
    }
    std::vector<Step> mSteps;
};

}  // namespace vx::gfx
