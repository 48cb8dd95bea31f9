#pragma once
#include <cstdint>

#include "imaging/Rect16.h"
#include "model/LayoutTypes.h"

namespace vx {

class CImageObj;

// How an image item's pixels meet the page: lengths in 1/360 inch, pixel sizes and
// resolutions from the item's description. Products and quotients are taken in 64
// bits and stored saturated to 32; a resolution or side of 0 never divides.

/// Whether the orientation code turns the image by a quarter (width and height swap).
constexpr bool ExchangesSides(int orientation) { return (orientation & 5) != 0; }

/// The image's size at its own resolution (cropped when `mCropOut` is 1, turned by
/// `mRotate`), not made whole; (0, 0) without a description or with a resolution of 0.
LayoutPointD GetImageNaturalSize(const CImageObj& item);

/// The pixel size less the crop (when `mCropOut` is 1), in pixels or, inUnits, in
/// 1/360 inch rounded up (0 above 150000 units or at a resolution of 0); exchanged
/// under a quarter turn.
LayoutPoint GetImagePrintSize(const CImageObj& item, bool inUnits);

/// The size of a new item by `mSizeMethod`: 1 fitted into the prototype's size, 2
/// `mSizeRatio` per mille of the print size; (-1, -1) for other methods or a zero side.
LayoutPoint ComputeImageItemSize(CImageObj& item, const CImageObj& prototype);

/// The item's size within a box of boxWidth x boxHeight: the image fitted keeping its
/// proportions, or the box itself when the item's settings ask for it, then held within
/// the scale limits. Sets the automatic frame (`mFrameMode` 1) from the result.
LayoutPoint FitImageSize(CImageObj& item, int32_t boxWidth, int32_t boxHeight);

/// Keeps size within the image's limits: at most 6000 % of its natural print size and
/// at most 150000 pixels per inch. With both, a size that breaks a limit is replaced on
/// both axes; otherwise only on the axis that broke it.
LayoutPoint LimitImageScale(const CImageObj& item, LayoutPoint size, bool both);

/// The image rectangle (0, 0, W, H) in displayed orientation and the crop rectangle in
/// it, the insets carried into that orientation (none for codes not in use).
void GetRotatedCropRects(const CImageObj& item, LayoutRect& image, LayoutRect& crop);

/// The largest centred part of the unrotated image with the proportions of the frame
/// interior; the whole image when the interior is empty.
Rect16 GetCenteredCropRect(const CImageObj& item);

/// With `mCaptionFontSizeAuto`, the caption font size from the frame edge on the
/// caption's side.
void UpdateAutoCaptionFontSize(CImageObj& item);

}  // namespace vx
