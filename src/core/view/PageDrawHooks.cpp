// Drawers of the layout view whose work is done elsewhere: the print job's band
// spooling and status.
#include "host/HostService.h"
#include "view/CGPView.h"
#include "view/PrintJob.h"

namespace vx {

bool CGPView::DoPrintJob() {
    PrintJobServices* services = HostService<PrintJobServices>();
    if (!services || mPrintJob) return false;
    PrintJob job(*this, *services);
    mPrintJob = &job;
    struct Clear {
        PrintJob*& job;
        ~Clear() { job = nullptr; }
    } clear{mPrintJob};
    return job.Run();
}

bool CGPView::SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect& clipped, int page, int band) {
    return mPrintJob ? mPrintJob->SpoolPageBand(surface, clipped, page, band) : true;
}
void CGPView::StepPrintStatus() {
    if (mPrintJob) mPrintJob->StepStatus();
}
bool CGPView::PrintCancelled() { return mPrintJob && mPrintJob->Cancelled(); }
void CGPView::AbortPrintDevice() {
    if (mPrintJob) mPrintJob->AbortDevice();
}

}  // namespace vx
