// The page furniture of the layout view: background, white margins, desk, border,
// shadow, frames, grid and handles, drawn on the running pass's canvas.
#include <algorithm>
#include <cmath>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "platform/gfx/Canvas.h"
#include "view/CGPView.h"
#include "view/RenderState.h"

namespace vx {
namespace {

/// Fills r when it has an area.
void Fill(gfx::Canvas& c, int64_t left, int64_t top, int64_t right, int64_t bottom, gfx::Rgba colour) {
    if (right <= left || bottom <= top) return;
    c.FillRect({double(left), double(top), double(right - left), double(bottom - top)}, colour);
}

gfx::Rgba Colour(ColorRef c) { return gfx::Rgba::FromColorRef(c & 0xFFFFFF); }

/// A 1-pixel outline of r, anti-aliased as the frames are.
void Outline(gfx::Canvas& c, const PixelRect& r, ColorRef colour) {
    c.StrokeRect({double(r.left), double(r.top), double(r.right) - r.left, double(r.bottom) - r.top},
                 gfx::Pen{Colour(colour), 1.0});
}

}  // namespace

void CGPView::DrawPageBackground() {
    RenderState& rs = Pass();
    const ViewGeometry& g = *rs.GetGeometry();
    Fill(*rs.GetCanvas(), std::max(g.page.left, g.layoutArea.left), std::max(g.page.top, g.layoutArea.top),
         std::min(g.page.right, g.layoutArea.right), std::min(g.page.bottom, g.layoutArea.bottom),
         Colour(pageBackgroundColour));
}

void CGPView::DrawPageMarginsWhite() {
    if (marginsWhitenedLater) return;
    RenderState& rs = Pass();
    const ViewGeometry& g = *rs.GetGeometry();
    gfx::Canvas& c = *rs.GetCanvas();
    const PixelRect& p = g.page;
    const PixelRect& a = g.layoutArea;
    const gfx::Rgba white{1, 1, 1, 1};
    Fill(c, p.left, p.top, p.right, a.top, white);
    Fill(c, p.left, a.bottom, p.right, p.bottom, white);
    Fill(c, p.left, p.top, a.left, p.bottom, white);
    Fill(c, a.right, p.top, p.right, p.bottom, white);
}

void CGPView::DrawDesk() {
    RenderState& rs = Pass();
    const ViewGeometry& g = *rs.GetGeometry();
    gfx::Canvas& c = *rs.GetCanvas();
    const PixelRect& p = g.page;
    const PixelRect& client = g.band;
    const gfx::Rgba desk = Colour(deskColour);
    Fill(c, client.left, client.top, p.left, client.bottom, desk);
    Fill(c, p.right, client.top, client.right, client.bottom, desk);
    Fill(c, p.left, client.top, p.right, p.top, desk);
    Fill(c, p.left, p.bottom, p.right, client.bottom, desk);
}

void CGPView::DrawPageBorder() {
    RenderState& rs = Pass();
    Outline(*rs.GetCanvas(), rs.GetGeometry()->page, 0x000000);
}

void CGPView::DrawPageShadow() {
    RenderState& rs = Pass();
    const ViewGeometry& g = *rs.GetGeometry();
    gfx::Canvas& c = *rs.GetCanvas();
    const gfx::Rgba shadow = Colour(shadowColour);
    Fill(c, g.page.right, g.shadow.top, int64_t(g.shadow.right) - 1, g.shadow.bottom, shadow);
    Fill(c, g.shadow.left, g.page.bottom, g.shadow.right, int64_t(g.shadow.bottom) - 1, shadow);
}

void CGPView::DrawMarginFrame() {
    RenderState& rs = Pass();
    Outline(*rs.GetCanvas(), rs.GetGeometry()->margin, marginFrameColour);
}

void CGPView::DrawLayoutAreaFrame() {
    RenderState& rs = Pass();
    Outline(*rs.GetCanvas(), rs.GetGeometry()->layoutArea, layoutAreaColour);
}

void CGPView::DrawMarkedItemFrame(PixelRect r) { Outline(*Pass().GetCanvas(), r, markedItemColour); }

void CGPView::DrawHandle(PixelPoint p) {
    gfx::Canvas& c = *Pass().GetCanvas();
    c.FillRect({double(p.x), double(p.y), 5, 5}, {1, 1, 1, 1});
    c.StrokeRect({double(p.x), double(p.y), 5, 5}, gfx::Pen{{0, 0, 0, 1}, 1.0});
}

void CGPView::DrawGrid() {
    RenderState& rs = Pass();
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return;
    const AppPreferences& prefs = app->Preferences();
    const ViewGeometry& g = *rs.GetGeometry();
    gfx::Canvas& c = *rs.GetCanvas();
    const gfx::Pen pen{Colour(gridColour), 1.0};
    // The pass scale holds the zoom already: the lines fall on the snap grid.
    const auto spacing = [](int32_t step, double scale) {
        double s = double(step) * scale;
        if (!(s > 0) || !std::isfinite(s)) return 0.0;
        while (s <= 5) s *= 2;
        return s;
    };
    if (const double s = spacing(prefs.gridY, rs.GetScaleY()); s > 0) {
        for (int64_t i = 0;; ++i) {
            const int64_t y = g.page.top + int64_t(double(i) * s);
            if (y >= g.page.bottom) break;
            if (y > g.page.top) c.DrawLine(g.page.left, double(y), g.page.right, double(y), pen);
        }
    }
    if (const double s = spacing(prefs.gridX, rs.GetScaleX()); s > 0) {
        for (int64_t i = 1;; ++i) {
            const int64_t x = g.page.left + int64_t(double(i) * s);
            if (x >= g.page.right) break;
            c.DrawLine(double(x), g.page.top, double(x), g.page.bottom, pen);
        }
    }
}

}  // namespace vx
