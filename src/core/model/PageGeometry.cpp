#include "model/PageGeometry.h"

#include <algorithm>

#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"

namespace vx {
namespace {

bool AnswersByKind(const CLayoutObj& item) {
    const int16_t k = item.GetKind();
    return k == kKindImage || k == kKindText || k == kKindLine;
}

bool Inside(const LayoutRect& r, int64_t x, int64_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The top of page p, in 64 bits: pages times paper height leave int32 on long strips.
int64_t PageTop(const CLayoutSetting& layout, int page) {
    return int64_t(page - 1) * std::max<int64_t>(layout.GetPaper().y, 0);
}

}  // namespace

int32_t RectWidth(const LayoutRect& r) { return ClampToInt32(int64_t(r.right) - r.left); }
int32_t RectHeight(const LayoutRect& r) { return ClampToInt32(int64_t(r.bottom) - r.top); }

LayoutRect OffsetRectCopy(const LayoutRect& r, int64_t dx, int64_t dy) {
    return {ClampToInt32(r.left + dx), ClampToInt32(r.top + dy), ClampToInt32(r.right + dx),
            ClampToInt32(r.bottom + dy)};
}

bool PtInRectByValue(const LayoutRect& r, LayoutPoint p) { return Inside(r, p.x, p.y); }

LayoutRect IntersectRects(const LayoutRect& a, const LayoutRect& b) {
    LayoutRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return r.left < r.right && r.top < r.bottom ? r : LayoutRect{};
}

LayoutRect RectFromXYWH(int32_t x, int32_t y, int32_t width, int32_t height) {
    return {x, y, ClampToInt32(int64_t(x) + width), ClampToInt32(int64_t(y) + height)};
}

LayoutPoint GetPaperSize(const CLayoutSetting& layout) { return layout.GetPaper(); }

int GetPageCount(const CLayoutSetting& layout) {
    return layout.GetBanner() ? 1 : std::max<int>(layout.GetPageNumber(), 1);
}

void SetPageNumber(CLayoutSetting& layout, int16_t pages) { layout.SetPageNumber(pages); }
int16_t GetPageMax(const CLayoutSetting& layout) { return layout.GetPageMax(); }
LayoutPoint GetAlign(const CLayoutSetting& layout) { return layout.GetAlign(); }
LayoutPoint GetSpace(const CLayoutSetting& layout) { return layout.GetSpace(); }
int16_t GetVerticalAlign(const CLayoutSetting& layout) { return layout.GetVerticalAlign(); }
int32_t GetFree(const CLayoutSetting& layout) { return layout.GetFree(); }
int32_t GetBanner(const CLayoutSetting& layout) { return layout.GetBanner(); }

int PageOfY(const CLayoutSetting& layout, int64_t y) {
    const int64_t h = layout.GetPaper().y;
    if (h <= 0 || y < 0) return 1;
    return int(std::min<int64_t>(y / h + 1, GetPageCount(layout)));
}

LayoutRect GetMarginRect(CLayoutSetting& layout) {
    const LayoutRect m = layout.GetLayoutAreaMargin();
    const LayoutPoint paper = layout.GetPaper();
    return {m.left, m.top, ClampToInt32(int64_t(paper.x) - m.right), ClampToInt32(int64_t(paper.y) - m.bottom)};
}

LayoutRect GetLayoutAreaRect(CLayoutSetting& layout) {
    LayoutRect r = GetMarginRect(layout);
    if (layout.GetHeaderShow()) r.top = ClampToInt32(int64_t(r.top) + layout.GetHeaderOffset());
    if (layout.GetFooterShow()) r.bottom = ClampToInt32(int64_t(r.bottom) - layout.GetFooterOffset());
    return r;
}

LayoutXYWH GetLayoutAreaXYWH(CLayoutSetting& layout) {
    const LayoutRect r = GetLayoutAreaRect(layout);
    return {r.left, r.top, RectWidth(r), RectHeight(r)};
}

LayoutPoint GetItemPosition(const CLayoutObj& item) {
    return AnswersByKind(item) ? item.GetPosition() : LayoutPoint{};
}

LayoutPoint GetItemSize(const CLayoutObj& item) {
    return AnswersByKind(item) ? item.GetSize() : LayoutPoint{};
}

void SetItemPosition(CLayoutObj& item, int32_t x, int32_t y) {
    if (AnswersByKind(item)) item.SetPosition(x, y);
}

void SetItemChanged(CLayoutObj& item, int32_t changed) {
    if (AnswersByKind(item)) item.SetChanged(changed);
}

LayoutRect GetItemRectByKind(const CLayoutObj& item) {
    return AnswersByKind(item) ? item.GetRect() : LayoutRect{};
}

void SetItemRectByKind(CLayoutObj& item, const LayoutRect& r) {
    if (AnswersByKind(item)) item.SetRect(r.left, r.top, r.right, r.bottom);
}

LayoutPoint GetItemDrawOrigin(const CLayoutObj& item) {
    // Most items of a page are images, and a kind is fixed by the class: no cast.
    if (item.GetKind() == kKindImage) return item.GetPosition();
    if (const auto* text = dynamic_cast<const CTextObj*>(&item)) return text->GetOrigin();
    if (const auto* line = dynamic_cast<const CLineObj*>(&item)) {
        const LayoutPoint p = line->GetPosition(), offset = line->GetOffsetStart();
        return {ClampToInt32(int64_t(p.x) + offset.x), ClampToInt32(int64_t(p.y) + offset.y)};
    }
    return {};
}

LayoutPoint GetItemPositionOnPage(const CLayoutObj& item) {
    LayoutPoint origin = GetItemDrawOrigin(item);
    const CLayoutSetting* owner = item.GetOwner();
    if (AnswersByKind(item) && owner && owner->GetPaper().y > 0) origin.y %= owner->GetPaper().y;
    return origin;
}

std::vector<CLayoutObj*> GetItemsOfPage(const CLayoutSetting& layout, int page, int16_t kind) {
    std::vector<CLayoutObj*> items;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if ((kind == 0 || kind == p->GetKind()) && PageOfY(layout, GetItemDrawOrigin(*p).y) == page)
            items.push_back(p);
    return items;
}

void MoveItemWithinPage(CLayoutSetting& layout, CLayoutObj& item, int32_t dx, int32_t dy) {
    if (!AnswersByKind(item)) return;
    const LayoutPoint origin = GetItemDrawOrigin(item);
    const int page = PageOfY(layout, origin.y);
    const LayoutRect r = OffsetRectCopy(GetMarginRect(layout), 0, PageTop(layout, page));
    const LayoutRect printerMargin = layout.GetMargin();
    int64_t moveX = dx, moveY = dy;
    const int64_t x = int64_t(origin.x) + dx, y = int64_t(origin.y) + dy;
    if (!Inside(r, x, y) || y == r.top) {
        if (x < r.left) moveX = int64_t(r.left) - origin.x;
        if (y <= r.top) moveY = int64_t(r.top) + 1 - origin.y;
        if (x >= r.right) moveX = int64_t(r.right) - origin.x - (printerMargin.right == 0 ? 1 : 0);
        if (y >= r.bottom) moveY = int64_t(r.bottom) - origin.y - (printerMargin.bottom == 0 ? 1 : 0);
    }
    SetItemRectByKind(item, OffsetRectCopy(GetItemRectByKind(item), moveX, moveY));
}

}  // namespace vx
