#include "dialogs/FreeLineSample.h"

#include <cmath>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Geom.h"
#include "platform/gfx/Path.h"
#include "platform/gfx/Pen.h"

namespace vx {

namespace {
constexpr double kPenWidth = 5;
}

void DrawFreeLineSample(gfx::Canvas& canvas, int width, int height, const FreeLineSampleStyle& style) {
    const gfx::Rgba colour = gfx::Rgba::FromColorRef(style.colour);
    canvas.FillRect({0, 0, double(width), double(height)}, gfx::Rgba{1, 1, 1, 1});
    canvas.SetAntialias(true);
    const double y = height / 2.0, x0 = 5, x1 = width - 5.0;
    const gfx::Pen pen{colour, kPenWidth, style.dashed};
    canvas.DrawLine(x0, y, x1, y, pen);
    if (style.arrowMark == 0) return;
    const double s = style.arrowSize == 3 ? 3 : style.arrowSize == 2 ? 2 : 1;
    const double length = 3 * s, halfBase = (style.wideHead ? 6 : 4) * s / 2;
    const auto head = [&](double tipX, double direction) {
        const gfx::geom::Polygon p = gfx::geom::ArrowHeadPolygon({tipX, y}, direction, halfBase, length,
                                                                style.filledHead, kPenWidth);
        if (style.filledHead) {
            canvas.FillPolygon(p, colour);
        } else {
            gfx::Path sides;
            sides.MoveTo(p.points[1].x, p.points[1].y).LineTo(p.points[0].x, p.points[0].y).LineTo(p.points[2].x, p.points[2].y);
            canvas.StrokePath(sides, gfx::Pen{colour, kPenWidth, false});
        }
    };
    head(x0, M_PI);
    if (style.arrowMark == 2) head(x1, 0);
}

}  // namespace vx
