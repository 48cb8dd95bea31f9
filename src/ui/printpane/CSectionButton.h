#pragma once
#include <wx/colour.h>
#include <wx/control.h>

/// The triangular button that opens and closes a section of the print-settings pane.
/// It paints a raised triangle in its fill colour, sunken while pressed, and takes
/// clicks only inside the triangle; a click sends wxEVT_BUTTON.
class CSectionButton : public wxControl {
public:
    CSectionButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxSize(10, 10));

    /// 0 up, 1 down, 2 left, 3 right; reshapes the button to its even square.
    void SetState(int state);
    int GetState() const { return mState; }
    /// Takes effect with the next paint.
    void SetFillColor(const wxColour& colour) { mFill = colour; }
    void SetDrawFocus(bool on) { mDrawFocus = on; }
    bool IsPressed() const { return mPressed; }

protected:
    void DoSetSize(int x, int y, int width, int height, int sizeFlags) override;
    wxSize DoGetBestSize() const override;

private:
    void Reshape();
    bool HitsTriangle(const wxPoint& p) const;
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void Click();

    int mState = 3;
    wxColour mFill;
    bool mDrawFocus = false;
    bool mPressed = false;
};
