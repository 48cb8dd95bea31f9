#include "view/PrintJob.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <new>

#include "colourmanagement/SingleColourTransforms.h"
#include "host/ApplicationState.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/CUndoEntry.h"
#include "model/ImageGeometry.h"
#include "model/LayoutLimits.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/PaperSizes.h"
#include "model/UndoStore.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "view/CGPView.h"
#include "view/PassGeometry.h"
#include "view/RenderState.h"

namespace vx {
namespace {

constexpr int64_t kFineArea = 15890800;  // 0.01 mm² of paper printed at 720 pixels per inch
constexpr size_t kTitleChars = 31;
/// The longest banner a job slices, 15,000 mm in layout units.
constexpr double kBannerLimit = 212598.4251968504;

/// The status window when the program has none: nothing to show, never cancelled.
class NoStatusWindow final : public PrintStatusWindow {
public:
    bool Create(std::function<void()>) override { return true; }
    void Destroy() override {}
    bool IsOwnerEnabled() const override { return false; }
    void EnableOwner(bool) override {}
    void SetBarRange(int32_t, int32_t) override {}
    void SetBarPos(int32_t) override {}
    void SetPercentText(const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    bool Pump() override { return true; }
};

/// Forwards messages and counts them, so that a step can tell whether its callee
/// has told the user already.
class CountingMessages final : public MessagePort {
public:
    explicit CountingMessages(MessagePort& next) : mNext(next) {}
    int Show(int stringId, const Args& args, Icon icon, Buttons buttons) override {
        ++count;
        return mNext.Show(stringId, args, icon, buttons);
    }
    int count = 0;

private:
    MessagePort& mNext;
};

class ScopedMessages {
public:
    explicit ScopedMessages(MessagePort* port) : mPrevious(SetMessagePort(port)) {}
    ~ScopedMessages() { SetMessagePort(mPrevious); }
    ScopedMessages(const ScopedMessages&) = delete;
    ScopedMessages& operator=(const ScopedMessages&) = delete;

private:
    MessagePort* mPrevious;
};

int32_t Low32(uint64_t v) { return int32_t(std::min<uint64_t>(v, INT32_MAX)); }

DrawDevice PrinterDevice(const DeviceCaps& caps, gfx::Canvas* canvas) {
    DrawDevice d;
    d.canvas = canvas;
    d.pixelsPerInch = {caps.logPixelsX, caps.logPixelsY};
    d.printer = &caps;
    return d;
}

}  // namespace

Rect16 PrintJob::PrintedPictureSize(const CImageObj& item, int pixelsPerInch) {
    Rect16 size;
    const std::optional<ImageDescription>& description = item.GetDescription();
    if (!description || description->width <= 0 || description->height <= 0) return size;
    double w = description->width;
    double h = description->height;
    if (item.GetRotate() & 5) std::swap(w, h);
    const LayoutRect r = item.GetRect();
    const LayoutRect frame = item.GetFrame();
    const double unitsToPixels = double(pixelsPerInch) / 360.0;
    const double innerW = std::max(0.0, double(r.right) - r.left - frame.left - frame.right) * unitsToPixels;
    const double innerH = std::max(0.0, double(r.bottom) - r.top - frame.top - frame.bottom) * unitsToPixels;
    // The shown part: the crop when it is cut out, else the whole picture; the
    // proportions a fitted picture keeps, as the drawing pass takes them.
    double shownW = w;
    double shownH = h;
    double fitW = w;
    double fitH = h;
    if (item.GetCropOut() == 1) {
        LayoutRect image, crop;
        GetRotatedCropRects(item, image, crop);
        const double iw = double(image.right) - image.left;
        const double ih = double(image.bottom) - image.top;
        if (iw > 0 && ih > 0) {
            shownW = std::clamp((double(crop.right) - crop.left) / iw, 0.0, 1.0) * w;
            shownH = std::clamp((double(crop.bottom) - crop.top) / ih, 0.0, 1.0) * h;
            fitW = double(crop.right) - crop.left;
            fitH = double(crop.bottom) - crop.top;
        }
    }
    // Device pixels per shown picture pixel on each side: fitted inside the frame,
    // filling it (the larger scale, the rest cut off), or stretched to it.
    double scaleX = shownW > 0 ? innerW / shownW : 0;
    double scaleY = shownH > 0 ? innerH / shownH : 0;
    switch (item.GetImageOption()) {
        case 0:
            if (fitW > 0 && fitH > 0 && shownW > 0 && shownH > 0) {
                const double fit = std::min(innerW / fitW, innerH / fitH);
                scaleX = fitW * fit / shownW;
                scaleY = fitH * fit / shownH;
            }
            break;
        case 2: scaleX = scaleY = std::max(scaleX, scaleY); break;
        default: break;
    }
    const auto side = [](double s) { return int16_t(std::clamp(std::ceil(s - 1e-9), 1.0, 32767.0)); };
    size.Set(0, 0, side(w * scaleX), side(h * scaleY));
    return size;
}

PrintJob::PrintJob(CGPView& view, PrintJobServices& services)
    : mView(view), mServices(services), mLayout(view.GetLayout()) {}

PrintJob::~PrintJob() = default;

int PrintJob::PageCount(const CLayoutSetting& layout) {
    return layout.GetBanner() ? int(layout.GetPageNum()) : int(layout.GetPageNumber());
}

unsigned PrintJob::ChooseClass(const CLayoutSetting& layout, int logPixelsX) {
    const int64_t area =
        int64_t(layout.GetPaperLength()) * int64_t(layout.GetPaperWidth()) * int64_t(std::max(PageCount(layout), 0));
    if (logPixelsX > 700 && area <= kFineArea) return kRender720;
    switch (ChooseInputResolution(layout, 0)) {
        case 360: return kRender360;
        case 120: return kRender120;
        default: return kRender90;
    }
}

bool PrintJob::Run() {
    if (!mLayout) return false;
    if (!PreparePrinting()) return false;

    std::string title = TruncateCodePoints(mView.FrameTitleText(), kTitleChars);
    if (!BeginPrinting()) {
        EndPrinting();
        Messages().Show(IDS_UNKNOWN_ERROR, {}, Icon::Error, Buttons::Ok);
        return false;
    }

    mWindow = mServices.CreateStatusWindow();
    if (!mWindow) mWindow = std::make_unique<NoStatusWindow>();
    mStatus = std::make_unique<CPrintStatusDlg>(*mWindow);
    mStatus->Create();
    ProgressPort* previousProgress = SetProgressPort(mStatus.get());
    struct ProgressBack {
        ProgressPort* previous;
        ~ProgressBack() { SetProgressPort(previous); }
    } progressBack{previousProgress};
    mStatus->SetStatusText(MessageText(IDS_PRINT_PREPARING));

    mJob = mServices.CreateJob(*mSetup, Messages(), [this] { return !mStatus->IsCancelled(); });
    if (!mJob || mJob->StartDoc(title) < 0) {
        // The spool layer has said why.
        mJob.reset();
        EndPrinting();
        mStatus->DestroyWindow();
        return false;
    }

    bool error = false;
    for (int page = mFromPage; page <= mToPage && !error; ++page) {
        gfx::Canvas* canvas = mJob->StartPage();
        if (!canvas) {
            error = true;
            break;
        }
        bool printed = false;
        try {
            printed = PrintPage(page, *canvas);
        } catch (const std::exception&) {
            // The layout is put back below and the job dropped; the program goes on.
            Abort();
            Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
        }
        if (!printed || mAborted || mStatus->IsCancelled()) {
            error = true;
            break;
        }
        const bool written = mJob->EndPage();
        if (!mView.Bands().PageWritten() && written) {
            // A band file that cannot be read any more left a hole in the page.
            Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
            error = true;
        }
        if (!written || !mStatus->Pump() || !CheckPrintJob()) error = true;
    }

    bool delivered = false;
    if (!error) delivered = mJob->EndDoc();
    if (!delivered) Abort();
    EndPrinting();
    mStatus->DestroyWindow();
    mJob.reset();
    return delivered;
}

bool PrintJob::PreparePrinting() {
    CLayoutSetting& layout = *mLayout;
    if (!CheckImageFilesExist()) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return false;
    }
    if (layout.GetPaperSize() == 0) {
        layout.SetOrientation(1);
        layout.SetPaperSize(9);
        layout.SetPaperLength(2970);
        layout.SetPaperWidth(2100);
        layout.SetDefaultSource(4);
    }
    mFromPage = 1;
    const int16_t keptPageNumber = layout.GetPageNumber();
    const int16_t keptPageMax = layout.GetPageMax();
    if (layout.GetBanner()) {
        const LayoutPoint paper = TenthsMmToLayoutUnits(layout.GetPaperSize(), layout.GetOrientation(),
                                                        layout.GetPaperLength(), layout.GetPaperWidth());
        const LayoutPoint banner = GetPaperSize(layout);
        const int64_t step = layout.GetPaperOrient() ? paper.x : paper.y;
        const int64_t length = layout.GetPaperOrient() ? banner.x : banner.y;
        if (step > 0) {
            const int64_t pages = length / step + (length % step ? 1 : 0);
            layout.SetPageNumber(int16_t(std::clamp<int64_t>(pages, 0, INT16_MAX)));
            layout.SetPageMax(int16_t(std::clamp<int64_t>(int64_t(kBannerLimit / double(step)), 0, INT16_MAX)));
        }
    }
    mToPage = layout.GetPageNumber();
    const bool ranged = PreparePrintRange();
    if (layout.GetBanner()) {
        layout.SetPageNumber(keptPageNumber);
        layout.SetPageMax(keptPageMax);
    }
    if (!ranged) return false;

    mView.Bands().Clear();
    mPageCount = PageCount(layout);
    const DeviceCaps& caps = mSetup->device->Caps();
    MeasurePrintJob(caps.logPixelsX > 700 ? kRender720 : kRender360);

    if (AsksAboutSize(mPixelTotal * 3) &&
        Messages().Show(IDS_PRINT_DATA_TOO_LARGE, {}, Icon::Warning, Buttons::OkCancel) == kIdCancel)
        return false;
    return true;
}

bool PrintJob::PreparePrintRange() {
    if (mToPage < mFromPage) mToPage = mFromPage;
    mSetup = mServices.ProvideDevice(*mLayout);
    return mSetup && mSetup->device;
}

bool PrintJob::CheckImageFilesExist() const {
    std::error_code ec;
    bool anyImage = false;
    for (const CLayoutObj* item = mLayout->GetFirstItem(); item; item = item->NextItem()) {
        if (item->GetKind() != kKindImage) continue;
        anyImage = true;
        if (!std::filesystem::exists(static_cast<const CImageObj*>(item)->GetFilePath(), ec)) return false;
    }
    const std::string& stamp = mLayout->Texts().imageStampPath;
    return !anyImage || stamp.empty() || std::filesystem::exists(stamp, ec);
}

void PrintJob::MeasurePrintJob(unsigned printerClass) {
    const DeviceCaps& caps = mSetup->device->Caps();
    unsigned flags = ChooseClass(*mLayout, caps.logPixelsX);
    if (flags == kRender720 && printerClass != kRender720) flags = kRender360;
    mView.SetPrintFlags(flags);

    const int kept = mView.GetCurrentPage();
    mPixelTotal = mSpoolBands = mReplayBands = 0;
    const DrawDevice device = PrinterDevice(caps, nullptr);
    for (int p = 0; p < mPageCount; ++p) {
        mView.SetCurrentPage(p);
        PassCounters counters;
        mView.DrawPage(device, kDrawPrinter, flags | kMeasurePass, &counters);
        mPixelTotal += uint64_t(std::max<int64_t>(counters.area, 0));
        mSpoolBands += uint64_t(std::max<int64_t>(counters.hits, 0));
        mReplayBands += uint64_t(std::max<int64_t>(counters.bands, 0));
    }
    mView.SetCurrentPage(kept);
}

bool PrintJob::BeginPrinting() {
    mSavedPage = mView.GetCurrentPage();
    mLockHeld = InstallRenderState().Acquire(kRenderPrinting, true);
    if (LayoutView* window = mView.GetWindow()) window->Invalidate();
    return mLockHeld;
}

bool PrintJob::PrintPage(int page, gfx::Canvas& canvas) {
    if (page == 1 && !PrepareWholeJob()) return false;
    if (mAborted || mStatus->IsCancelled()) return false;
    mView.SetCurrentPage(page - 1);
    if (page == 1) {
        mStatus->SetRange(0, Low32(mReplayBands));
        mStatus->SetPos(0);
    }
    mStatus->SetStatusText(MessageText(IDS_PRINT_SPOOLING_PAGE, {(long long)page, (long long)mPageCount}));
    return mView.DrawPage(PrinterDevice(mSetup->device->Caps(), &canvas), kDrawPrinter,
                          mView.GetPrintFlags() | kScaleToDevice) == PassResult::Done;
}

bool PrintJob::PrepareWholeJob() {
    if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().ClearUndo();
    auto snapshot = std::make_unique<CUndoEntry>();
    snapshot->CopyFromLayout(*mLayout, true);
    mSnapshot = std::move(snapshot);

    CLayoutObj* const* head = mLayout->ItemListHead();
    const int n = CountObjectsOfKind(head, kKindImage);
    mStatus->SetRange(0, n);
    mStatus->SetPos(0);
    mStatus->SetStatusText(MessageText(IDS_PRINT_COLOUR_MATCHING, {0LL, (long long)n}));
    for (int i = 0; i < n; ++i) {
        if (mStatus->IsCancelled()) return false;
        auto* item = static_cast<CImageObj*>(GetObjectOfKindAt(head, i, kKindImage));
        if (!item) return false;
        const Rect16 printed = PrintedPictureSize(*item, RenderResolution(mView.GetPrintFlags()));
        if (!RebuildForPrinting(*item, &printed)) return false;
        mStatus->SetStatusText(MessageText(IDS_PRINT_COLOUR_MATCHING, {(long long)(i + 1), (long long)n}));
        mStatus->StepIt();
        item->HasTransparency();
    }
    CImageObj* stamp = mLayout->GetStampImage();
    if (stamp && !mLayout->Texts().imageStampPath.empty() && stamp->GetDescription()) {
        if (!RebuildForPrinting(*stamp)) return false;
        stamp->HasTransparency();
    }
    ConvertColours();
    if (mStatus->IsCancelled()) return false;
    return PrintPageBands();
}

bool PrintJob::RebuildForPrinting(CImageObj& item, const Rect16* printed) {
    CountingMessages counting(Messages());
    bool rebuilt;
    {
        ScopedMessages scoped(&counting);
        rebuilt = item.RebuildBitmap(printed);
    }
    // The preview-sized bitmap must never reach the printer enlarged.
    if (!rebuilt && counting.count == 0) Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
    return rebuilt;
}

void PrintJob::ConvertColours() {
    CLayoutSetting* layout = mLayout;
    const auto printer = [layout](ColorRef c) { return TransformColorForView(layout, 1, c); };
    for (CLayoutObj* item = layout->GetFirstItem(); item; item = item->NextItem()) {
        switch (item->GetKind()) {
            case kKindImage: {
                auto* image = static_cast<CImageObj*>(item);
                image->SetFrameColorValue(printer(image->GetFrameColorValue()));
                image->SetCropFrameColor(printer(image->GetCropFrameColor()));
                image->SetLabelFontColor(printer(image->GetLabelFontColor()));
                image->SetCaptionFontColor(printer(image->GetCaptionFontColor()));
                break;
            }
            case kKindLine: {
                auto* line = static_cast<CLineObj*>(item);
                line->SetLineColor(printer(line->GetLineColor()));
                break;
            }
            case kKindText: {
                auto* text = static_cast<CTextObj*>(item);
                FontSpec font = text->GetFont();
                font.color = printer(font.color);
                text->SetFont(std::move(font));
                text->SetBackgroundColorValue(printer(text->GetBackgroundColorValue()));
                break;
            }
            default: break;
        }
    }
    layout->HeaderFooterFont().color = printer(layout->HeaderFooterFont().color);
    layout->CutLine().color = printer(layout->CutLine().color);
    layout->SetPaperColor(printer(layout->GetPaperColor()));
}

bool PrintJob::PrintPageBands() {
    const int kept = mView.GetCurrentPage();
    struct PageBack {
        CGPView& view;
        int page;
        ~PageBack() { view.SetCurrentPage(page); }
    } back{mView, kept};
    if (mSpoolBands != 0) {
        mStatus->SetRange(0, Low32(mSpoolBands));
        mStatus->SetPos(0);
        mStatus->SetStatusText(MessageText(IDS_PRINT_SPOOLING_TO_DISK, {1LL}));
    }
    const DrawDevice device = PrinterDevice(mSetup->device->Caps(), nullptr);
    for (int p = 0; p < mPageCount; ++p) {
        mView.SetCurrentPage(p);
        if (mView.DrawPage(device, kDrawPrinter, mView.GetPrintFlags() | kSpoolPass) != PassResult::Done) return false;
        if (mStatus->IsCancelled()) return false;
    }
    return true;
}

bool PrintJob::SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect& clipped, int page, int band) {
    StepStatus();
    if (mStatus) mStatus->SetStatusText(MessageText(IDS_PRINT_SPOOLING_TO_DISK, {(long long)(page + 1)}));
    const int width = clipped.right - clipped.left;
    const int height = clipped.bottom - clipped.top;
    if (width <= 0 || height <= 0 || width > surface.Width() || height > surface.Height()) return false;
    // The band's own top rows are the rows on the page, also where the page ends inside it.
    return mView.Bands().Store(page, band, surface, width, height, CGPView::kBandSize);
}

void PrintJob::StepStatus() {
    if (mStatus) mStatus->StepIt();
}

bool PrintJob::Cancelled() { return mStatus && mStatus->IsCancelled(); }

void PrintJob::AbortDevice() { Abort(); }

void PrintJob::Abort() {
    if (mAborted) return;
    mAborted = true;
    if (mJob) mJob->AbortDoc();
}

bool PrintJob::CheckPrintJob() {
    if (mLayout->Texts().printerName.empty() || mJob->IsRawOnly()) return true;
    if (mJob->BytesWritten() <= kSpoolLimit) return true;
    Messages().Show(IDS_SPOOL_SIZE_EXCEEDED, {(long long)(kSpoolLimit >> 30)}, Icon::None, Buttons::Ok);
    return false;
}

void PrintJob::EndPrinting() {
    try {
        mView.SetCurrentPage(mSavedPage);
        mView.Bands().Clear();
        if (mSnapshot) {
            const CLayoutObj* marked = mView.GetMarkedItem();
            const uint32_t markedId = marked ? marked->GetObjectId() : 0;
            mSnapshot->CopyToLayout(*mLayout, 1);
            mSnapshot.reset();
            // The items are copies now.
            mView.SetMarkedItem(markedId ? FindObjectById(mLayout->ItemListHead(), markedId) : nullptr);
        }
    } catch (...) {
        LogUnexpectedException(std::current_exception());
        FatalError(kFatalExitCode);
    }
    if (mLockHeld) {
        InstallRenderState().Release();
        mLockHeld = false;
    }
    if (LayoutView* window = mView.GetWindow()) window->Invalidate();
}

}  // namespace vx
