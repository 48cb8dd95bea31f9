#include "ui/SurfacePainter.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/settings.h>
#include <wx/window.h>

#include <cairo.h>

#include <memory>

#include "platform/gfx/Colour.h"

namespace vx {
namespace {
uint32_t ToColorRef(const wxColour& c) { return uint32_t(c.Red()) | (uint32_t(c.Green()) << 8) | (uint32_t(c.Blue()) << 16); }
}  // namespace

void PrepareSurfaceWindow(wxWindow& window) { window.SetBackgroundStyle(wxBG_STYLE_PAINT); }

void PaintSurface(wxDC& dc, const gfx::ImageSurface& surface, int x, int y) {
    if (!surface.Valid()) return;
    std::unique_ptr<wxGraphicsContext> gc;
    if (auto* window = dynamic_cast<wxWindowDC*>(&dc)) gc.reset(wxGraphicsContext::Create(*window));
    else if (auto* memory = dynamic_cast<wxMemoryDC*>(&dc)) gc.reset(wxGraphicsContext::Create(*memory));
    if (!gc) return;
    auto* cr = static_cast<cairo_t*>(gc->GetNativeContext());
    if (!cr) return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface.Native(), x, y);
    cairo_rectangle(cr, x, y, surface.Width(), surface.Height());
    cairo_fill(cr);
    cairo_restore(cr);
}

void FillSystemColours() {
    gfx::SystemColours colours;
    colours.buttonFace = ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    colours.buttonText = ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    colours.buttonHighlight = ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    gfx::SetSystemColours(colours);
}

}  // namespace vx
