// The add sequence of one image file, and the refreshes that close it.
#include "model/ImageAdding.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/GreyConversion.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "model/ImageMemoryBudget.h"
#include "model/LayoutLimits.h"
#include "model/LayoutViewRefresh.h"
#include "model/NewItemPlacement.h"
#include "model/ObjectList.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

// Item sides outside 10 mm to 15 m (in 1/360 inch) are refused.
constexpr double kMinItemSide = 141.73228346456693;
constexpr double kMaxItemSide = 212598.4251968504;
// Undo code of an added image.
constexpr uint16_t kUndoCodeAddImage = 36;
// Where an item waits until PlaceNewObject places it.
constexpr int32_t kNotYetPlaced = -65535;

void ShowError(int id) {
    Messages().Show(id, {}, Icon::Error, Buttons::Ok);
}

bool SideInRange(int32_t side) {
    return side >= kMinItemSide && side <= kMaxItemSide;
}

// Unlinks the item with the given id from the layout and deletes it.
void RemoveItem(CLayoutSetting& layout, const CLayoutObj* item) {
    (void)RemoveObjectById(layout.ItemListHead(), item);
}

// After a refused relayout: the item goes, the layout flows again as it did before the
// item came (the refused pass left it piled on its last page) and is redrawn.
void RemoveAfterRefusedLayout(CLayoutSetting& layout, const CLayoutObj* item) {
    RemoveItem(layout, item);
    Relayout(layout);
    UpdateLayoutAndRedraw(layout);
    InvalidateLayoutView(layout.GetViewState());
}

}  // namespace

AddImageResult AddImageFilesToLayout(CLayoutSetting* layout, const std::filesystem::path& path, UndoStore& undo) {
    if (!layout) return kAddNothing;
    const CImageObj* base = layout->GetBaseImage();
    std::unique_ptr<CImageObj> item(CreateImageObj(base, nullptr, "StdImage"));
    if (!item) return kAddNothing;
    item->SetOwner(layout);
    item->SetType(kRecordTypeLayout);
    // Size and preview follow the automatic rotation alone, chosen below.
    item->SetRotate(0);

    if (!OpenImageFile(item.get(), path)) return kAddNothing;
    if (!IsImageSizeSupported(*item)) {
        ShowError(IDS_IMAGE_SIZE_OUT_OF_RANGE);
        return kAddSizeOutOfRange;
    }
    if (!CheckImageMemoryBudget(*layout, item.get(), nullptr)) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return kAddOutOfMemory;
    }
    if (!CanAddObjects(*layout, true)) {
        ShowObjectLimitMessage();
        return kAddItemLimit;
    }
    ApplyLayoutColorSettings(*item);

    const CImageObj& prototype = base ? *base : *item;
    if (item->GetSizeMethod() == 1) {
        const LayoutPoint size = prototype.GetSize();
        item->SetSize(size.x, size.y);
        if (item->GetFrameMode() == 1) {
            const LayoutPoint box = item->GetSizePixel();
            const auto edge = int32_t(std::min(box.x, box.y) * 0.05);
            item->SetFrame({edge, edge, edge, edge});
        }
    } else {
        const LayoutPoint size = ComputeImageItemSize(*item, prototype);
        item->SetSize(size.x, size.y);
    }
    const LayoutPoint size = item->GetSize();
    if (!SideInRange(size.x) || !SideInRange(size.y)) {
        ShowError(IDS_IMAGE_SIZE_OUT_OF_RANGE);
        return kAddSizeOutOfRange;
    }

    item->SetWorkingBitmap(LoadImagePreview(*item));
    if (item->IsSaveFile() == 0) return kAddNothing;

    CImageObj* added = item.get();
    if (!AppendObject(layout->ItemListHead(), item)) return kAddNothing;

    const int rotation = ChooseAutoRotation(*added, layout->GetAutoRotate());
    if (added->GetSizeMethod() != 1) {
        if (rotation == 1 || rotation == 4) added->SetSize(size.y, size.x);
        added->SetFrameRotate(int16_t(rotation));
    }
    added->SetRotate(int16_t(rotation));
    if (rotation != 0 && !added->TurnWorkingBitmap(rotation)) {
        // An unturned preview under a turned orientation would mislead every later step.
        RemoveItem(*layout, added);
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return kAddOutOfMemory;
    }
    if (layout->GetColor() != 2) ConvertToGrey(*added, false);

    BuildImageLabelText(*added);
    UpdateAutoCaptionFontSize(*added);
    added->SetPosition(kNotYetPlaced, kNotYetPlaced);
    PlaceNewObject(*added);

    if (!Relayout(*layout)) {
        ShowError(IDS_PAPER_LENGTH_LIMIT);
        RemoveAfterRefusedLayout(*layout, added);
        return kAddRemovedAgain;
    }
    if (!layout->GetBanner() && ChooseInputResolution(*layout, 0) <= kLowestInputResolution) {
        ShowError(IDS_PAGE_COUNT_LIMIT);
        RemoveAfterRefusedLayout(*layout, added);
        return kAddRemovedAgain;
    }

    undo.SetLastUndoCode(kUndoCodeAddImage);
    FinishAddedImage(*added);
    if (added->IsSaveFile() == 0) {
        RemoveItem(*layout, added);
        RecountPages(*layout);
        return kAddNothing;
    }
    layout->SetDirty(1);
    return kAddDone;
}

void FinishAddedImage(CLayoutObj& item) {
    CLayoutSetting* layout = item.GetOwner();
    if (!layout) return;
    RecountPages(*layout);
    if (item.GetKind() == kKindImage) {
        auto& image = static_cast<CImageObj&>(item);
        if (image.IsSaveFile() == 0) {
            if (layout->GetColor() != 2) ConvertToGrey(image, false);
            image.SetColorModeMark(0);
        }
        PlaceInVisibleArea(layout->GetViewState(), item);
    }
    Relayout(*layout);
    InvalidateLayoutView(layout->GetViewState());
    if (LayoutView* view = FindLayoutView(*layout)) view->Update();
}

void RecalcFrameCaption(CImageObj& item) {
    BuildImageLabelText(item);
    UpdateAutoCaptionFontSize(item);
}

}  // namespace vx
