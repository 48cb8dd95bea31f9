#include "dialogs/CropController.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <utility>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "imaging/DibDrawing.h"
#include "imaging/Rect16.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ClipboardCommands.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "model/LayoutOperations.h"
#include "model/LayoutViewRefresh.h"
#include "model/LengthUnits.h"
#include "model/PictureLoader.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/gfx/CairoHandles.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/BusyIndicator.h"

namespace vx {
namespace {

constexpr uint16_t kUndoCodeCrop = 5;
constexpr int kRangeCodePixel = 0;

int32_t Whole(double v) {
    if (!(v == v)) return 0;
    return int32_t(std::clamp(v, -2147483647.0, 2147483647.0));
}

int32_t Width(const PixelRect& r) { return r.right - r.left; }
int32_t Height(const PixelRect& r) { return r.bottom - r.top; }

LayoutRect Normalized(LayoutRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

// One crop axis held inside the picture: extent at least 1, the near inset from 0.
void HoldAxis(int32_t& nearInset, int32_t& farInset, int32_t side) {
    const int64_t extent = std::clamp<int64_t>(int64_t(side) - nearInset - farInset, side > 0 ? 1 : 0, side);
    const int64_t start = std::clamp<int64_t>(nearInset, 0, side - extent);
    nearInset = int32_t(start);
    farInset = int32_t(side - start - extent);
}

bool SamePicture(const CImageObj& a, const CImageObj& b) {
    return a.GetFilePath() == b.GetFilePath() && a.GetRotate() == b.GetRotate() &&
           a.GetFrameRotate() == b.GetFrameRotate();
}

}  // namespace

CropController::CropController(CLayoutSetting& layout, bool sameImage)
    : mLayout(layout), mSingleImage(sameImage) {}

CropController::~CropController() = default;

bool CropController::Fail() {
    Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
    return false;
}

bool CropController::Init(PixelRect previewArea) {
    if (!Setup(previewArea) || !BuildPreview()) return Fail();
    mTracker = std::make_unique<CCropTracker>(mPreviewImage, mSingleImage);
    mTracker->SetRect(mCropRect);
    mTracker->SetConstraints(this, mScaleX, mScaleY);
    mTracker->SetMinSize(mMinCropWidth / mScaleX, mMinCropHeight / mScaleY);
    WriteOwnEdit(kWidth, mCropWidth);
    WriteOwnEdit(kHeight, mCropHeight);
    if (mKeepProportions) mTracker->SetAspectLock(true);
    return true;
}

bool CropController::Setup(PixelRect area) {
    CLayoutObj* current = mLayout.GetCurrentItem();
    if (!current || current->GetKind() != kKindImage) return false;
    mCurrent = static_cast<CImageObj*>(current);
    if (!mCurrent->IsSaveFile() || !mCurrent->GetDescription()) return false;
    mCopyOwner = CloneLayoutObject(*mCurrent, &mLayout);
    if (!mCopyOwner) return false;
    mCopy = static_cast<CImageObj*>(mCopyOwner.get());

    mResolution = mCopy->GetCropRes();
    const ImageDescription& d = *mCopy->GetDescription();
    mImageWidth = d.width;
    mImageHeight = d.height;
    if (ExchangesSides(mCopy->GetRotate())) std::swap(mImageWidth, mImageHeight);
    if (mImageWidth <= 0 || mImageHeight <= 0) return false;
    mAspect = double(mImageHeight) / mImageWidth;

    mPreviewArea = area;
    const int32_t areaWidth = std::max(1, Width(area));
    const int32_t areaHeight = std::max(1, Height(area));
    int32_t previewWidth, previewHeight;
    // A side is never 0 pixels, however extreme the picture: the scales divide by it.
    if (double(areaHeight) / areaWidth < mAspect) {
        previewHeight = areaHeight;
        previewWidth = std::max(1, int32_t(std::lround(areaHeight / mAspect)));
    } else {
        previewWidth = areaWidth;
        previewHeight = std::max(1, int32_t(std::lround(areaWidth * mAspect)));
    }
    mPreviewImage = {area.left, area.top, area.left + previewWidth, area.top + previewHeight};

    LayoutRect image, crop;
    GetRotatedCropRects(*mCopy, image, crop);
    mCropWidth = std::abs(crop.right - crop.left);
    mCropHeight = std::abs(crop.bottom - crop.top);
    mCropBounds = {0, 0, mImageWidth, mImageHeight};
    const auto toPreview = [](int32_t v, int32_t preview, int32_t side) {
        return Whole(std::ceil(double(v) * preview / side));
    };
    mCropRect = {area.left + toPreview(crop.left, previewWidth, mImageWidth),
                 area.top + toPreview(crop.top, previewHeight, mImageHeight),
                 area.left + toPreview(crop.right, previewWidth, mImageWidth),
                 area.top + toPreview(crop.bottom, previewHeight, mImageHeight)};
    mMinCropWidth = Whole(std::ceil(double(mImageWidth) / previewWidth));
    mMinCropHeight = Whole(std::ceil(double(mImageHeight) / previewHeight));
    mScaleX = double(mImageWidth) / previewWidth;
    mScaleY = double(mImageHeight) / previewHeight;

    const LayoutPoint ratio = mCopy->GetCropRatio();
    mRatio = {ratio.x, ratio.y};
    mKeepProportions = mCopy->GetCropMode() != 0;
    SetMode(mCopy->GetCropOut());
    mColour = mCopy->GetCropFrameColor();

    // The resolution and proportions of the uncropped picture.
    const int16_t cropOut = mCopy->GetCropOut();
    mCopy->SetCropOut(0);
    const LayoutPoint print = GetImagePrintSize(*mCopy, true);
    const bool wide = mImageWidth >= mImageHeight;
    const int64_t pixels = wide ? mImageWidth : mImageHeight;
    const int64_t s = wide ? print.x : print.y;
    if (s > 0) {
        mResolution = int32_t((pixels * 360 + s / 2) / s);
        mCopy->SetCropRes(mResolution);
    }
    const LayoutPoint size = mCopy->GetSize();
    if (print.x == 0 || print.y == 0) {
        const int32_t side = std::max(size.x, size.y);
        mCopy->SetSize(side, side);
    } else if (size.x >= size.y) {
        mCopy->SetSize(size.x, Whole(std::round(double(size.x) * print.y / print.x)));
    } else {
        mCopy->SetSize(Whole(std::round(double(size.y) * print.x / print.y)), size.y);
    }
    mCopy->SetCropOut(cropOut);
    return true;
}

bool CropController::BuildPreview() {
    if (!mCopy) return false;
    BusyScope busy(HostService<BusyIndicator>());
    mPreview.reset();
    const int16_t cropOut = mCopy->GetCropOut();
    mCopy->SetCropOut(0);
    Rect16 target;
    target.Set(0, 0, int16_t(std::min(Width(mPreviewImage), int32_t(DibBuffer::kMaxSide))),
               int16_t(std::min(Height(mPreviewImage), int32_t(DibBuffer::kMaxSide))));
    mPreview = LoadPictureBuffer(*mCopy, kPictureModePreview, target);
    mCopy->SetCropOut(cropOut);
    return mPreview != nullptr;
}

void CropController::DrawPreview(gfx::Canvas& canvas) const {
    const auto rectD = [](const PixelRect& r) {
        return gfx::RectD{double(r.left), double(r.top), double(Width(r)), double(Height(r))};
    };
    const gfx::Rgba white{1, 1, 1, 1};
    // The picture is opaque: white goes only where it does not cover.
    if (mPreview)
        canvas.FillXorBand(rectD(mPreviewArea), rectD(mPreviewImage), white);
    else
        canvas.FillRect(rectD(mPreviewArea), white);
    if (mPreview) {
        const Rect16 own = DibBuffer::GetRect(mPreview.get());
        const bool unscaled = own.Width() == Width(mPreviewImage) && own.Height() == Height(mPreviewImage);
        DrawImageBufferGdiplus(mPreview.get(), canvas, mPreviewImage,
                               unscaled ? gfx::Filter::Nearest : gfx::Filter::Good);
    }
    if (!mTracker) return;
    const gfx::Rgba veil{1, 1, 1, 128 / 255.0};
    const PixelRect frame = mTracker->Rect();
    if (mSingleImage)
        canvas.FillXorBand(rectD(mPreviewImage), rectD(frame), veil);
    else
        canvas.FillRect(rectD(mPreviewImage), veil);
    // The frame: a dotted line of whole pixels, one fill through a checker pattern (a
    // dashed stroke costs more than the picture itself); its handles inside.
    cairo_t* cr = canvas.Native();
    cairo_save(cr);
    static const gfx::CairoPattern dots = [] {
        gfx::CairoSurface tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2));
        cairo_surface_flush(tile.get());
        unsigned char* p = cairo_image_surface_get_data(tile.get());
        const int stride = cairo_image_surface_get_stride(tile.get());
        if (p) {
            const uint32_t black = 0xFF000000u;
            std::memcpy(p, &black, 4);
            std::memcpy(p + stride + 4, &black, 4);
        }
        cairo_surface_mark_dirty(tile.get());
        gfx::CairoPattern pattern(cairo_pattern_create_for_surface(tile.get()));
        cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_NEAREST);
        return pattern;
    }();
    cairo_set_source(cr, dots.get());
    const double w = Width(frame), h = Height(frame);
    cairo_rectangle(cr, frame.left, frame.top, w, 1);
    cairo_rectangle(cr, frame.left, frame.bottom - 1, w, 1);
    cairo_rectangle(cr, frame.left, frame.top + 1, 1, h - 2);
    cairo_rectangle(cr, frame.right - 1, frame.top + 1, 1, h - 2);
    cairo_fill(cr);
    cairo_restore(cr);
    gfx::Path marks;
    const int s = CCropTracker::kHandleSize;
    const int32_t cx = (frame.left + frame.right) / 2 - s / 2;
    const int32_t cy = (frame.top + frame.bottom) / 2 - s / 2;
    for (const auto& [x, y] : {std::pair{frame.left, frame.top}, {frame.right - s, frame.top},
                               {frame.right - s, frame.bottom - s}, {frame.left, frame.bottom - s},
                               {cx, frame.top}, {frame.right - s, cy}, {cx, frame.bottom - s}, {frame.left, cy}})
        marks.AddRectangle(x, y, s, s);
    canvas.FillPath(marks, gfx::Rgba{0, 0, 0, 1});
}

void CropController::SetMode(int mode) { mMode = mode == 1 || mode == 2 ? mode : 0; }

bool CropController::SetKeepProportions(bool on) {
    if (!on) {
        mKeepProportions = false;
        if (mTracker) mTracker->SetAspectLock(false);
        return true;
    }
    if (mCropWidth == 0 || mCropHeight == 0) {
        mKeepProportions = false;
        Messages().Show(IDS_KEEP_PROPORTIONS_ZERO, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    if (mTracker) mTracker->SetAspectLock(true);
    mRatio = {mCropWidth, mCropHeight};
    mKeepProportions = true;
    return true;
}

int32_t CropController::EditValue(Axis axis) const {
    const std::string& t = mText[axis];
    size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    if (i < t.size() && t[i] == '+') ++i;
    int32_t v = 0;
    std::from_chars(t.data() + i, t.data() + t.size(), v);
    return v;
}

void CropController::WriteOwnEdit(Axis axis, int32_t value) {
    mWritingEdits = true;
    mText[axis] = std::to_string(value);
    mWritingEdits = false;
}

void CropController::WriteEdit(Axis axis, int32_t value) {
    // The tracker wrote: run the change handler as the edit's change event would.
    mText[axis] = std::to_string(value);
    OnEditChanged(axis);
}

void CropController::EditChanged(Axis axis, const std::string& text) {
    mText[axis] = text;
    OnEditChanged(axis);
}

void CropController::OnEditChanged(Axis axis) {
    if (mWritingEdits) return;
    const bool width = axis == kWidth;
    int32_t& crop = width ? mCropWidth : mCropHeight;
    int32_t& other = width ? mCropHeight : mCropWidth;
    const int32_t otherSide = width ? mImageHeight : mImageWidth;
    const int32_t ratioThis = width ? mRatio.x : mRatio.y;
    const int32_t ratioOther = width ? mRatio.y : mRatio.x;
    crop = EditValue(axis);
    if (mKeepProportions && ratioThis > 0 && ratioOther > 0 &&
        int64_t(crop) * ratioOther / ratioThis > otherSide) {
        other = otherSide;
        crop = Whole(double(otherSide) * ratioThis / ratioOther);
        WriteOwnEdit(axis, crop);
        WriteOwnEdit(width ? kHeight : kWidth, other);
    }
    if (!mTracker) return;
    bool& setByProgram = width ? mTracker->WidthSetByProgram() : mTracker->HeightSetByProgram();
    if (setByProgram) {
        setByProgram = false;
        return;
    }
    width ? mTracker->SetWidthFromPixels(crop, false) : mTracker->SetHeightFromPixels(crop, false);
}

void CropController::EditCommitted(Axis axis) {
    const bool width = axis == kWidth;
    int32_t& crop = width ? mCropWidth : mCropHeight;
    const int32_t minimum = width ? mMinCropWidth : mMinCropHeight;
    if (crop < minimum) {
        crop = minimum;
        WriteOwnEdit(axis, crop);
    }
    const int32_t ratioThis = width ? mRatio.x : mRatio.y;
    const int32_t ratioOther = width ? mRatio.y : mRatio.x;
    if (mKeepProportions && ratioThis > 0 && ratioOther > 0) {
        int32_t& other = width ? mCropHeight : mCropWidth;
        other = Whole(double(crop) * ratioOther / ratioThis);
        WriteOwnEdit(width ? kHeight : kWidth, other);
    }
    if (mTracker) width ? mTracker->SetWidthFromPixels(crop, false) : mTracker->SetHeightFromPixels(crop, false);
}

namespace {

CropController::Cursor CursorForHit(int hit, bool dragging) {
    using C = CropController::Cursor;
    switch (hit) {
    case kHitTopLeft:
    case kHitBottomRight: return C::SizeNWSE;
    case kHitTopRight:
    case kHitBottomLeft: return C::SizeNESW;
    case kHitTop:
    case kHitBottom: return C::SizeNS;
    case kHitLeft:
    case kHitRight: return C::SizeWE;
    case kHitMiddle: return dragging ? C::Dragging : C::OverFrame;
    default: return C::Arrow;
    }
}

bool Inside(const PixelRect& r, PixelPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

CropController::Cursor CropController::ButtonDown(PixelPoint point) {
    if (!mTracker || !mSingleImage || !Inside(mPreviewImage, point)) return Cursor::Arrow;
    const int hit = mTracker->HitTest(point);
    if (hit == kHitNothing) {
        mAnchor = point;
        return Cursor::Arrow;
    }
    mDragging = hit == kHitMiddle;
    mTracker->BeginTrack(hit, point);
    return CursorForHit(hit, mDragging);
}

CropController::Cursor CropController::MouseMove(PixelPoint point, bool buttonDown) {
    if (!mTracker || !mSingleImage) return Cursor::Arrow;
    if (mTracker->Tracking()) {
        mTracker->TrackTo(point);
        return mDragging ? Cursor::Dragging : Cursor::Arrow;
    }
    if (!Inside(mPreviewImage, point)) return Cursor::Arrow;
    const int hit = mTracker->HitTest(point);
    if (hit == kHitNothing && mAnchor && buttonDown) {
        const PixelPoint from = *mAnchor;
        mAnchor.reset();
        mTracker->BeginRubberBand(from);
        mTracker->TrackTo(point);
        return Cursor::SizeNWSE;
    }
    return CursorForHit(hit, mDragging);
}

void CropController::ButtonUp(PixelPoint point) {
    mAnchor.reset();
    if (!mTracker || !mTracker->Tracking()) return;
    mTracker->TrackTo(point);
    mTracker->EndTrack();
    mDragging = false;
}

void CropController::MoveFrame(int32_t dx, int32_t dy) {
    if (mTracker) mTracker->MoveBy(dx, dy);
}

void CropController::FitToTypedSize(LayoutRect& rect, int32_t typedWidth, int32_t typedHeight, int32_t imageWidth,
                                    int32_t imageHeight) {
    const auto fit = [](int32_t& low, int32_t& high, int32_t typed, int32_t side) {
        if (typed > kMaxTypedSize) return;
        if (high - low > typed) {
            high = std::max(low + 1, low + typed);
        } else if (high - low < typed) {
            high = low + typed;
            if (high > side) {
                const int32_t excess = high - side;
                high = side;
                low = std::max(0, low - excess);
            }
        }
    };
    fit(rect.left, rect.right, typedWidth, imageWidth);
    fit(rect.top, rect.bottom, typedHeight, imageHeight);
}

void CropController::StoreCropRect(CImageObj& item, const LayoutRect& turned) {
    const std::optional<ImageDescription>& d = item.GetDescription();
    if (!d) return;
    int32_t w = d->width, h = d->height;
    if (ExchangesSides(item.GetRotate())) std::swap(w, h);
    // Insets of the turned picture, then back through the permutation of the turn.
    const int32_t l = turned.left, t = turned.top, r = w - turned.right, b = h - turned.bottom;
    LayoutRect c;  // left, top, right, bottom insets of the stored picture
    switch (item.GetRotate()) {
    case 1: c = {t, r, b, l}; break;
    case 2: c = {r, b, l, t}; break;
    case 4: c = {b, l, t, r}; break;
    case 8: c = {r, t, l, b}; break;
    case 9: c = {b, r, t, l}; break;
    case 10: c = {l, b, r, t}; break;
    case 12: c = {t, l, b, r}; break;
    default: c = {l, t, r, b}; break;
    }
    HoldAxis(c.left, c.right, d->width);
    HoldAxis(c.top, c.bottom, d->height);
    item.SetCrop(c);
}

void CropController::ApplyCrop(CImageObj& item, const LayoutRect& rect) const {
    StoreCropRect(item, rect);
    item.SetCropMode(mKeepProportions ? 1 : 0);
    item.SetCropOut(int16_t(mMode));
    item.SetCropRes(mResolution);
    item.SetCropRatio({EditValue(kWidth), EditValue(kHeight)});
    item.SetCropFrameColor(mColour);
}

bool CropController::Ok(Focus* focus) {
    if (focus) *focus = Focus::None;
    if (!mTracker || !mCopy) return false;
    BusyScope busy(HostService<BusyIndicator>());
    if (mCropWidth == 0 || mCropHeight == 0) {
        const bool width = mCropWidth == 0;
        ShowValueRangeError(kRangeCodePixel, 1, width ? mImageWidth : mImageHeight);
        if (focus) *focus = width ? Focus::Width : Focus::Height;
        return false;
    }
    const PixelRect frame = mTracker->Rect();
    const int32_t previewWidth = std::max(1, Width(mPreviewImage));
    const int32_t previewHeight = std::max(1, Height(mPreviewImage));
    LayoutRect rect;
    rect.left = int16_t(int64_t(frame.left - mPreviewImage.left) * mImageWidth / previewWidth);
    rect.top = int16_t(int64_t(frame.top - mPreviewImage.top) * mImageHeight / previewHeight);
    // A typed size beyond the limit is ignored: the frame's own extent stands.
    rect.right = rect.left + (mCropWidth <= kMaxTypedSize
                                  ? mCropWidth : Whole(double(Width(frame)) * mImageWidth / previewWidth));
    rect.bottom = rect.top + (mCropHeight <= kMaxTypedSize
                                  ? mCropHeight : Whole(double(Height(frame)) * mImageHeight / previewHeight));
    rect = Normalized(rect);
    if (rect.right == rect.left) rect.right = rect.left + 1;
    if (rect.bottom == rect.top) rect.bottom = rect.top + 1;

    ApplicationState* app = HostService<ApplicationState>();
    if (!app || !app->GetUndoStore().PushUndo(mLayout, kUndoCodeCrop)) {
        // Nothing written: the dialog stays, so the user does not take it for done.
        Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    FitToTypedSize(rect, EditValue(kWidth), EditValue(kHeight), mImageWidth, mImageHeight);
    bool cropped = false;
    for (CLayoutObj* p = mLayout.GetFirstItem(); p; p = p->NextItem()) {
        if (!p->GetSelected() || p->GetKind() != kKindImage) continue;
        auto& image = static_cast<CImageObj&>(*p);
        if (SamePicture(image, *mCurrent)) {
            ApplyCrop(image, rect);
            BuildImageLabelText(image);
            UpdateAutoCaptionFontSize(image);
            image.SetColorMatched(0);
            image.SetChanged(1);
            cropped = true;
        } else {
            image.SetCropMode(mKeepProportions ? 1 : 0);
            image.SetCropOut(int16_t(mMode));
            image.SetCropFrameColor(mColour);
        }
        UpdateImageInfoWindow(&image);
    }
    // Once for all: every cropped item gives the same layout.
    if (cropped) {
        Relayout(mLayout);
        InvalidateMainFormView();
    }
    InvalidateLayoutView(mLayout);
    mLayout.SetDirty(1);
    return true;
}

}  // namespace vx
