#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/LayoutView.h"
#include "imaging/Rect16.h"
#include "platform/spool/PrintDevice.h"
#include "platform/spool/PrintQueue.h"
#include "platform/spool/SpoolJob.h"
#include "printing/CPrintStatusDlg.h"

namespace vx {

class CGPView;
class CImageObj;
class CLayoutSetting;
class CUndoEntry;
namespace gfx {
class Canvas;
class ImageSurface;
}

/// The application's printer as a job gets it: the driver's settings record, the
/// device made from it and the queue it prints to.
struct PrintSetup {
    std::string settings;
    std::unique_ptr<PrintDevice> device;
    PrintQueue queue;
};

/// What a print job needs from outside the view: the printer, a spool job on its
/// queue and the print status window. The window side installs them as a host service.
class PrintJobServices {
public:
    virtual ~PrintJobServices() = default;
    /// The application's printer set up for the layout (its header and footer texts
    /// rebuilt); nothing when it cannot be had, without a message.
    virtual std::optional<PrintSetup> ProvideDevice(CLayoutSetting& layout) = 0;
    /// A spool job on the setup's queue; null when none can be made.
    virtual std::unique_ptr<SpoolJob> CreateJob(const PrintSetup& setup, MessagePort& messages, SpoolPump pump) = 0;
    /// Dialog 102 owned by the program's main window; null: the job runs without one.
    virtual std::unique_ptr<PrintStatusWindow> CreateStatusWindow() = 0;
};

/// One print of a layout view's whole layout, run by CGPView::DoPrintJob: checks and
/// sizes the job, converts the layout's pictures and colours to the printer once,
/// renders every page in bands into band files, then replays them page by page onto
/// the spool job while the print status shows progress and offers Cancel. Whatever
/// happens, the layout, the view's page and the render lock are as they were
/// afterwards, and only the undo step is gone.
class PrintJob {
public:
    /// Spooled bytes above which the job stops (2 GiB).
    static constexpr uint64_t kSpoolLimit = uint64_t(1) << 31;
    /// Estimated bytes (3 per rendered pixel) above which the user is asked: 90 % of it.
    static constexpr uint64_t kSizeQuestionBytes = 1932735283;

    PrintJob(CGPView& view, PrintJobServices& services);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    /// Runs the job; true when the document was delivered.
    bool Run();

    /// The resolution class (kRender720 ... kRender90) for a layout printed on a
    /// device of logPixelsX pixels per inch.
    static unsigned ChooseClass(const CLayoutSetting& layout, int logPixelsX);
    /// The size in device pixels at pixelsPerInch at which the item's whole picture
    /// (turned like its bitmap) is drawn: its shown part fitted into, filling or
    /// stretched to the inside of its frame. At least 1 x 1; empty without a
    /// description.
    static Rect16 PrintedPictureSize(const CImageObj& item, int pixelsPerInch);
    /// Whether an estimate of bytes asks the user before printing.
    static bool AsksAboutSize(uint64_t bytes) { return bytes > kSizeQuestionBytes; }
    /// The pages a job prints: `mPageNum` for a banner, else `mPageNumber`.
    static int PageCount(const CLayoutSetting& layout);

    // The view's side of a print pass.
    bool SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect& clipped, int page, int band);
    void StepStatus();
    bool Cancelled();
    void AbortDevice();

    /// The print status while the job runs.
    CPrintStatusDlg* Status() const { return mStatus.get(); }

    /// What the measuring pass found.
    uint64_t PixelTotal() const { return mPixelTotal; }
    uint64_t SpoolBandTotal() const { return mSpoolBands; }
    uint64_t ReplayBandTotal() const { return mReplayBands; }

private:
    bool PreparePrinting();
    bool PreparePrintRange();
    bool CheckImageFilesExist() const;
    void MeasurePrintJob(unsigned printerClass);
    bool BeginPrinting();
    /// One page; at page 1 first the preparation of the whole job. False stops the job.
    bool PrintPage(int page, gfx::Canvas& canvas);
    bool PrepareWholeJob();
    /// Rebuilds one picture for printing, a JPEG only as large as the printed size asks;
    /// false after the user was told why.
    bool RebuildForPrinting(CImageObj& item, const Rect16* printed = nullptr);
    void ConvertColours();
    bool PrintPageBands();
    bool CheckPrintJob();
    void EndPrinting();
    void Abort();

    CGPView& mView;
    PrintJobServices& mServices;
    CLayoutSetting* mLayout;
    std::optional<PrintSetup> mSetup;
    std::unique_ptr<PrintStatusWindow> mWindow;
    std::unique_ptr<CPrintStatusDlg> mStatus;
    std::unique_ptr<SpoolJob> mJob;
    std::unique_ptr<CUndoEntry> mSnapshot;
    int mFromPage = 1;
    int mToPage = 1;
    int mPageCount = 0;
    int mSavedPage = 0;
    bool mLockHeld = false;
    bool mAborted = false;
    uint64_t mPixelTotal = 0;
    uint64_t mSpoolBands = 0;
    uint64_t mReplayBands = 0;
};

}  // namespace vx
