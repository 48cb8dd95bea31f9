#include "ui/ViewPainter.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/brush.h>
#include <wx/pen.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "platform/gfx/Canvas.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "ui/SurfacePainter.h"

namespace vx {

ViewPainter::ViewPainter(wxWindow& window, CGPView& view) : mWindow(window), mView(view) {
    PrepareSurfaceWindow(window);
}

PaintResult ViewPainter::Paint(wxDC& dc, const PixelRect& viewport) {
    const int width = std::max(viewport.right - viewport.left, 1);
    const int height = std::max(viewport.bottom - viewport.top, 1);
    if (!mSurface.Valid() || mSurface.Width() != width || mSurface.Height() != height)
        mSurface = gfx::ImageSurface(width, height, true);
    if (!mSurface.Valid()) return PaintResult::Failed;

    PaintResult result;
    {
        gfx::Canvas canvas(mSurface.Native(), gfx::kScreenPixelsPerInch);
        result = mView.PaintView(canvas, viewport);
    }
    PaintSurface(dc, mSurface, 0, 0);
    PaintOverlay(dc);

    if (result == PaintResult::Drawn) {
        mFailureShown = false;
    } else if (result == PaintResult::Failed && !mFailureShown) {
        mFailureShown = true;
        // A message box inside the paint would paint again beneath it.
        mWindow.CallAfter([] { Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok); });
    }
    return result;
}

PaintResult ViewPainter::PaintRulers(wxDC& dc, const PixelRect& viewport) {
    const int width = viewport.right - viewport.left, height = viewport.bottom - viewport.top;
    if (!mSurface.Valid() || mSurface.Width() != width || mSurface.Height() != height) return Paint(dc, viewport);
    PaintResult result;
    {
        gfx::Canvas canvas(mSurface.Native(), gfx::kScreenPixelsPerInch);
        result = mView.PaintRulers(canvas, viewport);
    }
    PaintSurface(dc, mSurface, 0, 0);
    PaintOverlay(dc);
    return result;
}

PaintResult ViewPainter::PaintCached(wxDC& dc, const PixelRect& viewport) {
    const int width = viewport.right - viewport.left, height = viewport.bottom - viewport.top;
    if (!mSurface.Valid() || mSurface.Width() != width || mSurface.Height() != height) return Paint(dc, viewport);
    PaintSurface(dc, mSurface, 0, 0);
    PaintOverlay(dc);
    return PaintResult::Drawn;
}

void ViewPainter::PaintOverlay(wxDC& dc) const {
    if (!mBand) return;
    dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(mBand->left, mBand->top, mBand->right - mBand->left + 1, mBand->bottom - mBand->top + 1);
}

void WxRenderWaitPort::PumpEvents() {
    if (wxTheApp) wxTheApp->Yield(true);
    wxMilliSleep(1);
}

}  // namespace vx
