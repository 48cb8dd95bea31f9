#include "model/RowFlow.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"

namespace vx {
namespace {

enum AlignX : int32_t { kLeft = 1, kRight = 2, kCentre = 4, kJustify = 5, kSquareCells = 6 };
enum AlignY : int32_t { kTop = 1, kBottom = 2, kMiddle = 4 };
constexpr int16_t kVerticalTop = 1;
constexpr int16_t kVerticalCentre = 4;

bool IsImage(const CLayoutObj* p) { return p->GetKind() == kKindImage; }

CLayoutObj* NextImage(CLayoutObj* p) {
    while (p && !IsImage(p)) p = p->NextItem();
    return p;
}

// One row as the flow placed it.
struct Row {
    CLayoutObj* first;
    CLayoutObj* next;  // first image of the next row, or null
    int64_t top;
    int images;
};

// What MeasureRow finds.
struct RowMeasure {
    CLayoutObj* next = nullptr;
    int64_t width = 0;   // U
    int64_t height = 0;  // B
    int images = 0;      // N
};

// One flow over a layout. Arithmetic is 64-bit; positions are written back saturated.
class RowFlow {
public:
    explicit RowFlow(CLayoutSetting& layout)
        : mLayout(layout),
          mArea(GetLayoutAreaRect(layout)),
          mAreaWidth(int64_t(mArea.right) - mArea.left),
          mAreaHeight(int64_t(mArea.bottom) - mArea.top),
          mPaperHeight(layout.GetPaper().y),
          mAlign(layout.GetAlign()),
          mVerticalAlign(layout.GetVerticalAlign()),
          mFirstImage(NextImage(layout.GetFirstItem())) {
        const LayoutPoint space = layout.GetSpace();
        mSpaceX = std::min<int64_t>(space.x, mAreaWidth);
        mSpaceY = std::min<int64_t>(space.y, mAreaHeight);
    }

    void Run(const CLayoutObj& from, bool justifyLastPage) {
        if (mPaperHeight <= 0 || !IsImage(&from)) return;
        int64_t y = 0;
        for (CLayoutObj* r = StartRowFlow(from, y); r;) r = FlowRow(r, y);
        if (justifyLastPage && mAlign.x == kJustify) JustifyLastPageRow();
        AlignPagesVertically();
    }

private:
    // Page index from 0; everything above the first page counts as its.
    int64_t PageIndex(int64_t y) const { return y < 0 ? 0 : y / mPaperHeight; }

    int64_t FlowWidth(const CLayoutObj& p) const {
        const LayoutPoint size = p.GetSize();
        return mAlign.x == kSquareCells ? std::max(size.x, size.y) : size.x;
    }

    static void SetX(CLayoutObj& p, int64_t x) { p.SetPositionD(double(ClampToInt32(x)), p.GetPositionD().y); }
    static void SetY(CLayoutObj& p, int64_t y) { p.SetPositionD(p.GetPositionD().x, double(ClampToInt32(y))); }

    // Replays the rows of the images before `from` and returns the image from which
    // the flow goes on, with y the top of its row.
    CLayoutObj* StartRowFlow(const CLayoutObj& from, int64_t& y) {
        int64_t x = mArea.left - mSpaceX;
        CLayoutObj* rowFirst = nullptr;
        int64_t rowBottom = mArea.top - mSpaceY;
        CLayoutObj* p = mLayout.GetFirstItem();
        for (; p && p != &from; p = p->NextItem()) {
            if (!IsImage(p)) continue;
            const int64_t w = FlowWidth(*p);
            x += mSpaceX + w;
            const int64_t top = p->GetPosition().y;
            int64_t bottom = top + p->GetSize().y;
            // An image reaching onto the next page counts down to its own page's end.
            if (PageIndex(top) != PageIndex(bottom)) bottom = (PageIndex(top) + 1) * mPaperHeight - 1;
            if (rowFirst && x <= mArea.right) {
                rowBottom = std::max(rowBottom, bottom);
            } else {
                y = rowBottom + mSpaceY;
                rowFirst = p;
                rowBottom = bottom;
                x = mArea.left + w;
            }
        }
        if (!p) return nullptr;  // `from` is not in the list
        if (rowFirst && x + mSpaceX + FlowWidth(from) <= mArea.right) return rowFirst;
        if (rowFirst) {
            int64_t rowTop = y;
            FlowRow(rowFirst, rowTop);
        }
        y = rowBottom + mSpaceY;
        if (y == 0) y = mArea.top;
        return p;
    }

    RowMeasure MeasureRow(CLayoutObj* first) const {
        RowMeasure m;
        m.width = -mSpaceX;
        for (CLayoutObj* p = first; p; p = p->NextItem()) {
            if (!IsImage(p)) continue;
            const int64_t w = FlowWidth(*p);
            if (m.width + mSpaceX + w > mAreaWidth && m.height != 0) {
                m.next = p;
                return m;
            }
            m.width += mSpaceX + w;
            m.height = std::max<int64_t>(m.height, p->GetSize().y);
            ++m.images;
        }
        return m;
    }

    // Places one row at y (moved to the next page when it does not fit below) and
    // returns the first image of the next row; y becomes that row's top.
    CLayoutObj* FlowRow(CLayoutObj* first, int64_t& y) {
        const RowMeasure m = MeasureRow(first);
        int64_t k = std::max<int64_t>(0, (y - mSpaceY) / mPaperHeight);
        if (y + m.height > mArea.bottom + k * mPaperHeight && first != mFirstImage &&
            y != mArea.top + k * mPaperHeight) {
            ++k;
            y = mArea.top + k * mPaperHeight + (mArea.top == 0 ? 1 : 0);
        }
        if (m.height == 0) return m.next;
        PlaceRowHorizontally(first, m);
        AlignRowItemsVertically(first, m.next, y, m.height);
        mRows.push_back({first, m.next, y, m.images});
        if (y + m.height >= mArea.bottom + k * mPaperHeight) y = mArea.top + (k + 1) * mPaperHeight;
        else y += m.height + mSpaceY;
        return m.next;
    }

    void PlaceRowHorizontally(CLayoutObj* first, const RowMeasure& m) {
        const int64_t slack = mAreaWidth - m.width;
        int64_t x = mArea.left;
        int64_t gap = 0;
        if (slack < 0) {
            // Only an image wider than the area leaves no slack.
            if (mAlign.x == kRight) x = mArea.right - m.width;
            else if (mAlign.x == kCentre || mAlign.x == kJustify) x = mArea.left + (mAreaWidth - m.width) / 2;
        } else if (mAlign.x == kJustify) {
            if (m.images > 1 && m.next) gap = slack / (m.images - 1);
        } else if (mAlign.x == kSquareCells) {
            for (CLayoutObj* p = first; p != m.next; p = p->NextItem()) {
                if (!IsImage(p)) continue;
                const int64_t cell = FlowWidth(*p);
                SetX(*p, x + (cell - p->GetSize().x) / 2);
                x += cell + mSpaceX;
            }
            return;
        } else if (mAlign.x == kRight) {
            x += slack;
        } else if (mAlign.x == kCentre) {
            x += slack >> 1;
        }
        for (CLayoutObj* p = first; p != m.next; p = p->NextItem()) {
            if (!IsImage(p)) continue;
            SetX(*p, x);
            x += p->GetSize().x + gap + mSpaceX;
        }
    }

    void AlignRowItemsVertically(CLayoutObj* first, CLayoutObj* next, int64_t y, int64_t rowHeight) {
        const int64_t r = std::min(rowHeight, mAreaHeight);
        for (CLayoutObj* p = first; p != next; p = p->NextItem()) {
            if (!IsImage(p)) continue;
            const int64_t h = p->GetSize().y;
            switch (mAlign.y) {
                case kTop: SetY(*p, y); break;
                case kBottom: SetY(*p, h < r ? y + (r - h) : y); break;
                case kMiddle: SetY(*p, h < r ? y + (r - h) / 2 : y); break;
                default: break;
            }
        }
    }

    // Spreads the first row of the last page across the area, as justify does for
    // every row but the layout's last: exactly the images the flow put in that row.
    void JustifyLastPageRow() {
        if (mRows.empty()) return;
        int64_t lastPage = 0;
        if (!mLayout.GetBanner())
            for (const Row& row : mRows) lastPage = std::max(lastPage, PageIndex(row.top));
        const Row* firstRow = nullptr;
        int imagesOnPage = 0;
        for (const Row& row : mRows)
            if (PageIndex(row.top) == lastPage) {
                if (!firstRow) firstRow = &row;
                imagesOnPage += row.images;
            }
        if (!firstRow || imagesOnPage < 2) return;
        const int spaces = firstRow->images - 1;
        if (spaces == 0) {
            SetX(*firstRow->first, mArea.left);
            return;
        }
        int64_t widths = 0;
        for (CLayoutObj* p = firstRow->first; p != firstRow->next; p = p->NextItem())
            if (IsImage(p)) widths += p->GetSize().x;
        const int64_t gap = (mAreaWidth - widths) / spaces;
        int64_t x = mArea.left;
        for (CLayoutObj* p = firstRow->first; p != firstRow->next; p = p->NextItem()) {
            if (!IsImage(p)) continue;
            SetX(*p, x);
            x += p->GetSize().x + gap;
        }
    }

    // Moves each page's images together by the page's shift, from the first page on
    // until a page holds none.
    void AlignPagesVertically() {
        if (mVerticalAlign == kVerticalTop) return;
        std::vector<std::pair<int64_t, CLayoutObj*>> byPage;
        for (CLayoutObj* p = mLayout.GetFirstItem(); p; p = p->NextItem())
            if (IsImage(p)) byPage.emplace_back(PageIndex(p->GetPosition().y), p);
        std::stable_sort(byPage.begin(), byPage.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        auto begin = byPage.begin();
        for (int64_t page = 0; begin != byPage.end() && begin->first == page; ++page) {
            auto end = std::find_if(begin, byPage.end(), [page](const auto& e) { return e.first != page; });
            const int64_t shift = GetPageVerticalShift(page, begin, end);
            for (auto it = begin; it != end; ++it) {
                const LayoutPointD at = it->second->GetPositionD();
                it->second->SetPositionD(at.x, at.y + double(shift));
            }
            begin = end;
        }
    }

    template <class It>
    int64_t GetPageVerticalShift(int64_t page, It begin, It end) const {
        int64_t lowest = INT64_MIN;
        for (It it = begin; it != end; ++it) {
            const LayoutPoint position = it->second->GetPosition(), size = it->second->GetSize();
            if (size.y > mAreaHeight) return 0;
            lowest = std::max(lowest, int64_t(position.y) + size.y - page * mPaperHeight);
        }
        const int64_t shift = mArea.bottom - lowest;
        return mVerticalAlign == kVerticalCentre ? shift / 2 : shift;
    }

    CLayoutSetting& mLayout;
    const LayoutRect mArea;
    const int64_t mAreaWidth;
    const int64_t mAreaHeight;
    const int64_t mPaperHeight;
    const LayoutPoint mAlign;
    const int16_t mVerticalAlign;
    CLayoutObj* const mFirstImage;
    int64_t mSpaceX = 0;
    int64_t mSpaceY = 0;
    std::vector<Row> mRows;
};

}  // namespace

void FlowImageRows(CLayoutSetting& layout, const CLayoutObj& from, bool justifyLastPage) {
    RowFlow(layout).Run(from, justifyLastPage);
}

}  // namespace vx
