#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/gfx/CairoHandles.h"
#include "platform/gfx/Picture.h"

namespace vx::gfx {

/// Keeps the one lazy picture that cairo read last. cairo 1.16 acquires a source
/// several times while it writes a page; keeping the last one acquired reads each
/// picture once, and keeping no more than one bounds the memory. One per document.
class LazyImageKeeper {
public:
    LazyImageKeeper() = default;
    ~LazyImageKeeper() { ReleaseAll(); }
    LazyImageKeeper(const LazyImageKeeper&) = delete;
    LazyImageKeeper& operator=(const LazyImageKeeper&) = delete;

    /// Gives the kept picture back to its owner (at the end of a page) as soon as cairo
    /// holds it no more.
    void ReleaseKept();
    /// Gives every picture back, used or not (the document is finished).
    void ReleaseAll();
    /// Whether an acquire failed since the last ClearFailure.
    bool Failed() const { return mFailed; }
    void ClearFailure() { mFailed = false; }

private:
    friend class LazyImage;
    struct Held {
        class LazyImage* owner = nullptr;
        Picture picture;
    };
    void Sweep(bool all);
    void Forget(const class LazyImage* owner);

    Held mKept;
    // Pictures given up while cairo still held a reference: freed once it lets go, as
    // finishing a surface cairo is reading would end the process.
    std::vector<Held> mRetired;
    bool mFailed = false;
};

/// A picture that is read only while cairo needs its pixels (a raster-source pattern):
/// acquire fills a Picture (false: it cannot be read), release is told when cairo is
/// done with it. It must live until the page that draws it is written.
class LazyImage {
public:
    using Acquire = std::function<bool(Picture&)>;
    using Release = std::function<void()>;

    LazyImage(LazyImageKeeper& keeper, int width, int height, Acquire acquire, Release release);
    ~LazyImage();
    LazyImage(const LazyImage&) = delete;
    LazyImage& operator=(const LazyImage&) = delete;

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    cairo_pattern_t* Pattern() const { return mPattern.get(); }

private:
    friend class LazyImageKeeper;
    static cairo_surface_t* OnAcquire(cairo_pattern_t*, void* data, cairo_surface_t*, const cairo_rectangle_int_t*);
    static void OnRelease(cairo_pattern_t*, void* data, cairo_surface_t* surface);

    LazyImageKeeper& mKeeper;
    int mWidth;
    int mHeight;
    Acquire mAcquire;
    Release mRelease;
    CairoPattern mPattern;
};

}  // namespace vx::gfx
