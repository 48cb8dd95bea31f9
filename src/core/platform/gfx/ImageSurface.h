#pragma once
#include <cstdint>
#include <filesystem>

#include "platform/gfx/CairoHandles.h"

namespace vx::gfx {

/// Screen pixels per inch: logical pixels of the window, one off-screen pixel each.
inline constexpr double kScreenPixelsPerInch = 96.0;

/// An owned cairo image surface (ARGB32, premultiplied, B,G,R,A bytes on little-endian).
class ImageSurface {
public:
    ImageSurface() = default;
    /// A cleared surface; Valid() is false when cairo could not make it. An opaque one
    /// (RGB24) has no alpha to blend when it is copied to a window.
    ImageSurface(int width, int height, bool opaque = false);
    /// Another owner of the same pixels.
    ImageSurface Share() const;

    bool Valid() const;
    cairo_surface_t* Native() const { return mSurface.get(); }
    int Width() const;
    int Height() const;
    int Stride() const;
    /// The bytes after drawing (flushed).
    const uint8_t* Data() const;

    /// 0xAARRGGBB of one pixel, premultiplied as stored (an opaque surface leaves the top
    /// byte undefined); 0 outside.
    uint32_t Pixel(int x, int y) const;
    /// Writes a PNG; false on any error.
    bool WritePng(const std::filesystem::path& path) const;

    /// Whether the pixels are opaque (RGB24).
    bool Opaque() const;

private:
    CairoSurface mSurface;
};

}  // namespace vx::gfx
