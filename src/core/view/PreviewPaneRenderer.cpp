#include "view/PreviewPaneRenderer.h"

#include <cmath>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ClipboardCommands.h"
#include "model/ObjectList.h"
#include "model/SelectionTracker.h"
#include "model/TextAndPathHelpers.h"
#include "model/UndoStore.h"
#include "model/WorkingBitmapError.h"
#include "model/WorkingBitmaps.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colour.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "view/CGPView.h"
#include "view/RenderImageObject.h"
#include "view/RenderState.h"

namespace vx {
namespace {

constexpr uint32_t kGrey = 0x47524159;  // 'GRAY'

/// The layout view's label and caption drawers, lent to the pane's pass.
class FrameTextDrawer : public CGPView {
public:
    using CGPView::DrawImageCaptionText;
    using CGPView::DrawImageLabelText;
};

int32_t Truncate(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return int32_t(std::trunc(v));
}

LayoutPoint Truncated(const CLayoutObj& item) { return item.GetSize(); }

void ClearUndo() {
    if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().ClearUndo();
}

/// The display settings the pane copies and compares, one call per value.
template <class F>
void ForEachDisplaySetting(F&& f) {
    f(&CImageObj::GetRotate, &CImageObj::SetRotate);
    f(&CImageObj::GetFrameRotate, &CImageObj::SetFrameRotate);
    f(&CImageObj::GetFrameMode, &CImageObj::SetFrameMode);
    f(&CImageObj::GetFrame, &CImageObj::SetFrame);
    f(&CImageObj::GetFrameColor, &CImageObj::SetFrameColor);
    f(&CImageObj::GetFrameColorValue, &CImageObj::SetFrameColorValue);
    f(&CImageObj::GetCrop, &CImageObj::SetCrop);
    f(&CImageObj::GetCropOut, &CImageObj::SetCropOut);
    f(&CImageObj::GetCropMode, &CImageObj::SetCropMode);
    f(&CImageObj::GetLabelSelection, &CImageObj::SetLabelSelection);
    f(&CImageObj::GetLabelNumber, &CImageObj::SetLabelNumber);
    f(&CImageObj::GetLabelLocation, &CImageObj::SetLabelLocation);
    f(&CImageObj::GetLabelUpsideDown, &CImageObj::SetLabelUpsideDown);
    f(&CImageObj::GetLabelAlign, &CImageObj::SetLabelAlign);
    f(&CImageObj::GetLabelFontSize, &CImageObj::SetLabelFontSize);
    f(&CImageObj::GetCaptionAlign, &CImageObj::SetCaptionAlign);
    f(&CImageObj::GetCaptionLocation, &CImageObj::SetCaptionLocation);
    f(&CImageObj::GetCaptionUpsideDown, &CImageObj::SetCaptionUpsideDown);
    f(&CImageObj::GetCaptionFontSize, &CImageObj::SetCaptionFontSize);
    f(&CImageObj::GetLabelText, &CImageObj::SetLabelText);
    f(&CImageObj::GetLabelFontName, &CImageObj::SetLabelFontName);
    f(&CImageObj::GetLabelFontColor, &CImageObj::SetLabelFontColor);
    f(&CImageObj::GetCaptionText, &CImageObj::SetCaptionText);
    f(&CImageObj::GetCaptionFontName, &CImageObj::SetCaptionFontName);
    f(&CImageObj::GetCaptionFontColor, &CImageObj::SetCaptionFontColor);
}

CImageObj* AsImage(CLayoutObj* item) {
    return item && item->GetKind() == kKindImage ? static_cast<CImageObj*>(item) : nullptr;
}

}  // namespace

CLayoutSetting* GetActiveLayout() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? app->ActiveLayoutSlot() : nullptr;
}

PreviewPaneRenderer::PreviewPaneRenderer() = default;
PreviewPaneRenderer::~PreviewPaneRenderer() = default;

void PreviewPaneRenderer::SetPixelsPerUnit(double x, double y) {
    if (x > 0 && y > 0) {
        mXPerUnit = x;
        mYPerUnit = y;
    }
}

void PreviewPaneRenderer::CopyDisplaySettings(const CImageObj* source) {
    if (!GetActiveLayout() || (!source && !mCopy)) {
        mShownId = -1;
        return;
    }
    if (!mCopy) return;
    const CImageObj& from = source ? *source : *mCopy;
    const LayoutPoint size = Truncated(from);
    mCopy->SetSize(size.x, size.y);
    if (&from == mCopy.get()) return;
    ForEachDisplaySetting([&](auto get, auto set) { (mCopy.get()->*set)((from.*get)()); });
}

bool PreviewPaneRenderer::IsUnchanged(const CImageObj& item) const {
    if (!mCopy || Truncated(item) != Truncated(*mCopy)) return false;
    bool same = true;
    ForEachDisplaySetting([&](auto get, auto) { same = same && (item.*get)() == (mCopy.get()->*get)(); });
    return same;
}

bool PreviewPaneRenderer::PrepareObject(CImageObj* target) {
    if (target && !FileExists(target->GetFilePath())) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    CLayoutSetting* layout = GetActiveLayout();
    if (layout) CopyDisplaySettings(target);
    if (!target) return true;
    if (target->GetColorSpace() == kGrey) {
        mColourEnabled = false;
    } else {
        // An undo would bring back a bitmap of the other colour state.
        ClearUndo();
        mColourEnabled = true;
    }
    target->SetEnableColorMatch(ColourChecked() ? 1 : 0);
    if (mCopy) {
        BuildDisplayBitmap(*target);
        if (layout) {
            // The copy shares its bitmap with the layout's item: the view shows it too.
            CLayoutObj* shown = target == mCopy.get() ? GetCurrentObject() : target;
            if (shown) RefreshSelectionTracker(*layout, shown, kTrackerRefreshItem);
        }
    }
    target->SetEnableColorMatch(1);
    return true;
}

bool PreviewPaneRenderer::ShowObject(const CLayoutObj* item) {
    mCopy.reset();
    CImageObj* target = nullptr;
    if (item) {
        mShownId = item->GetObjectId();
        target = AsImage(const_cast<CLayoutObj*>(item));
    } else {
        target = GetCurrentObject();
    }
    const bool prepared = PrepareObject(target);
    if (!target || !prepared) {
        Clear();
        return false;
    }
    try {
        CImageBitmapLock lock(*target, TempBuffer::kMapReadOnly);
        std::unique_ptr<CLayoutObj> clone = CloneLayoutObject(*target, target->GetOwner());
        if (clone && clone->GetKind() == kKindImage) mCopy.reset(static_cast<CImageObj*>(clone.release()));
    } catch (const WorkingBitmapError&) {
        mCopy.reset();
    }
    const LayoutPoint size = Truncated(*target);
    if (!mCopy || !mZoom.Prepare(size.x, size.y)) {
        Clear();
        return false;
    }
    mZoom.UpdateScrollBars();
    return true;
}

void PreviewPaneRenderer::SetColourChecked(bool checked) {
    mColourChecked = checked;
    CImageObj* target = GetCurrentObject();
    if (!target || !mColourEnabled) return;
    ClearUndo();
    // The box decides which bitmap the item shows, here and in the layout view; the
    // item itself stays marked for colour matching.
    target->SetEnableColorMatch(checked ? 1 : 0);
    BuildDisplayBitmap(*target);
    target->SetEnableColorMatch(1);
    if (CLayoutSetting* layout = GetActiveLayout()) RefreshSelectionTracker(*layout, target, kTrackerRefreshItem);
    ShowObject(nullptr);
}

CImageObj* PreviewPaneRenderer::GetCurrentObject() {
    CLayoutSetting* layout = GetActiveLayout();
    CLayoutObj* found = nullptr;
    if (layout && mShownId >= 0) found = FindObjectById(layout->ItemListHead(), uint32_t(mShownId));
    if (!found) {
        mShownId = -1;
        mCopy.reset();
    }
    return AsImage(found);
}

bool PreviewPaneRenderer::Rerender(CImageObj& item) {
    if (IsUnchanged(item)) return true;
    CopyDisplaySettings(&item);
    if (!mCopy || !PrepareObject(mCopy.get())) {
        Clear();
        return false;
    }
    const LayoutPoint size = Truncated(item);
    if (!mZoom.Prepare(size.x, size.y)) {
        Clear();
        return false;
    }
    mZoom.UpdateScrollBars();
    return true;
}

void PreviewPaneRenderer::RefreshIfChanged() {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app || app->Preferences().imagePreviewWindow != 1) return;
    if (CImageObj* item = GetCurrentObject()) Rerender(*item);
}

void PreviewPaneRenderer::OnObjectRemoved(uint32_t objectId) {
    if (mShownId >= 0 && uint32_t(mShownId) == objectId) Clear();
}

void PreviewPaneRenderer::Clear() {
    mShownId = -1;
    mCopy.reset();
    mZoom.Clear();
    // The user's tick stays for the next picture; the box is only greyed.
    mColourEnabled = false;
}

PreviewPaneRenderer::Paint PreviewPaneRenderer::Draw(gfx::Canvas& canvas) {
    canvas.Clear(gfx::Rgba::FromColorRef(gfx::GetSystemColours().buttonFace));
    if (!mCopy || !mZoom.HasItem()) return Paint::Empty;
    RenderState& rs = InstallRenderState();
    RenderLockGuard lock(rs, kRenderPreviewPane, false);
    if (!lock.Held()) return Paint::Busy;

    CLayoutSetting* layout = GetActiveLayout();
    const double ratio = mZoom.Ratio();
    if (!(ratio > 0)) return Paint::Empty;
    ViewGeometry geometry;
    geometry.layout = layout;
    geometry.zoom = ratio / mYPerUnit;
    geometry.band = {0, 0, mZoom.AreaWidth(), mZoom.AreaHeight()};
    geometry.page = geometry.band;
    geometry.layoutArea = geometry.margin = geometry.band;

    const LayoutPointD savedPosition = mCopy->GetPositionD();
    const LayoutPoint savedOffset = mCopy->GetOffsetFromPageTop();
    int32_t ox = mZoom.ImageLeft() - mZoom.Horizontal().position;
    int32_t oy = mZoom.ImageTop() - mZoom.Vertical().position;
    // Lines around the picture are drawn just outside it: keep them in view.
    if (layout && layout->CutLine().mode == 2 && layout->CutLine().markType == 1) {
        ++ox;
        ++oy;
    }
    const LayoutPoint origin{Truncate(ox / ratio), Truncate(oy / ratio)};
    mCopy->SetPosition(origin.x, origin.y);
    mCopy->SetOffsetFromPageTop(origin);
    try {
        CImageBitmapLock bitmap(*mCopy, TempBuffer::kMapReadOnly);
        rs.Begin(&canvas, &geometry, layout, mXPerUnit, mYPerUnit, kDrawPreviewPane);
        RenderImageObject(rs, *mCopy, canvas, geometry, layout ? layout->GetStampImage() : nullptr, kRenderAllParts);
        if (layout) {
            FrameTextDrawer texts;
            texts.Attach(nullptr, layout);
            if (mCopy->GetLabelSelection() != 0) texts.DrawImageLabelText(*mCopy);
            if (!mCopy->GetCaptionText().empty()) texts.DrawImageCaptionText(*mCopy);
        }
    } catch (const WorkingBitmapError&) {
        // The picture cannot be had: the pane shows what was drawn.
    }
    rs.Reset();
    mCopy->SetPositionD(savedPosition.x, savedPosition.y);
    mCopy->SetOffsetFromPageTop(savedOffset);
    return Paint::Drawn;
}

}  // namespace vx
