#include "platform/gfx/LazyImage.h"

#include <cairo.h>

#include <algorithm>

#include "platform/gfx/Canvas.h"

namespace vx::gfx {

void LazyImageKeeper::ReleaseKept() {
    if (!mKept) return;
    LazyImage* kept = mKept;
    mKept = nullptr;
    // cairo keeps its own reference while it still reads the surface.
    mSurface.reset();
    if (kept->mRelease) kept->mRelease();
}

LazyImage::LazyImage(LazyImageKeeper& keeper, int width, int height, Opacity opacity, Acquire acquire,
                     Release release)
    : mKeeper(keeper), mWidth(width), mHeight(height), mOpaque(opacity == Opacity::Opaque),
      mAcquire(std::move(acquire)), mRelease(std::move(release)),
      mPattern(cairo_pattern_create_raster_source(this, mOpaque ? CAIRO_CONTENT_COLOR : CAIRO_CONTENT_COLOR_ALPHA,
                                                  width, height)) {
    cairo_raster_source_pattern_set_acquire(mPattern.get(), &LazyImage::OnAcquire, &LazyImage::OnRelease);
}

LazyImage::LazyImage(LazyImageKeeper& keeper, CairoSurface pixels)
    : mKeeper(keeper), mWidth(cairo_image_surface_get_width(pixels.get())),
      mHeight(cairo_image_surface_get_height(pixels.get())),
      mOpaque(cairo_image_surface_get_format(pixels.get()) == CAIRO_FORMAT_RGB24), mHeld(std::move(pixels)),
      mPattern(cairo_pattern_create_raster_source(this, mOpaque ? CAIRO_CONTENT_COLOR : CAIRO_CONTENT_COLOR_ALPHA,
                                                  mWidth, mHeight)) {
    cairo_raster_source_pattern_set_acquire(mPattern.get(), &LazyImage::OnAcquire, &LazyImage::OnRelease);
}

LazyImage::~LazyImage() {
    if (mKeeper.mKept == this) mKeeper.ReleaseKept();
}

cairo_surface_t* LazyImage::OnAcquire(cairo_pattern_t*, void* data, cairo_surface_t*, const cairo_rectangle_int_t*) {
    auto* self = static_cast<LazyImage*>(data);
    if (self->mHeld) return cairo_surface_reference(self->mHeld.get());
    LazyImageKeeper& keeper = self->mKeeper;
    if (keeper.mKept != self) {
        keeper.ReleaseKept();
        CairoSurface surface(cairo_image_surface_create(self->mOpaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                                        self->mWidth, self->mHeight));
        bool ok = cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS && self->mAcquire;
        if (ok) {
            cairo_surface_flush(surface.get());
            LazyPixels target{cairo_image_surface_get_data(surface.get()), self->mWidth, self->mHeight,
                              cairo_image_surface_get_stride(surface.get())};
            ok = self->mAcquire(target);
            if (ok && !self->mOpaque)
                for (int y = 0; y < target.height; ++y) {
                    uint8_t* row = target.data + size_t(y) * size_t(target.stride);
                    Premultiply(row, row, size_t(target.width));
                }
            cairo_surface_mark_dirty(surface.get());
        }
        if (!ok) {
            keeper.mFailed = true;
            // cairo cannot take a missing source well: it gets a transparent pixel, and
            // the document reports the failure.
            return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        }
        keeper.mSurface = std::move(surface);
        keeper.mKept = self;
    }
    return cairo_surface_reference(keeper.mSurface.get());
}

CairoSurface LazyImage::Read() {
    // The keeper's failure flag keeps reporting earlier failures too.
    const bool earlier = mKeeper.mFailed;
    mKeeper.mFailed = false;
    CairoSurface pixels(OnAcquire(nullptr, this, nullptr, nullptr));
    const bool failed = mKeeper.mFailed;
    mKeeper.mFailed = earlier || failed;
    if (failed) return {};
    return pixels;
}

void LazyImage::OnRelease(cairo_pattern_t*, void*, cairo_surface_t* surface) { cairo_surface_destroy(surface); }

void Canvas::DrawLazyImage(LazyImage& image, const RectD& destination, Filter filter) {
    if (mTrace) {
        char line[96];
        std::snprintf(line, sizeof line, "lazy picture %g %g %g %g", destination.x, destination.y, destination.w,
                      destination.h);
        mTrace->push_back(line);
    }
    if (image.Width() <= 0 || image.Height() <= 0 || destination.w == 0 || destination.h == 0) return;
    cairo_t* cr = mCr.get();
    if (mPictureSink) {
        double x1, y1, x2, y2;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        double xs[4] = {x1, x2, x1, x2}, ys[4] = {y1, y1, y2, y2};
        for (int i = 0; i < 4; ++i) cairo_user_to_device(cr, &xs[i], &ys[i]);
        const double left = std::min({xs[0], xs[1], xs[2], xs[3]}), top = std::min({ys[0], ys[1], ys[2], ys[3]});
        const RectD clip{left, top, std::max({xs[0], xs[1], xs[2], xs[3]}) - left,
                         std::max({ys[0], ys[1], ys[2], ys[3]}) - top};
        cairo_matrix_t toDevice;
        cairo_get_matrix(cr, &toDevice);
        cairo_matrix_translate(&toDevice, destination.x, destination.y);
        cairo_matrix_scale(&toDevice, destination.w / image.Width(), destination.h / image.Height());
        mPictureSink->TakePicture(image, toDevice, clip, filter);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, destination.x, destination.y);
    cairo_scale(cr, destination.w / image.Width(), destination.h / image.Height());
    cairo_set_source(cr, image.Pattern());
    cairo_pattern_set_filter(image.Pattern(), filter == Filter::Nearest ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(image.Pattern(), PictureExtend());
    cairo_rectangle(cr, 0, 0, image.Width(), image.Height());
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace vx::gfx
