// Drawers of the layout view whose work is done elsewhere: the print job's band
// spooling and status. Until they exist, a print spools nothing.
#include "view/CGPView.h"

namespace vx {

bool CGPView::SpoolPageBand(const gfx::ImageSurface&, const PixelRect&, int, int) { return true; }
void CGPView::StepPrintStatus() {}
bool CGPView::PrintCancelled() { return false; }
void CGPView::AbortPrintDevice() {}

}  // namespace vx
