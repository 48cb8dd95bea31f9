#pragma once
#include <cstdint>
#include <functional>

#include "platform/gfx/CairoHandles.h"
#include "platform/gfx/Picture.h"

namespace vx::gfx {

class LazyImage;

/// Keeps the one lazy picture that cairo read last. cairo 1.16 acquires a source
/// several times while it writes a page; keeping the last one acquired reads each
/// picture about once, and keeping no more than one bounds the memory. One per document.
class LazyImageKeeper {
public:
    LazyImageKeeper() = default;
    ~LazyImageKeeper() { ReleaseKept(); }
    LazyImageKeeper(const LazyImageKeeper&) = delete;
    LazyImageKeeper& operator=(const LazyImageKeeper&) = delete;

    /// Gives the kept picture back to its owner (at the end of a page).
    void ReleaseKept();
    /// Whether an acquire failed since the last ClearFailure.
    bool Failed() const { return mFailed; }
    void ClearFailure() { mFailed = false; }

private:
    friend class LazyImage;
    LazyImage* mKept = nullptr;
    CairoSurface mSurface;
    bool mFailed = false;
};

/// Where a lazy picture's acquire writes its pixels: straight-alpha B,G,R,A rows.
struct LazyPixels {
    uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

/// A picture that is read only while cairo needs its pixels (a raster-source pattern):
/// acquire writes them into memory cairo owns (false: they cannot be read), release is
/// told when they are given up. cairo copies a picture that wraps the caller's memory
/// and keeps the copy to the end of the page; its own memory it just frees. It must
/// live until the page that draws it is written.
class LazyImage {
public:
    using Acquire = std::function<bool(const LazyPixels&)>;
    using Release = std::function<void()>;

    LazyImage(LazyImageKeeper& keeper, int width, int height, Opacity opacity, Acquire acquire, Release release);
    /// A picture whose pixels are in memory already (an image surface): cairo gets that
    /// surface each time it asks, with nothing copied, and never keeps it beyond the page.
    LazyImage(LazyImageKeeper& keeper, CairoSurface pixels);
    ~LazyImage();
    LazyImage(const LazyImage&) = delete;
    LazyImage& operator=(const LazyImage&) = delete;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    bool Opaque() const { return mOpaque; }
    cairo_pattern_t* Pattern() const { return mPattern.get(); }
    /// The pixels for a writer that reads them itself: an image surface (RGB24, or
    /// premultiplied ARGB32), kept as cairo's reads are; null when they cannot be read.
    CairoSurface Read();

private:
    friend class LazyImageKeeper;
    static cairo_surface_t* OnAcquire(cairo_pattern_t*, void* data, cairo_surface_t*, const cairo_rectangle_int_t*);
    static void OnRelease(cairo_pattern_t*, void* data, cairo_surface_t* surface);

    LazyImageKeeper& mKeeper;
    int mWidth;
    int mHeight;
    bool mOpaque;
    Acquire mAcquire;
    Release mRelease;
    CairoSurface mHeld;
    CairoPattern mPattern;
};

}  // namespace vx::gfx
