#include "dialogs/CCropTracker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vx {
namespace {

int32_t Trunc(double v) {
    if (!(v == v)) return 0;
    v = std::clamp(v, -2147483647.0, 2147483647.0);
    return int32_t(v);
}

PixelRect Normalized(PixelRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

bool Inside(PixelPoint p, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
}

}  // namespace

CCropTracker::CCropTracker(PixelRect bounds, bool adjustable) : mAdjustable(adjustable), mBounds(bounds) {}

void CCropTracker::SetConstraints(CropEditPort* edits, double scaleX, double scaleY) {
    mEdits = edits;
    mScaleX = scaleX;
    mScaleY = scaleY;
}

void CCropTracker::SetMinSize(double width, double height) {
    mMinWidth = width;
    mMinHeight = height;
}

bool CCropTracker::SetAspectLock(bool on) {
    if (!on) {
        mAspectLock = false;
        mRatioX = mRatioY = 0;
        return true;
    }
    const PixelRect r = Normalized(mRect);
    if (r.right - r.left == 0 || r.bottom - r.top == 0) return false;
    const int32_t w = mEdits ? std::abs(mEdits->EditValue(CropEditPort::kWidth)) : 0;
    const int32_t h = mEdits ? std::abs(mEdits->EditValue(CropEditPort::kHeight)) : 0;
    if (w != 0 && h != 0) {
        mRatioX = w;
        mRatioY = h;
    } else {
        // A ratio of 0 would divide by zero in every resize: take the frame's own.
        mRatioX = r.right - r.left;
        mRatioY = r.bottom - r.top;
    }
    mAspectLock = true;
    return true;
}

void CCropTracker::SetWidthValue(int32_t pixels) {
    mWidthValue = pixels == INT32_MIN ? INT32_MAX : std::abs(pixels);
    if (!mEdits) return;
    mWidthSetByProgram = true;
    mEdits->WriteEdit(CropEditPort::kWidth, mWidthValue);
}

void CCropTracker::SetHeightValue(int32_t pixels) {
    mHeightValue = pixels == INT32_MIN ? INT32_MAX : std::abs(pixels);
    if (!mEdits) return;
    mHeightSetByProgram = true;
    mEdits->WriteEdit(CropEditPort::kHeight, mHeightValue);
}

void CCropTracker::SetWidthFromPixels(int32_t pixels, bool writeEdit) { ResizeAxis(true, pixels, writeEdit); }

void CCropTracker::SetHeightFromPixels(int32_t pixels, bool writeEdit) { ResizeAxis(false, pixels, writeEdit); }

void CCropTracker::ResizeAxis(bool horizontal, int32_t pixels, bool writeEdit) {
    if (pixels == 0) return;
    const double scale = horizontal ? mScaleX : mScaleY;
    int32_t extent = scale > 0 ? std::abs(Trunc(pixels / scale)) : std::abs(pixels);
    extent = std::max(extent, 1);
    int32_t& low = horizontal ? mRect.left : mRect.top;
    int32_t& high = horizontal ? mRect.right : mRect.bottom;
    const int32_t lowBound = horizontal ? mBounds.left : mBounds.top;
    const int32_t highBound = horizontal ? mBounds.right : mBounds.bottom;
    high = low + extent;
    bool clamped = false;
    if (high > highBound) {
        const int32_t excess = high - highBound;
        high = highBound;
        low = std::max(lowBound, low - excess);
        clamped = true;
    }
    const int32_t written = clamped ? Trunc((high - low) * scale) : pixels;
    if (writeEdit) horizontal ? SetWidthValue(written) : SetHeightValue(written);
    if (mAspectLock && mRatioX > 0 && mRatioY > 0) {
        mAspectLock = false;
        if (horizontal)
            SetHeightFromPixels(Trunc(double(written) * mRatioY / mRatioX), true);
        else
            SetWidthFromPixels(Trunc(double(written) * mRatioX / mRatioY), true);
        mAspectLock = true;
    }
}

PixelRect CCropTracker::ClampToBounds(PixelRect r) const {
    if (r.left < mBounds.left) {
        r.right += mBounds.left - r.left;
        r.left = mBounds.left;
    }
    if (r.right > mBounds.right) {
        r.left -= r.right - mBounds.right;
        r.right = mBounds.right;
    }
    if (r.top < mBounds.top) {
        r.bottom += mBounds.top - r.top;
        r.top = mBounds.top;
    }
    if (r.bottom > mBounds.bottom) {
        r.top -= r.bottom - mBounds.bottom;
        r.bottom = mBounds.bottom;
    }
    return Normalized(r);
}

PixelRect CCropTracker::ClipToBounds(PixelRect r) const {
    r.left = std::clamp(r.left, mBounds.left, mBounds.right);
    r.right = std::clamp(r.right, mBounds.left, mBounds.right);
    r.top = std::clamp(r.top, mBounds.top, mBounds.bottom);
    r.bottom = std::clamp(r.bottom, mBounds.top, mBounds.bottom);
    return Normalized(r);
}

PixelRect CCropTracker::AspectResize(PixelRect r, int hit) const {
    const double rx = mRatioX, ry = mRatioY;
    if (rx <= 0 || ry <= 0) return ClipToBounds(r);
    const auto heightOf = [&](int32_t w) { return Trunc(w * ry / rx); };
    const auto widthOf = [&](int32_t h) { return Trunc(h * rx / ry); };
    const PixelRect& b = mBounds;
    switch (hit) {
    case kHitTop:
    case kHitBottom: {
        const bool top = hit == kHitTop;
        if (top && r.top < b.top) r.top = b.top;
        if (!top && r.bottom > b.bottom) r.bottom = b.bottom;
        int32_t h = r.bottom - r.top;
        int32_t w = widthOf(h);
        r.right = r.left + w;
        if (r.right > b.right) {
            r.right = b.right;
            w = r.right - r.left;
            h = heightOf(w);
            if (top)
                r.top = r.bottom - h;
            else
                r.bottom = r.top + h;
        }
        break;
    }
    case kHitLeft:
    case kHitRight: {
        const bool left = hit == kHitLeft;
        if (left && r.left < b.left) r.left = b.left;
        if (!left && r.right > b.right) r.right = b.right;
        int32_t w = r.right - r.left;
        int32_t h = heightOf(w);
        r.bottom = r.top + h;
        if (r.bottom > b.bottom) {
            r.bottom = b.bottom;
            h = r.bottom - r.top;
            w = widthOf(h);
            if (left)
                r.left = r.right - w;
            else
                r.right = r.left + w;
        }
        break;
    }
    case kHitTopLeft:
    case kHitTopRight:
    case kHitBottomRight:
    case kHitBottomLeft: {
        const bool leftMoves = hit == kHitTopLeft || hit == kHitBottomLeft;
        const bool topMoves = hit == kHitTopLeft || hit == kHitTopRight;
        const int sx = leftMoves ? -1 : 1;
        const int sy = topMoves ? -1 : 1;
        const int32_t fx = leftMoves ? r.right : r.left;
        const int32_t fy = topMoves ? r.bottom : r.top;
        int32_t mx = leftMoves ? r.left : r.right;
        int32_t w = (mx - fx) * sx;
        int32_t h = heightOf(w);
        w = widthOf(h);
        mx = fx + sx * w;
        int32_t my = fy + sy * h;
        const bool yPast = topMoves ? my < b.top : my > b.bottom;
        if (yPast) {
            my = topMoves ? b.top : b.bottom;
            h = (my - fy) * sy;
            w = widthOf(h);
            mx = fx + sx * w;
        }
        const bool xPast = leftMoves ? mx < b.left : mx > b.right;
        if (xPast) {
            mx = leftMoves ? b.left : b.right;
            w = (mx - fx) * sx;
            h = heightOf(w);
            my = fy + sy * h;
        }
        (leftMoves ? r.left : r.right) = mx;
        (topMoves ? r.top : r.bottom) = my;
        break;
    }
    default: break;
    }
    return Normalized(r);
}

void CCropTracker::AdjustRect(int hit, PixelRect& rect) {
    if (!mAdjustable) {
        rect = mBounds;
    } else if (hit >= kHitTopLeft && hit <= kHitLeft) {
        rect = mAspectLock ? AspectResize(rect, hit) : ClipToBounds(rect);
    } else if (hit == kHitMiddle) {
        rect = ClampToBounds(rect);
    }
    rect = ClipToBounds(rect);
    mRect = rect;
    if (hit == kHitMiddle) return;
    SetWidthValue(Trunc((mRect.right - mRect.left) * mScaleX));
    SetHeightValue(Trunc((mRect.bottom - mRect.top) * mScaleY));
}

void CCropTracker::EnforceMinSize() {
    mRect = Normalized(mRect);
    const bool locked = mAspectLock && mRatioX > 0 && mRatioY > 0;
    const int32_t width = mRect.right - mRect.left;
    if (width < mMinWidth) {
        const int32_t grow = int32_t(std::ceil(mMinWidth - width));
        if (mRect.right + grow > mBounds.right)
            mRect.left = std::max(mBounds.left, mRect.left - grow);
        else
            mRect.right += grow;
        const int32_t pixels = Trunc((mRect.right - mRect.left) * mScaleX);
        SetWidthValue(pixels);
        if (locked) {
            // The grown width drives the height, so the frame keeps the ratio.
            mAspectLock = false;
            SetHeightFromPixels(Trunc(double(pixels) * mRatioY / mRatioX), true);
            mAspectLock = true;
        }
    }
    const int32_t height = mRect.bottom - mRect.top;
    if (height < mMinHeight) {
        const int32_t grow = int32_t(std::ceil(mMinHeight - height));
        if (mRect.bottom + grow > mBounds.bottom)
            mRect.top = std::max(mBounds.top, mRect.top - grow);
        else
            mRect.bottom += grow;
        const int32_t pixels = Trunc((mRect.bottom - mRect.top) * mScaleY);
        SetHeightValue(pixels);
        if (locked) {
            mAspectLock = false;
            SetWidthFromPixels(Trunc(double(pixels) * mRatioX / mRatioY), true);
            mAspectLock = true;
        }
    }
}

int CCropTracker::HitTest(PixelPoint p) const {
    const PixelRect r = Normalized(mRect);
    if (!Inside(p, r.left, r.top, r.right, r.bottom)) return kHitNothing;
    const int s = kHandleSize;
    const int32_t cx = (r.left + r.right) / 2 - s / 2;
    const int32_t cy = (r.top + r.bottom) / 2 - s / 2;
    if (Inside(p, r.left, r.top, r.left + s, r.top + s)) return kHitTopLeft;
    if (Inside(p, r.right - s, r.top, r.right, r.top + s)) return kHitTopRight;
    if (Inside(p, r.right - s, r.bottom - s, r.right, r.bottom)) return kHitBottomRight;
    if (Inside(p, r.left, r.bottom - s, r.left + s, r.bottom)) return kHitBottomLeft;
    if (Inside(p, cx, r.top, cx + s, r.top + s)) return kHitTop;
    if (Inside(p, r.right - s, cy, r.right, cy + s)) return kHitRight;
    if (Inside(p, cx, r.bottom - s, cx + s, r.bottom)) return kHitBottom;
    if (Inside(p, r.left, cy, r.left + s, cy + s)) return kHitLeft;
    return kHitMiddle;
}

void CCropTracker::BeginTrack(int hit, PixelPoint point) {
    mTrackHit = hit;
    mTrackStart = mRect;
    mTrackFrom = point;
}

void CCropTracker::BeginRubberBand(PixelPoint point) {
    mTrackHit = kHitBottomRight;
    mTrackStart = {point.x, point.y, point.x, point.y};
    mTrackFrom = point;
}

void CCropTracker::TrackTo(PixelPoint point) {
    if (mTrackHit == kHitNothing) return;
    const int32_t dx = point.x - mTrackFrom.x;
    const int32_t dy = point.y - mTrackFrom.y;
    PixelRect r = mTrackStart;
    switch (mTrackHit) {
    case kHitTopLeft: r.left += dx, r.top += dy; break;
    case kHitTopRight: r.right += dx, r.top += dy; break;
    case kHitBottomRight: r.right += dx, r.bottom += dy; break;
    case kHitBottomLeft: r.left += dx, r.bottom += dy; break;
    case kHitTop: r.top += dy; break;
    case kHitRight: r.right += dx; break;
    case kHitBottom: r.bottom += dy; break;
    case kHitLeft: r.left += dx; break;
    case kHitMiddle: r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; break;
    default: return;
    }
    AdjustRect(mTrackHit, r);
}

void CCropTracker::EndTrack() {
    mTrackHit = kHitNothing;
    mRect = Normalized(mRect);
    EnforceMinSize();
}

void CCropTracker::MoveBy(int32_t dx, int32_t dy) {
    mRect = ClampToBounds({mRect.left + dx, mRect.top + dy, mRect.right + dx, mRect.bottom + dy});
}

}  // namespace vx
