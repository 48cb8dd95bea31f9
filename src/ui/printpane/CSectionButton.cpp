#include "ui/printpane/CSectionButton.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "printing/SectionButtonGeometry.h"

namespace {

wxPoint ToWx(const vx::SectionPoint& p) { return wxPoint(p.x, p.y); }

}  // namespace

CSectionButton::CSectionButton(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxWANTS_CHARS),
      mFill(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CSectionButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CSectionButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CSectionButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CSectionButton::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CSectionButton::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &CSectionButton::OnKeyDown, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) { Refresh(); e.Skip(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { Refresh(); e.Skip(); });
    Reshape();
}

void CSectionButton::SetState(int state) {
    mState = state;
    Reshape();
}

void CSectionButton::Reshape() {
    const wxSize client = GetClientSize();
    const int side = vx::SectionButtonSide(client.x, client.y);
    if (client != wxSize(side, side)) SetClientSize(side, side);
    Refresh();
}

void CSectionButton::DoSetSize(int x, int y, int width, int height, int sizeFlags) {
    // Only even squares keep the triangle's apex on a whole pixel.
    if (width != wxDefaultCoord) width = vx::EvenDown(width);
    if (height != wxDefaultCoord) height = vx::EvenDown(height);
    wxControl::DoSetSize(x, y, width, height, sizeFlags);
}

wxSize CSectionButton::DoGetBestSize() const { return FromDIP(wxSize(10, 10)); }

bool CSectionButton::HitsTriangle(const wxPoint& p) const {
    const wxSize client = GetClientSize();
    const int side = vx::SectionButtonSide(client.x, client.y);
    return vx::PointInSectionTriangle(vx::SectionButtonTriangle(mState, side), p.x, p.y);
}

void CSectionButton::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const int side = vx::SectionButtonSide(client.x, client.y) - 1;
    if (side <= 0) return;
    const vx::SectionTriangle t = vx::SectionButtonTriangle(mState, side);
    wxPoint points[3] = {ToWx(t[0]), ToWx(t[1]), ToWx(t[2])};
    dc.SetPen(wxPen(mFill));
    dc.SetBrush(wxBrush(mFill));
    dc.DrawPolygon(3, points);

    // Raised: the sides facing up or left are lit, the others in shadow; pressed swaps them.
    const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_3DHIGHLIGHT);
    const wxColour dark = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    for (int i = 0; i < 3; ++i) {
        const wxPoint& a = points[i];
        const wxPoint& b = points[(i + 1) % 3];
        // The outward normal of a side in clockwise or anticlockwise order decides its light.
        const wxPoint centre((points[0].x + points[1].x + points[2].x) / 3, (points[0].y + points[1].y + points[2].y) / 3);
        const wxPoint mid((a.x + b.x) / 2, (a.y + b.y) / 2);
        const bool facesLight = (mid.y - centre.y) + (mid.x - centre.x) < 0;
        const bool lit = facesLight != mPressed;
        dc.SetPen(wxPen(lit ? light : dark));
        dc.DrawLine(a, b);
        if (!lit) {
            // The inner shadow line, one pixel towards the centre.
            const int dx = centre.x > mid.x ? 1 : (centre.x < mid.x ? -1 : 0);
            const int dy = centre.y > mid.y ? 1 : (centre.y < mid.y ? -1 : 0);
            dc.SetPen(wxPen(shadow));
            dc.DrawLine(a.x + dx, a.y + dy, b.x + dx, b.y + dy);
        }
    }
    if (mDrawFocus && HasFocus()) {
        const vx::SectionTriangle f = vx::SectionFocusTriangle(mState, side);
        wxPoint inner[3] = {ToWx(f[0]), ToWx(f[1]), ToWx(f[2])};
        dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawPolygon(3, inner);
    }
}

void CSectionButton::OnLeftDown(wxMouseEvent& event) {
    // Outside the triangle the button is not there: the click goes nowhere.
    if (!IsEnabled() || !HitsTriangle(event.GetPosition())) return;
    if (AcceptsFocus()) SetFocus();
    mPressed = true;
    if (!HasCapture()) CaptureMouse();
    Refresh();
}

void CSectionButton::OnLeftUp(wxMouseEvent& event) {
    if (!mPressed) return;
    mPressed = false;
    if (HasCapture()) ReleaseMouse();
    Refresh();
    if (HitsTriangle(event.GetPosition())) Click();
}

void CSectionButton::OnCaptureLost(wxMouseCaptureLostEvent&) {
    mPressed = false;
    Refresh();
}

void CSectionButton::OnKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE || event.GetKeyCode() == WXK_RETURN) {
        Click();
        return;
    }
    event.Skip();
}

void CSectionButton::Click() {
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
}
