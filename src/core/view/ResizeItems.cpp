#include "view/ResizeItems.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "model/LastModifiedImage.h"
#include "model/PageGeometry.h"
#include "model/UndoStore.h"
#include "view/HitTesting.h"

namespace vx {
namespace {

bool Proportional(const CImageObj& image) {
    return image.GetSizeRatioMode() != 0 || image.GetResizeWithShiftkey() == 1;
}

bool KeepsWidth(int hit) { return hit == kHitTop || hit == kHitBottom; }
bool KeepsHeight(int hit) { return hit == kHitLeft || hit == kHitRight; }
bool MovesTop(int hit) { return hit == kHitTopLeft || hit == kHitTopRight || hit == kHitTop; }
bool MovesLeft(int hit) { return hit == kHitTopLeft || hit == kHitBottomLeft || hit == kHitLeft; }

struct InnerSize {
    double w0 = 0, h0 = 0;
};

InnerSize InnerOf(const CImageObj& image) {
    const LayoutPointD size = image.GetSizeD();
    const LayoutRect f = image.GetFrame();
    return {size.x - f.left - f.right, size.y - f.top - f.bottom};
}

// The images a resize touches: the clicked one first, then the other selected ones.
std::vector<CImageObj*> ResizedImages(CLayoutSetting& layout, CImageObj& clicked) {
    std::vector<CImageObj*> images{&clicked};
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage && p->GetSelected() && p->GetObjectId() != clicked.GetObjectId())
            images.push_back(static_cast<CImageObj*>(p));
    return images;
}

}  // namespace

bool CanResizeSelectionTogether(const CLayoutSetting& layout) {
    const CImageObj* first = nullptr;
    int count = 0;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() != kKindImage || !p->GetSelected()) continue;
        ++count;
        if (!first) first = static_cast<const CImageObj*>(p);
    }
    if (count <= 1) return true;
    if (first->GetSizeMethod() == 1 && first->GetFrameMode() != 0) return false;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() != kKindImage || !p->GetSelected() || p == first) continue;
        const auto& image = static_cast<const CImageObj&>(*p);
        if (image.GetSizeMethod() != first->GetSizeMethod() || image.GetSizeRatioMode() != first->GetSizeRatioMode())
            return false;
        if (image.GetSizeMethod() == 1 &&
            (image.GetFrameMode() != 0 || image.GetImageOption() != first->GetImageOption()))
            return false;
    }
    return true;
}

int ResizeSelectedImages(CLayoutSetting& layout, CImageObj* clicked, LayoutPointD tracked, int hit) {
    if (!clicked || !CanResizeSelectionTogether(layout)) return 0;
    const double tw = tracked.x, th = tracked.y;
    if (!(tw > 0) || !(th > 0)) return 0;
    const std::vector<CImageObj*> images = ResizedImages(layout, *clicked);
    // Every image is checked before any changes: a group is resized whole or not at all.
    for (const CImageObj* image : images) {
        const InnerSize in = InnerOf(*image);
        if (!(in.w0 > 0) || !(in.h0 > 0)) return 0;
    }

    const LayoutPointD sizeK = clicked->GetSizeD();
    const double dW = tw - std::trunc(sizeK.x), dH = th - std::trunc(sizeK.y);
    const bool propK = Proportional(*clicked);
    double kx = 1, ky = 1;
    for (CImageObj* image : images) {
        const bool isK = image == clicked;
        const LayoutPointD size0 = image->GetSizeD();
        const double W0 = size0.x, H0 = size0.y;
        const LayoutRect f = image->GetFrame();
        const auto [w0, h0] = InnerOf(*image);

        double w, h;
        if (isK && !propK) {
            w = KeepsWidth(hit) ? w0 : w0 + dW;
            h = KeepsHeight(hit) ? h0 : h0 + dH;
        } else if (isK) {
            const bool byHeight = KeepsWidth(hit) || (!KeepsHeight(hit) && w0 / h0 < tw / th);
            if (byHeight) {
                h = h0 + dH;
                w = h * w0 / h0;
            } else {
                w = w0 + dW;
                h = w * h0 / w0;
            }
        } else if (!Proportional(*image)) {
            w = KeepsWidth(hit) ? w0 : w0 * kx;
            h = KeepsHeight(hit) ? h0 : h0 * ky;
        } else {
            h = h0 * ky;
            w = h * w0 / h0;
        }

        if (w < kResizeMinimum) {
            w = kResizeMinimum;
            if (propK) h = kResizeMinimum * h0 / w0;
        }
        if (h < kResizeMinimum) {
            h = kResizeMinimum;
            if (propK) w = kResizeMinimum * w0 / h0;
        }

        double W, H;
        if (image->GetFrameMode() == 1) {
            const double edge = 0.05 * std::min(w, h);
            if ((propK && w + 2 * edge > kResizeMaximum) || h + 2 * edge > kResizeMaximum) {
                if (w > h) {
                    h = h0 * kResizeMaximum / (0.1 * h0 + w0);
                    w = h * w0 / h0;
                } else {
                    w = w0 * kResizeMaximum / (0.1 * w0 + h0);
                    h = w * h0 / w0;
                }
            }
            const int32_t F = int32_t(std::trunc(0.05 * std::min(w, h)));
            image->SetFrame({F, F, F, F});
            W = w + 2.0 * F;
            H = h + 2.0 * F;
        } else {
            W = w + f.left + f.right;
            H = h + f.top + f.bottom;
        }

        const bool frame2 = image->GetFrameMode() == 2;
        if (W > kResizeMaximum) {
            W = kResizeMaximum;
            if (propK) H = frame2 ? (double(kResizeMaximum) - f.left - f.right) * h0 / w0 + f.top + f.bottom
                                  : kResizeMaximum * H0 / W0;
        }
        if (H > kResizeMaximum) {
            H = kResizeMaximum;
            if (propK) W = frame2 ? (double(kResizeMaximum) - f.top - f.bottom) * w0 / h0 + f.left + f.right
                                  : kResizeMaximum * W0 / H0;
        }
        if (isK) {
            kx = W / W0;
            ky = H / H0;
        }

        LayoutPointD pos = image->GetPositionD();
        if (MovesTop(hit)) pos.y += H0 - H;
        if (MovesLeft(hit)) pos.x += W0 - W;
        image->SetSizeD(W, H);
        image->SetPositionD(pos.x, pos.y);
        BuildImageLabelText(*image);
        UpdateAutoCaptionFontSize(*image);
        image->SetChanged(1);
    }
    return 1;
}

int MoveSelectedItems(CLayoutSetting& layout, UndoStore& undo, int32_t dx, int32_t dy, bool keepImages) {
    undo.PushUndo(layout, kUndoCodeDragStep);
    const bool keep = keepImages && !layout.GetFree();
    CLayoutObj* last = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) p->SetChanged(0);
    // The view is refreshed once by the caller, not per item.
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (!p->GetSelected() || (keep && p->GetKind() == kKindImage)) continue;
        MoveItemWithinPage(layout, *p, dx, dy);
        p->SetChanged(1);
        last = p;
    }
    if (!last) return 0;
    SetLastModifiedImage(layout, *last);
    layout.GetFirstItem()->SetChanged(1);
    RenumberImageItems(layout);
    return 1;
}

bool ClampLineEndDelta(CLayoutSetting& layout, const CLineObj& line, LayoutPoint& delta, int hit) {
    if (!(hit == kHitTopLeft || hit == kHitTopRight || hit == kHitBottomLeft || hit == kHitTop || hit == kHitLeft))
        return false;
    const LayoutPoint o = GetItemDrawOrigin(line);
    const int64_t height = layout.GetPaper().y;
    const int64_t page = height > 0 && o.y > 0 ? o.y / height : 0;
    const LayoutRect m = OffsetRectCopy(GetMarginRect(layout), 0, page * std::max<int64_t>(height, 0));
    const LayoutRect printer = layout.GetMargin();
    const LayoutPoint before = delta;
    const int64_t nx = int64_t(o.x) + delta.x, ny = int64_t(o.y) + delta.y;
    if (nx < m.left) delta.x = ClampToInt32(int64_t(m.left) - o.x);
    if (ny < m.top) delta.y = ClampToInt32(int64_t(m.top) - o.y);
    if (nx >= m.right) delta.x = ClampToInt32(int64_t(m.right) - o.x - (printer.right == 0 ? 1 : 0));
    if (ny >= m.bottom) delta.y = ClampToInt32(int64_t(m.bottom) - o.y - (printer.bottom == 0 ? 1 : 0));
    return !(delta == before);
}

void SnapPointToGrid(const CLayoutSetting& layout, LayoutPoint& point, int32_t stepX, int32_t stepY) {
    if (stepX > 0) {
        const int64_t s = stepX;
        point.x = ClampToInt32((int64_t(point.x) + s / 2) / s * s);
    }
    const int64_t height = layout.GetPaper().y;
    if (stepY > 0 && height > 0) {
        const int64_t s = stepY, y = point.y;
        const int64_t page = y / height;
        int64_t k = (y % height + s / 2) / s;
        k = std::min(k, height / s);
        point.y = ClampToInt32(page * height + k * s + (k == 0 ? 1 : 0));
    }
}

}  // namespace vx
