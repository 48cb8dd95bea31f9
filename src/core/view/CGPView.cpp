#include "view/CGPView.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/GeometryFlag.h"
#include "model/GreyConversion.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"
#include "model/WorkingBitmapError.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "view/RenderImageObject.h"
#include "view/RenderState.h"

namespace vx {
namespace {

gfx::RectD Box(const PixelRect& r) {
    return {double(r.left), double(r.top), double(r.right) - r.left, double(r.bottom) - r.top};
}

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
    PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) return {};
    return r;
}

/// Whether an item's rectangle meets the band; a line along x or y has no area but is
/// drawn all the same.
bool Meets(const PixelRect& item, const PixelRect& band) {
    const int64_t right = std::max<int64_t>(item.right, int64_t(item.left) + 1);
    const int64_t bottom = std::max<int64_t>(item.bottom, int64_t(item.top) + 1);
    return item.left < band.right && band.left < right && item.top < band.bottom && band.top < bottom;
}

int32_t Truncated(double v) {
    v = std::trunc(v);
    if (!(v > double(INT32_MIN))) return INT32_MIN;
    if (!(v < double(INT32_MAX))) return INT32_MAX;
    return int32_t(v);
}

/// Restores the canvas's transform and clip when the scope ends.
class CanvasState {
public:
    explicit CanvasState(gfx::Canvas* canvas) : mCanvas(canvas) {
        if (mCanvas) mCanvas->Save();
    }
    ~CanvasState() {
        if (mCanvas) mCanvas->Restore();
    }
    CanvasState(const CanvasState&) = delete;
    CanvasState& operator=(const CanvasState&) = delete;

private:
    gfx::Canvas* mCanvas;
};

/// One render-context pass for the scope.
class PassScope {
public:
    PassScope(RenderState& rs, gfx::Canvas* canvas, ViewGeometry* g, CLayoutSetting* layout, double x, double y,
              int mode)
        : mState(rs) {
        rs.Begin(canvas, g, layout, x, y, mode);
    }
    ~PassScope() { mState.Reset(); }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

private:
    RenderState& mState;
};

/// Clears the geometry flag for the scope, as the item setters expect during a paint.
class GeometryFlagCleared {
public:
    GeometryFlagCleared() { ClearGeometryFlag(); }
    ~GeometryFlagCleared() { SetGeometryFlag(); }
};

AppPreferences* Preferences() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

}  // namespace

CGPView::CGPView() = default;

CGPView::~CGPView() = default;

void CGPView::Attach(LayoutView* window, CLayoutSetting* layout) {
    mWindow = window;
    mLayout = layout;
    const PixelPoint ppi = window ? window->GetPixelsPerInch() : PixelPoint{96, 96};
    if (ppi.x > 0 && ppi.y > 0) {
        mXPerUnit = ppi.x / 360.0;
        mYPerUnit = ppi.y / 360.0;
    }
}

RenderState& CGPView::Pass() const { return InstallRenderState(); }

bool CGPView::IsItemOnCurrentPage(const CLayoutObj& item) const {
    if (item.GetSelected() == 1 && mDragState == 2) return true;
    if (!mLayout) return mCurrentPage == 0;
    const int32_t height = GetPaperSize(*mLayout).y;
    // A paper without height puts everything on the first page.
    const int page = height > 0 ? GetItemDrawOrigin(item).y / height : 0;
    return page == mCurrentPage;
}

void CGPView::FillBusy(gfx::Canvas& canvas) const {
    canvas.Save();
    canvas.ResetClip();
    canvas.Clear(gfx::Rgba::FromColorRef(gfx::GetSystemColours().buttonFace));
    canvas.Restore();
}

PaintResult CGPView::PaintView(gfx::Canvas& canvas, const PixelRect& viewport) {
    GeometryFlagCleared flag;
    RenderLockGuard lock(Pass(), kRenderScreen, false);
    if (!lock.Held()) {
        FillBusy(canvas);
        return PaintResult::Busy;
    }
    PassResult result = PassResult::Failed;
    try {
        DrawDevice device;
        device.canvas = &canvas;
        if (mWindow) device.pixelsPerInch = mWindow->GetPixelsPerInch();
        device.origin = {viewport.left, viewport.top};
        result = DrawPage(device, kDrawScreen, kScaleToDevice);
    } catch (const std::exception&) {
        // Reported to the window, which tells the user once; a message box here would
        // come back with every paint.
        result = PassResult::Failed;
    }
    if (result == PassResult::Failed) {
        FillBusy(canvas);
        return PaintResult::Failed;
    }
    if (result == PassResult::Skipped) FillBusy(canvas);
    return PaintResult::Drawn;
}

PaintResult CGPView::PaintRulers(gfx::Canvas& canvas, const PixelRect& viewport) {
    GeometryFlagCleared flag;
    RenderLockGuard lock(Pass(), kRenderScreen, false);
    if (!lock.Held()) return PaintResult::Busy;
    const AppPreferences* prefs = Preferences();
    if (!mLayout || !prefs || !prefs->ruler) return PaintResult::Drawn;
    try {
        GeometryInput input;
        input.owner = mWindow;
        input.currentPage = mCurrentPage;
        if (mWindow) input.pixelsPerInch = mWindow->GetPixelsPerInch();
        std::optional<PassGeometry> built = BuildPassGeometry(input, *mLayout, kDrawScreen, kScaleToDevice);
        if (!built) return PaintResult::Drawn;
        ViewGeometry g = built->geometry;
        CanvasState state(&canvas);
        canvas.Translate(-double(viewport.left), -double(viewport.top));
        PassScope pass(Pass(), &canvas, &g, mLayout, built->xPerUnit, built->yPerUnit, kDrawScreen);
        DrawRulers();
    } catch (const std::exception&) {
        return PaintResult::Failed;
    }
    return PaintResult::Drawn;
}

PassResult CGPView::ImageFailure(int mode) {
    // On screen the window reports it once; elsewhere the user is told now.
    if (mode != kDrawScreen) Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
    if (mode == kDrawPrinter) AbortPrintDevice();
    return PassResult::Failed;
}

PassResult CGPView::DrawPage(const DrawDevice& device, int mode, unsigned flags, PassCounters* counters) {
    if (counters) *counters = {};
    if (!mLayout) return PassResult::Skipped;
    const bool printing = mode == kDrawPrinter;
    const bool offTarget = printing && (flags & (kSpoolPass | kMeasurePass));
    if (!device.canvas && !offTarget) return PassResult::Skipped;

    // Undo, relayout or loading can lower the page count under the view.
    if (mode == kDrawScreen) mCurrentPage = std::clamp(mCurrentPage, 0, GetPageCount(*mLayout) - 1);
    GeometryInput input;
    input.owner = mWindow;
    input.currentPage = mCurrentPage;
    input.pixelsPerInch = device.pixelsPerInch;
    input.printer = device.printer;
    std::optional<PassGeometry> built = BuildPassGeometry(input, *mLayout, mode, flags);
    if (!built) return PassResult::Skipped;
    if (mode == kDrawScreen) {
        // The screen's scales are the view's; a print pass keeps its own.
        mXPerUnit = built->xPerUnit;
        mYPerUnit = built->yPerUnit;
    }

    // The replay pass draws in render pixels onto device pixels; at 720 pixels per inch
    // without smoothing, as the drawers do there.
    CanvasState deviceState(printing ? device.canvas : nullptr);
    const bool smooth = device.canvas ? device.canvas->Antialias() : true;
    struct SmoothingBack {
        gfx::Canvas* canvas;
        bool on;
        ~SmoothingBack() {
            if (canvas) canvas->SetAntialias(on);
        }
    } smoothingBack{printing ? device.canvas : nullptr, smooth};
    if (printing && device.canvas) device.canvas->SetAntialias(RenderResolution(flags) != 720);
    if (printing && (flags & kScaleToDevice) && device.canvas) device.canvas->Scale(built->ratioX, built->ratioY);

    if (printing && (flags & kScaleToDevice) && device.canvas) {
        // Free lines go to the printer as vectors, under the bands.
        bool failed;
        {
            PassScope pass(Pass(), device.canvas, &built->geometry, mLayout, built->xPerUnit, built->yPerUnit, mode);
            PixelRect page = built->geometry.page;
            RenderPageContent(&page, kMaskLines);
            failed = Pass().ImageFailed();
        }
        if (failed) return ImageFailure(mode);
    }
    return RunBands(device, *built, mode, flags, counters);
}

PassResult CGPView::RunBands(const DrawDevice& device, const PassGeometry& built, int mode, unsigned flags,
                             PassCounters* counters) {
    ViewGeometry g = built.geometry;
    const bool printing = mode == kDrawPrinter;
    const bool measuring = printing && (flags & kMeasurePass) && !(flags & kSpoolPass);
    const bool spooling = printing && (flags & kSpoolPass);
    const bool replaying = printing && !spooling && !measuring && (flags & kScaleToDevice);

    PixelRect work = mode == kDrawScreen ? g.band : g.page;
    if (printing && mLayout->GetBanner()) {
        // One page length of the roll, overlapping the next by 10 pixels.
        const int64_t pages = std::max<int32_t>(mLayout->GetPageNum(), 1);
        const int64_t overlap = mCurrentPage + 1 < pages ? 10 : 0;
        if (mLayout->GetPaperOrient())
            work.right = ClampToInt32(work.left + (int64_t(work.right) - work.left) / pages + overlap);
        else
            work.bottom = ClampToInt32(work.top + (int64_t(work.bottom) - work.top) / pages + overlap);
    }
    const int64_t workWidth = int64_t(work.right) - work.left;
    const int64_t workHeight = int64_t(work.bottom) - work.top;
    if (workWidth <= 0 || workHeight <= 0) return PassResult::Done;
    const int64_t bandWidth = printing ? kBandSize : workWidth;
    const int64_t bandHeight = printing ? kBandSize : workHeight;

    // Printing renders into a band picture; the screen and previews draw straight into
    // their target, which is off-screen already.
    gfx::ImageSurface bandSurface;
    std::unique_ptr<gfx::Canvas> bandCanvas;
    gfx::Canvas* target = printing ? nullptr : device.canvas;
    const bool drawing = spooling || target != nullptr;

    int bandIndex = 0;
    for (int64_t top = work.top;; top += bandHeight) {
        int64_t bottomEdge = top + bandHeight;
        for (int64_t left = work.left;; left += bandWidth, ++bandIndex) {
            const PixelRect band{ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + bandWidth),
                                 ClampToInt32(bottomEdge)};
            const PixelRect clipped = Intersect(band, work);
            if (counters) ++counters->bands;
            bool failed = false;
            if (spooling) {
                // Every band gets a picture of its own, opaque and the band's size: the
                // band store may keep it as it is.
                bandCanvas.reset();
                bandSurface = gfx::ImageSurface(clipped.right - clipped.left, clipped.bottom - clipped.top, true);
                if (!bandSurface.Valid()) return ImageFailure(mode);
                bandCanvas = std::make_unique<gfx::Canvas>(bandSurface.Native(), RenderResolution(flags));
                bandCanvas->SetAntialias(RenderResolution(flags) != 720);
                bandCanvas->Clear({1, 1, 1, 1});
                target = bandCanvas.get();
            }
            {
                CanvasState state(target);
                if (drawing) {
                    if (printing) target->Translate(-double(band.left), -double(band.top));
                    else target->Translate(-double(device.origin.x), -double(device.origin.y));
                    target->ClipRect(Box(band));
                }
                PassScope pass(Pass(), target, &g, mLayout, built.xPerUnit, built.yPerUnit, mode);
                if (measuring) {
                    if (counters) {
                        const int64_t w = int64_t(clipped.right) - clipped.left;
                        counters->area += w * (int64_t(clipped.bottom) - clipped.top);
                        ++counters->hits;
                    }
                } else if (!replaying) {
                    RenderPageContent(&band, kMaskAll);
                }
                failed = Pass().ImageFailed();
            }
            if (failed) return ImageFailure(mode);

            bool bandFailed = false;
            if (!printing) {
                // The target is the off-screen picture: a canvas in error ends quietly.
                if (!device.canvas->Ok()) return PassResult::Failed;
            } else if (spooling) {
                bandFailed = !SpoolPageBand(bandSurface, clipped, mCurrentPage, bandIndex);
            } else if (replaying) {
                bandFailed = !DrawCachedTile(*device.canvas, clipped, mCurrentPage, bandIndex);
            }
            if (bandFailed) return ImageFailure(mode);
            if ((spooling || replaying) && PrintCancelled()) {
                AbortPrintDevice();
                return PassResult::Cancelled;
            }
            if (!(work.right > band.right)) break;
        }
        ++bandIndex;
        if (!(work.bottom > bottomEdge)) break;
    }
    return PassResult::Done;
}

PixelRect CGPView::ItemDeviceRect(const CLayoutObj& item) const {
    const RenderState& rs = Pass();
    const double xs = rs.GetScaleX();
    const double ys = rs.GetScaleY();
    const LayoutRect r = GetItemRectByKind(item);
    const LayoutPoint size = GetItemSize(item);
    const int64_t pageTop = rs.GetItemPageTop(item);
    const int32_t left = Truncated(r.left * xs);
    const int32_t top = Truncated(double(r.top - pageTop) * ys);
    const PixelPoint o = rs.GetPageOrigin();
    PixelRect d{left, top, Truncated(left + xs * size.x), Truncated(top + ys * size.y)};
    d = {ClampToInt32(int64_t(d.left) + o.x), ClampToInt32(int64_t(d.top) + o.y), ClampToInt32(int64_t(d.right) + o.x),
         ClampToInt32(int64_t(d.bottom) + o.y)};
    return rs.PageToDeviceRect(d);
}

void CGPView::RenderPageContent(const PixelRect* band, unsigned mask) {
    RenderState& rs = Pass();
    if (!mLayout || !rs.GetCanvas() || !rs.GetGeometry()) return;
    const int mode = rs.GetMode();
    const bool screen = mode == kDrawScreen;
    const bool preview = mode == kDrawPreview || mode == kDrawTemplatePreview;
    const AppPreferences* prefs = Preferences();

    pageBackgroundColour = mLayout->GetPaperColor() & 0xFFFFFF;
    if ((screen || preview) && mLayout->GetColor() != 2) pageBackgroundColour = GreyFromRGB(pageBackgroundColour);
    DrawPageBackground();
    // On screen the margins are whitened once more after the items, over everything
    // drawn on them meanwhile: the first whitening would only be overwritten.
    marginsWhitenedLater = screen;
    if (screen || preview) DrawPageMarginsWhite();
    marginsWhitenedLater = false;
    if (screen) UpdateFrameTitle();
    if (screen && prefs && prefs->gridShown && mLayout->GetFree()) DrawGrid();

    std::vector<PixelRect> images;
    if (mode >= kDrawScreen && mode <= kDrawPreview) DrawItems(band, mask, images);
    else if (mode == kDrawTemplatePreview) DrawImagePlaceholders();

    const LayoutPoint space = GetSpace(*mLayout);
    if (!mLayout->GetFree() && space.x >= 70 && space.y >= 70 && mLayout->CutLine().mode == 1 && mode >= kDrawScreen &&
        mode <= kDrawPreview)
        DrawAutoCutLines(images, rs.GetScaleY());

    FormatHeaderFooterText();
    DrawHeaderFooter();

    if (screen || mode == kDrawPrinter) DrawPageMarginsWhite();
    if (!screen) return;
    if (mLayout->GetLayoutMarginShow()) DrawLayoutAreaFrame();
    if (mLayout->GetMarginShow()) DrawMarginFrame();
    DrawDesk();
    DrawPageBorder();
    DrawPageShadow();
    if (prefs && prefs->ruler) DrawRulers();
}

void CGPView::DrawItems(const PixelRect* band, unsigned mask, std::vector<PixelRect>& images) {
    RenderState& rs = Pass();
    const int mode = rs.GetMode();
    const bool banner = mLayout->GetBanner() != 0;
    for (CLayoutObj* item = mLayout->GetFirstItem(); item; item = item->NextItem()) {
        const int16_t kind = item->GetKind();
        if (kind != kKindImage && kind != kKindText && kind != kKindLine) continue;
        const PixelRect r = ItemDeviceRect(*item);
        if (!banner && rs.GetItemPage(*item) != mCurrentPage) continue;
        if (kind == kKindImage) images.push_back(r);
        if ((unsigned(kind) & mask) && (!band || Meets(r, *band))) {
            if (kind == kKindText) DrawFreeText(*item);
            else if (kind == kKindLine) DrawFreeLine(*item);
            else DrawImageItem(static_cast<const CImageObj&>(*item));
        }
        if (kind == kKindImage) {
            if (mode == kDrawScreen && item == mMarkedItem) DrawMarkedItemFrame(r);
            if (mLayout->CutLine().mode == 2) {
                if (mLayout->CutLine().markType == 1) DrawCutFrameStyle1(r);
                else if (mLayout->CutLine().markType == 2) DrawCutFrameStyle2(r);
            }
        }
        if (mode == kDrawScreen && item->GetSelected()) {
            const int handles = kind == kKindLine ? 2 : 8;
            for (int i = 1; i <= handles; ++i)
                if (std::optional<PixelPoint> p = HandlePoint(*item, r, i)) DrawHandle(*p);
        }
    }
}

void CGPView::DrawImageItem(const CImageObj& item) {
    try {
        // Drawing only reads: a lock for writing would renew the content generation and
        // throw away what is known about the picture's alpha on every paint.
        CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
        if (item.GetWorkingBuffer()) RenderImage(item, kRenderPicturePass);
        if (item.GetLabelSelection() != 0) DrawImageLabelText(item);
        if (!item.GetCaptionText().empty()) DrawImageCaptionText(item);
        if (item.GetWorkingBuffer()) RenderImage(item, kRenderOverlayPass);
    } catch (const WorkingBitmapError&) {
        // The picture cannot be had: an image failure of the pass.
        Pass().MarkBitmapDrawn(true);
    }
}

void CGPView::RenderImage(const CImageObj& item, unsigned parts) {
    RenderState& rs = Pass();
    RenderImageObject(rs, item, *rs.GetCanvas(), *rs.GetGeometry(), mLayout->GetStampImage(), parts);
}

bool CGPView::DrawCachedTile(gfx::Canvas& canvas, const PixelRect& dest, int page, int band) {
    StepPrintStatus();
    return mBands.Draw(canvas, dest, page, band);
}

DibBufferPtr CGPView::DrawPageOffscreen(int mode, const ViewGeometry& geometry) {
    if (!mLayout) return nullptr;
    const LayoutPoint paper = GetPaperSize(*mLayout);
    if (paper.x <= 0 || paper.y <= 0) return nullptr;
    const int64_t w = int64_t(geometry.page.right) - geometry.page.left;
    const int64_t h = int64_t(geometry.page.bottom) - geometry.page.top;
    if (w <= 0 || h <= 0 || w > DibBuffer::kMaxSide || h > DibBuffer::kMaxSide) return nullptr;

    gfx::ImageSurface surface{int(w), int(h)};
    if (!surface.Valid()) return nullptr;
    {
        gfx::Canvas canvas(surface.Native(), mXPerUnit * 360);
        canvas.Clear({1, 1, 1, 1});
        ViewGeometry g = geometry;
        g.owner = mWindow;
        g.layout = mLayout;
        const int shown = mCurrentPage;
        mCurrentPage = 0;
        struct PageBack {
            int& page;
            int value;
            ~PageBack() { page = value; }
        } back{mCurrentPage, shown};
        canvas.Translate(-double(geometry.page.left), -double(geometry.page.top));
        PassScope pass(Pass(), &canvas, &g, mLayout, mXPerUnit, mYPerUnit, mode);
        RenderPageContent(nullptr, kMaskAll);
        if (!canvas.Ok()) return nullptr;
    }

    Rect16 rect;
    rect.Set(0, 0, int16_t(w), int16_t(h));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 0, rect) != 0) return nullptr;
    DibBufferPtr page(raw);
    uint8_t* bits = DibBuffer::GetBits(page.get());
    const int32_t rowBytes = DibBuffer::GetRowBytes(page.get());
    const uint8_t* src = surface.Data();
    for (int64_t y = 0; y < h; ++y) {
        uint8_t* dst = bits + size_t(y) * size_t(rowBytes);
        std::memcpy(dst, src + size_t(y) * size_t(surface.Stride()), size_t(w) * 4);
        for (int64_t x = 0; x < w; ++x) dst[x * 4 + 3] = 255;
    }
    return page;
}

std::string CGPView::FrameTitleText() const {
    if (mLayout && !mLayout->Texts().documentPath.empty())
        return std::filesystem::path(mLayout->Texts().documentPath).filename().string();
    const ViewStateBlock* vs = mLayout ? mLayout->GetViewState() : nullptr;
    return MessageText(IDS_UNTITLED_LAYOUT, {static_cast<long long>(vs ? vs->untitledNumber : 0)});
}

void CGPView::UpdateFrameTitle() {
    Shell* shell = HostService<Shell>();
    if (!shell) return;
    std::string title = FrameTitleText();
    if (mTitleShown && title == mShownTitle) return;
    shell->SetLayoutTitle(title);
    mShownTitle = std::move(title);
    mTitleShown = true;
}

}  // namespace vx
