#pragma once
#include <cstdint>
#include <vector>

#include "model/LayoutTypes.h"

// Geometry of a layout's pages. Pages lie one below the other on one vertical strip of
// paper height h: page p holds the y from (p - 1) * h up to, not including, p * h; page 1
// also everything above it, the last page everything below it. A paper height of 0 or
// less (a fresh record, a damaged file) puts every y on page 1.

namespace vx {

class CLayoutObj;
class CLayoutSetting;

// Rectangles, by value; sums saturate to int32.
int32_t RectWidth(const LayoutRect& r);
int32_t RectHeight(const LayoutRect& r);
LayoutRect OffsetRectCopy(const LayoutRect& r, int64_t dx, int64_t dy);
/// Left and top edges inside, right and bottom outside.
bool PtInRectByValue(const LayoutRect& r, LayoutPoint p);
/// The common part of a and b; all zero when they do not overlap.
LayoutRect IntersectRects(const LayoutRect& a, const LayoutRect& b);
LayoutRect RectFromXYWH(int32_t x, int32_t y, int32_t width, int32_t height);

/// A rectangle as x, y, width, height.
struct LayoutXYWH {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const LayoutXYWH&, const LayoutXYWH&) = default;
};

// Layout values.
LayoutPoint GetPaperSize(const CLayoutSetting& layout);
/// 1 for a banner, else `mPageNumber`; never below 1, as a layout always has a page.
int GetPageCount(const CLayoutSetting& layout);
/// Writes `mPageNumber`, the page count.
void SetPageNumber(CLayoutSetting& layout, int16_t pages);
int16_t GetPageMax(const CLayoutSetting& layout);
LayoutPoint GetAlign(const CLayoutSetting& layout);
LayoutPoint GetSpace(const CLayoutSetting& layout);
int16_t GetVerticalAlign(const CLayoutSetting& layout);
int32_t GetFree(const CLayoutSetting& layout);
int32_t GetBanner(const CLayoutSetting& layout);

/// The page (from 1) that holds y.
int PageOfY(const CLayoutSetting& layout, int64_t y);

// Page rectangles of the first page (add (p - 1) * h for page p). They read the layout
// margins through GetLayoutAreaMargin, which stores them normalised.
/// The paper less the layout margins.
LayoutRect GetMarginRect(CLayoutSetting& layout);
/// The margin rectangle less the header and footer heights while they are shown: the
/// area that items may use.
LayoutRect GetLayoutAreaRect(CLayoutSetting& layout);
LayoutXYWH GetLayoutAreaXYWH(CLayoutSetting& layout);

// Item values by kind: images, free texts and free lines answer; other kinds read as
// zero and ignore writes.
LayoutPoint GetItemPosition(const CLayoutObj& item);
LayoutPoint GetItemSize(const CLayoutObj& item);
void SetItemPosition(CLayoutObj& item, int32_t x, int32_t y);
void SetItemChanged(CLayoutObj& item, int32_t changed);
/// (x, y, x + width, y + height).
LayoutRect GetItemRectByKind(const CLayoutObj& item);
/// Position (left, top), size (right - left, bottom - top).
void SetItemRectByKind(CLayoutObj& item, const LayoutRect& r);
/// Where the item is drawn from: an image at its position, a free text at its text
/// origin, a free line at its position plus `mOffsetStart`; (0, 0) for other kinds.
LayoutPoint GetItemDrawOrigin(const CLayoutObj& item);
/// The draw origin with y relative to the top of its page (negative above page 1).
/// Without an owner, or with a paper height of 0 or less, the draw origin unchanged.
LayoutPoint GetItemPositionOnPage(const CLayoutObj& item);

/// The items of kind (0: every kind) whose draw origin lies on page, in list order.
std::vector<CLayoutObj*> GetItemsOfPage(const CLayoutSetting& layout, int page, int16_t kind);

/// Moves item by (dx, dy) but keeps its draw origin inside the margin rectangle of the
/// page it stands on: at least 1 below the top; at the right or bottom edge, or 1 short
/// of it where the printer margin on that side is 0.
void MoveItemWithinPage(CLayoutSetting& layout, CLayoutObj& item, int32_t dx, int32_t dy);

}  // namespace vx
