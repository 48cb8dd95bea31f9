#include "dialogs/ImageSizeController.h"

#include <algorithm>

#include "dialogs/ImageSizeLimits.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "model/LayoutOperations.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Numbers.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

constexpr uint16_t kUndoImageSize = 159;

bool IsImageItem(const CLayoutObj* p) {
    return p && (p->GetKind() & 3) != 0 && dynamic_cast<const CImageObj*>(p) != nullptr;
}

CImageObj* AsSelectedImage(CLayoutObj* p) {
    return IsImageItem(p) && p->GetSelected() ? static_cast<CImageObj*>(p) : nullptr;
}

// Per side: (value * ratio + 500) / 1000 in whole numbers, as the ratio method scales.
LayoutPoint ScaledPrintSize(LayoutPoint print, LayoutPoint ratio) {
    return {int32_t((int64_t(print.x) * ratio.x + 500) / 1000), int32_t((int64_t(print.y) * ratio.y + 500) / 1000)};
}

}  // namespace

ImageSizeController::ImageSizeController() = default;

bool ImageSizeController::LoadFromLayout(CLayoutSetting& layout, bool preset, int16_t preferenceUnit) {
    mLayout = &layout;
    mValues = {};
    mValues.preset = preset;
    mItem = nullptr;
    if (!preset) {
        // The current item may be a free text: only a selected image speaks for the selection.
        mItem = AsSelectedImage(layout.GetCurrentItem());
        for (CLayoutObj* p = layout.GetFirstItem(); !mItem && p; p = p->NextItem()) mItem = AsSelectedImage(p);
    }
    if (!mItem) mItem = layout.GetBaseImage();
    if (!mItem) return false;
    const CImageObj& item = *mItem;

    mValues.selectionKind = item.GetType();
    if (mItem == layout.GetBaseImage()) mValues.selectionKind = std::min<int16_t>(mValues.selectionKind, 1);
    else if (layout.GetSelected() >= 2) mValues.selectionKind = 3;

    const LayoutRect frame = item.GetFrame();
    const LayoutPoint size = item.GetSize();
    // 64 bits: sizes and edges come from files.
    mValues.innerWidth = TruncToInt32(double(int64_t(size.x) - frame.left - frame.right));
    mValues.innerHeight = TruncToInt32(double(int64_t(size.y) - frame.top - frame.bottom));

    if (UsesPrintSize()) {
        const LayoutPoint print = PrintSize();
        mValues.ratioWidth = TruncToInt32(double(mValues.innerWidth) * 1000 / print.x + 0.05);
        mValues.ratioHeight = TruncToInt32(double(mValues.innerHeight) * 1000 / print.y + 0.05);
    } else {
        const LayoutPoint ratio = item.GetSizeRatio();
        const bool unset = ratio.x == 0 || ratio.y == 0;
        mValues.ratioWidth = unset ? 1000 : ratio.x;
        mValues.ratioHeight = unset ? 1000 : ratio.y;
    }

    mValues.sizeMethod = item.GetSizeMethod();
    mValues.keepProportions = item.GetSizeRatioMode() ? 1 : 0;
    mValues.imageOption = item.GetImageOptionDimens();
    mValues.frameMode = item.GetFrameMode();
    mValues.frame = frame;
    mValues.frameColoured = item.GetFrameColor() ? 1 : 0;
    mValues.frameColour = item.GetFrameColorValue();
    mValues.sizeUnit = mValues.frameUnit = layout.GetUnit() == 1 ? 1 : 2;
    mValues.sizeLineUnit = preferenceUnit == 1 ? 1 : 2;

    if (preset && mValues.frameMode == 1 && frame.left == 0 && frame.top == 0 && frame.right == 0 &&
        frame.bottom == 0) {
        const LayoutPoint pixel = item.GetSizePixel();
        const int32_t edge = int32_t(std::min(pixel.x, pixel.y) * 0.05);
        mValues.frame = {edge, edge, edge, edge};
    }
    mSizeView.clear();
    mFrameView.clear();
    mSize.InitControls();
    mFrame.InitControls();
    return true;
}

std::string ImageSizeController::TitleSuffix() const {
    return LoadString(mValues.preset ? IDS_TITLE_SUFFIX_LAYOUT : IDS_TITLE_SUFFIX_IMAGE);
}

ImageSizeView ImageSizeController::View() const {
    ImageSizeView view;
    view.size = mSizeView;
    view.frame = mFrameView;
    return view;
}

LayoutPoint ImageSizeController::PrintSize() const {
    return mItem ? GetImagePrintSize(*mItem, true) : LayoutPoint{};
}

// Per image, sizes follow the ratio of the print size; without one (the prototype, an
// image without resolution) nothing may divide by it.
bool ImageSizeController::UsesPrintSize() const {
    if (mValues.preset || !mItem) return false;
    const LayoutPoint print = PrintSize();
    return print.x > 0 && print.y > 0;
}

void ImageSizeController::AutomaticFrame() {
    const int32_t edge = int32_t(std::min(mValues.innerWidth, mValues.innerHeight) * 0.05);
    mValues.frame = {edge, edge, edge, edge};
}

bool ImageSizeController::OnOK(UndoStore& undo, ImageSizeView& view) {
    view = View();
    if (!mSize.Validate(view)) {
        view.tab = 0;
        return false;
    }
    if (mValues.frameMode != 0 && mValues.sizeMethod == 1) {
        const LayoutPoint outer = mFrame.GetOuterSize();
        if (outer.x > kMaxSideUnits || outer.y > kMaxSideUnits) {
            Messages().Show(IDS_VALUE_OUT_OF_RANGE, {}, Icon::Error, Buttons::Ok);
            view.tab = 0;
            view.focus = outer.x > kMaxSideUnits ? kWidthEdit : kHeightEdit;
            view.selectAll = true;
            return false;
        }
    }
    if (mValues.selectionKind < 2) {
        undo.ClearUndo();
    } else if (!undo.PushUndo(*mLayout, kUndoImageSize)) {
        return false;
    }

    const bool dimensions = mSizeView[kDimensionsRadio].checked;
    mValues.keepProportions = (mSizeView[kKeepDimensions].checked && mValues.sizeMethod == 1) ||
                                      (mSizeView[kKeepRatio].checked && mValues.sizeMethod == 2)
                                  ? 1
                                  : 0;
    if (mValues.frameMode == 1) AutomaticFrame();

    if (mValues.selectionKind == 3) {
        mValues.sizeMethod = dimensions ? 1 : 2;
        for (CLayoutObj* p = mLayout->GetFirstItem(); p; p = p->NextItem()) {
            if (CImageObj* image = AsSelectedImage(p)) WriteItem(*image, true);
        }
        Relayout(*mLayout);
        UpdateImageInfoWindow(mLayout->GetCurrentItem());
    } else {
        WriteItem(*mItem, false);
        if (mValues.selectionKind == 2) {
            Relayout(*mLayout);
            UpdateImageInfoWindow(mItem);
        }
    }
    mLayout->SetDirty(1);
    return true;
}

void ImageSizeController::WriteItem(CImageObj& item, bool several) {
    const ImageSizeValues& v = mValues;
    LayoutPoint inner{v.innerWidth, v.innerHeight};
    LayoutPoint ratio{v.ratioWidth, v.ratioHeight};
    // Each item keeps its own value of the measure the method does not set.
    if (v.sizeMethod == 1) {
        ratio = item.GetSizeRatio();
        item.SetSizePixel(inner);
    } else if (v.sizeMethod == 2) {
        inner = item.GetSizePixel();
        item.SetSizeRatio(ratio);
    } else {
        item.SetSizePixel(inner);
        item.SetSizeRatio(ratio);
    }
    item.SetSizeMethod(v.sizeMethod);
    item.SetSizeRatioMode(v.keepProportions);
    item.SetFrameMode(v.frameMode);
    item.SetFrame(v.frame);
    item.SetFrameColorValue(v.frameColour);
    item.SetFrameColor(v.frameColoured);
    if (v.sizeMethod == 2 && v.frameMode == 0) {
        item.SetImageOption(1);
        item.SetImageOptionDimens(v.imageOption);
    } else {
        item.SetImageOption(v.imageOption);
        item.SetImageOptionDimens(v.imageOption);
    }

    const LayoutPoint frameSum{v.frame.left + v.frame.right, v.frame.top + v.frame.bottom};
    const LayoutPoint print = GetImagePrintSize(item, true);
    const bool scalable = !v.preset && print.x > 0 && print.y > 0;
    LayoutPoint size = inner;
    if (v.sizeMethod == 2 && scalable) size = ScaledPrintSize(print, ratio);
    if (several || v.sizeMethod != 2) size = {size.x + frameSum.x, size.y + frameSum.y};
    item.SetSize(size.x, size.y);

    if (item.GetLabelFontSizeAuto())
        item.SetLabelFontSize(
            AutoFontSizeForSide(item, MapLabelPosition(item, item.GetLabelLocation()), item.GetLabelFontSize()));
    UpdateAutoCaptionFontSize(item);
    if (several || v.selectionKind == 2) {
        BuildImageLabelText(item);
        UpdateAutoCaptionFontSize(item);
        item.SetChanged(1);
    }
}

}  // namespace vx::dialogs
