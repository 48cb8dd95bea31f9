#include "view/PassGeometry.h"

#include <cmath>

#include "host/LayoutView.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"
#include "platform/spool/PrintDevice.h"
#include "view/PreviewGeometry.h"
#include "view/RenderState.h"

namespace vx {
namespace {

/// A product of a length and a scale, truncated toward zero and kept inside int32.
int32_t Scaled(double length, double scale) {
    const double v = std::trunc(length * scale);
    if (!(v > double(INT32_MIN))) return INT32_MIN;
    if (!(v < double(INT32_MAX))) return INT32_MAX;
    return int32_t(v);
}

PixelRect Offset(PixelRect r, int64_t dx, int64_t dy) {
    return {ClampToInt32(r.left + dx), ClampToInt32(r.top + dy), ClampToInt32(r.right + dx),
            ClampToInt32(r.bottom + dy)};
}

/// The page less the margins m, at the scales.
PixelRect Inset(const LayoutPoint& paper, const LayoutRect& m, double sx, double sy) {
    return {Scaled(m.left, sx), Scaled(m.top, sy), Scaled(double(paper.x) - m.right, sx),
            Scaled(double(paper.y) - m.bottom, sy)};
}

double ViewZoom(const CLayoutSetting& layout) {
    const ViewStateBlock* vs = layout.GetViewState();
    if (!vs || vs->zoomNumerator <= 0 || vs->zoomDenominator <= 0) return 1.0;
    return double(vs->zoomNumerator) / double(vs->zoomDenominator);
}

bool BuildPrinter(const GeometryInput& in, CLayoutSetting& layout, unsigned flags, PassGeometry& out) {
    if (!in.printer || in.printer->logPixelsX <= 0 || in.printer->logPixelsY <= 0) return false;
    const DeviceCaps& caps = *in.printer;
    const double r = RenderResolution(flags);
    out.ratioX = caps.logPixelsX / r;
    out.ratioY = caps.logPixelsY / r;
    // R / 360 both ways; the view's own scales stay the screen's.
    out.xPerUnit = (caps.logPixelsX / 360.0) / out.ratioX;
    out.yPerUnit = (caps.logPixelsY / 360.0) / out.ratioY;
    const int64_t pw = int64_t(caps.physicalWidth / out.ratioX + 0.5);
    const int64_t ph = int64_t(caps.physicalHeight / out.ratioY + 0.5);
    out.physicalPage = {ClampToInt32(pw), ClampToInt32(ph)};

    ViewGeometry& g = out.geometry;
    g.zoom = 1.0;
    g.pageIndex = g.lastPageIndex = in.currentPage;
    const double sx = out.xPerUnit;
    const double sy = out.yPerUnit;
    const LayoutPoint paper = GetPaperSize(layout);
    g.page = {0, 0, Scaled(paper.x, sx), Scaled(paper.y, sy)};
    const LayoutRect margin = layout.GetMargin();
    g.printerOffset = {Scaled(margin.left, sx), Scaled(margin.top, sy)};
    g.layoutArea = Inset(paper, layout.GetLayoutAreaMargin(), sx, sy);

    const int64_t page = in.currentPage;
    if (layout.GetBanner() && layout.GetPaperOrient()) {
        g.band = {ClampToInt32(page * pw), 0, ClampToInt32((page + 1) * pw), ClampToInt32(ph)};
        g.layoutArea = Offset(g.layoutArea, -page * pw, 0);
    } else {
        g.band = {0, ClampToInt32(page * ph), ClampToInt32(pw), ClampToInt32((page + 1) * ph)};
        if (layout.GetBanner()) g.layoutArea = Offset(g.layoutArea, 0, -page * ph);
    }
    g.layoutArea = Offset(g.layoutArea, -g.printerOffset.x, -g.printerOffset.y);
    return true;
}

bool BuildPreview(const GeometryInput& in, CLayoutSetting& layout, PassGeometry& out) {
    out.xPerUnit = in.pixelsPerInch.x / 360.0;
    out.yPerUnit = in.pixelsPerInch.y / 360.0;
    std::optional<ViewGeometry> g = PreviewViewGeometry(layout, out.xPerUnit, out.yPerUnit);
    if (!g) return false;
    const ViewGeometry keep = out.geometry;
    out.geometry = *g;
    out.geometry.owner = keep.owner;
    out.geometry.layout = keep.layout;
    return true;
}

bool BuildScreen(const GeometryInput& in, CLayoutSetting& layout, PassGeometry& out) {
    if (in.pixelsPerInch.x <= 0 || in.pixelsPerInch.y <= 0) return false;
    out.xPerUnit = in.pixelsPerInch.x / 360.0;
    out.yPerUnit = in.pixelsPerInch.y / 360.0;
    ViewGeometry& g = out.geometry;
    g.zoom = ViewZoom(layout);
    g.pageIndex = g.lastPageIndex = in.currentPage;
    const double sx = g.zoom * out.xPerUnit;
    const double sy = g.zoom * out.yPerUnit;
    const LayoutPoint paper = GetPaperSize(layout);
    if (in.owner) {
        const ViewPageRect pr = in.owner->GetPageRect();
        g.page = pr.page;
        g.offset = pr.offset;
        g.band = in.owner->ClientToDocRect();
    } else {
        g.page = {0, 0, Scaled(paper.x, sx), Scaled(paper.y, sy)};
        g.band = g.page;
    }
    g.page = Offset(g.page, g.offset.x, g.offset.y);
    g.shadow = Offset(g.page, 5, 5);
    g.margin = Offset(Inset(paper, layout.GetMargin(), sx, sy), g.offset.x, g.offset.y);
    g.layoutArea = Offset(Inset(paper, layout.GetLayoutAreaMargin(), sx, sy), g.offset.x, g.offset.y);
    return true;
}

}  // namespace

int RenderResolution(unsigned flags) {
    if (flags & kRender720) return 720;
    if (flags & kRender360) return 360;
    if (flags & kRender120) return 120;
    if (flags & kRender90) return 90;
    return 360;
}

std::optional<PassGeometry> BuildPassGeometry(const GeometryInput& input, CLayoutSetting& layout, int mode,
                                              unsigned flags) {
    PassGeometry out;
    out.geometry.owner = input.owner;
    out.geometry.layout = &layout;
    bool ok = true;
    switch (mode) {
    case kDrawPreviewPane: break;
    case kDrawPrinter: ok = BuildPrinter(input, layout, flags, out); break;
    case kDrawPreview:
    case kDrawTemplatePreview: ok = BuildPreview(input, layout, out); break;
    default: ok = BuildScreen(input, layout, out); break;
    }
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace vx
