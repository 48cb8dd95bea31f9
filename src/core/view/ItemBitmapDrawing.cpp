#include "view/ItemBitmapDrawing.h"

#include <algorithm>
#include <cmath>
#include <cairo.h>

#include "imaging/DibDrawing.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/WorkingBitmapError.h"
#include "platform/gfx/Picture.h"

namespace vx {
namespace {

// GDI+ took coordinates of 16 bits; cairo's fixed point reaches further, but a
// destination of millions of pixels is cut to what can be seen before it is drawn.
constexpr int32_t kShortMax = 32767;
constexpr int32_t kShortMin = -32768;
constexpr double kFarLimit = 4194304;  // well inside cairo's 24.8 fixed point

bool InShortRange(const PixelRect& r) {
    return r.right <= kShortMax && r.bottom <= kShortMax && r.left >= kShortMin && r.top >= kShortMin &&
           int64_t(r.right) - r.left <= kShortMax && int64_t(r.bottom) - r.top <= kShortMax;
}

gfx::Opacity ItemOpacity(const CImageObj& item, const CImageBitmapLock& lock) {
    // The flag is 1 once a scan found transparency; 0 can also mean "never scanned", so
    // it is asked of the item's scan kept for the bitmap's content.
    if (item.GetTransparency() == 1) return gfx::Opacity::Transparent;
    return item.IsLockedBitmapOpaque(lock) ? gfx::Opacity::Opaque : gfx::Opacity::Transparent;
}

}  // namespace

int DrawItemBitmap(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination,
                   const CImageObj& item, gfx::Filter filter) {
    try {
        CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
        if (!lock.Bitmap()) return 0;
        return DrawImageBufferGdiplus(canvas, source, destination, lock.Bitmap(), filter, ItemOpacity(item, lock));
    } catch (const WorkingBitmapError&) {
        return 0;
    }
}

int DrawItemBitmapClipped(gfx::Canvas& canvas, const PixelRect& destination, const PixelRect& source,
                          const CImageObj& item, gfx::Filter filter) {
    if (InShortRange(destination)) return DrawItemBitmap(canvas, source, destination, item, filter);

    const double dw = double(destination.right) - destination.left;
    const double dh = double(destination.bottom) - destination.top;
    const double sw = double(source.right) - source.left;
    const double sh = double(source.bottom) - source.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return 0;
    double x1, y1, x2, y2;
    cairo_clip_extents(canvas.Native(), &x1, &y1, &x2, &y2);
    x1 = std::max({x1, double(destination.left), -kFarLimit});
    y1 = std::max({y1, double(destination.top), -kFarLimit});
    x2 = std::min({x2, double(destination.right), kFarLimit});
    y2 = std::min({y2, double(destination.bottom), kFarLimit});
    if (x2 <= x1 || y2 <= y1) return 1;  // nothing of it can be seen
    // Whole pixels of the destination, so the cut picture lies exactly where the whole
    // one would have.
    x1 = std::floor(x1);
    y1 = std::floor(y1);
    x2 = std::ceil(x2);
    y2 = std::ceil(y2);
    const gfx::RectD part{x1, y1, x2 - x1, y2 - y1};
    const gfx::RectD from{source.left + (x1 - destination.left) * sw / dw, source.top + (y1 - destination.top) * sh / dh,
                          (x2 - x1) * sw / dw, (y2 - y1) * sh / dh};
    try {
        CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
        const BitmapInfoHeader* header = DibBuffer::GetHeader(lock.Bitmap());
        if (!header || header->bitCount != 32 || header->width < 1 || header->height == 0) return 0;
        const int width = header->width;
        const int height = header->height < 0 ? -header->height : header->height;
        gfx::Picture picture(DibBuffer::GetBits(lock.Bitmap()), width, height, width * 4, ItemOpacity(item, lock));
        if (!picture.Valid()) return 0;
        canvas.DrawPicture(picture, from, part, filter);
        return canvas.Ok() ? 1 : 0;
    } catch (const WorkingBitmapError&) {
        return 0;
    }
}

int DrawItemBitmapRotated(gfx::Canvas& canvas, const PixelRect& itemRect, const PixelRect& clip, double degrees,
                          const CImageObj& item, gfx::Filter filter, bool* failed) {
    try {
        CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
        if (!lock.Bitmap()) return 0;
        return DrawRotatedDib(canvas, itemRect, clip, degrees, DibBuffer::GetHeader(lock.Bitmap()),
                              DibBuffer::GetBits(lock.Bitmap()), filter, failed, ItemOpacity(item, lock));
    } catch (const WorkingBitmapError&) {
        if (failed) *failed = true;
        return 1;
    }
}

}  // namespace vx
