#pragma once
#include <functional>

#include <wx/bitmap.h>
#include <wx/control.h>

#include "dialogs/IconButtonRules.h"

/// The flat button of the program: an icon (grey at rest when asked), its text word-
/// wrapped below or beside it, a border that lights up under the mouse, six state
/// colours, an optional check-box mode and a passive mode in which it only shows.
class CIconButton : public wxControl {
public:
    /// Stands for "a grey copy of the normal icon" as the idle icon.
    static constexpr int kGreyIdle = -2;

    CIconButton(wxWindow* parent, wxWindowID id, const wxString& label = wxString(),
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);

    /// Icons from the program's pictures by id (an idle id of kGreyIdle: the grey copy;
    /// 0: none). 0, or 1 when the normal icon cannot be read.
    int SetIconsById(int normalId, int idleId);
    /// 0, or 1 when normal is no picture (the button then shows none).
    int SetIcons(const wxBitmap& normal, const wxBitmap& idle = wxNullBitmap);
    int SetIcons(const wxBitmap& normal, int idle);  // idle: kGreyIdle or 0
    /// 0, or 3 for an index above 5 (nothing changes).
    int SetColor(unsigned index, const wxColour& colour, bool repaint = true);
    void ResetColors(bool repaint = true);
    int SetFocusRectWhenFlat(bool on, bool repaint = true);
    /// A tooltip with text, at most 400 pixels wide; activate false keeps it quiet.
    void SetTipText(const wxString& text, bool activate = true);
    /// Kept for callers: the toolkit's tooltips see the mouse themselves.
    void RelayToTip() {}
    void SetCheckBoxMode(bool on) { mState.checkBoxMode = on; }
    void SetChecked(bool checked, bool repaint = true);
    bool IsChecked() const { return mState.checked; }
    /// The set-check message: states 1 and 2 check, 0 and above 2 clear.
    void SetCheck(unsigned state) { SetChecked(vx::dialogs::CheckFromState(state)); }
    /// Passive: shows the normal icon with a permanent border when it has text, never
    /// looks pressed and sends no clicks.
    void SetPassive(bool passive);
    /// Called with each mouse move over the button (button coordinates).
    void SetMouseMoveHandler(std::function<void(CIconButton&, const wxPoint&)> handler) {
        mMouseMove = std::move(handler);
    }

    bool Enable(bool enable = true) override;
    bool AcceptsFocus() const override { return !mState.passive && wxControl::AcceptsFocus(); }

    /// A copy of bitmap with every colour pixel turned grey.
    static wxBitmap MakeGreyIcon(const wxBitmap& bitmap);

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void LeaveHover();
    void Click();
    wxColour Colour(int index) const;

    vx::dialogs::IconButtonState mState;
    vx::dialogs::IconButtonColours mColours;
    wxBitmap mNormal, mIdle;
    bool mFocusRectWhenFlat = false;
    bool mTracking = false;  // the left button went down on the button
    std::function<void(CIconButton&, const wxPoint&)> mMouseMove;
};
