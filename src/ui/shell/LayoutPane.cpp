#include "ui/shell/LayoutPane.h"

#include <algorithm>
#include <cmath>

#include <wx/dcclient.h>
#include <wx/gdicmn.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"

namespace vx {

LayoutPane::LayoutPane(wxWindow* parent, std::function<CLayoutSetting*()> source)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      mSource(std::move(source)),
      mPainter(*this, mView) {
    // Each paint covers the whole client area from an off-screen surface.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    mView.Attach(this, mSource ? mSource() : nullptr);
    Bind(wxEVT_PAINT, &LayoutPane::OnPaint, this);
}

void LayoutPane::Sync() {
    CLayoutSetting* layout = mSource ? mSource() : nullptr;
    if (layout != mView.GetLayout()) {
        mView.Attach(this, layout);
        Refresh(false);
    }
    if (ApplicationState* app = HostService<ApplicationState>(); app && layout) app->ActiveLayoutSlot() = layout;
}

void LayoutPane::SetCurrentPage(int index) {
    mView.SetCurrentPage(index);
    Refresh(false);
}

PixelRect LayoutPane::ClientToDocRect() const {
    const wxSize s = GetClientSize();
    return {0, 0, s.x, s.y};
}

ViewPageRect LayoutPane::GetPageRect() const {
    ViewPageRect r;
    const CLayoutSetting* layout = mView.GetLayout();
    if (!layout) return r;
    double zoom = 1.0;
    if (const ViewStateBlock* vs = layout->GetViewState(); vs && vs->zoomNumerator > 0 && vs->zoomDenominator > 0)
        zoom = double(vs->zoomNumerator) / vs->zoomDenominator;
    const LayoutPoint paper = GetPaperSize(*layout);
    const double w = std::max(0.0, paper.x * mView.GetXPerUnit() * zoom);
    const double h = std::max(0.0, paper.y * mView.GetYPerUnit() * zoom);
    r.page = {0, 0, int32_t(std::lround(std::min(w, 1e8))), int32_t(std::lround(std::min(h, 1e8)))};
    // Ten pixels of desk at least; the page is centred once more than twenty are spare.
    const wxSize s = GetClientSize();
    const auto place = [](int client, int page) { return client - page > 20 ? (client - page) / 2 : 10; };
    r.offset = {place(s.x, r.page.right), place(s.y, r.page.bottom)};
    return r;
}

PixelPoint LayoutPane::GetPixelsPerInch() const {
    const wxSize ppi = wxGetDisplayPPI();
    return {ppi.x > 0 ? ppi.x : 96, ppi.y > 0 ? ppi.y : 96};
}

void LayoutPane::OnPaint(wxPaintEvent&) {
    Sync();
    wxPaintDC dc(this);
    mLastPaint = mPainter.Paint(dc, ClientToDocRect());
    mView.UpdateFrameTitle();
}

}  // namespace vx
