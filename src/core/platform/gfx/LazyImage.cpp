#include "platform/gfx/LazyImage.h"

#include <cairo.h>

#include "platform/gfx/Canvas.h"

namespace vx::gfx {

void LazyImageKeeper::ReleaseKept() {
    if (mKept.owner) mRetired.push_back(std::move(mKept));
    mKept = Held();
    Sweep(false);
}

void LazyImageKeeper::ReleaseAll() {
    ReleaseKept();
    Sweep(true);
}

void LazyImageKeeper::Sweep(bool all) {
    for (size_t i = 0; i < mRetired.size();) {
        cairo_surface_t* s = mRetired[i].picture.Native();
        if (all || !s || cairo_surface_get_reference_count(s) <= 1) {
            Held done = std::move(mRetired[i]);
            mRetired.erase(mRetired.begin() + long(i));
            done.picture = Picture();
            if (done.owner->mRelease) done.owner->mRelease();
        } else {
            ++i;
        }
    }
}

void LazyImageKeeper::Forget(const LazyImage* owner) {
    if (mKept.owner == owner) ReleaseKept();
    for (Held& h : mRetired)
        if (h.owner == owner) {
            Sweep(true);
            break;
        }
}

LazyImage::LazyImage(LazyImageKeeper& keeper, int width, int height, Acquire acquire, Release release)
    : mKeeper(keeper), mWidth(width), mHeight(height), mAcquire(std::move(acquire)), mRelease(std::move(release)),
      mPattern(cairo_pattern_create_raster_source(this, CAIRO_CONTENT_COLOR_ALPHA, width, height)) {
    cairo_raster_source_pattern_set_acquire(mPattern.get(), &LazyImage::OnAcquire, &LazyImage::OnRelease);
}

LazyImage::~LazyImage() { mKeeper.Forget(this); }

cairo_surface_t* LazyImage::OnAcquire(cairo_pattern_t*, void* data, cairo_surface_t*, const cairo_rectangle_int_t*) {
    auto* self = static_cast<LazyImage*>(data);
    LazyImageKeeper& keeper = self->mKeeper;
    if (keeper.mKept.owner != self) {
        keeper.ReleaseKept();
        Picture picture;
        if (!self->mAcquire || !self->mAcquire(picture) || !picture.Valid()) {
            keeper.mFailed = true;
            // cairo cannot take a missing source well: it gets a transparent pixel, and
            // the document reports the failure.
            return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        }
        keeper.mKept = {self, std::move(picture)};
    }
    return cairo_surface_reference(keeper.mKept.picture.Native());
}

void LazyImage::OnRelease(cairo_pattern_t*, void* data, cairo_surface_t* surface) {
    cairo_surface_destroy(surface);
    static_cast<LazyImage*>(data)->mKeeper.Sweep(false);
}

void Canvas::DrawLazyImage(LazyImage& image, const RectD& destination, Filter filter) {
    if (mTrace) {
        char line[96];
        std::snprintf(line, sizeof line, "lazy picture %g %g %g %g", destination.x, destination.y, destination.w,
                      destination.h);
        mTrace->push_back(line);
    }
    if (image.Width() <= 0 || image.Height() <= 0 || destination.w == 0 || destination.h == 0) return;
    cairo_t* cr = mCr.get();
    cairo_save(cr);
    cairo_translate(cr, destination.x, destination.y);
    cairo_scale(cr, destination.w / image.Width(), destination.h / image.Height());
    cairo_set_source(cr, image.Pattern());
    cairo_pattern_set_filter(image.Pattern(), filter == Filter::Nearest ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(image.Pattern(), CAIRO_EXTEND_PAD);
    cairo_rectangle(cr, 0, 0, image.Width(), image.Height());
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace vx::gfx
