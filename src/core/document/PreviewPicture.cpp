#include "document/PreviewPicture.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "host/Shell.h"
#include "imaging/JpegEncoder.h"
#include "model/CLayoutSetting.h"
#include "model/GreyConversion.h"
#include "platform/system/Base64.h"
#include "view/LayoutViewCommands.h"
#include "view/PreviewGeometry.h"

namespace vx {
namespace {

template <auto Free> struct Closer {
    template <class T> void operator()(T* p) const noexcept { Free(p); }
};
using CairoSurface = std::unique_ptr<cairo_surface_t, Closer<cairo_surface_destroy>>;
using Cairo = std::unique_ptr<cairo_t, Closer<cairo_destroy>>;

constexpr double kBackground = 170.0 / 255.0;  // 0xAAAAAA
constexpr double kRollStrip = 115;             // the roll mark's stretched part
constexpr double kRollEnd = 12;                // and its end piece

bool IsTemplateWithoutImages(const CLayoutSetting& l) {
    return l.GetTemplate() == 1 && l.GetSaveTemplateWithImages() == 0;
}

/// The smooth reduction of the page into its place; the one spot where the preview
/// scales pixels.
bool ReducePageInto(cairo_t* cr, DibBuffer* page, const PreviewPlacement& at) {
    const Rect16 r = DibBuffer::GetRect(page);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    uint8_t* bits = DibBuffer::GetBits(page);
    if (w <= 0 || h <= 0 || !bits) return false;
    // The page is opaque: RGB24 ignores whatever its alpha bytes hold.
    CairoSurface source(cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, w, h,
                                                            DibBuffer::GetRowBytes(page)));
    if (cairo_surface_status(source.get()) != CAIRO_STATUS_SUCCESS) return false;
    cairo_save(cr);
    cairo_rectangle(cr, at.x, at.y, at.width, at.height);
    cairo_clip(cr);
    cairo_translate(cr, at.x, at.y);
    cairo_scale(cr, double(at.width) / w, double(at.height) / h);
    cairo_set_source_surface(cr, source.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
    return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

/// The rest of the roll in the strip beyond the page: a light band as wide as the page
/// (the mark's 115-pixel part stretched along it) whose far end, 12/115 of it, is dark.
void DrawRollMark(cairo_t* cr, const PreviewPlacement& at, bool portrait) {
    const double along = portrait ? kPreviewSide - (at.y + at.height) : kPreviewSide - (at.x + at.width);
    const double side = portrait ? at.width : at.height;
    if (along <= 0 || side <= 0) return;
    const double end = std::max(1.0, std::round(side * kRollEnd / kRollStrip));
    cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
    if (portrait) cairo_rectangle(cr, at.x, at.y + at.height, side, along);
    else cairo_rectangle(cr, at.x + at.width, at.y, along, side);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.45, 0.45, 0.45);
    if (portrait) cairo_rectangle(cr, at.x + side - end, at.y + at.height, end, along);
    else cairo_rectangle(cr, at.x + at.width, at.y + side - end, along, end);
    cairo_fill(cr);
}

}  // namespace

std::optional<PreviewPlacement> PlacePreviewPage(int pageWidth, int pageHeight, bool portrait, bool banner) {
    if (pageWidth <= 0 || pageHeight <= 0) return std::nullopt;
    const double w = pageWidth;
    const double h = pageHeight;
    const double along = portrait ? h : w;
    const double across = portrait ? w : h;
    const double scale = banner ? kPreviewSide / (along + across * 14.0 / 115.0) : kPreviewSide / along;
    const double factor = along > across ? 1.0 : 0.7;
    const double rounding = banner ? 0.5 : 0.0;
    PreviewPlacement p;
    p.width = int(w * scale * factor + rounding);
    p.height = int(h * scale * factor + rounding);
    if (p.width <= 0 || p.height <= 0) return std::nullopt;
    if (portrait) p.x = (kPreviewSide - p.width) / 2;
    else p.y = (kPreviewSide - p.height) / 2;
    return p;
}

DibBufferPtr DrawPlainPreviewPage(const CLayoutSetting& layout, const ViewGeometry& geometry) {
    const int w = geometry.page.right - geometry.page.left;
    const int h = geometry.page.bottom - geometry.page.top;
    if (w <= 0 || h <= 0 || w > DibBuffer::kMaxSide || h > DibBuffer::kMaxSide) return nullptr;
    Rect16 rect;
    rect.Set(0, 0, int16_t(w), int16_t(h));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 0, rect) != 0) return nullptr;
    DibBufferPtr page(raw);
    ColorRef c = layout.GetPaperColor();
    if (layout.GetColor() != 2) c = GreyFromRGB(c);
    uint64_t bytes = 0;
    uint8_t* bits = DibBuffer::GetBitsAndCount(page.get(), &bytes);
    const uint8_t pixel[4] = {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 255};
    for (uint64_t i = 0; i + 4 <= bytes; i += 4) std::memcpy(bits + i, pixel, 4);
    return page;
}

DibBufferPtr DrawPreviewPage(CLayoutSetting& layout, const ViewGeometry& geometry, int mode) {
    LayoutView* view = FindLayoutView(layout);
    if (auto* commands = dynamic_cast<LayoutViewCommands*>(view)) return commands->DrawPageOffscreen(mode, geometry);
    return DrawPlainPreviewPage(layout, geometry);
}

std::optional<std::vector<uint8_t>> ComposePreviewPicture(CLayoutSetting& layout) {
    PixelPoint ppi{96, 96};
    if (LayoutView* view = FindLayoutView(layout)) ppi = view->GetPixelsPerInch();
    std::optional<ViewGeometry> geometry = PreviewViewGeometry(layout, ppi.x / 360.0, ppi.y / 360.0);
    if (!geometry) return std::nullopt;
    const int mode = IsTemplateWithoutImages(layout) ? 4 : 3;
    DibBufferPtr page = DrawPreviewPage(layout, *geometry, mode);
    if (!page) return std::nullopt;

    const bool portrait = layout.GetOrientation() == 1;
    const bool banner = layout.GetBanner() != 0;
    const Rect16 r = DibBuffer::GetRect(page.get());
    std::optional<PreviewPlacement> at = PlacePreviewPage(r.right - r.left, r.bottom - r.top, portrait, banner);
    if (!at) return std::nullopt;

    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPreviewSide, kPreviewSide));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    Cairo cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), kBackground, kBackground, kBackground);
    cairo_paint(cr.get());
    if (banner) DrawRollMark(cr.get(), *at, portrait);
    if (!ReducePageInto(cr.get(), page.get(), *at)) return std::nullopt;
    cr.reset();
    cairo_surface_flush(surface.get());

    const uint8_t* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    std::vector<uint8_t> out(size_t(kPreviewSide) * kPreviewSide * 4);
    for (int y = 0; y < kPreviewSide; ++y) {
        const uint8_t* row = data + size_t(y) * size_t(stride);
        uint8_t* o = &out[size_t(y) * kPreviewSide * 4];
        for (int x = 0; x < kPreviewSide; ++x) {
            // cairo keeps B, G, R, X in memory on little-endian machines.
            const uint32_t px = reinterpret_cast<const uint32_t*>(row)[x];
            o[x * 4 + 0] = uint8_t(px >> 16);
            o[x * 4 + 1] = uint8_t(px >> 8);
            o[x * 4 + 2] = uint8_t(px);
            o[x * 4 + 3] = 255;
        }
    }
    return out;
}

std::string MakePreviewText(CLayoutSetting& layout) {
    std::optional<std::vector<uint8_t>> picture;
    try {
        picture = ComposePreviewPicture(layout);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (!picture) return {};
    std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(kPreviewSide, kPreviewSide, picture->data());
    return jpeg ? Base64Encode(*jpeg) : std::string();
}

}  // namespace vx
