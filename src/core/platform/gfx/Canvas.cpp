#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gfx/Picture.h"

namespace vx::gfx {
namespace {

void SetColour(cairo_t* cr, Rgba c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

std::string Describe(const char* what, const RectD& r) {
    char line[128];
    std::snprintf(line, sizeof line, "%s %g %g %g %g", what, r.x, r.y, r.w, r.h);
    return line;
}

}  // namespace

Canvas::Canvas(cairo_surface_t* target, double pixelsPerInch)
    : mCr(cairo_create(target)), mPixelsPerInch(pixelsPerInch) {
    SetAntialias(true);
}

Canvas::Canvas(cairo_t* cr, double pixelsPerInch) : mCr(cairo_reference(cr)), mPixelsPerInch(pixelsPerInch) {
    SetAntialias(true);
}

Canvas::~Canvas() = default;

void Canvas::SetAntialias(bool on) {
    mAntialias = on;
    cairo_set_antialias(mCr.get(), on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void Canvas::RotateAbout(double cx, double cy, double degrees) {
    cairo_translate(mCr.get(), cx, cy);
    cairo_rotate(mCr.get(), degrees * M_PI / 180.0);
    cairo_translate(mCr.get(), -cx, -cy);
}

void Canvas::ClipRect(const RectD& r) {
    cairo_rectangle(mCr.get(), r.x, r.y, r.w, r.h);
    cairo_clip(mCr.get());
}

void Canvas::ClipPolygon(const geom::Polygon& polygon) {
    AddPath(Path().AddPolygon(polygon));
    cairo_clip(mCr.get());
}

void Canvas::Clear(Rgba colour) {
    Trace("clear");
    cairo_save(mCr.get());
    cairo_set_operator(mCr.get(), CAIRO_OPERATOR_SOURCE);
    SetColour(mCr.get(), colour);
    cairo_paint(mCr.get());
    cairo_restore(mCr.get());
}

void Canvas::FillRect(const RectD& r, Rgba colour) {
    if (mTrace) Trace(Describe("fill", r));
    cairo_rectangle(mCr.get(), r.x, r.y, r.w, r.h);
    SetColour(mCr.get(), colour);
    cairo_fill(mCr.get());
}

void Canvas::FillPath(const Path& path, Rgba colour, bool evenOdd) {
    Trace("fill path");
    AddPath(path);
    cairo_set_fill_rule(mCr.get(), evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    SetColour(mCr.get(), colour);
    cairo_fill(mCr.get());
    cairo_set_fill_rule(mCr.get(), CAIRO_FILL_RULE_WINDING);
}

void Canvas::FillPolygon(const geom::Polygon& polygon, Rgba colour) { FillPath(Path().AddPolygon(polygon), colour); }

void Canvas::FillXorBand(const RectD& outer, const RectD& inner, Rgba colour) {
    if (mTrace) Trace(Describe("fill band", outer));
    Path path;
    path.AddRectangle(outer.x, outer.y, outer.w, outer.h).AddRectangle(inner.x, inner.y, inner.w, inner.h);
    AddPath(path);
    cairo_set_fill_rule(mCr.get(), CAIRO_FILL_RULE_EVEN_ODD);
    SetColour(mCr.get(), colour);
    cairo_fill(mCr.get());
    cairo_set_fill_rule(mCr.get(), CAIRO_FILL_RULE_WINDING);
}

void Canvas::StrokeRect(const RectD& r, const Pen& pen) {
    const Placement at = BeginPixelPlacement(pen);
    cairo_rectangle(mCr.get(), r.x + at.dx, r.y + at.dy, r.w, r.h);
    EndPixelPlacement(at);
}

void Canvas::DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    const Placement at = BeginPixelPlacement(pen);
    cairo_move_to(mCr.get(), x1 + at.dx, y1 + at.dy);
    cairo_line_to(mCr.get(), x2 + at.dx, y2 + at.dy);
    EndPixelPlacement(at);
}

void Canvas::StrokePath(const Path& path, const Pen& pen) {
    const Placement at = BeginPixelPlacement(pen);
    cairo_t* cr = mCr.get();
    // Figures whose stroke lies wholly outside the clip are left out: a band or a
    // window shows a small part of a page's line work, and cairo would still sort
    // every figure's outline against the others.
    double cx1, cy1, cx2, cy2;
    cairo_clip_extents(cr, &cx1, &cy1, &cx2, &cy2);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    // One device pixel of anti-aliasing, in user units along the transform's shortest
    // axis; a figure with corners reaches out to the mitre limit.
    const double sum = m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy;
    const double det = m.xx * m.yy - m.xy * m.yx;
    const double shortest = std::sqrt(std::max(0.0, (sum - std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2));
    const bool cull = shortest > 1e-9 && cx1 < cx2 && cy1 < cy2;
    const double slack = cull ? 1 / shortest : 0;
    const double half = cairo_get_line_width(cr) / 2;
    const double mitre = half * std::max(1.0, cairo_get_miter_limit(cr));

    const std::vector<Path::Step>& steps = path.Steps();
    size_t begin = 0;
    while (begin < steps.size()) {
        size_t end = begin + 1;
        while (end < steps.size() && steps[end].op != Path::Op::Move) ++end;
        bool visible = !cull;
        if (cull) {
            double x1 = steps[begin].p.x, y1 = steps[begin].p.y, x2 = x1, y2 = y1;
            int points = 0;
            for (size_t i = begin; i < end; ++i) {
                if (steps[i].op == Path::Op::Close) continue;
                x1 = std::min(x1, steps[i].p.x), x2 = std::max(x2, steps[i].p.x);
                y1 = std::min(y1, steps[i].p.y), y2 = std::max(y2, steps[i].p.y);
                ++points;
            }
            const double reach = (points > 2 ? mitre : half) + slack;
            visible = !(x2 + at.dx + reach < cx1 || x1 + at.dx - reach > cx2 || y2 + at.dy + reach < cy1 ||
                        y1 + at.dy - reach > cy2);
        }
        if (visible) AddSteps(steps, begin, end, at.dx, at.dy);
        begin = end;
    }
    EndPixelPlacement(at);
}

void Canvas::SetPen(const Pen& pen) {
    cairo_t* cr = mCr.get();
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    const double scale = std::sqrt(std::abs(m.xx * m.yy - m.xy * m.yx));
    double width = pen.width;
    if (scale > 0 && width * scale < 1.0) width = 1.0 / scale;
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    if (pen.dashed) {
        const double dashes[2] = {3 * width, 1 * width};
        cairo_set_dash(cr, dashes, 2, 0);
    } else {
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    SetColour(cr, pen.colour);
}

Canvas::Placement Canvas::BeginPixelPlacement(const Pen& pen) {
    cairo_t* cr = mCr.get();
    SetPen(pen);
    cairo_new_path(cr);
    // GDI+ centres a pixel on its integer coordinate, cairo on the half: the path moves
    // half a device pixel right and down so a 1-pixel line at x fills column x.
    Placement at;
    cairo_get_matrix(cr, &at.saved);
    cairo_matrix_t shifted = at.saved;
    shifted.x0 += 0.5;
    shifted.y0 += 0.5;
    if (shifted.xx == 1 && shifted.yy == 1 && shifted.xy == 0 && shifted.yx == 0) {
        // A plain shift is added to the points, so that cairo need not transform each.
        at.dx = shifted.x0;
        at.dy = shifted.y0;
        cairo_identity_matrix(cr);
    } else {
        cairo_set_matrix(cr, &shifted);
    }
    return at;
}

void Canvas::EndPixelPlacement(const Placement& at) {
    cairo_stroke(mCr.get());
    cairo_set_matrix(mCr.get(), &at.saved);
}

void Canvas::AddPath(const Path& path) {
    cairo_new_path(mCr.get());
    AddSteps(path.Steps(), 0, path.Steps().size(), 0, 0);
}

void Canvas::AddSteps(const std::vector<Path::Step>& steps, size_t begin, size_t end, double dx, double dy) {
    cairo_t* cr = mCr.get();
    for (size_t i = begin; i < end; ++i) {
        const Path::Step& s = steps[i];
        switch (s.op) {
        case Path::Op::Move: cairo_move_to(cr, s.p.x + dx, s.p.y + dy); break;
        case Path::Op::Line: cairo_line_to(cr, s.p.x + dx, s.p.y + dy); break;
        case Path::Op::Close: cairo_close_path(cr); break;
        }
    }
}

void Canvas::DrawPicture(const Picture& picture, const RectD& source, const RectD& destination, Filter filter) {
    // Formatting numbers costs more than a small fill: only for a trace.
    if (mTrace) Trace(Describe("picture", destination) + Describe(" from", source));
    if (picture.Valid()) DrawSurface(picture.Native(), source, destination, filter);
}

void Canvas::DrawSurface(cairo_surface_t* surface, const RectD& source, const RectD& destination, Filter filter) {
    if (!surface || source.w <= 0 || source.h <= 0 || destination.w == 0 || destination.h == 0) return;
    cairo_t* cr = mCr.get();
    cairo_save(cr);
    cairo_translate(cr, destination.x, destination.y);
    cairo_scale(cr, destination.w / source.w, destination.h / source.h);
    cairo_set_source_surface(cr, surface, -source.x, -source.y);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    cairo_pattern_set_filter(pattern, filter == Filter::Nearest ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(pattern, PictureExtend());
    cairo_rectangle(cr, 0, 0, source.w, source.h);
    cairo_fill(cr);
    cairo_restore(cr);
}

cairo_extend_t Canvas::PictureExtend() const {
    return cairo_surface_get_type(cairo_get_target(mCr.get())) == CAIRO_SURFACE_TYPE_IMAGE ? CAIRO_EXTEND_PAD
                                                                                           : CAIRO_EXTEND_NONE;
}

void Canvas::Trace(std::string line) {
    if (mTrace) mTrace->push_back(std::move(line));
}

}  // namespace vx::gfx
