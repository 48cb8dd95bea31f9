#include "view/ItemTracker.h"

#include <algorithm>
#include <cmath>

#include "model/CImageObj.h"
#include "model/PageGeometry.h"
#include "view/HitTesting.h"
#include "view/ViewMapping.h"

namespace vx {
namespace {

// The handle offsets from their points, as the view draws them (rows 1 to 8).
constexpr PixelPoint kHandleOffsets[8] = {{-3, -3}, {-2, -3}, {-2, -3}, {-2, -2},
                                          {-2, -2}, {-2, -2}, {-3, -2}, {-3, -2}};
// Corners before edges, where the squares of a small rectangle overlap.
constexpr int kHandleOrder[8] = {1, 3, 5, 7, 2, 4, 6, 8};

int32_t Truncated(double v) {
    v = std::trunc(v);
    if (!(v > double(INT32_MIN))) return INT32_MIN;
    if (!(v < double(INT32_MAX))) return INT32_MAX;
    return int32_t(v);
}

}  // namespace

PixelPoint RectHandleSquare(const PixelRect& r, int index) {
    index = std::clamp(index, 1, 8);
    const int32_t mx = ClampToInt32(int64_t(r.left) + (int64_t(r.right) - r.left) / 2);
    const int32_t my = ClampToInt32(int64_t(r.top) + (int64_t(r.bottom) - r.top) / 2);
    const int32_t xs[8] = {r.left, mx, r.right, r.right, r.right, mx, r.left, r.left};
    const int32_t ys[8] = {r.top, r.top, r.top, my, r.bottom, r.bottom, r.bottom, my};
    const PixelPoint off = kHandleOffsets[index - 1];
    return {ClampToInt32(int64_t(xs[index - 1]) + off.x), ClampToInt32(int64_t(ys[index - 1]) + off.y)};
}

int HandleHitCode(int index) {
    static constexpr int kCodes[8] = {kHitTopLeft, kHitTop,         kHitTopRight,   kHitRight,
                                      kHitBottomRight, kHitBottom, kHitBottomLeft, kHitLeft};
    return index >= 1 && index <= 8 ? kCodes[index - 1] : kHitNothing;
}

ItemTracker::ItemTracker(const PixelRect& rect) : mRect(rect) {
    if (mRect.right < mRect.left) std::swap(mRect.left, mRect.right);
    if (mRect.bottom < mRect.top) std::swap(mRect.top, mRect.bottom);
    mRect.right = ClampToInt32(std::max<int64_t>(mRect.right, int64_t(mRect.left) + kMinSize));
    mRect.bottom = ClampToInt32(std::max<int64_t>(mRect.bottom, int64_t(mRect.top) + kMinSize));
}

PixelRect ItemTracker::TrueRect() const {
    return {ClampToInt32(int64_t(mRect.left) - 3), ClampToInt32(int64_t(mRect.top) - 3),
            ClampToInt32(int64_t(mRect.right) + 3), ClampToInt32(int64_t(mRect.bottom) + 3)};
}

PixelPoint ItemTracker::HandleSquare(int index) const { return RectHandleSquare(mRect, index); }

int ItemTracker::HitTest(PixelPoint p) const {
    for (int index : kHandleOrder) {
        const PixelPoint s = HandleSquare(index);
        if (p.x >= s.x && int64_t(p.x) < int64_t(s.x) + kHandleSize && p.y >= s.y &&
            int64_t(p.y) < int64_t(s.y) + kHandleSize)
            return HandleHitCode(index);
    }
    if (p.x >= mRect.left && p.x < mRect.right && p.y >= mRect.top && p.y < mRect.bottom) return kHitMiddle;
    return kHitNothing;
}

ItemTracker SetupObjectTracker(const ViewMapping& m, const CLayoutObj& item, PixelRect* trueRect) {
    // The drawer's rectangle, so that the handles lie where the view draws them.
    const double xs = m.scale.XPerUnit(), ys = m.scale.YPerUnit();
    const LayoutRect r = GetItemRectByKind(item);
    const LayoutPoint size = GetItemSize(item);
    const int64_t pageTop = int64_t(m.PageOf(item)) * std::max(m.paperHeight, 0);
    const int32_t left = Truncated(r.left * xs);
    const int32_t top = Truncated(double(r.top - pageTop) * ys);
    const int64_t dx = int64_t(m.pageOffset.x) - m.scroll.x, dy = int64_t(m.pageOffset.y) - m.scroll.y;
    const PixelRect client{ClampToInt32(left + dx), ClampToInt32(top + dy),
                           ClampToInt32(Truncated(left + xs * size.x) + dx),
                           ClampToInt32(Truncated(top + ys * size.y) + dy)};
    ItemTracker tracker(client);
    if (trueRect) {
        PixelRect t = tracker.TrueRect();
        if (item.GetKind() == kKindLine || item.GetKind() == kKindText)
            t = {ClampToInt32(int64_t(t.left) - 2), ClampToInt32(int64_t(t.top) - 2),
                 ClampToInt32(int64_t(t.right) + 2), ClampToInt32(int64_t(t.bottom) + 2)};
        *trueRect = t;
    }
    return tracker;
}

PixelPoint GetMinTrackSize(const ViewMapping& m, const CLayoutObj& item) {
    LayoutRect frame;
    if (item.GetKind() == kKindImage) frame = static_cast<const CImageObj&>(item).GetFrame();
    const int32_t w = m.scale.ToPixelsX(int64_t(frame.left) + frame.right + 142);
    const int32_t h = m.scale.ToPixelsY(int64_t(frame.top) + frame.bottom + 142);
    return {std::max(w, 1), std::max(h, 1)};
}

}  // namespace vx
