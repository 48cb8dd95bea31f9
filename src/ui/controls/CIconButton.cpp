#include "ui/controls/CIconButton.h"

#include <vector>

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/tooltip.h>

#include "platform/system/Folders.h"

namespace {

constexpr int kImageMargin = 3;
constexpr int kPressedOffset = 1;
constexpr int kTipWidth = 400;

uint32_t ToColourRef(const wxColour& c) { return c.GetRGB(); }  // 0x00BBGGRR

/// Breaks text into lines no wider than width at blanks; a word wider than the line
/// keeps a line of its own.
wxString WrapText(const wxDC& dc, const wxString& text, int width) {
    wxString out, line;
    for (const wxString& word : wxSplit(text, ' ', '\0')) {
        const wxString candidate = line.empty() ? word : line + ' ' + word;
        if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
            out += line + '\n';
            line = word;
        } else {
            line = candidate;
        }
    }
    return out + line;
}

}  // namespace

CIconButton::CIconButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      mColours(ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)),
               ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT))) {
    SetLabel(label);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CIconButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CIconButton::OnLeftDown, this);
    // A fast second click is a click, not a double click.
    Bind(wxEVT_LEFT_DCLICK, &CIconButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CIconButton::OnLeftUp, this);
    Bind(wxEVT_MOTION, &CIconButton::OnMotion, this);
    Bind(wxEVT_ENTER_WINDOW, &CIconButton::OnMotion, this);
    Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
        LeaveHover();
        e.Skip();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        mTracking = mState.pressed = false;
        LeaveHover();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        LeaveHover();
        Refresh();
        e.Skip();
    });
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        Refresh();
        e.Skip();
    });
    Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& e) {
        ResetColors(true);
        e.Skip();
    });
    Bind(wxEVT_KEY_DOWN, &CIconButton::OnKeyDown, this);
}

int CIconButton::SetIconsById(int normalId, int idleId) {
    auto load = [](int id) {
        wxBitmap bitmap;
        const auto path = vx::DataFolder() / "icons" / (std::to_string(id) + ".png");
        bitmap.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG);
        return bitmap;
    };
    const wxBitmap normal = load(normalId);
    if (idleId == kGreyIdle || idleId == 0) return SetIcons(normal, idleId);
    return SetIcons(normal, load(idleId));
}

int CIconButton::SetIcons(const wxBitmap& normal, const wxBitmap& idle) {
    mNormal = wxNullBitmap;
    mIdle = wxNullBitmap;
    mState.hasIdleIcon = false;
    if (!normal.IsOk()) {
        Refresh();
        return 1;
    }
    mNormal = normal;
    if (idle.IsOk()) {
        mIdle = idle;
        mState.hasIdleIcon = true;
    }
    InvalidateBestSize();
    Refresh();
    return 0;
}

int CIconButton::SetIcons(const wxBitmap& normal, int idle) {
    return SetIcons(normal, idle == kGreyIdle && normal.IsOk() ? MakeGreyIcon(normal) : wxNullBitmap);
}

wxBitmap CIconButton::MakeGreyIcon(const wxBitmap& bitmap) {
    wxImage image = bitmap.ConvertToImage();
    if (!image.IsOk()) return wxNullBitmap;
    const int w = image.GetWidth(), h = image.GetHeight();
    const bool alpha = image.HasAlpha();
    std::vector<uint8_t> bgra(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &bgra[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = image.GetBlue(x, y);
            p[1] = image.GetGreen(x, y);
            p[2] = image.GetRed(x, y);
            p[3] = alpha ? image.GetAlpha(x, y) : 255;
        }
    vx::dialogs::MakeGreyIcon(bgra);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &bgra[(static_cast<size_t>(y) * w + x) * 4];
            image.SetRGB(x, y, p[2], p[1], p[0]);  // the mask colour, if any, stays apart
        }
    return wxBitmap(image);
}

int CIconButton::SetColor(unsigned index, const wxColour& colour, bool repaint) {
    const int result = mColours.Set(index, ToColourRef(colour));
    if (result == 0 && repaint) Refresh();
    return result;
}

void CIconButton::ResetColors(bool repaint) {
    mColours.Reset(ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)),
                   ToColourRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
    if (repaint) Refresh();
}

int CIconButton::SetFocusRectWhenFlat(bool on, bool repaint) {
    mFocusRectWhenFlat = on;
    if (repaint) Refresh();
    return 0;
}

void CIconButton::SetTipText(const wxString& text, bool activate) {
    if (!activate) {
        UnsetToolTip();
        return;
    }
    // The toolkit's tips have no width of their own; the text is broken at 400 pixels.
    wxClientDC dc(this);
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    wxString wrapped;
    for (const wxString& paragraph : wxSplit(text, '\n', '\0'))
        wrapped += (wrapped.empty() ? wxString() : wxString('\n')) + WrapText(dc, paragraph, kTipWidth);
    SetToolTip(wrapped);
}

void CIconButton::SetChecked(bool checked, bool repaint) {
    if (!mState.checkBoxMode) return;
    mState.checked = checked;
    if (repaint) Refresh();
}

void CIconButton::SetPassive(bool passive) {
    mState.passive = passive;
    Refresh();
}

bool CIconButton::Enable(bool enable) {
    // Only a button that had the focus hands it on: the user may be typing elsewhere.
    if (!enable && HasFocus()) Navigate();
    const bool changed = wxControl::Enable(enable);
    if (!enable) {
        mTracking = mState.pressed = false;
        if (HasCapture()) ReleaseMouse();
        LeaveHover();
    }
    Refresh();
    return changed;
}

void CIconButton::LeaveHover() {
    if (!mState.hovered) return;
    mState.hovered = false;
    Refresh();
}

void CIconButton::OnMotion(wxMouseEvent& event) {
    event.Skip();
    if (mState.passive && mMouseMove) mMouseMove(*this, event.GetPosition());
    const bool inside = GetClientRect().Contains(event.GetPosition());
    if (!inside) {
        LeaveHover();
    } else if (!mState.hovered && (!event.LeftIsDown() || mTracking)) {
        mState.hovered = true;
        Refresh();
    }
    if (mTracking && mState.pressed != inside) {
        mState.pressed = inside;
        Refresh();
    }
}

void CIconButton::OnLeftDown(wxMouseEvent& event) {
    if (mState.passive || !IsEnabled()) return event.Skip();
    if (mTracking) return;  // the second press of a double click already came down
    mTracking = mState.pressed = true;
    SetFocus();
    if (!HasCapture()) CaptureMouse();
    Refresh();
}

void CIconButton::OnLeftUp(wxMouseEvent& event) {
    if (!mTracking) return event.Skip();
    const bool inside = GetClientRect().Contains(event.GetPosition());
    mTracking = mState.pressed = false;
    if (HasCapture()) ReleaseMouse();
    if (!inside) LeaveHover();
    Refresh();
    if (inside) Click();
}

void CIconButton::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (!mState.passive && (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
        Click();
        return;
    }
    event.Skip();
}

void CIconButton::Click() {
    if (mState.passive) return;
    SetFocus();
    if (mState.checkBoxMode) {
        mState.checked = !mState.checked;
        Refresh();
    }
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    click.SetInt(mState.checked ? 1 : 0);
    ProcessWindowEvent(click);
}

wxColour CIconButton::Colour(int index) const {
    wxColour c;
    c.SetRGB(mColours.Get(static_cast<unsigned>(index)));
    return c;
}

wxSize CIconButton::DoGetBestSize() const {
    wxSize icon = mNormal.IsOk() ? mNormal.GetSize() : wxSize(0, 0);
    wxSize text = GetLabel().empty() ? wxSize(0, 0) : GetTextExtent(GetLabel());
    const int margin = 2 * kImageMargin + 2 * kPressedOffset;
    if (text.x == 0) return wxSize(icon.x + margin, icon.y + margin);
    return wxSize(icon.x + text.x + 2 * margin, wxMax(icon.y, text.y) + margin);
}

void CIconButton::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    vx::dialogs::IconButtonState state = mState;
    state.focused = HasFocus();
    state.hasText = !GetLabel().empty();
    const vx::dialogs::IconButtonLook look = vx::dialogs::IconButtonLookFor(state);
    const bool disabled = !IsEnabled();
    const wxRect item = GetClientRect();

    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(Colour(look.background)));
    dc.DrawRectangle(item);

    if (look.raisedBorder || look.sunkenBorder) {
        const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
        const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
        const wxColour topLeft = look.raisedBorder ? light : shadow;
        const wxColour bottomRight = look.raisedBorder ? shadow : light;
        dc.SetPen(wxPen(topLeft));
        dc.DrawLine(item.GetLeft(), item.GetBottom(), item.GetLeft(), item.GetTop());
        dc.DrawLine(item.GetLeft(), item.GetTop(), item.GetRight(), item.GetTop());
        dc.SetPen(wxPen(bottomRight));
        dc.DrawLine(item.GetRight(), item.GetTop(), item.GetRight(), item.GetBottom());
        dc.DrawLine(item.GetRight(), item.GetBottom(), item.GetLeft() - 1, item.GetBottom());
    }

    const bool shift = look.pressed && !state.checkBoxMode;
    const int offset = shift ? kPressedOffset : 0;
    wxRect caption = item;
    const wxBitmap& icon = look.normalIcon ? mNormal : mIdle;
    if (icon.IsOk()) {
        const wxSize size = icon.GetSize();
        int x = state.hasText ? item.x + kImageMargin : item.x + (item.width - size.x) / 2;
        int y = item.y + (item.height - size.y) / 2;
        if (state.hasText) caption = wxRect(x + size.x, item.y, wxMax(item.GetRight() + 1 - (x + size.x), 1), item.height);
        const wxBitmap shown = disabled ? icon.ConvertToDisabled() : icon;
        dc.DrawBitmap(shown, x + offset, y + offset, true);
    }

    if (state.hasText) {
        dc.SetFont(GetFont());
        caption.Offset(offset, offset);
        const wxString text = WrapText(dc, GetLabel(), wxMax(caption.width - 2 * kImageMargin, 1));
        if (disabled) {
            dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
            wxRect embossed = caption;
            embossed.Offset(1, 1);
            dc.DrawLabel(text, embossed, wxALIGN_CENTER);
            dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW));
        } else {
            dc.SetTextForeground(Colour(look.text));
        }
        dc.DrawLabel(text, caption, wxALIGN_CENTER);
    }

    if (state.focused && mFocusRectWhenFlat) wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(item).Deflate(3));
}
