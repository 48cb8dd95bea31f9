#include "model/ImageGeometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/CImageObj.h"
#include "model/ImageLabels.h"

namespace vx {
namespace {

constexpr double kUnitsPerInch = 360;
constexpr double kMaxPrintUnits = 150000;
// Five times the limits: 6000 % of the natural print size (ex, ey) and one fifth of the
// pixels per inch at the asked size (dx, dy).
constexpr int64_t kScaleLimit = 30000;

/// pixels at res pixels per inch in 1/360 inch, rounded up; 0 when that is no length.
int64_t PixelsToUnits(int64_t pixels, uint32_t res) {
    if (res == 0) return 0;
    // Multiplied first: pixels / res x 360 rounds 29 pixels at 360 ppi up to 30 units.
    const double units = std::ceil(double(pixels) * kUnitsPerInch / res);
    if (!std::isfinite(units) || units > kMaxPrintUnits) return 0;
    return int64_t(units);
}

/// (a + b / 2) / b, truncating; b > 0.
int64_t Nearest(int64_t a, int64_t b) { return (a + b / 2) / b; }

}  // namespace

LayoutPointD GetImageNaturalSize(const CImageObj& item) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d || d->hRes == 0 || d->vRes == 0) return {};
    LayoutRect r{0, 0, d->width, d->height};
    if (item.GetCropOut() == 1) {
        LayoutRect image;
        GetRotatedCropRects(item, image, r);
    } else if (ExchangesSides(item.GetRotate())) {
        r = {0, 0, d->height, d->width};
    }
    return {(double(r.right) - r.left) * kUnitsPerInch / d->hRes,
            (double(r.bottom) - r.top) * kUnitsPerInch / d->vRes};
}

LayoutPoint GetImagePrintSize(const CImageObj& item, bool inUnits) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return {};
    int64_t w = d->width;
    int64_t h = d->height;
    if (item.GetCropOut() == 1) {
        const LayoutRect crop = item.GetCrop();
        w -= int64_t(crop.left) + crop.right;
        h -= int64_t(crop.top) + crop.bottom;
    }
    if (inUnits) {
        w = PixelsToUnits(w, d->hRes);
        h = PixelsToUnits(h, d->vRes);
    }
    if (ExchangesSides(item.GetRotate())) std::swap(w, h);
    return {ClampToInt32(w), ClampToInt32(h)};
}

LayoutPoint ComputeImageItemSize(CImageObj& item, const CImageObj& prototype) {
    LayoutPoint size;
    switch (item.GetSizeMethod()) {
        case 1: {
            const LayoutPoint box = prototype.GetSize();
            size = FitImageSize(item, box.x, box.y);
            break;
        }
        case 2: {
            const LayoutPoint print = GetImagePrintSize(item, true);
            const LayoutPoint ratio = item.GetSizeRatio();
            size = {ClampToInt32((int64_t(ratio.x) * print.x + 500) / 1000),
                    ClampToInt32((int64_t(ratio.y) * print.y + 500) / 1000)};
            break;
        }
        default: return {-1, -1};
    }
    if (size.x == 0 || size.y == 0) return {-1, -1};
    return size;
}

LayoutPoint FitImageSize(CImageObj& item, int32_t boxWidth, int32_t boxHeight) {
    LayoutPoint size{boxWidth, boxHeight};
    bool fitted = false;
    const bool boxAsItIs = (item.GetSizeRatioMode() == 0 && (item.GetFrameMode() != 0 || item.GetImageOptionDimens() != 0)) ||
                           item.GetResizeWithShiftkey() == 1;
    if (!boxAsItIs) {
        int64_t nw, nh;
        if (item.GetSizeMethod() == 1) {
            const LayoutPoint own = item.GetSize();
            const LayoutRect frame = item.GetFrame();
            nw = int64_t(own.x) - frame.left - frame.right;
            nh = int64_t(own.y) - frame.top - frame.bottom;
        } else {
            const LayoutPoint print = GetImagePrintSize(item, false);
            nw = print.x;
            nh = print.y;
        }
        // An image without a side has no proportions to keep: the box stays.
        if (nw > 0 && nh > 0) {
            const int64_t bw = boxWidth, bh = boxHeight;
            int64_t w, h;
            if (nh * bw < nw * bh) {
                w = bw;
                h = (nh * bw + nw / 2) / nw;
            } else {
                w = (nw * bh + nh / 2) / nh;
                h = bh;
            }
            if (w != 0 && h != 0) {
                size = {ClampToInt32(w), ClampToInt32(h)};
                fitted = true;
            }
        }
    }
    size = LimitImageScale(item, size, fitted);
    if (item.GetFrameMode() == 1) {
        const int32_t edge = ClampToInt32(std::min<int64_t>(size.x, size.y) * 5 / 100);
        item.SetFrame({edge, edge, edge, edge});
    }
    return size;
}

LayoutPoint LimitImageScale(const CImageObj& item, LayoutPoint size, bool both) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return size;
    const LayoutPoint pixels = GetImagePrintSize(item, false);
    const int64_t pw = pixels.x, ph = pixels.y, rx = d->hRes, ry = d->vRes, W = size.x, H = size.y;
    // Nothing to measure against (no resolution, a crop wider than the image, no size).
    if (pw <= 0 || ph <= 0 || rx <= 0 || ry <= 0 || W <= 0 || H <= 0) return size;

    const int64_t dx = Nearest(pw * 72, W);
    const int64_t dy = Nearest(ph * 72, H);
    LayoutPoint limited = size;
    if (dx <= kScaleLimit && dy <= kScaleLimit) {
        // 128 bits: a resolution read from a file may be any 32-bit value.
        const auto ex = [&](int64_t w) { return (__int128(pw) * 36 + __int128(w) * rx * 100) / (pw * 72); };
        const auto ey = [&](int64_t h) { return (__int128(ph) * 36 + __int128(h) * ry * 100) / (ph * 72); };
        const bool overX = ex(W) > kScaleLimit;
        const bool overY = ey(H) > kScaleLimit;
        if (!overX && !overY) return size;
        // From 6000 % downwards, until the rounded candidates are within the limit too.
        int64_t nx = pw * 72 * kScaleLimit, ny = ph * 72 * kScaleLimit, cw, ch;
        do {
            cw = Nearest(nx, rx * 100);
            ch = Nearest(ny, ry * 100);
            nx -= pw * 72;
            ny -= ph * 72;
        } while (ex(cw) > kScaleLimit || ey(ch) > kScaleLimit);
        if (both || overX) limited.x = ClampToInt32(cw);
        if (both || overY) limited.y = ClampToInt32(ch);
        return limited;
    }
    int64_t cw = 1, ch = 1;
    for (int64_t div = kScaleLimit; div > 0; --div) {
        cw = std::max<int64_t>(1, Nearest(pw * 72, div));
        ch = std::max<int64_t>(1, Nearest(ph * 72, div));
        if (Nearest(pw * 72, cw) <= kScaleLimit && Nearest(ph * 72, ch) <= kScaleLimit) break;
    }
    if (both || dx > kScaleLimit) limited.x = ClampToInt32(cw);
    if (both || dy > kScaleLimit) limited.y = ClampToInt32(ch);
    return limited;
}

void GetRotatedCropRects(const CImageObj& item, LayoutRect& image, LayoutRect& crop) {
    const LayoutRect c = item.GetCrop();
    LayoutRect inset;  // left, top, right, bottom of the displayed image
    switch (item.GetRotate()) {
        case 0: inset = {c.left, c.top, c.right, c.bottom}; break;
        case 1: inset = {c.bottom, c.left, c.top, c.right}; break;
        case 2: inset = {c.right, c.bottom, c.left, c.top}; break;
        case 4: inset = {c.top, c.right, c.bottom, c.left}; break;
        case 8: inset = {c.right, c.top, c.left, c.bottom}; break;
        case 9: inset = {c.bottom, c.right, c.top, c.left}; break;
        case 10: inset = {c.left, c.bottom, c.right, c.top}; break;
        case 12: inset = {c.top, c.left, c.bottom, c.right}; break;
        default: break;
    }
    const std::optional<ImageDescription>& d = item.GetDescription();
    int32_t w = d ? d->width : 0;
    int32_t h = d ? d->height : 0;
    if (ExchangesSides(item.GetRotate())) std::swap(w, h);
    image = {0, 0, w, h};
    crop = {inset.left, inset.top, ClampToInt32(int64_t(w) - inset.right), ClampToInt32(int64_t(h) - inset.bottom)};
}

Rect16 GetCenteredCropRect(const CImageObj& item) {
    Rect16 r;
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return r;
    r.Set(0, 0, d->width, d->height);
    const int64_t iw = d->width, ih = d->height;
    const LayoutPoint size = item.GetSize();
    const LayoutRect frame = item.GetFrame();
    int64_t fw = int64_t(size.x) - frame.left - frame.right;
    int64_t fh = int64_t(size.y) - frame.top - frame.bottom;
    if (ExchangesSides(item.GetRotate())) std::swap(fw, fh);
    // A frame that leaves no interior has no proportions: the whole image.
    if (fw <= 0 || fh <= 0 || iw <= 0 || ih <= 0) return r;
    if (fw * ih <= fh * iw) {
        const int64_t w = fw * ih / fh;
        const int64_t left = (iw - w) / 2;
        r.Set(int16_t(left), 0, int16_t(left + w), d->height);
    } else {
        const int64_t h = fh * iw / fw;
        const int64_t top = (ih - h) / 2;
        r.Set(0, int16_t(top), d->width, int16_t(top + h));
    }
    return r;
}

void UpdateAutoCaptionFontSize(CImageObj& item) {
    if (!item.GetCaptionFontSizeAuto()) return;
    item.SetCaptionFontSize(
        AutoFontSizeForSide(item, MapLabelPosition(item, item.GetCaptionLocation()), item.GetCaptionFontSize()));
}

}  // namespace vx
