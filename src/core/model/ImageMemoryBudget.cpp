#include "model/ImageMemoryBudget.h"

#include <cstdint>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"

namespace vx {
namespace {

constexpr uint64_t kBudgetBytes = kImageMemoryBudgetBytes;

}  // namespace

uint64_t PictureBytes(const CLayoutObj* item) {
    if (!item || item->GetKind() != kKindImage) return 0;
    const auto* image = dynamic_cast<const CImageObj*>(item);
    if (!image || !image->GetDescription()) return 0;
    const ImageDescription& d = *image->GetDescription();
    return d.width > 0 && d.height > 0 ? uint64_t(d.width) * uint64_t(d.height) * 4 : 0;
}

uint64_t LayoutPictureBytes(const CLayoutSetting& layout) {
    uint64_t sum = PictureBytes(layout.GetStampImage());
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) sum += PictureBytes(p);
    return sum;
}

bool CheckImageMemoryBudget(const CLayoutSetting& layout, const CLayoutObj* newItem,
                            const CLayoutObj* otherItem) {
    if (!newItem || newItem->GetKind() != kKindImage) return true;
    uint64_t sum = PictureBytes(newItem) + PictureBytes(otherItem ? otherItem : layout.GetStampImage());
    if (sum > kBudgetBytes) return false;
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() != kKindImage) continue;
        sum += PictureBytes(p);
        if (sum > kBudgetBytes) return false;
    }
    return true;
}

}  // namespace vx
