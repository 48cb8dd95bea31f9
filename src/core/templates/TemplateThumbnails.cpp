#include "templates/TemplateThumbnails.h"

#include "imaging/DibBuffer.h"
#include "imaging/Thumbnail.h"
#include "platform/gfx/Canvas.h"

namespace vx {
namespace {

gfx::ImageSurface Reduced(DibBuffer* picture, int side) {
    gfx::ImageSurface out(side, side, true);
    if (!out.Valid()) return out;
    gfx::Canvas canvas(out.Native(), gfx::kScreenPixelsPerInch);
    canvas.Clear(gfx::Rgba{1, 1, 1, 1});
    if (!picture) return out;
    const Rect16 r = DibBuffer::GetRect(picture);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    uint8_t* bits = DibBuffer::GetBits(picture);
    if (w <= 0 || h <= 0 || !bits) return out;
    // The decoded preview is opaque: RGB24 ignores its alpha bytes.
    gfx::CairoSurface source(cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, w, h,
                                                            DibBuffer::GetRowBytes(picture)));
    if (cairo_surface_status(source.get()) != CAIRO_STATUS_SUCCESS) return out;
    canvas.DrawSurface(source.get(), {0, 0, double(w), double(h)}, {0, 0, double(side), double(side)},
                       gfx::Filter::Good);
    cairo_surface_flush(out.Native());
    return out;
}

/// The small picture from the medium one: half its side, a quarter of the work of
/// reducing the preview again.
gfx::ImageSurface Halved(const gfx::ImageSurface& medium) {
    gfx::ImageSurface out(TemplateThumbnails::kSmallSide, TemplateThumbnails::kSmallSide, true);
    if (!out.Valid()) return out;
    gfx::Canvas canvas(out.Native(), gfx::kScreenPixelsPerInch);
    canvas.Clear(gfx::Rgba{1, 1, 1, 1});
    if (!medium.Valid()) return out;
    canvas.DrawSurface(medium.Native(), {0, 0, double(medium.Width()), double(medium.Height())},
                       {0, 0, double(TemplateThumbnails::kSmallSide), double(TemplateThumbnails::kSmallSide)},
                       gfx::Filter::Good);
    cairo_surface_flush(out.Native());
    return out;
}

}  // namespace

void TemplateThumbnails::Build(const CTemplateInfoArray& catalog) {
    mMedium.clear();
    mSmall.clear();
    mMedium.reserve(static_cast<size_t>(catalog.GetSize()));
    mSmall.reserve(static_cast<size_t>(catalog.GetSize()));
    for (const TemplateInfo& info : catalog) {
        DibBufferPtr picture;
        if (info.PreviewBytes && !info.PreviewBytes->empty())
            picture = CreateThumbnailDIB(info.PreviewBytes->data(), info.PreviewBytes->size());
        mMedium.push_back(Reduced(picture.get(), kMediumSide));
        mSmall.push_back(Halved(mMedium.back()));
    }
}

const gfx::ImageSurface& TemplateThumbnails::Medium(int index) const {
    if (index < 0 || index >= Count()) return mNone;
    return mMedium[static_cast<size_t>(index)];
}

const gfx::ImageSurface& TemplateThumbnails::Small(int index) const {
    if (index < 0 || index >= Count()) return mNone;
    return mSmall[static_cast<size_t>(index)];
}

}  // namespace vx
