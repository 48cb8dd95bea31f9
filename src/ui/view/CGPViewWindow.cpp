#include "ui/view/CGPViewWindow.h"

#include <algorithm>
#include <utility>

#include <wx/dcclient.h>
#include <wx/utils.h>

#include "host/HostService.h"
#include "host/Shell.h"
#include "ui/CGPApp.h"
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

/// The view's virtual key of a key code: Enter and the arrows, 0 for any other.
int VirtualKeyOf(int keyCode) {
    switch (keyCode) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: return kKeyReturn;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT: return kKeyLeft;
    case WXK_UP:
    case WXK_NUMPAD_UP: return kKeyUp;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: return kKeyRight;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN: return kKeyDown;
    default: return 0;
    }
}

constexpr int kEditCommands[] = {kCmdEditUndo,          kCmdEditUndoForwarded,  kCmdEditCut,
                                 kCmdEditCopy,          kCmdEditPaste,          kCmdEditClear,
                                 kCmdEditDuplicate,     kCmdEditDuplicateSeveral, kCmdSelectAll,
                                 kCmdSelectAllImages,   kCmdSelectAllOnPage,    kCmdSelectAllInFolder,
                                 kCmdSelectAllFreeTexts, kCmdSelectAllFreeLines, kCmdSelectInvert,
                                 kCmdSelectNone};

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
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { OnDragInterrupted(); });
    for (int command : kViewCommands) {
        Bind(wxEVT_MENU, &CGPViewWindow::OnCommandEvent, this, ToWxId(command));
        Bind(wxEVT_UPDATE_UI, &CGPViewWindow::OnUpdateCommandUI, this, ToWxId(command));
    }
    for (int command : kEditCommands) {
        Bind(wxEVT_MENU, &CGPViewWindow::OnCommandEvent, this, ToWxId(command));
        Bind(wxEVT_UPDATE_UI, &CGPViewWindow::OnUpdateCommandUI, this, ToWxId(command));
    }
    Bind(wxEVT_SET_FOCUS, &CGPViewWindow::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CGPViewWindow::OnKillFocus, this);
    Bind(wxEVT_MIDDLE_DOWN, &CGPViewWindow::OnMousePress, this);
    Bind(wxEVT_RIGHT_DOWN, &CGPViewWindow::OnRightDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CGPViewWindow::OnDoubleClick, this);
    // The main frame's save question offers Yes and No only until the initial update.
    if (Shell* shell = HostService<Shell>()) shell->SetViewCreating(true);
    // The print job itself: Print now sends it after syncing the layout with the driver.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GuardedHandler([&] { mView.DoPrintJob(); }); },
         ToWxId(kCmdPrintDirect));
    ShowScrollBars({}, {});
}

CGPViewWindow::~CGPViewWindow() {
    if (HasCapture()) ReleaseMouse();
    // A view that goes before its initial update (a failed open) is no longer creating.
    if (!mCore.LayoutSetting())
        if (Shell* shell = HostService<Shell>()) shell->SetViewCreating(false);
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
    // The cursor a drag started with stays until its release.
    if (!mDrag.Tracking()) UpdateCursor(PixelPoint{event.GetX(), event.GetY()});
    event.Skip();
}

void CGPViewWindow::OnLeftDown(wxMouseEvent& event) {
    // The focus brings the keys (Esc) here during the drag.
    SetFocus();
    GuardedHandler([&] {
        mCore.Edit().CloseKeySession();
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
    UpdateCursor(PixelPoint{event.GetX(), event.GetY()});
}

void CGPViewWindow::OnKeyUp(wxKeyEvent& event) {
    if (!mDrag.Tracking()) {
        GuardedHandler([&] { mCore.Edit().CloseKeySession(); });
        UpdateCursor();
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
    // Consumed, so that the arrows do not scroll the window as well.
    if (const int key = VirtualKeyOf(event.GetKeyCode())) {
        GuardedHandler([&] { mCore.Edit().OnKeyDown(key); });
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

void CGPViewWindow::PostFrameCommand(int commandId) {
    wxWindow* top = wxGetTopLevelParent(this);
    if (!top) return;
    wxCommandEvent* command = new wxCommandEvent(wxEVT_MENU, ToWxId(commandId));
    command->SetEventObject(top);
    wxQueueEvent(top->GetEventHandler(), command);
}

bool CGPViewWindow::InPrintSettingsPane(const wxWindow* window) const {
    for (; mPrintSettingsPane && window; window = window->GetParent())
        if (window == mPrintSettingsPane) return true;
    return false;
}

void CGPViewWindow::OnSetFocus(wxFocusEvent& event) {
    GuardedHandler([&] {
        const EditCommands::ActiveView self{this, mCore.LayoutSetting(), false};
        const EditCommands::ActiveView pane{mPrintSettingsPane, mCore.LayoutSetting(), true};
        // Focus back from a dialog or a bar leaves the active view as it was.
        if (InPrintSettingsPane(event.GetWindow()))
            mCore.Edit().OnActivateView(true, &self, &pane, true);
        else if (!mActivated)
            mCore.Edit().OnActivateView(true, &self, nullptr, true);
        mActivated = true;
    });
    event.Skip();
}

void CGPViewWindow::OnKillFocus(wxFocusEvent& event) {
    OnDragInterrupted();
    GuardedHandler([&] {
        mCore.Edit().CloseKeySession();
        if (!InPrintSettingsPane(event.GetWindow())) return;
        const EditCommands::ActiveView self{this, mCore.LayoutSetting(), false};
        const EditCommands::ActiveView pane{mPrintSettingsPane, mCore.LayoutSetting(), true};
        mCore.Edit().OnActivateView(false, &pane, &self, mCore.LayoutSetting() != nullptr);
    });
    event.Skip();
}

void CGPViewWindow::OnMousePress(wxMouseEvent& event) {
    GuardedHandler([&] { mCore.Edit().CloseKeySession(); });
    if (!HasFocus()) SetFocus();
    event.Skip();
}

void CGPViewWindow::OnRightDown(wxMouseEvent& event) {
    // A right press during a drag cancels it; otherwise it selects, and the context
    // menu follows.
    if (mDrag.Tracking()) {
        GuardedHandler([&] {
            mDrag.RightPress();
            SyncDrag();
        });
        return;
    }
    if (!HasFocus()) SetFocus();
    GuardedHandler([&] { mCore.Edit().OnRightButtonDown({event.GetX(), event.GetY()}, event.ShiftDown()); });
    UpdateCursor(PixelPoint{event.GetX(), event.GetY()});
    // The main frame's context menu follows.
    event.Skip();
}

void CGPViewWindow::OnDoubleClick(wxMouseEvent& event) {
    GuardedHandler([&] { mCore.Edit().OnDoubleClick({event.GetX(), event.GetY()}); });
    UpdateCursor(PixelPoint{event.GetX(), event.GetY()});
}

void CGPViewWindow::UpdateCursor(std::optional<PixelPoint> client) {
    if (!client) {
        const wxPoint p = ScreenToClient(wxGetMousePosition());
        client = PixelPoint{p.x, p.y};
    }
    CursorChoice choice;
    GuardedHandler([&] { choice = mCore.Edit().CursorAt(*client); });
    switch (choice.kind) {
    case CursorChoice::Kind::Keep: return;
    case CursorChoice::Kind::Default:
        mCursorIndex = -1;
        SetCursor(wxCursor(wxCURSOR_ARROW));
        return;
    case CursorChoice::Kind::Index:
        mCursorIndex = choice.index;
        if (auto* app = dynamic_cast<CGPApp*>(wxTheApp); app && app->SetCursorByIndex(choice.index)) return;
        SetCursor(wxCursor(TrackerStockCursor(choice.index)));
        return;
    }
}

wxStockCursor TrackerStockCursor(int hitCode) {
    // Top-left, top-right, bottom-right, bottom-left, top, right, bottom, left, middle.
    static constexpr wxStockCursor kCursors[9] = {wxCURSOR_SIZENWSE, wxCURSOR_SIZENESW, wxCURSOR_SIZENWSE,
                                                  wxCURSOR_SIZENESW, wxCURSOR_SIZENS,   wxCURSOR_SIZEWE,
                                                  wxCURSOR_SIZENS,   wxCURSOR_SIZEWE,   wxCURSOR_SIZING};
    return hitCode >= 0 && hitCode <= 8 ? kCursors[hitCode] : wxCURSOR_ARROW;
}

std::vector<wxAcceleratorEntry> LayoutViewAccelerators() {
    return {
        {wxACCEL_CTRL, WXK_NUMPAD_ADD, ToWxId(kCmdViewZoomIn)},
        {wxACCEL_CTRL, WXK_NUMPAD_SUBTRACT, ToWxId(kCmdViewZoomOut)},
    };
}

}  // namespace vx
