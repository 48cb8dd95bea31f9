#include "ui/printpane/CArrowSpin.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/spinbutt.h>

CArrowSpin::CArrowSpin(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE), mRepeat(this) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CArrowSpin::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CArrowSpin::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CArrowSpin::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CArrowSpin::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        mRepeat.Stop();
        mPressed = 0;
        Refresh();
    });
    Bind(wxEVT_TIMER, &CArrowSpin::OnTimer, this);
}

void CArrowSpin::SetRange(int minimum, int maximum) {
    mMin = minimum;
    mMax = std::max(minimum, maximum);
    mValue = std::clamp(mValue, mMin, mMax);
}

void CArrowSpin::SetValue(int value) { mValue = std::clamp(value, mMin, mMax); }

void CArrowSpin::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const wxSize size = GetClientSize();
    const int half = size.y / 2;
    wxRendererNative& renderer = wxRendererNative::Get();
    const int disabled = IsEnabled() ? 0 : wxCONTROL_DISABLED;
    const wxRect upper(0, 0, size.x, half), lower(0, half, size.x, size.y - half);
    renderer.DrawPushButton(this, dc, upper, disabled | (mPressed > 0 ? wxCONTROL_PRESSED : 0));
    renderer.DrawPushButton(this, dc, lower, disabled | (mPressed < 0 ? wxCONTROL_PRESSED : 0));
    const wxColour ink = wxSystemSettings::GetColour(IsEnabled() ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ink));
    // Arrows as wide as a third of the control, centred in their halves.
    const int w = std::max(3, size.x / 3) | 1;
    const int h = (w + 1) / 2;
    const int cx = size.x / 2;
    const int upY = (half - h) / 2;
    const wxPoint up[3] = {{cx - w / 2, upY + h}, {cx + w / 2 + 1, upY + h}, {cx, upY}};
    dc.DrawPolygon(3, up);
    const int downY = half + (size.y - half - h) / 2;
    const wxPoint down[3] = {{cx - w / 2, downY}, {cx + w / 2 + 1, downY}, {cx, downY + h}};
    dc.DrawPolygon(3, down);
}

void CArrowSpin::Step() {
    const int next = mValue + mPressed;
    if (next < mMin || next > mMax) return;
    wxSpinEvent event(mPressed > 0 ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, GetId());
    event.SetEventObject(this);
    event.SetPosition(next);
    if (GetEventHandler()->ProcessEvent(event) && !event.IsAllowed()) return;
    mValue = next;
}

void CArrowSpin::OnLeftDown(wxMouseEvent& event) {
    if (!IsEnabled()) return;
    mPressed = event.GetPosition().y < GetClientSize().y / 2 ? 1 : -1;
    if (!HasCapture()) CaptureMouse();
    Refresh();
    Step();
    mRepeat.StartOnce(400);
}

void CArrowSpin::OnLeftUp(wxMouseEvent&) {
    mRepeat.Stop();
    mPressed = 0;
    if (HasCapture()) ReleaseMouse();
    Refresh();
}

void CArrowSpin::OnTimer(wxTimerEvent&) {
    if (!mPressed) return;
    Step();
    mRepeat.StartOnce(80);
}
