// The line work of a page: automatic cut lines, cut frames and corner marks, free lines
// with their arrow heads, selection handles and the template placeholders.
#include "view/LineWork.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/PageGeometry.h"
#include "platform/gfx/Canvas.h"
#include "view/CGPView.h"
#include "view/ItemTracker.h"
#include "view/PassColours.h"
#include "view/RenderState.h"

namespace vx {
namespace {

constexpr double kRadiansPerDegree = 0.017453292522222223;

bool Overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

LayoutPoint Add(LayoutPoint a, LayoutPoint b) { return {ClampToInt32(int64_t(a.x) + b.x), ClampToInt32(int64_t(a.y) + b.y)}; }

/// Whether a value of the ascending cuts lies less than within from v.
bool Near(const std::vector<int32_t>& cuts, int64_t v, int64_t within) {
    const auto above = std::lower_bound(cuts.begin(), cuts.end(), v, [](int32_t c, int64_t x) { return c < x; });
    if (above != cuts.end() && int64_t(*above) - v < within) return true;
    return above != cuts.begin() && v - int64_t(*(above - 1)) < within;
}

}  // namespace

AutoCutPlan PlanAutoCutLines(const std::vector<PixelRect>& images, double scale, int32_t spaceX) {
    AutoCutPlan plan;
    if (images.empty() || !(scale * 10 >= 1)) return plan;
    const int64_t s = int64_t(70 * scale);
    for (const PixelRect& r : images) {
        // One pixel of slack: the device rectangle is truncated from the item's size.
        const double w = (double(r.right) - r.left + 1) / scale, h = (double(r.bottom) - r.top + 1) / scale;
        if (w < 708 || h < 708 || std::max(w, h) < 1416) return plan;
    }
    int kind = 1;
    if (images.size() > 1) {
        // Sorted by top, each image meets only those starting less than S below its bottom.
        struct Sweep {
            int64_t top;
            PixelRect grown;  // grown by S on every side
            size_t index;
        };
        std::vector<Sweep> order;
        order.reserve(images.size());
        for (size_t i = 0; i < images.size(); ++i) {
            const PixelRect& o = images[i];
            order.push_back({o.top,
                             {ClampToInt32(int64_t(o.left) - s), ClampToInt32(int64_t(o.top) - s),
                              ClampToInt32(int64_t(o.right) + s), ClampToInt32(int64_t(o.bottom) + s)},
                             i});
        }
        std::sort(order.begin(), order.end(), [](const Sweep& a, const Sweep& b) { return a.top < b.top; });
        for (size_t i = 0; i < order.size(); ++i) {
            const PixelRect& a = images[order[i].index];
            for (size_t j = i + 1; j < order.size() && order[j].top - s < a.bottom; ++j)
                if (Overlaps(a, order[j].grown)) return plan;
        }
        kind = 2;
    }

    PixelRect b = images.front();
    for (const PixelRect& r : images) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    const int32_t half = int32_t(double(spaceX) / 2 * scale);
    b = {b.left - half, b.top - half, b.right + half, b.bottom + half};
    if (b.right <= b.left || b.bottom <= b.top) return plan;
    plan.box = b;
    plan.kind = kind;
    const int64_t height = int64_t(b.bottom) - b.top;

    if (kind == 2) {
        // Rows covered by an image, counted from the box's second row, as runs in row
        // order; a row cut halves each gap between two runs.
        std::vector<std::pair<int64_t, int64_t>> runs;
        runs.reserve(images.size());
        for (const PixelRect& r : images) {
            const int64_t from = std::max<int64_t>(int64_t(r.top) - b.top - 1, 0);
            const int64_t to = std::min<int64_t>(int64_t(r.bottom) - b.top - 1, height);
            if (from < to) runs.emplace_back(from, to);
        }
        std::sort(runs.begin(), runs.end());
        int64_t coveredTo = runs.empty() ? 0 : runs.front().second;
        for (size_t i = 1; i < runs.size(); ++i) {
            if (runs[i].first > coveredTo) plan.rowCuts.push_back(int32_t((coveredTo + runs[i].first + 1) / 2 + 1));
            coveredTo = std::max(coveredTo, runs[i].second);
        }

        // Each image belongs to the band its middle lies in; within a band the images
        // keep their order, which decides which of two near columns is kept.
        std::vector<int32_t> bands{0};
        bands.insert(bands.end(), plan.rowCuts.begin(), plan.rowCuts.end());
        bands.push_back(int32_t(height));
        // (band, image) pairs, in band order and then in the images' order.
        const size_t bandCount = bands.size() - 1;
        std::vector<std::pair<size_t, size_t>> members;
        members.reserve(images.size());
        for (size_t i = 0; i < images.size(); ++i) {
            const int64_t mid = (int64_t(images[i].top) + images[i].bottom) / 2 - b.top;
            if (mid < 0 || mid >= height) continue;
            const size_t band = size_t(std::upper_bound(bands.begin(), bands.end(), mid) - bands.begin()) - 1;
            if (band < bandCount) members.emplace_back(band, i);
        }
        std::sort(members.begin(), members.end());

        plan.columnCuts.reserve(bandCount);
        std::vector<int32_t> sorted;
        size_t columnCount = 0;
        for (size_t band = 0, m = 0; band < bandCount; ++band) {
            const size_t end = size_t(
                std::partition_point(members.begin() + m, members.end(), [&](const auto& p) { return p.first == band; }) -
                members.begin());
            std::vector<int32_t> columns;
            columns.reserve(2 * (end - m));
            sorted.clear();
            for (; m < end; ++m) {
                const PixelRect& r = images[members[m].second];
                for (int64_t x : {int64_t(r.left) - b.left - s / 2, int64_t(r.right) - b.left + s / 2}) {
                    x = std::max<int64_t>(x, 1);
                    if (Near(sorted, x, s)) continue;
                    columns.push_back(int32_t(x));
                    sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), int32_t(x)), int32_t(x));
                }
                for (int64_t y : {int64_t(r.top) - b.top - s / 2, int64_t(r.bottom) - b.top + s / 2}) {
                    if (Near(plan.rowCuts, y, s) || y < (s + 1) / 2 || height - y < (s + 1) / 2) continue;
                    plan.narrowSegments.push_back(
                        {r.left, int32_t(b.top + y), r.right, int32_t(b.top + y)});
                }
            }
            columnCount += columns.size();
            plan.columnCuts.push_back(std::move(columns));
        }
        plan.segments.reserve(plan.rowCuts.size() + columnCount + 4);
        for (int32_t c : plan.rowCuts) plan.segments.push_back({b.left, b.top + c, b.right, b.top + c});
        for (size_t band = 0; band + 1 < bands.size(); ++band)
            for (int32_t c : plan.columnCuts[band])
                plan.segments.push_back({b.left + c, int32_t(b.top + bands[band] + s / 2), b.left + c,
                                         int32_t(b.top + bands[band + 1] - s / 2)});
    }
    plan.segments.push_back({int32_t(b.left + s / 2), b.top, int32_t(b.right - s / 2), b.top});
    plan.segments.push_back({int32_t(b.left + s / 2), b.bottom, int32_t(b.right - s / 2), b.bottom});
    if (kind == 1) {
        plan.segments.push_back({b.left, int32_t(b.top + s / 2), b.left, int32_t(b.bottom - s / 2)});
        plan.segments.push_back({b.right, int32_t(b.top + s / 2), b.right, int32_t(b.bottom - s / 2)});
    }
    return plan;
}

bool CutSegmentGeometry(const PixelRect& seg, double scale, bool narrow, CutSegmentStrokes& out) {
    const double gap = narrow ? 10 : 20;
    const int32_t d = int32_t((gap / 2 + 5) * scale);
    out.width = std::max(int32_t(10 * scale), 1);
    if (seg.top == seg.bottom) {
        out.first = {seg.left, seg.top - d, seg.right, seg.top - d};
        out.second = {seg.left, seg.top + d, seg.right, seg.top + d};
        return true;
    }
    if (seg.left == seg.right) {
        out.first = {seg.left - d, seg.top, seg.left - d, seg.bottom};
        out.second = {seg.left + d, seg.top, seg.left + d, seg.bottom};
        return true;
    }
    return false;
}

std::vector<MarkLine> CornerMarkLines(const PixelRect& image, double xs, double ys, int32_t length, int32_t offset) {
    const double lx = std::trunc(xs * length + 0.5), ly = std::trunc(ys * length + 0.5);
    const double ox = std::trunc(xs * offset + 0.5), oy = std::trunc(ys * offset + 0.5);
    const double l = image.left - 1 + ox, t = image.top - 1 + oy, r = image.right - ox, b = image.bottom - oy;
    const double hw = std::trunc((r - l) / 2), hh = std::trunc((b - t) / 2);
    if (hw < 1 || hh < 1) return {};
    return {{l, t, l - lx, t},          {l, t, l, t - ly},          {r, t, r + lx, t},
            {r, t, r, t - ly},          {l, b, l - lx, b},          {l, b, l, b + ly},
            {r, b, r + lx, b},          {r, b, r, b + ly},          {l + hw, t, l + hw, t - ly},
            {r, t + hh, r + lx, t + hh}, {l + hw, b, l + hw, b + ly}, {l, t + hh, l - lx, t + hh}};
}

FreeLineShape ComputeFreeLineShape(const CLineObj& line, gfx::geom::Point origin, double xs, double ys) {
    FreeLineShape shape;
    shape.heads.reserve(2);
    const double t = line.GetThickness();
    const double a = line.GetAngle() * kRadiansPerDegree;
    const double ux = std::cos(a), uy = std::sin(a);
    const int mark = line.GetArrowMark();
    const bool filled = line.GetArrowFill() != 0;
    const bool right = line.GetArrowAngle() == 90;
    const bool headStart = mark == 1 || mark == 2, headEnd = mark == 2;

    const LayoutPoint os = line.GetOffsetStart(), oe = line.GetOffsetEnd();
    gfx::geom::Point s{origin.x + os.x * xs, origin.y + os.y * ys};
    gfx::geom::Point e{origin.x + oe.x * xs, origin.y + oe.y * ys};
    if (std::floor(s.x) == std::floor(e.x) && std::floor(s.y) == std::floor(e.y)) e.x += 1;
    shape.penWidth = std::max(xs * t, 0.0);
    shape.dashed = line.GetLineStyle() != 0;

    // The model's head: half base 2 x size x thickness, √3 times that long (equal at 90°).
    double half = 2.0 * line.GetArrowSize() * t;
    double length = right ? half : std::trunc(std::sqrt(3.0) * half);
    // Open heads are drawn smaller and pulled back, so that the mitre of their two
    // strokes reaches the stored end.
    const double pull = (headStart && !filled) ? (t / 2) / std::sin((right ? 45 : 30) * kRadiansPerDegree) : 0;
    if (!filled) {
        const double shrink = right ? 0.82 : 0.88;
        half *= shrink;
        length *= shrink;
    }
    const auto head = [&](gfx::geom::Point tip, double direction, gfx::geom::Point& lineEnd, double sign) {
        FreeLineShape::Head h;
        h.filled = filled;
        if (filled) {
            h.polygon = gfx::geom::ArrowHeadPolygon(tip, direction, half * xs, length * xs, true, 1.0);
            lineEnd = {tip.x + sign * ux * length * xs, tip.y + sign * uy * length * ys};
        } else {
            lineEnd = {tip.x + sign * ux * pull * xs, tip.y + sign * uy * pull * ys};
            h.polygon = gfx::geom::ArrowHeadPolygon(lineEnd, direction, half * xs, length * xs, false, 1.0);
        }
        shape.heads.push_back(std::move(h));
    };
    shape.from = s;
    shape.to = e;
    if (headStart) head(s, a + M_PI, shape.from, 1);
    if (headEnd) head(e, a, shape.to, -1);
    return shape;
}

PixelPoint HandleSquareOffset(int row) {
    static constexpr PixelPoint kOffsets[8] = {{-3, -3}, {-2, -3}, {-2, -3}, {-2, -2},
                                               {-2, -2}, {-2, -2}, {-3, -2}, {-3, -2}};
    return kOffsets[((row - 1) % 8 + 8) % 8];
}

int FreeTextHandleRow(int handle, int angle) {
    int shift;
    if (angle < -90 || angle == 180) shift = 3;
    else if (angle < 0) shift = 5;
    else if (angle < 90) shift = -1;
    else shift = 1;
    const int row = ((handle + shift) % 8 + 8) % 8;
    return row == 0 ? 8 : row;
}

std::vector<LayoutRect> TemplatePlaceholderSlots(const CLayoutSetting& layout) {
    std::vector<LayoutRect> slots;
    const CImageObj* base = layout.GetBaseImage();
    if (layout.GetFree() || !base || base->GetSizeMethod() != 1) return slots;
    int64_t w = base->GetSize().x, h = base->GetSize().y;
    int64_t sx = layout.GetSpace().x, sy = layout.GetSpace().y;
    if (sx < 1) sx = 1, --w;
    if (sy < 1) sy = 1, --h;
    if (w <= 0 || h <= 0) return slots;

    const LayoutRect m = layout.GetLayoutAreaMgn();
    const LayoutPoint paper = GetPaperSize(layout);
    int64_t paperW = paper.x, paperH = paper.y;
    if (layout.GetBanner() && layout.GetPageNum() > 0) {
        if (layout.GetOrientation() == 2) paperW = std::llround(double(paperW) / layout.GetPageNum());
        else if (layout.GetOrientation() == 1) paperH = std::llround(double(paperH) / layout.GetPageNum());
    }
    const int64_t left = m.left, right = paperW - m.right;
    int64_t top = m.top, bottom = paperH - m.bottom;
    if (layout.GetHeaderShow()) top += layout.GetHeaderOffset();
    if (layout.GetFooterShow() && !(layout.GetBanner() && layout.GetPageNum() > 1)) bottom -= layout.GetFooterOffset();
    const int64_t aw = right - left, ah = bottom - top;
    if (aw < w || ah < h) return slots;

    const int64_t cols = (aw + sx) / (w + sx), rows = (ah + sy) / (h + sy);
    const int64_t restX = aw - (cols * w + (cols - 1) * sx), restY = ah - (rows * h + (rows - 1) * sy);
    const int ax = layout.GetAlign().x, ay = layout.GetVerticalAlign();
    const int64_t offX = ax == 1 ? 0 : (ax >= 4 && ax <= 6) ? restX / 2 : restX;
    const int64_t offY = ay == 1 ? 0 : ay == 4 ? restY / 2 : restY;
    if (cols * rows > 100000) return slots;  // a damaged size: nothing sensible to show
    for (int64_t j = 0; j < rows; ++j)
        for (int64_t i = 0; i < cols; ++i) {
            const int64_t x = left + offX + i * (w + sx), y = top + offY + j * (h + sy);
            slots.push_back({ClampToInt32(x), ClampToInt32(y), ClampToInt32(x + w), ClampToInt32(y + h)});
        }
    return slots;
}

// ---- drawers of the view -------------------------------------------------------------

gfx::geom::Point CGPView::ItemDeviceOrigin(const CLayoutObj& item, LayoutPoint at) const {
    const RenderState& rs = Pass();
    const PixelPoint o = rs.GetPageOrigin();
    const PixelPoint d = rs.PageToDevicePoint({0, 0});
    const double y = double(at.y) - rs.GetItemPageTop(item);
    return {double(at.x) * rs.GetScaleX() + o.x + d.x, y * rs.GetScaleY() + o.y + d.y};
}

void CGPView::DrawCutFrameStyle1(const PixelRect& r) {
    RenderState& rs = Pass();
    gfx::Canvas& c = *rs.GetCanvas();
    const gfx::Pen pen{PassRgba(rs, mLayout, mLayout->CutLine().color), rs.GetScaleY()};
    const double w = double(r.right) - r.left + 2, h = double(r.bottom) - r.top + 2;
    c.StrokeRect({double(r.left) - 1, double(r.top) - 1, w - 1, h - 1}, pen);
}

void CGPView::DrawCutFrameStyle2(const PixelRect& r) {
    RenderState& rs = Pass();
    gfx::Canvas& c = *rs.GetCanvas();
    const CutLineSettings& cut = mLayout->CutLine();
    const std::vector<MarkLine> lines =
        CornerMarkLines(r, rs.GetScaleX(), rs.GetScaleY(), cut.cornerLength, cut.cornerPosition);
    if (lines.empty()) return;
    const gfx::Pen pen{PassRgba(rs, mLayout, cut.color), rs.GetScaleY()};
    for (const MarkLine& l : lines) c.DrawLine(l.x1, l.y1, l.x2, l.y2, pen);
}

bool CGPView::DrawCutSegment(double scale, const PixelRect& segment, bool narrow) {
    CutSegmentStrokes strokes;
    if (!CutSegmentGeometry(segment, scale, narrow, strokes)) return false;
    gfx::Canvas& c = *Pass().GetCanvas();
    gfx::Path path;
    for (const PixelRect& l : {strokes.first, strokes.second})
        path.MoveTo(l.left, l.top).LineTo(l.right, l.bottom);
    c.StrokePath(path, gfx::Pen{{0, 0, 0, 1}, double(strokes.width)});
    return c.Ok();
}

void CGPView::DrawAutoCutLines(const std::vector<PixelRect>& images, double scale) {
    const AutoCutPlan plan = PlanAutoCutLines(images, scale, GetSpace(*mLayout).x);
    if (plan.kind == 0) return;
    // The strokes of one width go into one path: the same pixels, one stroke. A segment
    // that is neither horizontal nor vertical ends the drawing there.
    gfx::Canvas& c = *Pass().GetCanvas();
    for (const auto* list : {&plan.segments, &plan.narrowSegments}) {
        gfx::Path path;
        path.Reserve(list->size() * 4);
        int32_t width = 1;
        bool stop = false;
        for (const PixelRect& seg : *list) {
            CutSegmentStrokes strokes;
            if (!CutSegmentGeometry(seg, scale, list == &plan.narrowSegments, strokes)) {
                stop = true;
                break;
            }
            width = strokes.width;
            for (const PixelRect& l : {strokes.first, strokes.second})
                path.MoveTo(l.left, l.top).LineTo(l.right, l.bottom);
        }
        if (!path.Empty()) c.StrokePath(path, gfx::Pen{{0, 0, 0, 1}, double(width)});
        if (stop || !c.Ok()) return;
    }
}

void CGPView::DrawFreeLine(const CLayoutObj& item) {
    RenderState& rs = Pass();
    if (!rs.GetCanvas() || item.GetKind() != kKindLine) return;
    const CLineObj& line = static_cast<const CLineObj&>(item);
    const FreeLineShape shape =
        ComputeFreeLineShape(line, ItemDeviceOrigin(item, item.GetPosition()), rs.GetScaleX(), rs.GetScaleY());
    gfx::Canvas& c = *rs.GetCanvas();
    const gfx::Rgba colour = PassRgba(rs, mLayout, line.GetLineColor());
    c.DrawLine(shape.from.x, shape.from.y, shape.to.x, shape.to.y, gfx::Pen{colour, shape.penWidth, shape.dashed});
    for (const FreeLineShape::Head& h : shape.heads) {
        if (h.filled) {
            c.FillPolygon(h.polygon, colour);
        } else {
            const auto& p = h.polygon.points;
            gfx::Path path;
            path.MoveTo(p[1].x, p[1].y).LineTo(p[0].x, p[0].y).LineTo(p[2].x, p[2].y);
            c.StrokePath(path, gfx::Pen{colour, shape.penWidth});
        }
    }
}

std::optional<PixelPoint> CGPView::HandlePoint(const CLayoutObj& item, const PixelRect& r, int index) {
    if (index < 1 || index > 8) return std::nullopt;
    const auto at = [](gfx::geom::Point p, PixelPoint off) {
        return PixelPoint{int32_t(std::floor(p.x)) + off.x, int32_t(std::floor(p.y)) + off.y};
    };
    if (item.GetKind() == kKindLine) {
        const CLineObj& line = static_cast<const CLineObj&>(item);
        const LayoutPoint p = item.GetPosition();
        if (index == 1) return at(ItemDeviceOrigin(item, Add(p, line.GetOffsetStart())), {-3, -3});
        if (index == 2) return at(ItemDeviceOrigin(item, Add(p, line.GetOffsetEnd())), {-2, -2});
        return std::nullopt;
    }
    if (item.GetKind() == kKindText) {
        const CTextObj& text = static_cast<const CTextObj&>(item);
        const LayoutPoint p = Add(item.GetPosition(), text.GetBoxPoints()[size_t(index - 1)]);
        return at(ItemDeviceOrigin(item, p), HandleSquareOffset(FreeTextHandleRow(index, item.GetAngle())));
    }
    // The tracker's own squares: the user grabs what he sees.
    return RectHandleSquare(r, index);
}

void CGPView::DrawImagePlaceholders() {
    RenderState& rs = Pass();
    gfx::Canvas& c = *rs.GetCanvas();
    const PixelPoint o = rs.GetPageOrigin();
    const PixelPoint d = rs.PageToDevicePoint({0, 0});
    const double xs = rs.GetScaleX(), ys = rs.GetScaleY();
    const gfx::Rgba grey = gfx::Rgba::FromColorRef(0x555555);
    for (const LayoutRect& s : TemplatePlaceholderSlots(*mLayout)) {
        const double x = std::trunc(s.left * xs) + o.x + d.x, y = std::trunc(s.top * ys) + o.y + d.y;
        c.FillRect({x, y, std::trunc(double(int64_t(s.right) - s.left) * xs), std::trunc(double(int64_t(s.bottom) - s.top) * ys)},
                   grey);
    }
}

}  // namespace vx
