#pragma once
#include <wx/toolbar.h>

/// The main toolbar: Load image | Print | New, Open, Open last | Save, 32 x 32 buttons,
/// gaps of 30 pixels. Pointing at a button shows "Bereit" in the status bar.
class CMainToolBar : public wxToolBar {
public:
    /// Width of the gaps between the button groups.
    static constexpr int kGapWidth = 30;
    static constexpr int kButtonSize = 32;

    explicit CMainToolBar(wxWindow* parent);

    /// The gap windows, in order (tests measure them).
    const std::vector<wxWindow*>& Gaps() const { return mGaps; }

private:
    void AddButton(int command, const char* icon);
    void AddGap();
    void OnToolEnter(wxCommandEvent& event);

    std::vector<wxWindow*> mGaps;
};
