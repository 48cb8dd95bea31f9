// Drawers of the layout view whose work is done elsewhere: free texts and lines, labels
// and captions, cut marks, placeholders, header and footer, rulers, selection handles,
// and the print job's band spooling and status. Until they draw, a pass leaves their
// layers empty and a print spools nothing.
#include "view/CGPView.h"

namespace vx {

void CGPView::DrawFreeText(const CLayoutObj&) {}
void CGPView::DrawFreeLine(const CLayoutObj&) {}
void CGPView::DrawImageLabelText(const CImageObj&) {}
void CGPView::DrawImageCaptionText(const CImageObj&) {}
void CGPView::DrawCutFrameStyle1(const PixelRect&) {}
void CGPView::DrawCutFrameStyle2(const PixelRect&) {}
void CGPView::DrawImagePlaceholders() {}
void CGPView::DrawAutoCutLines(const std::vector<PixelRect>&, double) {}
void CGPView::FormatHeaderFooterText() {}
void CGPView::DrawHeaderFooter() {}
void CGPView::DrawRulers() {}
std::optional<PixelPoint> CGPView::HandlePoint(const CLayoutObj&, const PixelRect&, int) { return std::nullopt; }

bool CGPView::SpoolPageBand(const gfx::ImageSurface&, const PixelRect&, int, int) { return true; }
void CGPView::StepPrintStatus() {}
bool CGPView::PrintCancelled() { return false; }
void CGPView::AbortPrintDevice() {}

}  // namespace vx
