#pragma once
#include <cstdint>

#include "host/LayoutView.h"
#include "view/HitTesting.h"

namespace vx {

/// The width and height edits as the tracker reaches them: their integers, and a
/// write that the owner treats as its own change handler would.
class CropEditPort {
public:
    enum Axis { kWidth, kHeight };
    virtual ~CropEditPort() = default;
    /// The whole number the edit holds (0 for none).
    virtual int32_t EditValue(Axis axis) const = 0;
    /// Puts value into the edit as "%d"; the tracker's set-by-program flag is already up.
    virtual void WriteEdit(Axis axis, int32_t value) = 0;
};

/// The crop frame over the crop dialog's preview: pure geometry in preview pixels. It
/// keeps the frame inside the bounds (the preview image), at least the minimum size,
/// optionally at a locked aspect ratio, and reports its size in image pixels to the
/// edits. A drag is BeginTrack, TrackTo for every move, EndTrack.
class CCropTracker {
public:
    static constexpr int kHandleSize = 4;

    CCropTracker(PixelRect bounds, bool adjustable);

    /// Attaches the edits (may be null) and the image pixels per preview pixel.
    void SetConstraints(CropEditPort* edits, double scaleX, double scaleY);
    void SetMinSize(double width, double height);
    /// Off clears the lock and the ratio. On: false when the frame is empty in either
    /// dimension; else the ratio is the edits' two numbers when both are non-zero, the
    /// frame's size otherwise.
    bool SetAspectLock(bool on);
    void SetWidthValue(int32_t pixels);
    void SetHeightValue(int32_t pixels);
    /// Resizes the frame to a width in image pixels from its left edge, held inside the
    /// bounds by moving the left edge; with the lock the height follows.
    void SetWidthFromPixels(int32_t pixels, bool writeEdit);
    void SetHeightFromPixels(int32_t pixels, bool writeEdit);
    PixelRect ClampToBounds(PixelRect rect) const;
    PixelRect ClipToBounds(PixelRect rect) const;
    /// Grows a frame below the minimum back to it (after every tracking).
    void EnforceMinSize();
    /// The hook during tracking: rect is the frame as the mouse made it for hit (HitCode).
    void AdjustRect(int hit, PixelRect& rect);

    /// The hit code (HitCode) under point: handles lie kHandleSize pixels inside the frame.
    int HitTest(PixelPoint point) const;
    void BeginTrack(int hit, PixelPoint point);
    /// A new frame from point, dragged by its bottom-right corner.
    void BeginRubberBand(PixelPoint point);
    void TrackTo(PixelPoint point);
    /// Ends a drag: the frame normalised and at least the minimum size.
    void EndTrack();
    bool Tracking() const { return mTrackHit != kHitNothing; }
    /// Moves the frame by whole preview pixels and back inside the bounds.
    void MoveBy(int32_t dx, int32_t dy);

    const PixelRect& Rect() const { return mRect; }
    void SetRect(const PixelRect& rect) { mRect = rect; }
    const PixelRect& Bounds() const { return mBounds; }
    bool Adjustable() const { return mAdjustable; }
    bool AspectLocked() const { return mAspectLock; }
    int32_t RatioX() const { return mRatioX; }
    int32_t RatioY() const { return mRatioY; }
    double ScaleX() const { return mScaleX; }
    double ScaleY() const { return mScaleY; }
    /// Set just before the tracker writes an edit; the owner's change handler clears it.
    bool& WidthSetByProgram() { return mWidthSetByProgram; }
    bool& HeightSetByProgram() { return mHeightSetByProgram; }
    int32_t WidthValue() const { return mWidthValue; }
    int32_t HeightValue() const { return mHeightValue; }

private:
    PixelRect AspectResize(PixelRect rect, int hit) const;
    void ResizeAxis(bool horizontal, int32_t pixels, bool writeEdit);

    bool mWidthSetByProgram = false;
    bool mHeightSetByProgram = false;
    bool mAdjustable;
    PixelRect mBounds;
    bool mAspectLock = false;
    int32_t mRatioX = 0;
    int32_t mRatioY = 0;
    CropEditPort* mEdits = nullptr;
    double mScaleX = 0;
    double mScaleY = 0;
    int32_t mWidthValue = 0;
    int32_t mHeightValue = 0;
    double mMinWidth = 0;
    double mMinHeight = 0;
    PixelRect mRect;
    // The drag in progress: its handle, the frame and the point it started from.
    int mTrackHit = kHitNothing;
    PixelRect mTrackStart;
    PixelPoint mTrackFrom;
};

}  // namespace vx
