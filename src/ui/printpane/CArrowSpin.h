#pragma once
#include <wx/control.h>
#include <wx/timer.h>

/// A small up-down control: the upper half steps up, the lower half down, held down it
/// repeats. It sends wxEVT_SPIN_UP and wxEVT_SPIN_DOWN as a spin button does. The
/// toolkit's own spin button needs an entry's width and cannot be drawn this small.
class CArrowSpin : public wxControl {
public:
    CArrowSpin(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

    void SetRange(int minimum, int maximum);
    void SetValue(int value);
    int GetValue() const { return mValue; }

protected:
    wxSize DoGetBestSize() const override { return FromDIP(wxSize(16, 22)); }

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void Step();

    int mMin = 0, mMax = 100, mValue = 0;
    int mPressed = 0;  // +1 upper half, -1 lower half, 0 none
    wxTimer mRepeat;
};
