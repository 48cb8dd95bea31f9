// The rulers along the top and left of the layout view's client area.
#include <algorithm>
#include <string>

#include "model/CLayoutSetting.h"
#include "platform/gfx/Canvas.h"
#include "platform/system/StringTable.h"
#include "view/CGPView.h"
#include "view/RenderState.h"
#include "view/RulerTicks.h"
#include "view/ViewZoom.h"

namespace vx {
namespace {

gfx::Rgba Colour(ColorRef c) { return gfx::Rgba::FromColorRef(c & 0xFFFFFF); }

void Fill(gfx::Canvas& c, double left, double top, double width, double height, gfx::Rgba colour) {
    if (width <= 0 || height <= 0) return;
    c.FillRect({left, top, width, height}, colour);
}

// A 1-pixel line along x or y from (x1, y1) up to but without (x2, y2), as GDI draws
// it; filled, so that both ends are whole pixels.
void Line(gfx::Canvas& c, double x1, double y1, double x2, double y2, gfx::Rgba colour) {
    if (x1 == x2) {
        const double top = y2 < y1 ? y2 + 1 : y1, bottom = y2 < y1 ? y1 + 1 : y2;
        Fill(c, x1, top, 1, bottom - top, colour);
    } else {
        const double left = x2 < x1 ? x2 + 1 : x1, right = x2 < x1 ? x1 + 1 : x2;
        Fill(c, left, y1, right - left, 1, colour);
    }
}

struct Tools {
    gfx::Pen text;
    gfx::Rgba ink, highlight, mark;
    gfx::Rgba face, label;
    gfx::Font font;
};

// The horizontal ruler's span and ticks over the page, in the band at client top.
void HorizontalTicks(gfx::Canvas& c, const Tools& t, const PixelRect& client, const PixelRect& page, bool mm,
                     int32_t paperUnits, double zoom) {
    const double top = client.top, bottom = client.top + kRulerBand;
    c.StrokeRect({double(page.left), top, double(page.right) - page.left, double(kRulerBand)}, t.text);
    Line(c, page.left + 1, top + 1, page.right - 2, top + 1, t.highlight);
    gfx::TextFormat format;
    format.align = gfx::TextAlign::Far;
    int32_t previous = page.left;
    for (const RulerTick& tick : ComputeRulerTicks(mm, paperUnits, page.left, page.right, zoom)) {
        const int length = kRulerTickLengths[size_t(tick.level - 1)];
        Line(c, tick.position, bottom, tick.position, bottom - length, t.ink);
        if (tick.level != 1) continue;
        Line(c, tick.position + 1, bottom - 1, tick.position + 1, bottom - length, t.highlight);
        c.DrawText(std::to_string(tick.label), t.font, format,
                   {double(previous), top, double(tick.position) - previous, double(kRulerBand)}, t.label);
        previous = tick.position;
    }
}

// The vertical ruler's span and ticks; labels read upwards from their tick.
void VerticalTicks(gfx::Canvas& c, const Tools& t, const PixelRect& client, const PixelRect& page, bool mm,
                   int32_t paperUnits, double zoom) {
    const double left = client.left, right = client.left + kRulerBand;
    c.StrokeRect({left, double(page.top), double(kRulerBand), double(page.bottom) - page.top}, t.text);
    Line(c, left + 1, page.top + 1, left + 1, page.bottom - 2, t.highlight);
    gfx::TextFormat format;
    format.align = gfx::TextAlign::Near;
    int32_t previous = page.top;
    for (const RulerTick& tick : ComputeRulerTicks(mm, paperUnits, page.top, page.bottom, zoom)) {
        const int length = kRulerTickLengths[size_t(tick.level - 1)];
        Line(c, right, tick.position, right - length, tick.position, t.ink);
        if (tick.level != 1) continue;
        Line(c, right - 1, tick.position + 1, right - length, tick.position + 1, t.highlight);
        c.Save();
        // Turned a quarter to the left: x runs up from the tick, y across the band.
        c.Translate(left, tick.position);
        c.RotateAbout(0, 0, -90);
        c.DrawText(std::to_string(tick.label), t.font, format, {0, 0, double(tick.position) - previous, double(kRulerBand)},
                   t.label);
        c.Restore();
        previous = tick.position;
    }
}

}  // namespace

void CGPView::DrawRulers() {
    RenderState& rs = Pass();
    const ViewGeometry* g = rs.GetGeometry();
    gfx::Canvas* canvas = rs.GetCanvas();
    if (!g || !canvas || !mLayout) return;
    gfx::Canvas& c = *canvas;
    const gfx::SystemColours& system = gfx::GetSystemColours();
    Tools t{{Colour(system.buttonText), 1.0},
            Colour(system.buttonText),
            Colour(system.buttonHighlight),
            gfx::Rgba{1, 0, 0, 1},
            Colour(system.buttonFace),
            gfx::Rgba{0, 0, 0, 1},
            {}};
    t.font.family = LoadString(IDS_SUBSTITUTE_FONT);
    t.font.size = 10;
    const bool mm = mLayout->GetUnit() == 1;
    const LayoutPoint paper = mLayout->GetPaper();
    const PixelRect& client = g->band;
    const PixelRect& page = g->page;

    Fill(c, client.left, client.top, double(client.right) - client.left, kRulerBand, t.face);
    c.StrokeRect({double(client.left), double(client.top), double(client.right) - client.left, double(kRulerBand)}, t.text);
    Fill(c, client.left, client.top, kRulerBand, double(client.bottom) - client.top, t.face);
    c.StrokeRect({double(client.left), double(client.top), double(kRulerBand), double(client.bottom) - client.top}, t.text);

    HorizontalTicks(c, t, client, page, mm, paper.x, g->zoom);
    VerticalTicks(c, t, client, page, mm, paper.y, g->zoom);

    if (rulerPointer) {
        Line(c, rulerPointer->x, client.top + 1, rulerPointer->x, client.top + 19, t.mark);
        Line(c, client.left + 1, rulerPointer->y, client.left + 19, rulerPointer->y, t.mark);
    }

    Fill(c, client.left, client.top, kRulerBand, kRulerBand, t.face);
    c.StrokeRect({double(client.left), double(client.top), double(kRulerBand), double(kRulerBand)}, t.text);
    Line(c, client.left + 1, client.top + 1, client.left + 19, client.top + 1, t.highlight);
    Line(c, client.left + 1, client.top + 1, client.left + 1, client.top + 19, t.highlight);
}

}  // namespace vx
