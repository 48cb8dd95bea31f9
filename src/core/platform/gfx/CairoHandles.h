#pragma once
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

namespace vx::gfx {

template <auto Free>
struct Closer {
    template <class T>
    void operator()(T* p) const noexcept { Free(p); }
};
using CairoPtr = std::unique_ptr<cairo_t, Closer<cairo_destroy>>;
using CairoSurface = std::unique_ptr<cairo_surface_t, Closer<cairo_surface_destroy>>;
using CairoPattern = std::unique_ptr<cairo_pattern_t, Closer<cairo_pattern_destroy>>;
using PangoLayoutPtr = std::unique_ptr<PangoLayout, Closer<g_object_unref>>;
using PangoContextPtr = std::unique_ptr<PangoContext, Closer<g_object_unref>>;
using FontDescription = std::unique_ptr<PangoFontDescription, Closer<pango_font_description_free>>;

}  // namespace vx::gfx
