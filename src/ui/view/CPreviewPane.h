#pragma once
#include <functional>

#include <wx/cursor.h>
#include <wx/window.h>

namespace vx {

class PreviewPaneRenderer;

/// The drawing child of the image preview window: paints the renderer's copy through
/// an off-screen surface, scrolls with its bars and pans with the left button while a
/// zoom step is chosen. The renderer belongs to the preview window.
class CPreviewPane : public wxWindow {
public:
    CPreviewPane(wxWindow* parent, PreviewPaneRenderer& renderer, const wxPoint& pos, const wxSize& size);

    /// Sets both bars from the renderer's zoom and repaints at once.
    void Refresh();
    /// The drawing area: the client area inside the bars.
    wxSize DrawingArea() const { return GetClientSize(); }
    /// Whether a pan drag is running.
    bool Panning() const { return mPanning; }
    /// Called after the drawing area changed size (the zoom choices were made again).
    void SetAreaChangedHandler(std::function<void()> handler) { mAreaChanged = std::move(handler); }

private:
    void ApplyBars();
    void OnPaint(wxPaintEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnSize(wxSizeEvent& event);
    void EndPan();

    PreviewPaneRenderer& mRenderer;
    wxCursor mGrab;
    wxCursor mHand;
    std::function<void()> mAreaChanged;
    bool mPanning = false;
    wxPoint mLast;
};

}  // namespace vx
