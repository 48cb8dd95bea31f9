#include "ui/view/CPreviewPane.h"

#include <filesystem>

#include <wx/dcclient.h>
#include <wx/image.h>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Folders.h"
#include "ui/SurfacePainter.h"
#include "view/PreviewPaneRenderer.h"

namespace vx {
namespace {

/// The program's cursor picture of that id (hot spot in its middle), else stock.
wxCursor LoadCursor(int id, wxStockCursor fallback) {
    const auto path = DataFolder() / "cursors" / (std::to_string(id) + ".png");
    wxImage image;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) && image.LoadFile(wxString::FromUTF8(path.string()))) {
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, image.GetWidth() / 2);
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, image.GetHeight() / 2);
        return wxCursor(image);
    }
    return wxCursor(fallback);
}

}  // namespace

CPreviewPane::CPreviewPane(wxWindow* parent, PreviewPaneRenderer& renderer, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, wxID_ANY, pos, size, wxHSCROLL | wxVSCROLL | wxBORDER_NONE | wxWANTS_CHARS),
      mRenderer(renderer),
      mGrab(LoadCursor(198, wxCURSOR_SIZING)),
      mHand(LoadCursor(199, wxCURSOR_HAND)) {
    PrepareSurfaceWindow(*this);
    AlwaysShowScrollbars(true, true);
    Bind(wxEVT_PAINT, &CPreviewPane::OnPaint, this);
    Bind(wxEVT_SCROLLWIN_TOP, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_BOTTOM, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEUP, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEDOWN, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEUP, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEDOWN, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBTRACK, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &CPreviewPane::OnScroll, this);
    Bind(wxEVT_LEFT_DOWN, &CPreviewPane::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CPreviewPane::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CPreviewPane::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CPreviewPane::OnCaptureLost, this);
    Bind(wxEVT_SIZE, &CPreviewPane::OnSize, this);
    const wxSize area = DrawingArea();
    mRenderer.Zoom().SetDrawingArea(area.x, area.y);
    ApplyBars();
}

void CPreviewPane::ApplyBars() {
    const PreviewZoom& zoom = mRenderer.Zoom();
    const auto apply = [this](int orient, const PreviewScrollBar& bar) {
        // Range maximum + 1 with a thumb of 1: positions 0 to maximum, as the bar had.
        if (bar.enabled) SetScrollbar(orient, bar.position, 1, bar.maximum + 1);
        else SetScrollbar(orient, 0, 0, 0);
    };
    apply(wxHORIZONTAL, zoom.Horizontal());
    apply(wxVERTICAL, zoom.Vertical());
}

void CPreviewPane::Refresh() {
    mRenderer.Zoom().UpdateScrollBars();
    ApplyBars();
    wxWindow::Refresh(false);
    Update();
}

void CPreviewPane::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize area = DrawingArea();
    if (area.x <= 0 || area.y <= 0) return;
    gfx::ImageSurface surface(area.x, area.y, true);
    if (!surface.Valid()) return;
    {
        gfx::Canvas canvas(surface.Native(), 96);
        mRenderer.Draw(canvas);
    }
    PaintSurface(dc, surface, 0, 0);
}

void CPreviewPane::OnScroll(wxScrollWinEvent& event) {
    const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
    const PreviewZoom& zoom = mRenderer.Zoom();
    const PreviewScrollBar& bar = horizontal ? zoom.Horizontal() : zoom.Vertical();
    int32_t position = bar.position;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLLWIN_LINEUP) position -= 1;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN) position += 1;
    else if (type == wxEVT_SCROLLWIN_PAGEUP) position -= 10;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN) position += 10;
    else if (type == wxEVT_SCROLLWIN_TOP) position = 0;
    else if (type == wxEVT_SCROLLWIN_BOTTOM) position = bar.maximum;
    else position = event.GetPosition();
    mRenderer.Zoom().ScrollTo(horizontal, position);
    ApplyBars();
    wxWindow::Refresh(false);
    Update();
}

void CPreviewPane::OnLeftDown(wxMouseEvent& event) {
    event.Skip();
    if (!mRenderer.Zoom().CanPan() || mPanning) return;
    mPanning = true;
    mLast = event.GetPosition();
    SetCursor(mGrab);
    CaptureMouse();
}

void CPreviewPane::OnMotion(wxMouseEvent& event) {
    event.Skip();
    if (mPanning) {
        const wxPoint at = event.GetPosition();
        mRenderer.Zoom().Pan(at.x - mLast.x, at.y - mLast.y);
        mLast = at;
        ApplyBars();
        wxWindow::Refresh(false);
        Update();
        return;
    }
    const wxSize area = DrawingArea();
    const wxPoint p = event.GetPosition();
    const bool inside = p.x >= 0 && p.y >= 0 && p.x < area.x && p.y < area.y;
    SetCursor(mRenderer.Zoom().CanPan() && inside ? mHand : wxNullCursor);
}

void CPreviewPane::OnLeftUp(wxMouseEvent& event) {
    event.Skip();
    if (!mPanning) return;
    EndPan();
    SetCursor(mHand);
}

void CPreviewPane::OnCaptureLost(wxMouseCaptureLostEvent&) { mPanning = false; }

void CPreviewPane::EndPan() {
    mPanning = false;
    if (HasCapture()) ReleaseMouse();
}

void CPreviewPane::OnSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize area = DrawingArea();
    PreviewZoom& zoom = mRenderer.Zoom();
    if (area.x == zoom.AreaWidth() && area.y == zoom.AreaHeight()) return;
    zoom.SetDrawingArea(area.x, area.y);
    Refresh();
    if (mAreaChanged) mAreaChanged();
}

}  // namespace vx
