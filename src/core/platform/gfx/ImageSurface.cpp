#include "platform/gfx/ImageSurface.h"

#include <cstring>

namespace vx::gfx {

ImageSurface::ImageSurface(int width, int height, bool opaque)
    : mSurface(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height)) {}

ImageSurface ImageSurface::Share() const {
    ImageSurface other;
    if (mSurface) other.mSurface.reset(cairo_surface_reference(mSurface.get()));
    return other;
}

bool ImageSurface::Opaque() const {
    return Valid() && cairo_image_surface_get_format(mSurface.get()) == CAIRO_FORMAT_RGB24;
}

bool ImageSurface::Valid() const {
    return mSurface && cairo_surface_status(mSurface.get()) == CAIRO_STATUS_SUCCESS;
}

int ImageSurface::Width() const { return Valid() ? cairo_image_surface_get_width(mSurface.get()) : 0; }
int ImageSurface::Height() const { return Valid() ? cairo_image_surface_get_height(mSurface.get()) : 0; }
int ImageSurface::Stride() const { return Valid() ? cairo_image_surface_get_stride(mSurface.get()) : 0; }

const uint8_t* ImageSurface::Data() const {
    if (!Valid()) return nullptr;
    cairo_surface_flush(mSurface.get());
    return cairo_image_surface_get_data(mSurface.get());
}

uint32_t ImageSurface::Pixel(int x, int y) const {
    if (!Valid() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    uint32_t v;
    std::memcpy(&v, Data() + size_t(y) * size_t(Stride()) + size_t(x) * 4, 4);
    return v;
}

bool ImageSurface::WritePng(const std::filesystem::path& path) const {
    return Valid() && cairo_surface_write_to_png(mSurface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace vx::gfx
