#include "ui/view/CGPViewWindow.h"

#include <algorithm>
#include <utility>

#include <wx/dcclient.h>

#include "ui/shell/CommandIds.h"
#include "ui/shell/WxScreenMetrics.h"
#include "ui/view/CGoToPageDlg.h"
#include "view/RulerCommand.h"

namespace vx {
namespace {

ScrollAction ActionOf(wxEventType type) {
    if (type == wxEVT_SCROLLWIN_LINEUP) return ScrollAction::LineUp;
    if (type == wxEVT_SCROLLWIN_LINEDOWN) return ScrollAction::LineDown;
    if (type == wxEVT_SCROLLWIN_PAGEUP) return ScrollAction::PageUp;
    if (type == wxEVT_SCROLLWIN_PAGEDOWN) return ScrollAction::PageDown;
    if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE) return ScrollAction::Track;
    return ScrollAction::Other;
}

// Shift and Ctrl as the event carries them; a Shift key's own event counts it as held
// while it goes down.
PointerKeys KeysOf(const wxKeyboardState& state) { return {state.ShiftDown(), state.ControlDown()}; }
PointerKeys KeysOf(const wxKeyEvent& event) {
    PointerKeys keys{event.ShiftDown(), event.ControlDown()};
    if (event.GetKeyCode() == WXK_SHIFT) keys.shift = event.GetEventType() == wxEVT_KEY_DOWN;
    return keys;
}

constexpr int kViewCommands[] = {kCmdViewZoomIn,       kCmdViewZoomOut,     kCmdViewZoomFit,  kCmdFirstPage,
                                 kCmdPrevPage,         kCmdNextPage,        kCmdLastPage,     kCmdGoToPage,
                                 kCmdInsertPageBefore, kCmdInsertPageAfter, kCmdDeletePage};

}  // namespace

CGPViewWindow::CGPViewWindow(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL | wxWANTS_CHARS),
      mCore(mView, *this),
      mPainter(*this, mView) {
    SetCursor(wxCursor(wxCURSOR_ARROW));
    Bind(wxEVT_PAINT, &CGPViewWindow::OnPaint, this);
    Bind(wxEVT_SIZE, &CGPViewWindow::OnSize, this);
    for (const auto& type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                             wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                             wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &CGPViewWindow::OnScrollWin, this);
    Bind(wxEVT_MOUSEWHEEL, &CGPViewWindow::OnWheel, this);
    Bind(wxEVT_MOTION, &CGPViewWindow::OnMotion, this);
    Bind(wxEVT_KEY_DOWN, &CGPViewWindow::OnKeyDown, this);
    Bind(wxEVT_LEFT_DOWN, &CGPViewWindow::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CGPViewWindow::OnLeftUp, this);
    Bind(wxEVT_KEY_UP, &CGPViewWindow::OnKeyUp, this);
    // A right press during a drag cancels it; otherwise it goes on to the context menu.
    Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent& event) {
        if (!mDrag.Tracking()) {
            event.Skip();
            return;
        }
        GuardedHandler([&] {
            mDrag.RightPress();
            SyncDrag();
        });
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { OnDragInterrupted(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        OnDragInterrupted();
        event.Skip();
    });
    for (int command : kViewCommands) {
        Bind(wxEVT_MENU, &CGPViewWindow::OnCommandEvent, this, ToWxId(command));
        Bind(wxEVT_UPDATE_UI, &CGPViewWindow::OnUpdateCommandUI, this, ToWxId(command));
    }
    // The print job itself: Print now sends it after syncing the layout with the driver.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GuardedHandler([&] { mView.DoPrintJob(); }); },
         ToWxId(kCmdPrintDirect));
    ShowScrollBars({}, {});
}

CGPViewWindow::~CGPViewWindow() {
    if (HasCapture()) ReleaseMouse();
    while (mFrozen > 0) {
        --mFrozen;
        Thaw();
    }
}

PixelPoint CGPViewWindow::ClientSize() const {
    const wxSize size = GetClientSize();
    return {std::max(size.x, 0), std::max(size.y, 0)};
}

FitMetrics CGPViewWindow::Metrics() const {
    const ScreenMetrics m = CurrentScreenMetrics();
    return {m.edge, m.frame, m.scrollBar};
}

void CGPViewWindow::SetRedraw(bool on) {
    if (!on) {
        ++mFrozen;
        Freeze();
    } else if (mFrozen > 0) {
        --mFrozen;
        Thaw();
    }
}

void CGPViewWindow::InvalidateClient(const PixelRect* rect) {
    mFullPaintNeeded = true;
    if (!rect) {
        Refresh(false);
        return;
    }
    RefreshRect(wxRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top), false);
}

void CGPViewWindow::InvalidateRulerBands(const PixelRect& top, const PixelRect& left) {
    RefreshRect(wxRect(top.left, top.top, top.right - top.left, top.bottom - top.top), false);
    RefreshRect(wxRect(left.left, left.top, left.right - left.left, left.bottom - left.top), false);
}

void CGPViewWindow::ShowScrollBars(const ScrollSizes& sizes, PixelPoint position) {
    const PixelPoint client = ClientSize();
    if (sizes.total.x > 0) SetScrollbar(wxHORIZONTAL, position.x, client.x, sizes.total.x);
    else SetScrollbar(wxHORIZONTAL, 0, 0, 0);
    if (sizes.total.y > 0) SetScrollbar(wxVERTICAL, position.y, client.y, sizes.total.y);
    else SetScrollbar(wxVERTICAL, 0, 0, 0);
}

void CGPViewWindow::Post(std::function<void()> task) {
    CallAfter([task = std::move(task)] { GuardedHandler(task); });
}

std::optional<int> CGPViewWindow::AskPageNumber(int currentPage, int pageCount) {
    CGoToPageDlg dialog(this);
    dialog.SetPages(currentPage, pageCount);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetPageNumber();
}

void CGPViewWindow::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    GuardedHandler([&] {
        const PixelRect viewport = mCore.ClientToDocRect();
        const bool overlayOnly = std::exchange(mOverlayOnly, false);
        if (!mFullPaintNeeded && overlayOnly) {
            mPainter.PaintCached(dc, viewport);
            return;
        }
        if (!mFullPaintNeeded && mView.rulerPointer) {
            mPainter.PaintRulers(dc, viewport);
            ++mRulerPaints;
            return;
        }
        mFullPaintNeeded = false;
        mLastPaint = mPainter.Paint(dc, viewport);
        ++mFullPaints;
    });
}

void CGPViewWindow::OnSize(wxSizeEvent& event) {
    GuardedHandler([&] { mCore.OnSize(); });
    event.Skip();
}

void CGPViewWindow::OnScrollWin(wxScrollWinEvent& event) {
    GuardedHandler([&] {
        mCore.OnScroll(event.GetOrientation() == wxVERTICAL, ActionOf(event.GetEventType()), event.GetPosition());
    });
}

void CGPViewWindow::OnWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL) {
        event.Skip();
        return;
    }
    GuardedHandler([&] { mCore.OnWheel(event.GetWheelRotation(), event.ControlDown()); });
}

void CGPViewWindow::OnMotion(wxMouseEvent& event) {
    GuardedHandler([&] {
        if (mDrag.Tracking()) {
            mDrag.Motion({event.GetX(), event.GetY()}, KeysOf(event));
            SyncDrag();
        }
        mCore.OnMouseMove({event.GetX(), event.GetY()});
    });
    event.Skip();
}

void CGPViewWindow::OnLeftDown(wxMouseEvent& event) {
    // The focus brings the keys (Esc) here during the drag.
    SetFocus();
    GuardedHandler([&] {
        mDrag.Press({event.GetX(), event.GetY()}, KeysOf(event), event.RightIsDown());
        if (mDrag.Tracking() && !HasCapture()) CaptureMouse();
        SyncDrag();
    });
}

void CGPViewWindow::OnLeftUp(wxMouseEvent& event) {
    GuardedHandler([&] {
        mDrag.Release({event.GetX(), event.GetY()}, KeysOf(event));
        SyncDrag();
    });
}

void CGPViewWindow::OnKeyUp(wxKeyEvent& event) {
    if (!mDrag.Tracking()) {
        event.Skip();
        return;
    }
    GuardedHandler([&] {
        mDrag.KeyUp(event.GetKeyCode(), KeysOf(event));
        SyncDrag();
    });
}

void CGPViewWindow::OnDragInterrupted() {
    if (!mDrag.Tracking()) return;
    GuardedHandler([&] {
        mDrag.CaptureLost();
        SyncDrag();
    });
}

void CGPViewWindow::SyncDrag() {
    if (!mDrag.Tracking() && HasCapture()) ReleaseMouse();
    const std::optional<PixelRect> band = mDrag.Band();
    if (band == mShownBand) return;
    mShownBand = band;
    mPainter.SetBand(band);
    // Only the band changed: the kept picture is copied again beneath it.
    mOverlayOnly = true;
    Refresh(false);
}

void CGPViewWindow::OnKeyDown(wxKeyEvent& event) {
    if (mDrag.Tracking()) {
        GuardedHandler([&] {
            mDrag.KeyDown(event.GetKeyCode() == WXK_ESCAPE ? kKeyEscape : event.GetKeyCode(), KeysOf(event));
            SyncDrag();
        });
        return;
    }
    // Ctrl with the plus key of the main keyboard arrives as '+' or as a shifted '='
    // by keyboard layout; frames whose accelerators already took it never get here.
    if (event.GetModifiers() & wxMOD_CONTROL) {
        const int key = event.GetKeyCode();
        const int ch = int(event.GetUnicodeKey());
        if (key == WXK_NUMPAD_ADD || key == '+' || ch == '+' || (key == '=' && event.ShiftDown())) {
            GuardedHandler([&] { mCore.ZoomIn(); });
            return;
        }
        if (key == WXK_NUMPAD_SUBTRACT || key == '-' || ch == '-') {
            GuardedHandler([&] { mCore.ZoomOut(); });
            return;
        }
    }
    event.Skip();
}

void CGPViewWindow::OnCommandEvent(wxCommandEvent& event) {
    GuardedHandler([&] { mCore.OnCommand(FromWxId(event.GetId())); });
}

void CGPViewWindow::OnUpdateCommandUI(wxUpdateUIEvent& event) {
    GuardedHandler([&] {
        CommandState state;
        mCore.OnUpdateCommand(FromWxId(event.GetId()), state);
        event.Enable(state.enabled);
    });
}

std::vector<wxAcceleratorEntry> LayoutViewAccelerators() {
    return {
        {wxACCEL_CTRL, WXK_NUMPAD_ADD, ToWxId(kCmdViewZoomIn)},
        {wxACCEL_CTRL, WXK_NUMPAD_SUBTRACT, ToWxId(kCmdViewZoomOut)},
    };
}

}  // namespace vx
