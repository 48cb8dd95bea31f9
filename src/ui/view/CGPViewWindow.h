#pragma once
#include <optional>
#include <vector>

#include <wx/accel.h>
#include <wx/cursor.h>
#include <wx/window.h>

#include "host/FatalError.h"
#include "ui/ViewPainter.h"
#include "view/CGPView.h"
#include "view/DragController.h"
#include "view/LayoutViewCore.h"

namespace vx {

/// The layout view's window: a canvas in the layout frame's right pane that scrolls by
/// whole pixels and paints the view's page through the paint binding. Its logic, and
/// what core code sees as the layout view and its commands, is Core().
class CGPViewWindow : public wxWindow, private ViewWindowPort {
public:
    explicit CGPViewWindow(wxWindow* parent, wxWindowID id = wxID_ANY);
    ~CGPViewWindow() override;

    LayoutViewCore& Core() { return mCore; }
    const LayoutViewCore& Core() const { return mCore; }
    CGPView& View() { return mView; }

    /// Takes the document's layout (null: none) and fits its page.
    void OnInitialUpdate(CLayoutSetting* layout) { mCore.OnInitialUpdate(layout); }

    /// Paints so far: whole ones, and ones of the ruler bands alone.
    int FullPaints() const { return mFullPaints; }
    int RulerPaints() const { return mRulerPaints; }
    const ViewPainter& Painter() const { return mPainter; }
    /// The left-button press being tracked, which the mouse and key events feed.
    DragController& Drag() { return mDrag; }
    /// What the last whole paint drew.
    PaintResult LastPaint() const { return mLastPaint; }
    /// The screen resolution the view draws at (96 unless a test sets another).
    void SetPixelsPerInch(PixelPoint ppi) { mPixelsPerInch = ppi; }
    /// The hit code whose cursor the view set last; -1 for the window's own arrow.
    int CursorIndex() const { return mCursorIndex; }
    /// The print-settings pane beside the view: focus moving between the two activates
    /// one view and deactivates the other.
    void SetPrintSettingsPane(wxWindow* pane) { mPrintSettingsPane = pane; }

private:
    // ViewWindowPort
    PixelPoint ClientSize() const override;
    PixelPoint PixelsPerInch() const override { return mPixelsPerInch; }
    FitMetrics Metrics() const override;
    void SetRedraw(bool on) override;
    void InvalidateClient(const PixelRect* rect) override;
    void InvalidateRulerBands(const PixelRect& top, const PixelRect& left) override;
    void PaintNow() override { wxWindow::Update(); }
    void ShowScrollBars(const ScrollSizes& sizes, PixelPoint position) override;
    void Post(std::function<void()> task) override;
    std::optional<int> AskPageNumber(int currentPage, int pageCount) override;
    void PostFrameCommand(int commandId) override;

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScrollWin(wxScrollWinEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnDragInterrupted();
    /// Keeps the capture and the drawn band in step with the drag after each event.
    void SyncDrag();
    void OnCommandEvent(wxCommandEvent& event);
    void OnUpdateCommandUI(wxUpdateUIEvent& event);
    // Edit and selection by keys and mouse.
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnMousePress(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnDoubleClick(wxMouseEvent& event);
    /// Sets the cursor for a client point; the pointer's own point without one.
    void UpdateCursor(std::optional<PixelPoint> client = std::nullopt);
    bool InPrintSettingsPane(const wxWindow* window) const;

    CGPView mView;
    LayoutViewCore mCore;
    ViewPainter mPainter;
    DragController mDrag{mView};
    std::optional<PixelRect> mShownBand;
    bool mOverlayOnly = false;
    PixelPoint mPixelsPerInch{96, 96};
    bool mFullPaintNeeded = true;
    int mFrozen = 0;
    int mFullPaints = 0;
    int mRulerPaints = 0;
    PaintResult mLastPaint = PaintResult::Busy;
    wxWindow* mPrintSettingsPane = nullptr;
    bool mActivated = false;
    int mCursorIndex = -1;
};

/// The stock cursor of a tracker hit code (0 to 8): the application's cursor table.
wxStockCursor TrackerStockCursor(int hitCode);

/// The keys of the zoom commands that the menu texts do not carry (Ctrl with + and - of
/// the numeric pad), for the frame's accelerator table; the others come with the menus.
std::vector<wxAcceleratorEntry> LayoutViewAccelerators();

/// Runs a handler's body; an unexpected exception ends the program through the fatal-
/// error hook, as every handler of the view and the bar does.
template <class F>
void GuardedHandler(F&& body) {
    try {
        body();
    } catch (...) {
        FatalError(-1);
    }
}

}  // namespace vx
