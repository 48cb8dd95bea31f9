#include "model/WorkingBitmaps.h"

#include <utility>

#include "imaging/DibBuffer.h"
#include "imaging/Rect16.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/GreyConversion.h"
#include "model/ImageAdding.h"
#include "model/ImageGeometry.h"
#include "model/PictureLoader.h"

namespace vx {
namespace {

// Screen pictures go through the monitor transform.
constexpr int kPictureModeScreen = 2;

// Decodes at the covering size and stores it; the old bitmap stays on any failure.
bool StoreCoveringBitmap(CImageObj& item, int mode) {
    const std::optional<LayoutPoint> size = DisplayBitmapSize(item);
    if (!size) return false;
    Rect16 target;
    target.Set(0, 0, int16_t(size->x), int16_t(size->y));
    DibBufferPtr picture = LoadPictureBuffer(item, mode, target);
    return picture && item.SetWorkingBitmap(std::move(picture));
}

}  // namespace

std::optional<LayoutPoint> DisplayBitmapSize(const CImageObj& item) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return std::nullopt;
    int64_t w = d->width, h = d->height;
    if (ExchangesSides(item.GetRotate())) std::swap(w, h);
    const LayoutPoint box = item.GetSize();
    const int64_t cx = box.x, cy = box.y;
    if (w <= 0 || h <= 0 || cx <= 0 || cy <= 0) return std::nullopt;
    int64_t tw, th;
    if (cx * h >= cy * w) {
        tw = cx;
        th = cx * h / w;
    } else {
        tw = cy * w / h;
        th = cy;
    }
    if (tw > DibBuffer::kMaxSide || th > DibBuffer::kMaxSide) tw = th = DibBuffer::kMaxSide;
    if (tw <= 0 || th <= 0) return std::nullopt;
    return LayoutPoint{int32_t(tw), int32_t(th)};
}

void RebuildWorkingBitmaps(CLayoutObj& first) {
    for (CLayoutObj* p = &first; p; p = p->NextItem()) {
        if (p->GetKind() != kKindImage) continue;
        auto& image = static_cast<CImageObj&>(*p);
        const std::optional<ImageDescription>& d = image.GetDescription();
        if (!d || d->width <= 0 || d->height <= 0) continue;
        if (image.GetColorMatched()) {
            StoreCoveringBitmap(image, kPictureModeScreen);
        } else if (DibBufferPtr preview = LoadImagePreview(image)) {
            image.SetWorkingBitmap(std::move(preview));
        }
    }
}

void RebuildWorkingBitmaps(CLayoutSetting& layout) {
    if (CLayoutObj* first = layout.GetFirstItem()) RebuildWorkingBitmaps(*first);
}

bool BuildDisplayBitmap(CImageObj& item) {
    if (item.GetType() != kRecordTypeLayout || item.GetKind() != kKindImage) return false;
    if (!StoreCoveringBitmap(item, item.GetEnableColorMatch() ? kPictureModeScreen : kPictureModePreview))
        return false;
    const CLayoutSetting* layout = item.GetOwner();
    if (layout && layout->GetColor() != 2) ConvertToGrey(item, false);
    return true;
}

}  // namespace vx
