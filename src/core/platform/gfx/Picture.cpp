#include "platform/gfx/Picture.h"

#include <cstring>

namespace vx::gfx {

bool IsOpaque(const uint8_t* bgra, int width, int height, int stride) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bgra + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x)
            if (row[size_t(x) * 4 + 3] != 255) return false;
    }
    return true;
}

void Premultiply(const uint8_t* src, uint8_t* dst, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i, src += 4, dst += 4) {
        const uint32_t a = src[3];
        if (a == 255) {
            if (dst != src) std::memcpy(dst, src, 4);
            continue;
        }
        // (c × a + 128) × 257 >> 16 is c × a / 255 rounded, for every c and a.
        for (int c = 0; c < 3; ++c) dst[c] = uint8_t(((uint32_t(src[c]) * a + 128) * 257) >> 16);
        dst[3] = uint8_t(a);
    }
}

Picture::Picture(const uint8_t* bgra, int width, int height, int stride, Opacity opacity)
    : mWidth(width), mHeight(height) {
    if (!bgra || width <= 0 || height <= 0) return;
    const bool opaque = opacity == Opacity::Opaque ||
                        (opacity == Opacity::Scan && IsOpaque(bgra, width, height, stride));
    if (opaque && stride == cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width)) {
        // cairo never writes to a source surface.
        mSurface.reset(cairo_image_surface_create_for_data(const_cast<uint8_t*>(bgra), CAIRO_FORMAT_RGB24, width,
                                                           height, stride));
        mWrapped = true;
        return;
    }
    mSurface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(mSurface.get()) != CAIRO_STATUS_SUCCESS) return;
    cairo_surface_flush(mSurface.get());
    uint8_t* out = cairo_image_surface_get_data(mSurface.get());
    const int outStride = cairo_image_surface_get_stride(mSurface.get());
    if (opaque) {
        for (int y = 0; y < height; ++y)
            std::memcpy(out + size_t(y) * size_t(outStride), bgra + size_t(y) * size_t(stride), size_t(width) * 4);
    } else if (outStride == stride) {
        Premultiply(bgra, out, size_t(width) * size_t(height));
    } else {
        for (int y = 0; y < height; ++y)
            Premultiply(bgra + size_t(y) * size_t(stride), out + size_t(y) * size_t(outStride), size_t(width));
    }
    cairo_surface_mark_dirty(mSurface.get());
}

Picture::~Picture() { Finish(); }

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        Finish();
        mSurface = std::move(other.mSurface);
        mWrapped = other.mWrapped;
        mWidth = other.mWidth;
        mHeight = other.mHeight;
    }
    return *this;
}

bool Picture::Valid() const { return mSurface && cairo_surface_status(mSurface.get()) == CAIRO_STATUS_SUCCESS; }

void Picture::Finish() {
    // A surface that somebody still references (a PDF page not yet written) must not
    // read the caller's pixels after they are gone: finishing detaches it now.
    if (mSurface && mWrapped) cairo_surface_finish(mSurface.get());
    mSurface.reset();
}

}  // namespace vx::gfx
