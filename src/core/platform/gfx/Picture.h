#pragma once
#include <cstdint>

#include "platform/gfx/CairoHandles.h"

namespace vx::gfx {

/// Whether a picture's alpha matters: known opaque, known transparent, or to be found
/// by looking at every alpha byte.
enum class Opacity { Opaque, Transparent, Scan };

/// True when every alpha byte of the straight-alpha B,G,R,A rows is 255.
bool IsOpaque(const uint8_t* bgra, int width, int height, int stride);

/// Premultiplies straight-alpha B,G,R,A pixels from src into dst (which may be src),
/// each channel rounded to the nearest of c × a / 255.
void Premultiply(const uint8_t* src, uint8_t* dst, size_t pixels);

/// A picture cairo can paint, made from straight-alpha B,G,R,A pixels. Opaque pixels
/// are wrapped in place (cairo RGB24 ignores the alpha byte) and must outlive the
/// picture; others are premultiplied into a copy that the picture owns.
class Picture {
public:
    Picture() = default;
    Picture(const uint8_t* bgra, int width, int height, int stride, Opacity opacity);
    ~Picture();
    Picture(Picture&&) noexcept = default;
    Picture& operator=(Picture&&) noexcept;

    bool Valid() const;
    bool Wrapped() const { return mWrapped; }
    cairo_surface_t* Native() const { return mSurface.get(); }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

private:
    void Finish();

    CairoSurface mSurface;
    bool mWrapped = false;
    int mWidth = 0;
    int mHeight = 0;
};

}  // namespace vx::gfx
