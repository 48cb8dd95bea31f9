#include "view/RenderImageObject.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "imaging/DibBuffer.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageGeometry.h"
#include "model/WorkingBitmapError.h"
#include "platform/gfx/Canvas.h"
#include "view/FrameBand.h"
#include "view/ItemBitmapDrawing.h"
#include "view/PassColours.h"

namespace vx {
namespace {

int32_t Round(double v) {
    if (!(v == v)) return 0;
    return ClampToInt32(std::llround(std::clamp(v, -2147483648.0, 2147483647.0)));
}

int64_t Width(const PixelRect& r) { return int64_t(r.right) - r.left; }
int64_t Height(const PixelRect& r) { return int64_t(r.bottom) - r.top; }
bool Empty(const PixelRect& r) { return Width(r) <= 0 || Height(r) <= 0; }

gfx::RectD ToRect(const PixelRect& r) { return {double(r.left), double(r.top), double(Width(r)), double(Height(r))}; }

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The largest rectangle of the proportions w : h centred in box.
PixelRect Letterbox(const PixelRect& box, double w, double h) {
    if (w <= 0 || h <= 0 || Empty(box)) return box;
    const double bw = double(Width(box));
    const double bh = double(Height(box));
    PixelRect r = box;
    if (bw * h > bh * w) {  // the box is wider: bars left and right
        const int32_t width = Round(bh * w / h);
        r.left = box.left + int32_t((bw - width) / 2);
        r.right = r.left + width;
    } else {
        const int32_t height = Round(bw * h / w);
        r.top = box.top + int32_t((bh - height) / 2);
        r.bottom = r.top + height;
    }
    return r;
}

// A crop of zero width or height gets one pixel, inside the bitmap where possible.
void Widen(int32_t& lo, int32_t& hi, int32_t size) {
    if (hi > lo) return;
    if (lo + 1 <= size) {
        hi = lo + 1;
    } else {
        lo = std::max(0, hi - 1);
        hi = lo + 1;
    }
}

// The crop rectangle, in displayed orientation, mapped into a rectangle of w x h.
std::optional<PixelRect> CropIn(const CImageObj& item, double x, double y, double w, double h) {
    LayoutRect image, crop;
    GetRotatedCropRects(item, image, crop);
    const double iw = double(image.right) - image.left;
    const double ih = double(image.bottom) - image.top;
    if (iw <= 0 || ih <= 0) return std::nullopt;
    return PixelRect{Round(x + crop.left * w / iw), Round(y + crop.top * h / ih), Round(x + crop.right * w / iw),
                     Round(y + crop.bottom * h / ih)};
}

// Each coordinate held within bounds: what lies beyond stays beyond, and cairo never
// meets the millions of pixels an item far down a roll has at high zoom.
PixelRect ClampTo(const PixelRect& r, const PixelRect& bounds) {
    return {std::clamp(r.left, bounds.left, bounds.right), std::clamp(r.top, bounds.top, bounds.bottom),
            std::clamp(r.right, bounds.left, bounds.right), std::clamp(r.bottom, bounds.top, bounds.bottom)};
}

bool Inside(const PixelRect& r, const PixelRect& bounds) {
    return r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right && r.bottom <= bounds.bottom;
}

PixelRect Grow(const PixelRect& r, int32_t by) {
    return {ClampToInt32(int64_t(r.left) - by), ClampToInt32(int64_t(r.top) - by), ClampToInt32(int64_t(r.right) + by),
            ClampToInt32(int64_t(r.bottom) + by)};
}

// Stamp angle: the orientation code's turn bits, clockwise; the mirror bit is ignored.
int StampDegrees(int code) {
    int degrees = 0;
    if (code & 1) degrees += 90;
    if (code & 2) degrees += 180;
    if (code & 4) degrees += 270;
    return degrees % 360;
}

}  // namespace

void RenderImageObject(RenderContext& pass, const CImageObj& item, gfx::Canvas& canvas,
                       const ViewGeometry& geometry, const CImageObj* stamp, unsigned parts) {
    if (!canvas.Ok()) {
        pass.MarkBitmapDrawn(true);
        return;
    }
    const double sx = pass.GetScaleX();
    const double sy = pass.GetScaleY();
    const gfx::Filter filter = pass.IsPrinting() ? gfx::Filter::Good : gfx::Filter::Nearest;
    const CLayoutSetting* layout = pass.GetLayoutSetting() ? pass.GetLayoutSetting() : item.GetOwner();

    // The lock keeps the bitmap mapped for every drawer below (nested locks share it).
    std::optional<CImageBitmapLock> lock;
    PixelRect source;
    try {
        lock.emplace(item, TempBuffer::kMapReadOnly);
        const RectL r = DibBuffer::GetRectL(lock->Bitmap());
        source = {0, 0, r.right - r.left, r.bottom - r.top};
    } catch (const WorkingBitmapError&) {
        lock.reset();
    }
    const int32_t bitmapWidth = source.right;
    const int32_t bitmapHeight = source.bottom;
    bool failed = false;

    // The item on the device.
    const LayoutRect r = item.GetRect();
    const int64_t pageTop = (parts & kRenderUnpaged) ? 0 : pass.GetItemPageTop(item);
    PixelRect outer;
    outer.left = Round(r.left * sx);
    outer.top = Round(double(r.top - pageTop) * sy);
    outer.right = ClampToInt32(int64_t(outer.left) + Round((double(r.right) - r.left) * sx));
    outer.bottom = ClampToInt32(int64_t(outer.top) + Round((double(r.bottom) - r.top) * sy));
    const PixelPoint origin = pass.GetPageOrigin();
    outer = {ClampToInt32(int64_t(outer.left) + origin.x), ClampToInt32(int64_t(outer.top) + origin.y),
             ClampToInt32(int64_t(outer.right) + origin.x), ClampToInt32(int64_t(outer.bottom) + origin.y)};
    outer = pass.PageToDeviceRect(outer);

    if (item.GetCropOut() == 1 && bitmapWidth > 0 && bitmapHeight > 0) {
        if (std::optional<PixelRect> crop = CropIn(item, 0, 0, bitmapWidth, bitmapHeight)) {
            PixelRect c = *crop;
            c.left = std::clamp(c.left, 0, bitmapWidth);
            c.right = std::clamp(c.right, 0, bitmapWidth);
            c.top = std::clamp(c.top, 0, bitmapHeight);
            c.bottom = std::clamp(c.bottom, 0, bitmapHeight);
            Widen(c.left, c.right, bitmapWidth);
            Widen(c.top, c.bottom, bitmapHeight);
            source = c;
        }
    }

    // Inside the frame.
    const LayoutRect frame = item.GetFrame();
    PixelRect inner{ClampToInt32(int64_t(outer.left) + Round(frame.left * sx)),
                    ClampToInt32(int64_t(outer.top) + Round(frame.top * sy)),
                    ClampToInt32(int64_t(outer.right) - Round(frame.right * sx)),
                    ClampToInt32(int64_t(outer.bottom) - Round(frame.bottom * sy))};

    // Proportions.
    PixelRect picture = inner;
    switch (item.GetImageOption()) {
        case 0: {
            double w = 0, h = 0;
            if (item.GetCropOut() == 1) {
                LayoutRect image, crop;
                GetRotatedCropRects(item, image, crop);
                w = double(crop.right) - crop.left;
                h = double(crop.bottom) - crop.top;
            } else if (const std::optional<ImageDescription>& d = item.GetDescription()) {
                w = d->width;
                h = d->height;
                if (ExchangesSides(item.GetRotate())) std::swap(w, h);
            }
            if (w <= 0 || h <= 0) {  // no description: the bitmap shows the proportions
                w = double(Width(source));
                h = double(Height(source));
            }
            picture = Letterbox(inner, w, h);
            break;
        }
        case 2:
            if (!Empty(inner) && !Empty(source)) {
                const double dw = double(Width(inner));
                const double dh = double(Height(inner));
                const double sw = double(Width(source));
                const double sh = double(Height(source));
                if (sw * dh > sh * dw) {  // the source is wider: cut its sides
                    const int32_t width = std::max<int32_t>(1, Round(sh * dw / dh));
                    source.left += int32_t((sw - width) / 2);
                    source.right = source.left + width;
                } else {
                    const int32_t height = std::max<int32_t>(1, Round(sw * dh / dw));
                    source.top += int32_t((sh - height) / 2);
                    source.bottom = source.top + height;
                }
            }
            break;
        default:
            break;
    }
    if (Empty(picture)) return;

    // Printing, the pass's band is the page's place on the strip of all pages, while
    // item rectangles are the page's own device pixels: the page itself is what shows.
    PixelRect band = geometry.band;
    if (pass.IsPrinting())
        band = {-geometry.printerOffset.x, -geometry.printerOffset.y,
                ClampToInt32(Width(geometry.band) - geometry.printerOffset.x),
                ClampToInt32(Height(geometry.band) - geometry.printerOffset.y)};

    // Picture and frame band stay inside the item's rectangle: an item wholly inside
    // the band needs no clip (the crop frame may reach out with stored crops, so it keeps
    // one).
    const bool clip = item.GetCropOut() == 2 || !Inside(outer, band) || !Inside(picture, band);
    if (clip) {
        canvas.Save();
        canvas.ClipRect(ToRect(band));
    }

    if (parts & kRenderPicture) {
        if (!lock || !lock->Bitmap() || DrawItemBitmapClipped(canvas, picture, source, item, filter) == 0)
            failed = true;
    }

    const PixelRect reach = Grow(band, 2);
    if ((parts & kRenderFrameBand) && item.GetFrameColor() != 0 && item.GetFrameMode() != 0) {
        if (FillFrameBand(canvas, pass, item, ClampTo(outer, reach), ClampTo(inner, reach)) == 0) failed = true;
    }

    if ((parts & kRenderPicture) && item.GetCropOut() == 2) {
        // The crop as it falls on the picture: through the source when there is a
        // bitmap (option 2 shows only part of it), else over the whole picture.
        std::optional<PixelRect> crop;
        if (bitmapWidth > 0 && bitmapHeight > 0 && !Empty(source)) {
            const double kx = double(Width(picture)) / double(Width(source));
            const double ky = double(Height(picture)) / double(Height(source));
            crop = CropIn(item, picture.left - source.left * kx, picture.top - source.top * ky, bitmapWidth * kx,
                          bitmapHeight * ky);
        } else {
            crop = CropIn(item, picture.left, picture.top, double(Width(picture)), double(Height(picture)));
        }
        if (crop && !Empty(*crop)) {
            // The pen lies inside the crop: each side is a band of the pen's width.
            const int32_t pen = std::max(1, Round(3.75 * sy));
            const PixelRect c = *crop;
            const PixelRect sides[4] = {
                {c.left, c.top, c.right, ClampToInt32(int64_t(c.top) + pen)},
                {c.left, ClampToInt32(int64_t(c.bottom) - pen), c.right, c.bottom},
                {c.left, c.top, ClampToInt32(int64_t(c.left) + pen), c.bottom},
                {ClampToInt32(int64_t(c.right) - pen), c.top, c.right, c.bottom},
            };
            const gfx::Rgba colour = PassRgba(pass, layout, item.GetCropFrameColor());
            const PixelRect crossing = Grow(band, pen);
            for (const PixelRect& side : sides) {
                const PixelRect shown = ClampTo(side, crossing);
                if (!Empty(shown)) canvas.FillRect(ToRect(shown), colour);
            }
        }
    }
    if (clip) canvas.Restore();

    if ((parts & kRenderStamp) && stamp && layout && layout->GetImageStampInUse()) {
        PixelRect box;
        try {
            CImageBitmapLock stampLock(*stamp, TempBuffer::kMapReadOnly);
            const RectL s = DibBuffer::GetRectL(stampLock.Bitmap());
            const int degrees = StampDegrees(item.GetFrameRotate());
            const bool quarter = degrees % 180 != 0;
            const double w = double(s.right) - s.left;
            const double h = double(s.bottom) - s.top;
            if (!stampLock.Bitmap() || w <= 0 || h <= 0) {
                failed = true;
            } else {
                if (layout->GetImageStampSettings()) {
                    const LayoutPoint at = layout->GetImageStampPosition();
                    const LayoutPoint size = layout->GetImageStampSize();
                    box.left = ClampToInt32(int64_t(picture.left) + Round(at.x * sx));
                    box.top = ClampToInt32(int64_t(picture.top) + Round(at.y * sy));
                    box.right = ClampToInt32(int64_t(box.left) + Round(size.x * sx));
                    box.bottom = ClampToInt32(int64_t(box.top) + Round(size.y * sy));
                } else {
                    box = quarter ? Letterbox(picture, h, w) : Letterbox(picture, w, h);
                }
                const PixelRect visible = Intersect(Intersect(picture, box), band);
                if (!Empty(box) && !Empty(visible)) {
                    // The stamp is drawn unturned into a rectangle about the box's centre,
                    // which the turn lays onto the box.
                    const int64_t cx = box.left + Width(box) / 2;
                    const int64_t cy = box.top + Height(box) / 2;
                    const int64_t uw = quarter ? Height(box) : Width(box);
                    const int64_t uh = quarter ? Width(box) : Height(box);
                    const PixelRect unturned{ClampToInt32(cx - uw / 2), ClampToInt32(cy - uh / 2),
                                             ClampToInt32(cx - uw / 2 + uw), ClampToInt32(cy - uh / 2 + uh)};
                    canvas.Save();
                    canvas.ClipRect(ToRect(visible));
                    DrawItemBitmapRotated(canvas, unturned, box, degrees, *stamp, filter, &failed);
                    canvas.Restore();
                }
            }
        } catch (const WorkingBitmapError&) {
            failed = true;
        }
    }

    if (failed || !canvas.Ok()) pass.MarkBitmapDrawn(true);
}

}  // namespace vx
