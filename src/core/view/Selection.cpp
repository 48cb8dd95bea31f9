// The view's click and band selection and its item hit tests.
#include <vector>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/LastModifiedImage.h"
#include "model/PageGeometry.h"
#include "view/CGPView.h"
#include "view/HitTesting.h"
#include "view/ViewMapping.h"

namespace vx {
namespace {

bool Pickable(const CLayoutObj& item) {
    const int16_t kind = item.GetKind();
    return kind == kKindImage || kind == kKindText || kind == kKindLine;
}

std::vector<CLayoutObj*> ItemsTopmostFirst(const CLayoutSetting& layout) {
    std::vector<CLayoutObj*> items;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) items.push_back(p);
    return {items.rbegin(), items.rend()};
}

CLayoutObj* LastSelectedImage(const CLayoutSetting& layout) {
    CLayoutObj* last = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage && p->GetSelected()) last = p;
    return last;
}

int HitTestWith(const ViewMapping& m, const CLayoutObj& item, PixelPoint client) {
    if (item.GetKind() == kKindLine) return HitTestLineItem(m, static_cast<const CLineObj&>(item), client);
    if (item.GetKind() == kKindText) return HitTestTextItem(m, static_cast<const CTextObj&>(item), client);
    if (!m.Shows(item)) return kHitNothing;
    return SetupObjectTracker(m, item).HitTest(client);
}

}  // namespace

int CGPView::HitTestItem(const CLayoutObj& item, PixelPoint client) const {
    return HitTestWith(MakeViewMapping(*this), item, client);
}

int CGPView::HitTestLineItem(const CLineObj& line, PixelPoint client) const {
    return vx::HitTestLineItem(MakeViewMapping(*this), line, client);
}

int CGPView::HitTestTextItem(const CTextObj& text, int x, int y) const {
    return vx::HitTestTextItem(MakeViewMapping(*this), text, {x, y});
}

ItemTracker CGPView::SetupObjectTracker(const CLayoutObj& item, PixelRect* trueRect) const {
    return vx::SetupObjectTracker(MakeViewMapping(*this), item, trueRect);
}

int CGPView::SelectAtPoint(PixelPoint client, bool shift, CLayoutObj** out) {
    if (out) *out = nullptr;
    if (!mLayout) return kHitNothing;
    const ViewMapping m = MakeViewMapping(*this);
    CLayoutObj* item = nullptr;
    int hit = kHitNothing;
    for (CLayoutObj* p : ItemsTopmostFirst(*mLayout)) {
        if (!Pickable(*p) || m.PageOf(*p) != mCurrentPage) continue;
        const int code = HitTestWith(m, *p, client);
        // An unselected item's handles are not drawn: the click goes to what lies below.
        if (code >= 0 && (p->GetSelected() || code == kHitMiddle)) {
            item = p;
            hit = code;
            break;
        }
    }
    if (!item) return kHitNothing;

    if (!shift && !item->GetSelected()) {
        DeselectAll();
        mLayout->SetCurrentItem(nullptr);
    }
    if (item->GetKind() == kKindImage) {
        auto& image = static_cast<CImageObj&>(*item);
        if (!item->GetSelected()) {
            item->SetSelected(1);
            SetLastModifiedImage(*mLayout, *item);
            mLayout->SetCurrentItem(item);
        } else if (shift && IsHandleHit(hit)) {
            image.SetResizeWithShiftkey(1);
        } else if (shift && hit == kHitMiddle) {
            item->SetSelected(0);
            if (mLayout->GetCurrentItem() == item) {
                mLayout->SetCurrentItem(nullptr);
                if (mLayout->GetSelected() > 0) mLayout->SetCurrentItem(LastSelectedImage(*mLayout));
            }
        }
    } else {
        item->SetSelected(shift ? !item->GetSelected() : 1);
    }
    if (mWindow) mWindow->Invalidate();
    // The stacking-order commands follow the selection through their update handlers.
    if (item->GetSelected() && out) *out = item;
    return hit;
}

bool CGPView::SelectInBand(const PixelRect& band, bool shift) {
    if (!mLayout) return false;
    if (!shift) DeselectAll();
    const ViewMapping m = MakeViewMapping(*this);
    bool any = false;
    for (CLayoutObj* p : ItemsTopmostFirst(*mLayout)) {
        if (!Pickable(*p) || !m.Shows(*p)) continue;
        const PixelRect r = vx::SetupObjectTracker(m, *p).Rect();
        if (!(band.left < r.left && band.top < r.top && band.right > r.right && band.bottom > r.bottom)) continue;
        any = true;
        if (p->GetKind() == kKindImage) {
            if (!p->GetSelected()) {
                p->SetSelected(1);
                SetLastModifiedImage(*mLayout, *p);
                mLayout->SetCurrentItem(p);
            } else {
                p->SetSelected(0);
                if (mLayout->GetCurrentItem() == p) mLayout->SetCurrentItem(nullptr);
            }
        } else {
            p->SetSelected(!p->GetSelected());
        }
    }
    if (!mLayout->GetCurrentItem() && mLayout->GetSelected() > 0) mLayout->SetCurrentItem(LastSelectedImage(*mLayout));
    if (any && mWindow) mWindow->Invalidate();
    return any;
}

void CGPView::DeselectAll() {
    if (!mLayout) return;
    mLayout->SetCurrentItem(nullptr);
    for (CLayoutObj* p = mLayout->GetFirstItem(); p; p = p->NextItem())
        if (p->GetSelected()) p->SetSelected(0);
    if (mWindow) mWindow->Invalidate();
}

void CGPView::UpdateShiftResizeFlags(const CLayoutObj& item, bool shift) {
    if (!mLayout || item.GetKind() != kKindImage) return;
    for (CLayoutObj* p = mLayout->GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage && p->GetSelected())
            static_cast<CImageObj*>(p)->SetResizeWithShiftkey(shift ? 1 : 0);
}

CLayoutObj* CGPView::FindDropTarget(const CLayoutObj& item, PixelPoint client) const {
    if (!mLayout || mLayout->GetFree() || item.GetKind() != kKindImage) return nullptr;
    const ViewMapping m = MakeViewMapping(*this);
    for (CLayoutObj* p = mLayout->GetFirstItem(); p; p = p->NextItem()) {
        if (p == &item || p->GetKind() != kKindImage) continue;
        const bool considered = m.PageOf(*p) == mCurrentPage || (mDragState == 2 && p->GetSelected());
        if (!considered) continue;
        if (vx::SetupObjectTracker(m, *p).HitTest(client) != kHitNothing) return p->GetSelected() ? nullptr : p;
    }
    return nullptr;
}

}  // namespace vx
